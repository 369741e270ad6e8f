#include "browser/browser_files.h"

#include <filesystem>

#include "files/jigsaw_pack.h"
#include "files/saved_game.h"
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

}  // namespace varlo
