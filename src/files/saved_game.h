// Saved games (".sv1"): everything needed to resume a game without its
// pack: the jigsaw's name, its parameter block, thumbnail, picture, piece
// mask and info text, and the play state (backgrounds, play options, the
// piece table, the pockets and the weighted piece).
//
//   offset 0        11 bytes "VARLOSLV1.0" (no zero byte)
//          11       int32    GameSeed
//          15       int32    S: offset of the state block
//          19       int32    L: name length + 1 (at most 256)
//          23       L bytes  name and a zero byte
//          23 + L   120      JIG_P
//          143 + L  entries  thumbnail, picture, mask, info (all plain)
//          S        state block, to the end of the file
//
// The picture, mask and thumbnail entries are 24-bit Windows bitmaps; the
// info entry is UTF-16LE with its byte-order mark.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "files/jigsaw_pack.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "play/pocket_record.h"

namespace varlo {

class ByteSource;
class OutputFile;

inline constexpr char kSolveMagic[] = "VARLOSLV1.0";  // 11 bytes in the file
inline constexpr size_t kSolveMagicBytes = 11;
inline constexpr int32_t kMaxPieces = 4001;  // 4000 pieces and the border piece
inline constexpr size_t kMaxJigNameBytes = 255;
inline constexpr int32_t kPocketCount = 4;
inline constexpr int32_t kPlayWindowCount = 6;  // two sides and four pockets
inline constexpr int32_t kDefaultWindowBkg = 0x989898;
inline constexpr int32_t kTrailerMagic = 0xDACA;
// Coordinates of pieces and pockets in a sound file stay far inside this;
// the bound keeps all later arithmetic on them free of overflow.
inline constexpr int32_t kMaxCoordinate = 1000000;

inline constexpr size_t kBackgroundBlockBytes = 36;
inline constexpr size_t kStateOptionBytes = 8;
inline constexpr size_t kPocketRecordBytes = 22;
inline constexpr size_t kTrailerBytes = 264;

// Backgrounds and play options of the state block.
struct SolveSettings {
  int32_t Reserved0 = 0, Reserved1 = 0;
  int32_t lBkg = kDefaultWindowBkg;
  // MW_SIDE0, MW_SIDE1, pockets 1..4: a colour 00BBGGRR or 10..17 for a
  // background picture.
  std::array<int32_t, kPlayWindowCount> WinBkg{kDefaultWindowBkg, kDefaultWindowBkg,
                                                kDefaultWindowBkg, kDefaultWindowBkg,
                                                kDefaultWindowBkg, kDefaultWindowBkg};
  // RotCW_Button, RotCW_Shift, RotCCW_Button, RotCCW_Shift, MoveOW_Button,
  // MoveOW_Shift, bSingleWin, bClickToDrag.
  std::array<uint8_t, kStateOptionBytes> PlayOptions{};

  friend bool operator==(const SolveSettings&, const SolveSettings&) = default;
};

// The play state as the writer takes it (pointing into the running game).
struct SolveStateView {
  SolveSettings Settings;
  std::span<const TILE_P> Pieces;  // exactly TotalTileNum records
  std::array<PocketRecord, kPocketCount> Pockets{};
  int32_t Weighted = -1;           // index of the weighted piece, -1 none
};

// What the writer needs of a running game.
struct SaveGameView {
  const std::string* Name = nullptr;  // sJigName, at most 255 bytes
  const JIG_P* Jig = nullptr;         // the play copy
  const DIB_P* Thumbnail = nullptr;   // the stored thumbnail
  const DIB_P* Picture = nullptr;     // ImageW x ImageH
  const DIB_P* Mask = nullptr;        // (ImageW + 5) x (ImageH + 5)
  const std::string* Info = nullptr;  // the info text, UTF-8
  SolveStateView State;
};

// A saved game read back: a fresh record the caller swaps in on success.
struct SavedGame {
  std::string Name;
  int32_t HeaderSeed = 0;  // the header's copy of GameSeed
  JIG_P Jig;               // SideNum 1, SideInd 0, ThumbEnd[1] = end of the thumbnail entry
  DIB_P Thumbnail;
  std::vector<uint8_t> ThumbnailBytes;
  DIB_P Picture;
  DIB_P Mask;              // always (ImageW + 5) x (ImageH + 5), shading reset
  std::string Info;
  SolveSettings Settings;
  std::vector<TILE_P> Pieces;
  std::array<PocketRecord, kPocketCount> Pockets{};
  int32_t Weighted = -1;
  bool HasTrailer = false;
  uint64_t StateOffset = 0;  // S
};

SaveGameView ViewOf(const SavedGame& g);

// Size of the state block (with its trailer) for a piece count.
uint64_t SolveStateBytes(int32_t totalTileNum);

// ---- the state block ----
// Encodes the state block: backgrounds, options, pieces, pockets, trailer.
std::vector<uint8_t> EncodeSolveState(const SolveStateView& state);
// Writes it at the file's current position; false with the reason.
bool WriteSolveState(OutputFile& out, const SolveStateView& state, std::string* error);

// ---- reading ----
// Preview (name, block, thumbnail; sets the open dialog's copy), Thumbnail
// (the thumbnail only) or Play (everything). On anything but Ok, io is
// left exactly as it was; Play fills a fresh record and moves it in last.
struct SolveRead {
  JIG_P Jig;              // Preview: the open dialog's copy, replaced
  std::string SolveJig;   // Preview: the stored jigsaw name (sSolveJig)
  DIB_P Thumbnail;        // Preview, Thumbnail
  SavedGame Game;         // Play
};
OpenResult OpenSolve(const std::string& path, OpenMode mode, SolveRead& io, std::string* error);
OpenResult ReadSolve(ByteSource& in, OpenMode mode, SolveRead& io, std::string* error);

// Checks that a piece table can be played with the given parameter block:
// windows, turns, group keys, neighbours and boxes in range, turned boxes
// where the turn puts them. Empty when sound, else what is wrong.
std::string CheckPieces(const JIG_P& jig, std::span<const TILE_P> pieces);

}  // namespace varlo
