// Little-endian reading and writing of the game's byte formats.
//
// ByteReader never reads past its end: a read beyond it sets the failed
// flag and yields zero, so a parser can read a whole record and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace varlo {

inline void PutU8(uint8_t* p, uint8_t v) { p[0] = v; }
inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
inline void PutI16(uint8_t* p, int16_t v) { PutU16(p, static_cast<uint16_t>(v)); }
inline void PutI32(uint8_t* p, int32_t v) { PutU32(p, static_cast<uint32_t>(v)); }

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int16_t GetI16(const uint8_t* p) { return static_cast<int16_t>(GetU16(p)); }
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t pos() const { return pos_; }
  size_t size() const { return size_; }
  size_t remaining() const { return size_ - pos_; }
  bool failed() const { return failed_; }

  bool Seek(size_t pos) {
    if (pos > size_) return Fail();
    pos_ = pos;
    return true;
  }
  bool Skip(size_t n) { return n <= remaining() ? (pos_ += n, true) : Fail(); }
  const uint8_t* Take(size_t n) {
    if (n > remaining()) {
      Fail();
      return nullptr;
    }
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  uint8_t U8() {
    const uint8_t* p = Take(1);
    return p ? p[0] : 0;
  }
  uint16_t U16() {
    const uint8_t* p = Take(2);
    return p ? GetU16(p) : 0;
  }
  uint32_t U32() {
    const uint8_t* p = Take(4);
    return p ? GetU32(p) : 0;
  }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  int32_t I32() { return static_cast<int32_t>(U32()); }

 private:
  bool Fail() {
    failed_ = true;
    pos_ = size_;
    return false;
  }
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

class ByteWriter {
 public:
  std::vector<uint8_t>& bytes() { return out_; }
  size_t size() const { return out_.size(); }
  void U8(uint8_t v) { out_.push_back(v); }
  void U16(uint16_t v) {
    uint8_t b[2];
    PutU16(b, v);
    out_.insert(out_.end(), b, b + 2);
  }
  void U32(uint32_t v) {
    uint8_t b[4];
    PutU32(b, v);
    out_.insert(out_.end(), b, b + 4);
  }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Bytes(const uint8_t* p, size_t n) { out_.insert(out_.end(), p, p + n); }
  // Overwrites four bytes already written (a size filled in afterwards).
  void PatchU32(size_t at, uint32_t v) { PutU32(out_.data() + at, v); }

 private:
  std::vector<uint8_t> out_;
};

}  // namespace varlo
