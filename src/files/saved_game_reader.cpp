// Reading saved games. Everything is checked before it is allocated or
// trusted; a refused file changes nothing of the caller's records.
#include <cstring>

#include "raster/byte_io.h"
#include "files/byte_source.h"
#include "files/entry_coding.h"
#include "files/info_text.h"
#include "files/picture_size.h"
#include "files/saved_game.h"
#include "files/saved_game_writer.h"
#include "files/state_journal.h"
#include "raster/picture_codecs.h"

namespace varlo {

namespace {

OpenResult Refuse(std::string* error, const std::string& why) {
  if (error) *error = why;
  return OpenResult::Failed;
}

struct SolveHeader {
  int32_t HeaderSeed = 0;
  int32_t StateOffset = 0;
  std::string Name;
  JIG_P Jig;
};

std::string CheckJig(const JIG_P& j) {
  if (j.TotalTileNum < 1 || j.TotalTileNum > kMaxPieces)
    return "The saved game has " + std::to_string(j.TotalTileNum) + " pieces (1 to " +
           std::to_string(kMaxPieces) + " are possible).";
  if (!PictureSizeAllowed(j.ImageW, j.ImageH))
    return "The saved game gives an impossible picture size (" + std::to_string(j.ImageW) +
           " x " + std::to_string(j.ImageH) + ").";
  return {};
}

OpenResult ReadHeader(ByteSource& in, SolveHeader& h, std::string* error) {
  uint8_t magic[kSolveMagicBytes];
  if (!in.Seek(0) || !in.Read(magic, sizeof magic) ||
      std::memcmp(magic, kSolveMagic, kSolveMagicBytes) != 0)
    return OpenResult::NotValid;
  int32_t nameLen = 0;
  if (!in.ReadI32(h.HeaderSeed) || !in.ReadI32(h.StateOffset) || !in.ReadI32(nameLen))
    return Refuse(error, "The saved game ends inside its header.");
  if (nameLen < 1 || nameLen > static_cast<int32_t>(kMaxJigNameBytes) + 1)
    return Refuse(error, "The saved game's jigsaw name has an impossible length (" +
                             std::to_string(int64_t{nameLen} - 1) + " bytes; at most " +
                             std::to_string(kMaxJigNameBytes) + " are allowed).");
  char name[kMaxJigNameBytes + 1];
  uint8_t block[kJigParamsBytes];
  if (!in.Read(name, static_cast<size_t>(nameLen)) || !in.Read(block, sizeof block))
    return Refuse(error, "The saved game ends inside its header.");
  h.Name.assign(name, strnlen(name, static_cast<size_t>(nameLen)));
  h.Jig = DecodeJigParams(block);
  const std::string bad = CheckJig(h.Jig);
  if (!bad.empty()) return Refuse(error, bad);
  return OpenResult::Ok;
}

OpenResult ReadThumbnail(ByteSource& in, DIB_P& thumb, std::vector<uint8_t>& bytes,
                         uint64_t& end, std::string* error) {
  EntryRead entry;
  if (!ReadEntry(in, kThumbBaseByte, false, kMaxThumbnailEntry, bytes, &entry, error))
    return OpenResult::Failed;
  end = entry.EndPos;
  int32_t w = 0, h = 0;
  // A thumbnail the writer stores fits its entry as a 24-bit bitmap.
  if (!PeekPictureSize(bytes.data(), bytes.size(), w, h) || w < 1 || h < 1 || w > kMaxPictureSide ||
      h > kMaxPictureSide || int64_t{w} * h * 3 > static_cast<int64_t>(kMaxThumbnailEntry))
    return Refuse(error, "The saved game's thumbnail is not a usable picture.");
  std::string why;
  if (!DibLoadPicture(thumb, bytes.data(), bytes.size(), &why))
    return Refuse(error, "The saved game's thumbnail cannot be read: " + why);
  return OpenResult::Ok;
}

// A bitmap entry of exactly the expected size (or, for the mask, the
// picture's size without the margin).
OpenResult ReadBitmapEntry(ByteSource& in, uint8_t start, const char* what, int32_t w, int32_t h,
                           int32_t altW, int32_t altH, DIB_P& out, std::string* error) {
  std::vector<uint8_t> bytes;
  // A 32-bit bitmap with a palette is the largest form a sound file uses.
  const uint64_t limit = 2048 + static_cast<uint64_t>(w) * 4 * static_cast<uint64_t>(h);
  if (!ReadEntry(in, start, false, limit, bytes, nullptr, error)) {
    if (error) *error = std::string("The saved game's ") + what + ": " + *error;
    return OpenResult::Failed;
  }
  int32_t bw = 0, bh = 0;
  if (PictureKind(bytes.data(), bytes.size()) != 1 || !PeekPictureSize(bytes.data(), bytes.size(), bw, bh))
    return Refuse(error, std::string("The saved game's ") + what + " is not a bitmap.");
  if (!((bw == w && bh == h) || (bw == altW && bh == altH)))
    return Refuse(error, std::string("The saved game's ") + what + " is " + std::to_string(bw) +
                             " x " + std::to_string(bh) + " pixels instead of " +
                             std::to_string(w) + " x " + std::to_string(h) + ".");
  std::string why;
  if (!DibLoadBmp(out, bytes.data(), bytes.size(), &why))
    return Refuse(error, std::string("The saved game's ") + what + " cannot be read: " + why);
  if (out.Width != bw || out.Height != bh)
    return Refuse(error, std::string("The saved game's ") + what + " does not have the size its header gives.");
  return OpenResult::Ok;
}

// The mask keeps only the pieces' colour keys: red 128, green 0, the key in
// blue. A mask of the picture's own size gets its 5-pixel margin back.
bool NormaliseMask(DIB_P& mask, int32_t imageW, int32_t imageH) {
  if (mask.Width != imageW + 5) {
    DIB_P full;
    if (!DibCreate24(full, imageW + 5, imageH + 5)) return false;
    for (int32_t y = 0; y < imageH; ++y)
      std::memcpy(DibRow(full, y), DibRow(mask, y), static_cast<size_t>(imageW) * 3);
    mask = std::move(full);
  }
  for (int32_t y = 0; y < mask.Height; ++y) {
    uint8_t* p = DibRow(mask, y);
    for (int32_t x = 0; x < mask.Width; ++x, p += mask.BytesPerPixel) {
      p[1] = 0;
      p[2] = 128;
    }
  }
  return true;
}

OpenResult ReadState(ByteSource& in, SavedGame& g, std::string* error) {
  const int32_t n = g.Jig.TotalTileNum;
  const uint64_t full = SolveStateBytes(n);
  const uint64_t withoutTrailer = full - kTrailerBytes;
  const uint64_t left = in.Remaining();
  // The state block runs to the end of the file; without its trailer the
  // game simply has no weighted piece.
  if (left < withoutTrailer || left > full)
    return Refuse(error, "The saved game's play state has " + std::to_string(left) +
                             " bytes, which does not fit its " + std::to_string(n) + " pieces.");
  std::vector<uint8_t> block(static_cast<size_t>(left));
  if (!in.Read(block.data(), block.size()))
    return Refuse(error, "The saved game's play state cannot be read.");
  const uint8_t* p = block.data();
  g.Settings.Reserved0 = GetI32(p);
  g.Settings.Reserved1 = GetI32(p + 4);
  g.Settings.lBkg = GetI32(p + 8);
  for (int i = 0; i < kPlayWindowCount; ++i) g.Settings.WinBkg[i] = GetI32(p + 12 + 4 * i);
  p += kBackgroundBlockBytes;
  std::memcpy(g.Settings.PlayOptions.data(), p, kStateOptionBytes);
  p += kStateOptionBytes;
  g.Pieces.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i, p += kTileBytes) g.Pieces[i] = DecodeTile(p);
  for (PocketRecord& r : g.Pockets) {
    r.Reserved = p[0];
    r.Shown = p[1];
    r.Left = GetI32(p + 2);
    r.Top = GetI32(p + 6);
    r.Right = GetI32(p + 10);
    r.Bottom = GetI32(p + 14);
    r.ScrollX = GetI16(p + 18);
    r.ScrollY = GetI16(p + 20);
    p += kPocketRecordBytes;
    for (int32_t v : {r.Left, r.Top, r.Right, r.Bottom})
      if (v < -kMaxCoordinate || v > kMaxCoordinate)
        return Refuse(error, "A pocket of the saved game lies far outside the play field.");
  }
  g.Weighted = -1;
  g.HasTrailer = left == full;
  if (g.HasTrailer && GetI32(p) == kTrailerMagic) {
    const int32_t w = GetI32(p + 4);
    if (w < -1 || w >= n)
      return Refuse(error, "The saved game's weighted piece " + std::to_string(w) + " does not exist.");
    g.Weighted = w;
  }
  const std::string bad = CheckPieces(g.Jig, g.Pieces);
  if (!bad.empty()) return Refuse(error, bad);
  return OpenResult::Ok;
}

OpenResult ReadPlay(ByteSource& in, SavedGame& g, std::string* error) {
  SolveHeader h;
  OpenResult r = ReadHeader(in, h, error);
  if (r != OpenResult::Ok) return r;
  g.Name = std::move(h.Name);
  g.HeaderSeed = h.HeaderSeed;
  g.Jig = h.Jig;
  uint64_t thumbEnd = 0;
  r = ReadThumbnail(in, g.Thumbnail, g.ThumbnailBytes, thumbEnd, error);
  if (r != OpenResult::Ok) return r == OpenResult::NotValid ? OpenResult::Failed : r;
  g.Jig.SideNum = 1;
  g.Jig.SideInd = 0;
  g.Jig.ThumbEnd[1] = static_cast<int32_t>(thumbEnd);
  const int32_t w = g.Jig.ImageW, hh = g.Jig.ImageH;
  r = ReadBitmapEntry(in, kSolvePictureByte, "picture", w, hh, w, hh, g.Picture, error);
  if (r != OpenResult::Ok) return r;
  r = ReadBitmapEntry(in, kSolveMaskByte, "piece mask", w + 5, hh + 5, w, hh, g.Mask, error);
  if (r != OpenResult::Ok) return r;
  if (!NormaliseMask(g.Mask, w, hh)) return Refuse(error, "Not enough memory for the piece mask.");
  std::vector<uint8_t> info;
  if (!ReadEntry(in, kSolveInfoByte, false, kMaxSavedInfoEntry, info, nullptr, error)) return OpenResult::Failed;
  g.Info = DecodeInfoText(info.data(), info.size());
  // The header's state offset must point here: the in-place update of the
  // state block relies on it.
  if (h.StateOffset < 0 || static_cast<uint64_t>(h.StateOffset) != in.Pos())
    return Refuse(error, "The saved game's state offset " + std::to_string(h.StateOffset) +
                             " does not point at its play state.");
  g.StateOffset = in.Pos();
  return ReadState(in, g, error);
}

}  // namespace

OpenResult ReadSolve(ByteSource& in, OpenMode mode, SolveRead& io, std::string* error) {
  if (mode == OpenMode::Play) {
    SavedGame fresh;
    const OpenResult r = ReadPlay(in, fresh, error);
    if (r == OpenResult::Ok) io.Game = std::move(fresh);
    return r;
  }
  SolveHeader h;
  OpenResult r = ReadHeader(in, h, error);
  if (r != OpenResult::Ok) return r;
  DIB_P thumb;
  std::vector<uint8_t> bytes;
  uint64_t thumbEnd = 0;
  r = ReadThumbnail(in, thumb, bytes, thumbEnd, error);
  if (r != OpenResult::Ok) return r;
  if (mode == OpenMode::Preview) {
    h.Jig.SideNum = 1;
    h.Jig.SideInd = 0;
    h.Jig.ThumbEnd[1] = static_cast<int32_t>(thumbEnd);
    io.Jig = h.Jig;
    io.SolveJig = std::move(h.Name);
  }
  io.Thumbnail = std::move(thumb);
  return OpenResult::Ok;
}

OpenResult OpenSolve(const std::string& path, OpenMode mode, SolveRead& io, std::string* error) {
  // A state rewrite interrupted after its journal was complete is finished
  // before the file is read, and what an interrupted save left beside the
  // file is removed.
  if (mode == OpenMode::Play) RemoveSaveLeftovers(path);
  RecoverStateJournal(path, nullptr);
  FileSource in;
  std::string why;
  if (!in.Open(path, &why)) {
    if (mode != OpenMode::Play) return OpenResult::NotValid;
    return Refuse(error, why);
  }
  const OpenResult r = ReadSolve(in, mode, io, error);
  if (r == OpenResult::Failed && error) *error = "\"" + path + "\": " + *error;
  return r;
}

}  // namespace varlo
