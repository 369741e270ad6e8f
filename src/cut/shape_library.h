// The shape library pic_varlo.dat: the drawings of the artistic pieces.
//
// Layout (little-endian, offsets from the start of the file):
//   0   8        magic "BJ61DAT " (with the trailing blank)
//   8   4        entry count N (int32)
//   12  40 x N   directory records:
//                  0 offset of the entry's EMF data (uint32)   4 its size (uint32)
//                  8 design width (int32)                      12 design height (int32)
//                  16..31 not used
//                  32 1 = may be flipped top to bottom         33 1 = may be flipped left to right
//                  34..39 not used
//   anywhere     each entry's EMF file, at its offset with its size
//
// The whole library is read at once when a cut with shape style 3 starts,
// so every placement only copies an entry and edits the copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cut/emf_drawing.h"

namespace varlo {

struct Platform;

inline constexpr char kShapeLibraryMagic[9] = "BJ61DAT ";
inline constexpr size_t kShapeLibraryHeaderSize = 12;
inline constexpr size_t kShapeLibraryRecordSize = 40;
// Far above the library the game ships (a few dozen drawings of a few
// kilobytes), far below what a damaged count could make us allocate.
inline constexpr int32_t kShapeLibraryMaxEntries = 4096;
inline constexpr size_t kShapeLibraryMaxBytes = size_t{64} << 20;
inline constexpr int32_t kShapeMaxDesignSide = 4096;

struct ShapeEntry {
  int32_t DesignWidth = 0;
  int32_t DesignHeight = 0;
  bool FlipTopBottom = false;
  bool FlipLeftRight = false;
  EmfDrawing Drawing;  // walked and ready to copy
};

struct ShapeLibrary {
  std::vector<ShapeEntry> Entries;
  bool Empty() const { return Entries.empty(); }
};

enum class ShapeLibraryResult {
  Loaded,      // possibly with no entries
  WrongMagic,  // not a shape library: no entries
  Damaged,     // a count, offset, size or drawing that does not hold: no entries
  Unreadable,  // the file could not be read: no entries
};

// Reads a library from bytes. Every directory record's offset and size must
// lie inside the data, every design size must be positive (at most
// kShapeMaxDesignSide) and every entry must be a drawing the EMF walk
// accepts; otherwise nothing is kept and *error says which entry failed.
ShapeLibraryResult ParseShapeLibrary(const uint8_t* data, size_t size, ShapeLibrary& lib, std::string* error);

// Reads the file. With a wrong magic "Invalid DAT file!" is shown in an
// exclamation box (the language files have no text for it); the other
// failures show nothing and leave the message in *error for the caller.
ShapeLibraryResult LoadShapeLibrary(const std::string& path, ShapeLibrary& lib, const Platform& platform,
                                    std::string* error);

// One entry to be written: its EMF bytes and directory values.
struct ShapeSource {
  std::vector<uint8_t> Emf;
  int32_t DesignWidth = 0;
  int32_t DesignHeight = 0;
  bool FlipTopBottom = false;
  bool FlipLeftRight = false;
};

// The library file for the given entries: header, directory, then the
// drawings one after the other (each starting on a 4-byte boundary).
std::vector<uint8_t> BuildShapeLibrary(const std::vector<ShapeSource>& entries);

}  // namespace varlo
