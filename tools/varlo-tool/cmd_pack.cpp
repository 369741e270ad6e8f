// varlo-tool pack: builds a jigsaw pack from a JPEG, PNG or BMP photograph.
//
// The picture entry is a JPEG with the exact JFIF start the game accepts
// (a JFIF photograph is kept as it is; anything else, Exif JPEGs included,
// is re-encoded at high quality), the thumbnail a JPEG that fits 240 x 180,
// the info text UTF-8 with its byte-order mark.
#include <algorithm>
#include <iostream>

#include "command.h"
#include "files/entry_coding.h"
#include "files/info_text.h"
#include "files/jigsaw_pack.h"
#include "raster/output_file.h"
#include "files/picture_size.h"
#include "raster/picture_codecs.h"

namespace varlo::tool {
namespace {

constexpr int kJpegQuality = 92;
constexpr int32_t kThumbW = 240, kThumbH = 180;
// The open dialog's list thumbnails of the installed jigsaws.
constexpr int32_t kListThumbW = 180, kListThumbH = 135;

// Area-averaging reduction: every source pixel counts, so fine detail does
// not alias the way point or bilinear sampling does at large factors.
void Reduce(DIB_P& dst, const DIB_P& src, int32_t w, int32_t h) {
  DibCreate24(dst, w, h);
  std::vector<uint32_t> acc(static_cast<size_t>(w) * 3);
  std::vector<uint32_t> cnt(static_cast<size_t>(w));
  for (int32_t y = 0; y < h; ++y) {
    const int32_t y0 = static_cast<int32_t>(static_cast<int64_t>(y) * src.Height / h);
    const int32_t y1 = std::max(y0 + 1, static_cast<int32_t>(static_cast<int64_t>(y + 1) * src.Height / h));
    std::fill(acc.begin(), acc.end(), 0);
    std::fill(cnt.begin(), cnt.end(), 0);
    for (int32_t sy = y0; sy < y1; ++sy) {
      const uint8_t* row = DibRow(src, sy);
      for (int32_t x = 0; x < w; ++x) {
        const int32_t x0 = static_cast<int32_t>(static_cast<int64_t>(x) * src.Width / w);
        const int32_t x1 = std::max(x0 + 1, static_cast<int32_t>(static_cast<int64_t>(x + 1) * src.Width / w));
        for (int32_t sx = x0; sx < x1; ++sx) {
          const uint8_t* p = row + static_cast<size_t>(sx) * src.BytesPerPixel;
          acc[x * 3] += p[0];
          acc[x * 3 + 1] += p[1];
          acc[x * 3 + 2] += p[2];
        }
        cnt[x] += static_cast<uint32_t>(x1 - x0);
      }
    }
    uint8_t* out = DibRow(dst, y);
    for (int32_t x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) out[x * 3 + c] = static_cast<uint8_t>((acc[x * 3 + c] + cnt[x] / 2) / cnt[x]);
  }
}

// The size that fits w x h into maxW x maxH keeping the proportions.
void FitInto(int32_t w, int32_t h, int32_t maxW, int32_t maxH, int32_t& fw, int32_t& fh) {
  fw = w;
  fh = h;
  if (fw > maxW) {
    fh = std::max(1, static_cast<int32_t>((static_cast<int64_t>(fh) * maxW + fw / 2) / fw));
    fw = maxW;
  }
  if (fh > maxH) {
    fw = std::max(1, static_cast<int32_t>((static_cast<int64_t>(fw) * maxH + fh / 2) / fh));
    fh = maxH;
  }
}

bool LoadPicture(const std::string& path, std::vector<uint8_t>& bytes, DIB_P& d, std::string* error) {
  if (!ReadWholeFile(path, bytes, error)) return false;
  int32_t w = 0, h = 0;
  if (!PeekPictureSize(bytes.data(), bytes.size(), w, h)) {
    *error = "\"" + path + "\" is not a JPEG, PNG or BMP picture";
    return false;
  }
  if (!PictureSizeAllowed(w, h)) {
    *error = "\"" + path + "\" is " + std::to_string(w) + " x " + std::to_string(h) +
             " pixels; the game takes at most " + std::to_string(kMaxPictureSide) + " a side and " +
             std::to_string(kMaxPicturePixels) + " pixels in all";
    return false;
  }
  if (!DibLoadPicture(d, bytes.data(), bytes.size(), error)) {
    *error = "\"" + path + "\": " + *error;
    return false;
  }
  return true;
}

int RunPack(const std::vector<std::string>& argv) {
  const char* usage =
      "usage: varlo-tool pack --picture PHOTO --info TEXTFILE --out NAME.ast [--thumb THUMB] "
      "[--max-width W] [--tag TEXT] [--list-thumb FILE.jpg]";
  std::string error;
  auto args = Args::Parse(argv, {}, &error);
  if (!args) return Fail("pack", error);
  for (const std::string& n : args->Names())
    if (n != "picture" && n != "info" && n != "out" && n != "thumb" && n != "max-width" && n != "tag" &&
        n != "list-thumb")
      return Fail("pack", "unknown option --" + n + "\n" + usage);
  if (!args->Has("picture") || !args->Has("info") || !args->Has("out") || !args->positional().empty())
    return Fail("pack", usage);
  const std::string out = args->Get("out");
  if (!HasExtension(out, ".ast")) return Fail("pack", "the pack's name must end in .ast");
  long long maxWidth = 0;
  if (!args->GetInt("max-width", 0, maxWidth, &error)) return Fail("pack", error);
  if (maxWidth < 0 || maxWidth > kMaxPictureSide) return Fail("pack", "--max-width must lie in 1..20000");
  const std::string tag = args->Get("tag");
  if (tag.size() > 9) return Fail("pack", "--tag takes at most 9 characters");

  std::vector<uint8_t> photoBytes;
  DIB_P photo;
  if (!LoadPicture(args->Get("picture"), photoBytes, photo, &error)) return Fail("pack", error);
  int32_t w = photo.Width, h = photo.Height;
  if (maxWidth > 0) FitInto(photo.Width, photo.Height, static_cast<int32_t>(maxWidth), kMaxPictureSide, w, h);
  FitInto(w, h, kMaxPictureSide, kMaxPictureSide, w, h);

  PackParts parts;
  parts.ImageW = w;
  parts.ImageH = h;
  parts.ShortText = tag;
  DIB_P picture;
  if (w != photo.Width || h != photo.Height) {
    Reduce(picture, photo, w, h);
  } else {
    picture = std::move(photo);
  }
  if (picture.Width == w && IsJfif(photoBytes.data(), photoBytes.size()) && maxWidth == 0) {
    parts.Picture = std::move(photoBytes);  // already what the game reads: keep its quality
  } else if (!DibSaveJpeg(picture, kJpegQuality, parts.Picture, &error)) {
    return Fail("pack", "the picture cannot be encoded: " + error);
  }

  DIB_P thumbSource;
  const DIB_P* thumbFrom = &picture;
  if (args->Has("thumb")) {
    std::vector<uint8_t> b;
    if (!LoadPicture(args->Get("thumb"), b, thumbSource, &error)) return Fail("pack", error);
    thumbFrom = &thumbSource;
  }
  int32_t tw = 0, th = 0;
  FitInto(thumbFrom->Width, thumbFrom->Height, kThumbW, kThumbH, tw, th);
  DIB_P thumb;
  Reduce(thumb, *thumbFrom, tw, th);
  if (!DibSaveJpeg(thumb, kJpegQuality, parts.Thumbnail, &error))
    return Fail("pack", "the thumbnail cannot be encoded: " + error);

  std::vector<uint8_t> infoBytes;
  if (!ReadWholeFile(args->Get("info"), infoBytes, &error)) return Fail("pack", error);
  parts.Info = EncodeInfoUtf8(DecodeInfoText(infoBytes.data(), infoBytes.size()));
  // Never a pack the game would refuse or could not cut.
  const std::string bad = CheckPackParts(parts);
  if (!bad.empty()) return Fail("pack", bad);

  if (args->Has("list-thumb")) {
    int32_t lw = 0, lh = 0;
    FitInto(thumbFrom->Width, thumbFrom->Height, kListThumbW, kListThumbH, lw, lh);
    DIB_P list;
    Reduce(list, *thumbFrom, lw, lh);
    std::vector<uint8_t> jpeg;
    if (!DibSaveJpeg(list, kJpegQuality, jpeg, &error)) return Fail("pack", error);
    const std::string listPath = args->Get("list-thumb");
    SafeFileWriter file(listPath + ".part", listPath);
    if (!file.Begin(&error)) return Fail("pack", error);
    file.out().Write(jpeg.data(), jpeg.size());
    if (!file.Commit(&error)) return Fail("pack", error);
  }

  const std::vector<uint8_t> pack = BuildPack(parts);
  SafeFileWriter file(out + ".part", out);
  if (!file.Begin(&error)) return Fail("pack", error);
  file.out().Write(pack.data(), pack.size());
  if (!file.Commit(&error)) return Fail("pack", error);
  std::cout << "{\"out\":" << JsonString(out) << ",\"ImageW\":" << w << ",\"ImageH\":" << h
            << ",\"thumbnail\":[" << tw << "," << th << "],\"bytes\":" << pack.size() << "}\n";
  return 0;
}

}  // namespace

VARLO_TOOL_COMMAND("pack",
                   "  pack --picture PHOTO --info TEXTFILE --out NAME.ast [--thumb THUMB] [--max-width W] [--tag TEXT]\n"
                   "       [--list-thumb FILE.jpg]\n"
                   "                          build a jigsaw pack from a JPEG, PNG or BMP photograph",
                   RunPack);

}  // namespace varlo::tool
