// Buffered output to a file, and the safe replacement of a file the player
// cares about (saved games, the autosave, packs made by the tool).
//
// SafeFileWriter writes a temporary file next to the target; Commit flushes
// it to the disk and renames it over the target, so an interrupted save, a
// full disk or a failed rename leaves the previous file exactly as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace varlo {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates or truncates path.
  bool Create(const std::string& path, std::string* error);
  // Hands the bytes to sink instead of a file (sink(bytes, count, offset),
  // in order; false stops the output as failed). name is for messages.
  using Sink = std::function<bool(const uint8_t*, size_t, uint64_t)>;
  bool CreateSink(const std::string& name, Sink sink);
  bool IsOpen() const { return fd_ >= 0 || sink_ != nullptr; }

  // Appends; errors are remembered and reported by Flush/Finish, so a
  // writer can emit a whole record and check once.
  void Write(const void* data, size_t n);
  void WriteI32(int32_t v);
  // Appends n bytes and lets encode rewrite them in place in the buffer
  // (encode(bytes, count), called once per buffered chunk, in order), so an
  // encoded stream costs no copy of its own.
  template <class Encode>
  void WriteEncoded(const uint8_t* data, size_t n, Encode&& encode);
  // Overwrites four bytes at an earlier offset (a size filled in later).
  void PatchI32(uint64_t offset, int32_t v);
  uint64_t Pos() const { return written_ + buffer_.size(); }
  // Bytes put into the file behind the buffer's back (an in-kernel copy).
  void CountExternalBytes(uint64_t n) { written_ += n; }

  bool Flush();
  // Flush, fsync and close. False with the reason when anything failed.
  bool Finish(std::string* error);
  // Closes without flushing the buffer (the file is abandoned).
  void Abandon();
  bool failed() const { return failed_; }
  const std::string& failure() const { return failure_; }
  int fd() const { return fd_; }

 private:
  static constexpr size_t kBufferBytes = size_t{1} << 20;
  void Fail(const char* what);
  int fd_ = -1;
  Sink sink_;
  std::string path_;
  std::vector<uint8_t> buffer_;
  uint64_t written_ = 0;
  bool failed_ = false;
  std::string failure_;
};

class SafeFileWriter {
 public:
  // tempPath is where the new file is built; it must lie in the target's
  // folder (a rename does not cross file systems).
  SafeFileWriter(std::string tempPath, std::string targetPath)
      : temp_(std::move(tempPath)), target_(std::move(targetPath)) {}
  ~SafeFileWriter();  // removes the temporary file unless committed
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool Begin(std::string* error) { return out_.Create(temp_, error); }
  OutputFile& out() { return out_; }
  // Flush, fsync, rename over the target, fsync the folder. On failure the
  // temporary file is removed and the target is untouched.
  bool Commit(std::string* error);
  void Discard();

 private:
  std::string temp_, target_;
  OutputFile out_;
  bool done_ = false;
};

template <class Encode>
void OutputFile::WriteEncoded(const uint8_t* data, size_t n, Encode&& encode) {
  if (!IsOpen() || failed_) return;
  while (n > 0) {
    const size_t room = kBufferBytes - buffer_.size();
    const size_t take = n < room ? n : room;
    const size_t at = buffer_.size();
    buffer_.insert(buffer_.end(), data, data + take);
    encode(buffer_.data() + at, take);
    data += take;
    n -= take;
    if (buffer_.size() == kBufferBytes && !Flush()) return;
  }
}

// Renames from over to (both in one folder) and makes the rename durable.
bool RenameDurably(const std::string& from, const std::string& to, std::string* error);

}  // namespace varlo
