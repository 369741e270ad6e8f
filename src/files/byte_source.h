// Sequential input for the pack and saved-game readers: a file on disk or
// bytes in memory (tests, fuzzing), behind one small interface.
//
// Reads are all-or-nothing: Read either fills the whole buffer or fails and
// leaves the position where it was, so a reader can check the remaining
// size before it allocates anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace varlo {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  virtual uint64_t Pos() const = 0;
  virtual bool Seek(uint64_t pos) = 0;             // false beyond the end
  virtual bool Read(void* dst, size_t n) = 0;      // exactly n bytes, or false
  uint64_t Remaining() const { return Size() - Pos(); }
  bool Skip(uint64_t n) { return n <= Remaining() && Seek(Pos() + n); }
  // Little-endian int32; false at the end of the input.
  bool ReadI32(int32_t& v);
};

class MemorySource final : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  uint64_t Pos() const override { return pos_; }
  bool Seek(uint64_t pos) override;
  bool Read(void* dst, size_t n) override;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// A file opened read-only. Its size is taken once at opening; a file that
// shrinks while it is read gives failed reads, never stale bytes.
class FileSource final : public ByteSource {
 public:
  FileSource() = default;
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  // False with the reason in *error when the file cannot be opened or is
  // not a regular file (a FIFO or a device is refused without waiting).
  bool Open(const std::string& path, std::string* error);
  bool IsOpen() const { return fd_ >= 0; }
  void Close();

  uint64_t Size() const override { return size_; }
  uint64_t Pos() const override { return pos_; }
  bool Seek(uint64_t pos) override;
  bool Read(void* dst, size_t n) override;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
  uint64_t pos_ = 0;
};

}  // namespace varlo
