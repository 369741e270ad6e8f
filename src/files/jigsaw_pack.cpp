// Reading and building jigsaw packs.
#include "files/jigsaw_pack.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "raster/byte_io.h"
#include "files/byte_source.h"
#include "files/entry_coding.h"
#include "files/info_text.h"
#include "files/picture_size.h"
#include "raster/picture_codecs.h"

namespace varlo {

namespace {

struct PackHeader {
  int32_t ImageW = 0;
  int32_t ImageH = 0;
  int32_t PackTag = 0;
};

OpenResult Refuse(std::string* error, const std::string& why) {
  if (error) *error = why;
  return OpenResult::Failed;
}

// Magic, picture size and tag. NotValid for a wrong magic, Failed for a
// header cut short or a picture size the game cannot hold.
OpenResult ReadHeader(ByteSource& in, PackHeader& h, std::string* error) {
  uint8_t b[kPackHeaderBytes];
  if (in.Size() < 9) return OpenResult::NotValid;
  if (in.Size() > kMaxPackBytes)
    return Refuse(error, "The jigsaw file is " + std::to_string(in.Size()) + " bytes, more than a jigsaw holds (" +
                             std::to_string(kMaxPackBytes) + ").");
  if (!in.Seek(0) || !in.Read(b, 9)) return Refuse(error, "The jigsaw file cannot be read.");
  // Compared as zero-terminated strings: the zero byte at offset 8 counts.
  if (std::memcmp(b, kPackMagic, 9) != 0) return OpenResult::NotValid;
  if (!in.Read(b + 9, kPackHeaderBytes - 9))
    return Refuse(error, "The jigsaw file ends inside its header.");
  h.ImageW = GetI32(b + 9);
  h.ImageH = GetI32(b + 13);
  if (!PictureSizeAllowed(h.ImageW, h.ImageH))
    return Refuse(error, "The jigsaw file gives an impossible picture size (" +
                             std::to_string(h.ImageW) + " x " + std::to_string(h.ImageH) + ").");
  // The tag is the byte at position L counted from the length byte: the
  // text's last character, or the length byte itself when L is 0.
  const uint8_t len = std::min<uint8_t>(b[17], 9);
  h.PackTag = b[17 + len];
  return OpenResult::Ok;
}

OpenResult ReadThumbnail(ByteSource& in, DIB_P& thumb, std::vector<uint8_t>& bytes,
                         uint64_t& thumbEnd, std::string* error) {
  EntryRead entry;
  if (!ReadEntry(in, kThumbBaseByte, false, kMaxThumbnailEntry, bytes, &entry, error))
    return OpenResult::Failed;
  thumbEnd = entry.EndPos;
  const int32_t kind = PictureKind(bytes.data(), bytes.size());
  if (kind == 0) return OpenResult::NotValid;  // GIF or anything else
  int32_t w = 0, h = 0;
  if (!PeekPictureSize(bytes.data(), bytes.size(), w, h))
    return Refuse(error, "The jigsaw's thumbnail has no usable picture size.");
  // A saved game keeps the thumbnail as a bitmap: a larger one would not
  // fit its entry there.
  if (!ThumbnailSizeAllowed(w, h))
    return Refuse(error, "The jigsaw's thumbnail is " + std::to_string(w) + " x " + std::to_string(h) +
                             " pixels; at most " + std::to_string(kMaxThumbnailSide) + " a side are possible.");
  std::string why;
  const bool ok = kind == 2 ? DibLoadJpeg(thumb, bytes.data(), bytes.size(), &why)
                            : DibLoadPicture(thumb, bytes.data(), bytes.size(), &why);
  if (!ok) return Refuse(error, "The jigsaw's thumbnail cannot be read: " + why);
  return OpenResult::Ok;
}

}  // namespace


OpenResult ReadPack(ByteSource& in, OpenMode mode, PackRead& io, std::string* error) {
  PackHeader header;
  OpenResult r = ReadHeader(in, header, error);
  if (r != OpenResult::Ok) return r;

  if (mode != OpenMode::Play) {
    DIB_P thumb;
    std::vector<uint8_t> thumbBytes;
    uint64_t thumbEnd = 0;
    r = ReadThumbnail(in, thumb, thumbBytes, thumbEnd, error);
    if (r != OpenResult::Ok) return r;
    if (thumbEnd > static_cast<uint64_t>(INT32_MAX))
      return Refuse(error, "The jigsaw's thumbnail is too large.");
    if (mode == OpenMode::Preview) {
      io.Jig.ImageW = header.ImageW;
      io.Jig.ImageH = header.ImageH;
      io.Jig.SideNum = 1;
      io.Jig.SideInd = 0;
      io.Jig.PackTag = header.PackTag;
      io.Jig.ThumbEnd[1] = static_cast<int32_t>(thumbEnd);
    }
    io.Thumbnail = std::move(thumb);
    io.ThumbnailBytes = std::move(thumbBytes);
    return OpenResult::Ok;
  }

  // Play: the pack must still be the one previewed. The thumbnail is
  // stepped over by its length rather than trusting a remembered offset, so
  // a pack replaced in between cannot send the reader into the middle of an
  // entry.
  if (header.ImageW != io.Jig.ImageW || header.ImageH != io.Jig.ImageH)
    return Refuse(error, "The jigsaw file has changed since it was selected.");
  if (!SkipEntry(in, nullptr, error)) return OpenResult::Failed;

  // A pack holds one picture: one info entry and one picture entry.
  std::vector<uint8_t> infoBytes;
  if (!ReadEntry(in, kInfoBaseByte, true, kMaxInfoEntry, infoBytes, nullptr, error))
    return OpenResult::Failed;
  std::vector<uint8_t> pic;
  if (!ReadEntry(in, kPictureBaseByte, true, std::min(in.Remaining(), kMaxPictureFileBytes), pic, nullptr, error))
    return OpenResult::Failed;

  int32_t w = 0, h = 0;
  if (!PeekPictureSize(pic.data(), pic.size(), w, h))
    return Refuse(error, "The jigsaw's picture is neither a JPEG nor a bitmap.");
  if (w != header.ImageW || h != header.ImageH)
    return Refuse(error, "The jigsaw's picture is " + std::to_string(w) + " x " +
                             std::to_string(h) + " pixels, but the jigsaw says " +
                             std::to_string(header.ImageW) + " x " +
                             std::to_string(header.ImageH) + ".");
  DIB_P picture;
  std::string why;
  // Only the exact JFIF start is decoded as JPEG; everything else goes to
  // the bitmap loader (so an Exif JPEG fails there).
  const bool ok = IsJfif(pic.data(), pic.size())
                      ? DibLoadJpeg(picture, pic.data(), pic.size(), &why)
                      : DibLoadBmp(picture, pic.data(), pic.size(), &why);
  if (!ok) return Refuse(error, "The jigsaw's picture cannot be read: " + why);
  if (picture.Width != header.ImageW || picture.Height != header.ImageH)
    return Refuse(error, "The jigsaw's picture does not have the size its header gives.");
  pic.clear();
  pic.shrink_to_fit();
  io.Info = DecodeInfoText(infoBytes.data(), infoBytes.size());
  io.Picture = std::move(picture);
  return OpenResult::Ok;
}

OpenResult OpenJig(const std::string& path, OpenMode mode, PackRead& io, std::string* error) {
  if (!HasExtension(path, ".ast")) return OpenResult::NotValid;
  FileSource in;
  std::string why;
  if (!in.Open(path, &why)) return OpenResult::NotValid;  // a missing pack shows as invalid
  const OpenResult r = ReadPack(in, mode, io, error);
  if (r == OpenResult::Failed && error) *error = "\"" + path + "\": " + *error;
  return r;
}

std::string CheckPackParts(const PackParts& p) {
  const std::string size = std::to_string(p.ImageW) + " x " + std::to_string(p.ImageH) + " pixels";
  if (!PictureSizeAllowed(p.ImageW, p.ImageH))
    return "The picture is " + size + "; a jigsaw holds at most " + std::to_string(kMaxPictureSide) +
           " a side and " + std::to_string(kMaxPicturePixels) + " pixels in all.";
  if (p.ImageW < kMinPictureSide || p.ImageH < kMinPictureSide)
    return "The picture is " + size + "; a jigsaw is cut from at least " + std::to_string(kMinPictureSide) +
           " x " + std::to_string(kMinPictureSide) + " pixels.";
  int32_t w = 0, h = 0;
  if (!PeekPictureSize(p.Picture.data(), p.Picture.size(), w, h) || w != p.ImageW || h != p.ImageH)
    return "The picture entry is not a picture of " + size + ".";
  if (p.Picture.size() > kMaxPictureFileBytes)
    return "The picture entry is " + std::to_string(p.Picture.size()) + " bytes; at most " +
           std::to_string(kMaxPictureFileBytes) + " are possible.";
  if (!PeekPictureSize(p.Thumbnail.data(), p.Thumbnail.size(), w, h) || !ThumbnailSizeAllowed(w, h))
    return "The thumbnail is not a picture of at most " + std::to_string(kMaxThumbnailSide) + " pixels a side.";
  if (p.Thumbnail.size() > kMaxThumbnailEntry)
    return "The thumbnail is " + std::to_string(p.Thumbnail.size()) + " bytes; at most " +
           std::to_string(kMaxThumbnailEntry) + " are possible.";
  if (p.Info.size() > kMaxInfoEntry)
    return "The info text is " + std::to_string(p.Info.size()) + " bytes; at most " + std::to_string(kMaxInfoEntry) +
           " are possible.";
  return {};
}

std::vector<uint8_t> BuildPack(const PackParts& parts) {
  std::vector<uint8_t> out(kPackHeaderBytes, 0);
  std::memcpy(out.data(), kPackMagic, 9);
  PutI32(out.data() + 9, parts.ImageW);
  PutI32(out.data() + 13, parts.ImageH);
  const size_t len = std::min<size_t>(parts.ShortText.size(), 9);
  out[17] = static_cast<uint8_t>(len);
  std::memcpy(out.data() + 18, parts.ShortText.data(), len);
  out.reserve(out.size() + 12 + parts.Thumbnail.size() + parts.Info.size() + parts.Picture.size());
  AppendEntry(out, kThumbBaseByte, false, parts.Thumbnail.data(), parts.Thumbnail.size());
  AppendEntry(out, kInfoBaseByte, true, parts.Info.data(), parts.Info.size());
  AppendEntry(out, kPictureBaseByte, true, parts.Picture.data(), parts.Picture.size());
  return out;
}

}  // namespace varlo
