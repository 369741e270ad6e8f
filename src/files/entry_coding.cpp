// Scrambled entries and the picture-kind tests of packs and saved games.
#include "files/entry_coding.h"

#include <cstdio>
#include <cstring>

#include "raster/file_calls.h"
#include "raster/byte_io.h"
#include "files/byte_source.h"
#include "raster/output_file.h"

namespace varlo {

namespace {

constexpr uint8_t RotateRight(uint8_t k, unsigned n) {
  n &= 7;
  return n == 0 ? k : static_cast<uint8_t>((k >> n) | (k << (8 - n)));
}

constexpr uint8_t kJfifStart[12] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10,
                                    0x4A, 0x46, 0x49, 0x46, 0x00, 0x01};

size_t ReadFileStart(const std::string& path, uint8_t* buf, size_t n) {
  return ReadRegularFileStart(path, buf, n);
}

}  // namespace

void ScrambleBytes(uint8_t* data, size_t n, uint8_t& key, bool rotating) {
  if (!rotating) {
    const uint8_t k = key;
    for (size_t i = 0; i < n; ++i) data[i] ^= k;
    return;
  }
  // The key repeats every eight bytes: XOR with an 8-byte pattern.
  uint8_t pattern[8];
  for (unsigned j = 0; j < 8; ++j) pattern[j] = RotateRight(key, j);
  for (size_t i = 0; i < n; ++i) data[i] ^= pattern[i & 7];
  key = RotateRight(key, static_cast<unsigned>(n & 7));
}

bool ReadEntry(ByteSource& in, uint8_t start, bool rotating, uint64_t maxPayload,
               std::vector<uint8_t>& payload, EntryRead* info, std::string* error) {
  int32_t n = 0;
  if (!in.ReadI32(n)) {
    if (error) *error = "The file ends where an entry should begin.";
    return false;
  }
  if (n < 0) {
    if (error) *error = "An entry has a negative length (" + std::to_string(n) + ").";
    return false;
  }
  const uint64_t size = static_cast<uint64_t>(n);
  if (size > in.Remaining()) {
    if (error)
      *error = "An entry of " + std::to_string(size) + " bytes runs past the end of the file (" +
               std::to_string(in.Remaining()) + " bytes left).";
    return false;
  }
  if (size > maxPayload) {
    if (error)
      *error = "An entry of " + std::to_string(size) + " bytes is larger than allowed (" +
               std::to_string(maxPayload) + ").";
    return false;
  }
  payload.resize(static_cast<size_t>(size));
  if (size > 0 && !in.Read(payload.data(), payload.size())) {
    if (error) *error = "The file could not be read to its end.";
    return false;
  }
  uint8_t key = start;
  ScrambleBytes(payload.data(), payload.size(), key, rotating);
  if (info) {
    info->Size = static_cast<uint32_t>(size);
    info->EndPos = in.Pos();
  }
  return true;
}

bool SkipEntry(ByteSource& in, EntryRead* info, std::string* error) {
  int32_t n = 0;
  if (!in.ReadI32(n) || n < 0 || !in.Skip(static_cast<uint64_t>(n))) {
    if (error) *error = "An entry's length does not fit the file.";
    return false;
  }
  if (info) {
    info->Size = static_cast<uint32_t>(n);
    info->EndPos = in.Pos();
  }
  return true;
}

void WriteEntry(OutputFile& out, uint8_t start, bool rotating, const uint8_t* data, size_t n) {
  out.WriteI32(static_cast<int32_t>(n));
  uint8_t key = start;
  WriteScrambled(out, data, n, key, rotating);
}

void WriteScrambled(OutputFile& out, const uint8_t* data, size_t n, uint8_t& key, bool rotating) {
  out.WriteEncoded(data, n, [&](uint8_t* bytes, size_t count) { ScrambleBytes(bytes, count, key, rotating); });
}

void AppendEntry(std::vector<uint8_t>& out, uint8_t start, bool rotating, const uint8_t* data,
                 size_t n) {
  uint8_t size[4];
  PutI32(size, static_cast<int32_t>(n));
  out.insert(out.end(), size, size + 4);
  const size_t at = out.size();
  out.insert(out.end(), data, data + n);
  uint8_t key = start;
  ScrambleBytes(out.data() + at, n, key, rotating);
}

int32_t PictureKind(const uint8_t* data, size_t size) {
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return 2;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return 1;
  return 0;
}

int32_t PictureKind(const std::string& path) {
  uint8_t b[3];
  const size_t n = ReadFileStart(path, b, sizeof b);
  return PictureKind(b, n);
}

bool IsJfif(const uint8_t* data, size_t size) {
  return size >= sizeof kJfifStart && std::memcmp(data, kJfifStart, sizeof kJfifStart) == 0;
}

bool IsJfif(const std::string& path) {
  uint8_t b[sizeof kJfifStart];
  const size_t n = ReadFileStart(path, b, sizeof b);
  return IsJfif(b, n);
}

}  // namespace varlo
