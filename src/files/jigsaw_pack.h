// Jigsaw packs (".ast"): one picture made ready for play, with its size, a
// thumbnail for the open dialog and a descriptive text.
//
//   offset 0   9 bytes  "VARLO1.0" and a zero byte
//          9   int32    ImageW
//         13   int32    ImageH
//         17   10 bytes short text: length byte L (<= 9) and nine characters
//         27   entries  thumbnail (plain), info and picture (rotating)
//
// The game only reads packs; varlo-tool makes them with BuildPack.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "raster/dib.h"
#include "raster/file_limits.h"
#include "raster/path_ascii.h"
#include "jigsaw/jig_params.h"

namespace varlo {

class ByteSource;

inline constexpr char kPackMagic[] = "VARLO1.0";  // followed by its zero byte
inline constexpr size_t kPackHeaderBytes = 27;

// How a pack or a saved game is read.
enum class OpenMode : int32_t {
  Preview = 0,    // header and thumbnail; fills the open dialog's working JIG_P
  Play = 1,       // everything needed to start (pack) or resume (saved game)
  Thumbnail = 2,  // header and thumbnail only, for list thumbnails
};

enum class OpenResult {
  Ok,
  NotValid,  // missing, wrong extension, wrong magic, unusable thumbnail kind: no message
  Failed,    // a damaged or unreadable file: *error says why, for the error report
};

// What reading a pack gives and takes. On anything but Ok the record is
// left exactly as it was.
struct PackRead {
  // Preview: the open dialog's working copy; ImageW, ImageH, SideNum = 1,
  // SideInd = 0, PackTag and ThumbEnd[1] are set, the level fields kept.
  // Play: the play copy, read (its size must match the pack's header).
  JIG_P Jig;
  DIB_P Thumbnail;                      // Preview, Thumbnail: the decoded thumbnail
  std::vector<uint8_t> ThumbnailBytes;  // ... and its file bytes
  std::string Info;                     // Play: the info text (UTF-8)
  DIB_P Picture;                        // Play: ImageW x ImageH, 24 bits
};

// The pack reader. path must end in ".ast" (any case).
OpenResult OpenJig(const std::string& path, OpenMode mode, PackRead& io, std::string* error);
// The same on bytes in memory (no extension test).
OpenResult ReadPack(ByteSource& in, OpenMode mode, PackRead& io, std::string* error);

struct PackParts {
  int32_t ImageW = 0;
  int32_t ImageH = 0;
  std::string ShortText;  // at most 9 bytes; its last byte becomes PackTag
  std::vector<uint8_t> Thumbnail;  // a JPEG or BMP file
  std::vector<uint8_t> Info;       // a text file (with its byte-order mark)
  std::vector<uint8_t> Picture;    // a JFIF JPEG or a BMP of ImageW x ImageH
};
// Empty when the parts make a pack the reader opens and the cut can serve
// (sizes within raster/file_limits.h, the picture of the size given, at
// least kMinPictureSide a side), else what is wrong.
std::string CheckPackParts(const PackParts& parts);
std::vector<uint8_t> BuildPack(const PackParts& parts);

}  // namespace varlo
