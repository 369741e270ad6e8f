#include "browser/browser_files.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "files/jigsaw_pack.h"
#include "files/saved_game.h"
#include "jigsaw/pieces.h"
#include "raster/picture_codecs.h"

namespace varlo {

namespace {

// The file name without folder and extension.
std::string StemOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

int32_t LittleI32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 |
                              static_cast<uint32_t>(p[3]) << 24);
}

bool ReadAt(std::ifstream& in, uint64_t offset, uint8_t* out, size_t n) {
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
  return static_cast<size_t>(in.gcount()) == n;
}

}  // namespace

FilePreview PreviewPack(const std::string& path, const JIG_P& start) {
  FilePreview out;
  PackRead io;
  io.Jig = start;
  if (OpenJig(path, OpenMode::Preview, io, &out.Error) != OpenResult::Ok) return out;
  out.Jig = io.Jig;
  out.Thumbnail = std::move(io.Thumbnail);
  out.Ok = out.Thumbnail.Width > 0;
  return out;
}

FilePreview PreviewSavedGame(const std::string& path) {
  FilePreview out;
  SolveRead io;
  if (OpenSolve(path, OpenMode::Preview, io, &out.Error) != OpenResult::Ok) return out;
  out.Jig = io.Jig;
  out.SolveJig = io.SolveJig;
  out.Thumbnail = std::move(io.Thumbnail);
  out.Ok = out.Thumbnail.Width > 0;
  return out;
}

bool LoadListThumbnail(const std::string& path, const std::string& thumbDir, DIB_P& out) {
  if (HasExtension(path, ".ast")) {
    if (!thumbDir.empty()) {
      const std::string ready = thumbDir + StemOf(path) + ".jpg";
      std::error_code ec;
      if (std::filesystem::is_regular_file(ready, ec)) {
        std::vector<uint8_t> bytes;
        if (ReadWholeFile(ready, bytes, nullptr) &&
            DibLoadJpeg(out, bytes.data(), bytes.size(), nullptr))
          return true;
      }
    }
    PackRead io;
    if (OpenJig(path, OpenMode::Thumbnail, io, nullptr) != OpenResult::Ok) return false;
    out = std::move(io.Thumbnail);
    return out.Width > 0;
  }
  SolveRead io;
  if (OpenSolve(path, OpenMode::Thumbnail, io, nullptr) != OpenResult::Ok) return false;
  out = std::move(io.Thumbnail);
  return out.Width > 0;
}

FileStamp StampOf(const std::string& path) {
  FileStamp st;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return st;
  const auto time = std::filesystem::last_write_time(path, ec);
  if (ec) return st;
  st.Ok = true;
  st.Size = static_cast<uint64_t>(size);
  st.ModifiedNs = static_cast<int64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
  return st;
}

int32_t SavedGameSolvedPercent(const std::string& path) {
  // magic, seed, state offset S, name length L; the name; the parameter
  // block; ...; at S the backgrounds and play options, then the pieces.
  constexpr size_t kFixedHead = kSolveMagicBytes + 4 + 4 + 4;
  std::error_code ec;
  const auto fileSize = std::filesystem::file_size(path, ec);
  if (ec) return -1;
  std::ifstream in(path, std::ios::binary);
  if (!in) return -1;
  uint8_t head[kFixedHead];
  if (!ReadAt(in, 0, head, sizeof head)) return -1;
  if (std::string_view(reinterpret_cast<const char*>(head), kSolveMagicBytes) != kSolveMagic)
    return -1;
  const int32_t stateOffset = LittleI32(head + kSolveMagicBytes + 4);
  const int32_t nameBytes = LittleI32(head + kSolveMagicBytes + 8);
  if (nameBytes < 1 || nameBytes > static_cast<int32_t>(kMaxJigNameBytes) + 1) return -1;
  std::vector<uint8_t> jigBytes(kJigParamsBytes);
  if (!ReadAt(in, kFixedHead + static_cast<uint64_t>(nameBytes), jigBytes.data(), jigBytes.size()))
    return -1;
  const JIG_P jig = DecodeJigParams(jigBytes.data());
  const int32_t n = jig.TotalTileNum;
  if (n < 1 || n > kMaxPieces || stateOffset < 0) return -1;
  const uint64_t piecesAt =
      static_cast<uint64_t>(stateOffset) + kBackgroundBlockBytes + kStateOptionBytes;
  const uint64_t piecesBytes = static_cast<uint64_t>(n) * kTileBytes;
  if (piecesAt + piecesBytes > static_cast<uint64_t>(fileSize)) return -1;
  std::vector<uint8_t> table(static_cast<size_t>(piecesBytes));
  if (!ReadAt(in, piecesAt, table.data(), table.size())) return -1;
  Jigsaw j;
  j.Jig = jig;
  j.Tiles.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) j.Tiles[static_cast<size_t>(i)] = DecodeTile(&table[i * kTileBytes]);
  return SolvedStats(j, false).SolvedPercent;
}

}  // namespace varlo
