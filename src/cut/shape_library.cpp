#include "cut/shape_library.h"

#include <cstring>
#include <fstream>

#include "raster/file_calls.h"
#include "raster/byte_io.h"
#include "platform/platform.h"
#include "platform/message_box.h"

namespace varlo {

namespace {

ShapeLibraryResult Refuse(ShapeLibrary& lib, ShapeLibraryResult why, std::string* error, const std::string& text) {
  lib.Entries.clear();
  if (error) *error = text;
  return why;
}

}  // namespace

ShapeLibraryResult ParseShapeLibrary(const uint8_t* data, size_t size, ShapeLibrary& lib, std::string* error) {
  lib.Entries.clear();
  if (!data || size < 8 || std::memcmp(data, kShapeLibraryMagic, 8) != 0)
    return Refuse(lib, ShapeLibraryResult::WrongMagic, error, "not a shape library (wrong magic)");
  if (size < kShapeLibraryHeaderSize)
    return Refuse(lib, ShapeLibraryResult::Damaged, error, "shape library cut short before its count");
  const int32_t count = GetI32(data + 8);
  if (count < 0 || count > kShapeLibraryMaxEntries)
    return Refuse(lib, ShapeLibraryResult::Damaged, error, "shape library with a bad entry count");
  const size_t directoryEnd = kShapeLibraryHeaderSize + static_cast<size_t>(count) * kShapeLibraryRecordSize;
  if (directoryEnd > size)
    return Refuse(lib, ShapeLibraryResult::Damaged, error, "shape library directory cut short");
  std::vector<ShapeEntry> entries(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* r = data + kShapeLibraryHeaderSize + static_cast<size_t>(i) * kShapeLibraryRecordSize;
    const uint64_t offset = GetU32(r), length = GetU32(r + 4);
    ShapeEntry& e = entries[static_cast<size_t>(i)];
    e.DesignWidth = GetI32(r + 8);
    e.DesignHeight = GetI32(r + 12);
    e.FlipTopBottom = r[32] == 1;
    e.FlipLeftRight = r[33] == 1;
    const std::string which = "shape library entry " + std::to_string(i);
    if (offset > size || length > size - offset)
      return Refuse(lib, ShapeLibraryResult::Damaged, error, which + " lies outside the file");
    if (e.DesignWidth <= 0 || e.DesignHeight <= 0 || e.DesignWidth > kShapeMaxDesignSide ||
        e.DesignHeight > kShapeMaxDesignSide)
      return Refuse(lib, ShapeLibraryResult::Damaged, error, which + " has a bad design size");
    std::string why;
    if (!EmfLoadDrawing(data + offset, static_cast<size_t>(length), e.Drawing, &why))
      return Refuse(lib, ShapeLibraryResult::Damaged, error, which + ": " + why);
  }
  lib.Entries = std::move(entries);
  return ShapeLibraryResult::Loaded;
}

ShapeLibraryResult LoadShapeLibrary(const std::string& path, ShapeLibrary& lib, const Platform& platform,
                                    std::string* error) {
  lib.Entries.clear();
  std::vector<uint8_t> bytes;
  std::string why;
  if (!ReadRegularFile(path, kShapeLibraryMaxBytes, bytes, &why))
    return Refuse(lib, ShapeLibraryResult::Unreadable, error, why);
  const ShapeLibraryResult r = ParseShapeLibrary(bytes.data(), bytes.size(), lib, error);
  if (r == ShapeLibraryResult::WrongMagic) ShowGameMessage(platform, "Invalid DAT file!", kMsgExclamationOk);
  return r;
}

std::vector<uint8_t> BuildShapeLibrary(const std::vector<ShapeSource>& entries) {
  std::vector<uint8_t> out(kShapeLibraryHeaderSize + entries.size() * kShapeLibraryRecordSize, 0);
  std::memcpy(out.data(), kShapeLibraryMagic, 8);
  PutI32(out.data() + 8, static_cast<int32_t>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    while (out.size() % 4) out.push_back(0);
    const ShapeSource& e = entries[i];
    uint8_t* r = out.data() + kShapeLibraryHeaderSize + i * kShapeLibraryRecordSize;
    PutU32(r, static_cast<uint32_t>(out.size()));
    PutU32(r + 4, static_cast<uint32_t>(e.Emf.size()));
    PutI32(r + 8, e.DesignWidth);
    PutI32(r + 12, e.DesignHeight);
    r[32] = e.FlipTopBottom ? 1 : 0;
    r[33] = e.FlipLeftRight ? 1 : 0;
    out.insert(out.end(), e.Emf.begin(), e.Emf.end());
  }
  return out;
}

}  // namespace varlo
