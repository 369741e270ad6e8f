// The play field: one picture the size of the screen on which the game runs
// its own small window manager (two sides, four pockets, the thumbnail and
// the glass), paints the pieces, and turns pointer events and menu commands
// into moves, turns, joins and the completion of the jigsaw.
//
// A PlayField owns everything of the field: the field and static buffers,
// the seven windows and the glass, the stacking order, the drag state, the
// weight, the backgrounds and the join star. The jigsaw itself (pieces and
// images) belongs to the game and is attached with OpenGame. The main window
// drives the field with the calls below and presents FieldImg; what it has
// to mirror (menu checks, toolbar buttons, captions) comes out through
// PlayView, pointer shapes and sounds through the platform.
//
// Handlers change the model first, set RedrawMode and end with Present, so
// one event paints once. The code is split by concern: field_windows.cpp
// (stacking, pockets, sides, thumbnail), field_paint.cpp (composing and
// presenting), field_glass.cpp, field_pointer.cpp, field_snap.cpp (drop,
// joins, star, sound), field_commands.cpp and field_complete.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "play/game_flags.h"
#include "raster/dib.h"
#include "play/piece_paint.h"
#include "jigsaw/pieces.h"
#include "play/play_options.h"
#include "play/play_view.h"
#include "play/play_windows.h"
#include "platform/platform.h"

namespace varlo {

struct LANG_P;
struct PocketRecord;

// Held buttons of a pointer move, as bits.
enum HeldButtons : int32_t { kHeldLeft = 1, kHeldRight = 2, kHeldMiddle = 4 };

inline constexpr uint32_t kNeutralGrey = 0x989898;
inline constexpr int32_t kBkgWindows = 6;  // the sides and the pockets have backgrounds
inline constexpr int32_t kBkgPictureFirst = 10;
inline constexpr int32_t kBkgPictureLast = 17;
// Names of the background pictures 10..17 ("<name>-1600.jpg" in the
// background folder).
inline constexpr std::array<const char*, 8> kBkgPictureNames = {
    "parquet", "stucco1", "stucco4", "wood1", "wood2", "wood3", "wood4", "wood5"};

// The skins the field draws its windows with, from the installation's
// resources folder.
struct PlaySkins {
  DIB_P Window;  // 390 x 170 with alpha
  DIB_P Glass;   // 290 x 189 with alpha
  DIB_P Weight;  // 29 x 37 with alpha
  DIB_P Star;    // five 23 x 23 frames, 24 pixels apart, white is transparent
};
inline constexpr const char* kWindowSkinResource = "window_skin";
inline constexpr const char* kGlassSkinResource = "glass_skin";
inline constexpr const char* kWeightResource = "weight";
inline constexpr const char* kStarResource = "star";
// Loads the four skins; false with the first failure in error (the skins
// loaded so far are kept; a missing skin only leaves its parts undrawn).
bool LoadPlaySkins(PlaySkins& skins, const std::string& resourceDir, std::string* error);

// What the options dialog decides for play.
struct FieldOptions {
  PLAY_OPT_P Play;
  int32_t StuckKoef = 12;  // snapping strength 10..30
  bool SoundOn = true;     // "Play Sound"
  bool ShowJoins = true;   // "Show Conjunction": the join star
  PieceLook Look;          // emboss and edge effects of the pieces
};

struct FieldPaths {
  std::string SoundDir;     // folder of "set.wav" and "win.wav"
  std::string BkgPicDir;    // folder of the background pictures
  std::string PicturesDir;  // where the solved image is offered
};

// Backgrounds of the field (36 bytes in a saved game): one for all windows
// and one per side and pocket; a colour or a background picture code.
struct BkgBlock {
  int32_t Reserved0 = 0, Reserved1 = 0;
  int32_t lBkg = static_cast<int32_t>(kNeutralGrey);
  std::array<int32_t, 6> Win{0x989898, 0x989898, 0x989898, 0x989898, 0x989898, 0x989898};
};

enum RedrawModes : uint8_t { kRedrawNone = 0, kRedrawAll = 1, kRedrawDirty = 2, kRedrawShow = 3 };
enum DragStates : int32_t { kDragIdle = 0, kDragPieces = 1, kDragBand = 2 };
// Compose modes.
enum ComposeMode : int32_t {
  kComposeAll = 0,
  kComposeStatic = 1,     // everything but the moving pieces
  kComposeMoving = 2,     // only the moving pieces
  kComposeNoWindow = 3,   // everything but the current window
  kComposeWindow = 4,     // only the current window
  kComposeNoBand = 5,     // everything but the selection rectangle
  kComposeBand = 6,       // only the selection rectangle
  kComposeCopy = 100,     // the static buffer copied
};
enum LayerKind : int32_t { kLayerWeight = 0, kLayerPieces = 1, kLayerWindow = 3, kLayerBand = 5 };

// What the glass keeps: its window record, the zoom, the lens half-axes
// and the lens mask and picture buffers.
// One lens column or row: the two field pixels it blends and the weight of
// the second in 1/256, or outside the field (drawn black).
struct LensTap {
  int32_t A = 0, B = 0, W = 0;
  bool In = false;
};
struct GlassState {
  TMyWin Win;
  int32_t Zoom = 2;
  double LensA = 0, LensB = 0;
  DIB_P Mask, Img;
  // The field pixels each lens column and row blends (kept between draws).
  std::vector<LensTap> Cols, Rows;
};

// The star that plays at the last join, frame by frame.
struct StarState {
  int32_t Step = -1;  // -1: not running
  int32_t Win = 0;
  int32_t X = 0, Y = 0;
  int64_t NextMs = 0;
};

// The weight: being placed (follows the pointer over Win), or lying on the
// group of Piece.
struct WeightState {
  bool Placing = false;
  int32_t Win = 0;
  int32_t X = 0, Y = 0;
  int32_t Piece = -1;
};

namespace testing {
class FieldProbe;
}

class PlayField {
 public:
  // The platform members used: Sounds, Text, Time, Messages, Pointer (each
  // may be missing). view, lang and flags may be null.
  PlayField(const Platform& platform, PlayView* view = nullptr, const LANG_P* lang = nullptr,
            GameFlags* flags = nullptr);

  // ---- set-up ----
  void SetSkins(PlaySkins&& skins);
  const FieldOptions& Options() const { return options_; }
  void SetOptions(const FieldOptions& options) { options_ = options; }
  const FieldPaths& Paths() const { return paths_; }
  void SetPaths(const FieldPaths& paths) { paths_ = paths; }
  // The game's random generator (Arrange shuffles with it); the field's
  // own when none is given.
  void SetRandom(RandomGenerator* random) { Random = random; }
  // A large area is composed on two threads, which share its strips out
  // in turn, when this is 2 (the default on a machine with two cores or
  // more); 1 composes on the calling thread only. The pixels are the same
  // either way.
  void SetComposeThreads(int32_t threads) { ComposeThreads = threads; }
  static int32_t DefaultComposeThreads();
  // The visible field (fieldW x fieldH) and the screen size the buffers
  // have (the field's largest size). Creates the buffers when the screen
  // size changed, lays the sides over the field and keeps floating windows
  // reachable.
  void Resize(int32_t fieldW, int32_t fieldH, int32_t screenW, int32_t screenH);
  // The sides' content: at least the field, at least the picture.
  void SetSideContent(int32_t pw, int32_t ph);
  // Floating windows that were moved out of the field come back far
  // enough to be grabbed.
  void KeepReachable();
  // A game has been opened (pieces, images and sort table ready): sides,
  // thumbnail and pockets set up for it, the drag state reset, side 0
  // shown. jig must outlive the field or the next OpenGame/CloseGame.
  void OpenGame(Jigsaw* jig, bool solved = false);
  void CloseGame();
  bool GameOpen() const;
  Jigsaw* Game() { return jig_; }
  const Jigsaw* Game() const { return jig_; }
  // The name and the info text of the jigsaw, for the solved image.
  void SetGameTexts(const std::string& name, const std::string& info) {
    JigName = name;
    InfoText = info;
  }
  // The pockets as a saved game keeps them.
  void ApplyPocketRecords(const PocketRecord* records, int32_t count);
  void StorePocketRecords(PocketRecord* records, int32_t count) const;
  // The backgrounds: SetBackgrounds takes them all and loads the picture
  // they name (one picture at a time; other picture codes become grey).
  const BkgBlock& Backgrounds() const { return Bkgs; }
  void SetBackgrounds(const BkgBlock& bkgs);
  // The weighted piece (-1 none) as a saved game keeps it; setting it
  // updates the Weight command and puts its group at the bottom.
  int32_t WeightedPiece() const { return weight_.Piece; }
  void SetWeightedPiece(int32_t piece);
  // The pointer left the field at (x, y) (field coordinates, outside the
  // field): a weight placed before the next move starts there, or at
  // (-100, -100) when it left to the left or the top (the toolbar).
  void PointerLeft(int32_t x, int32_t y);
  // Input is ignored while this is false (start-up not finished, progress
  // panel shown).
  bool InputEnabled() const { return inputEnabled_; }
  void SetInputEnabled(bool on) { inputEnabled_ = on; }

  // ---- events (field coordinates) ----
  void PointerDown(int32_t button, int32_t modifiers, int32_t x, int32_t y, bool fromWheel = false);
  void PointerMove(int32_t held, int32_t modifiers, int32_t x, int32_t y);
  void PointerUp(int32_t button, int32_t modifiers, int32_t x, int32_t y);
  // The wheel over the field turns like the rotate buttons; true (handled).
  bool Wheel(bool up, int32_t x, int32_t y);
  // A menu command; false for one that is not the field's (the app runs
  // it). Without a game every command is taken and does nothing.
  bool RunCommand(Command command);
  void SwitchSide(int32_t k);
  // The Space key: the side not shown.
  void SpaceKey();
  // The Escape key: ends a selection band under way and clears the
  // selection.
  void EscapeKey();
  // Pieces are selected; ClearSelection drops the selection.
  bool HasSelection() const { return Selection; }
  void ClearSelection();
  // The captions of the commands that act on the current window follow
  // it (after a language change).
  void UpdateWindowCaptions();

  // ---- presenting ----
  // Acts on the pending redraw, draws the overlays and shows the area
  // through the view; returns the area shown (empty when nothing was
  // pending). Also advances the join star by the clock.
  XRECT Present();
  // The next Present recomposes the whole field.
  void RequestFullRedraw() { RedrawMode = kRedrawAll; }
  // The join star is still running: call Present again after a few ms.
  bool AnimationRunning() const { return star_.Step >= 0; }
  // Recompose the whole field and present it (after the options changed).
  void Invalidate();
  // The composed field (the screen's size; the visible part is Clip()).
  const DIB_P& Image() const { return FieldImg; }
  const XRECT& Clip() const { return FieldClip; }

  // ---- what the main window, the tools and the save code read ----
  const TMyWin& Window(int32_t ref) const { return ref == kGlassRef ? glass_.Win : Wins[ref]; }
  int32_t FieldWidth() const { return FW; }
  int32_t FieldHeight() const { return FH; }
  int32_t ContentWidth() const { return CW; }
  int32_t ContentHeight() const { return CH; }
  int32_t ShownSide() const { return SideIndex; }
  bool Solved() const { return bSolved != 0; }
  // Joins made so far in this field (varlo-tool reports them).
  int32_t Joins() const { return JoinCount; }
  // The solved image: the assembled picture in a one-pixel black frame with
  // the caption strip below.
  bool MakeSolvedImage(DIB_P& out);

 private:
  friend class testing::FieldProbe;

  FieldOptions options_;
  FieldPaths paths_;
  std::string JigName;
  std::string InfoText;
  bool inputEnabled_ = true;

  DIB_P FieldImg;
  DIB_P StaticImg;
  XRECT FieldClip;
  XRECT DirtyRect;
  uint8_t RedrawMode = kRedrawNone;
  std::array<TMyWin, kFieldWindows> Wins;
  GlassState glass_;
  std::array<int32_t, kFieldWindows> Stack{};  // window indexes, bottom to top
  int32_t Current = kNoWindow;                 // window index, kGlassRef or kNoWindow
  int32_t FW = 0, FH = 0;                      // the visible field
  int32_t MaxFW = 0, MaxFH = 0;                // the field's largest size
  int32_t CW = 0, CH = 0;                      // the sides' content size
  int32_t SideIndex = 0;
  uint8_t bSolved = 0;
  // Interaction.
  int32_t DragState = kDragIdle;
  int32_t Picked = -1;
  int32_t DragOffX = 0, DragOffY = 0;
  bool SelDrag = false;
  bool Selection = false;  // pieces are selected
  bool ClickPending = false;
  int32_t ClickX = 0, ClickY = 0;
  XRECT Band;
  struct FrameDrag {
    int32_t Window = kNoWindow;
    int32_t Button = -1;
    int32_t Code = kHitNone;
    int32_t OffX = 0, OffY = 0;
  } Frame;
  int32_t HoverCode = kHitNone;
  // The piece under the last press (-1 none): the move to the other side
  // needs its release on the same piece.
  int32_t pressPiece_ = -1;
  WeightState weight_;
  // Backgrounds.
  BkgBlock Bkgs;
  DIB_P BkgPic;
  int32_t BkgPicCode = 0;
  RandomGenerator* Random = nullptr;
  int32_t JoinCount = 0;
  int32_t ComposeThreads = DefaultComposeThreads();

  // ---- windows (field_windows.cpp) ----
  TMyWin& Win(int32_t ref) { return ref == kGlassRef ? glass_.Win : Wins[ref]; }
  void SetTitle(TMyWin& w, const std::string& text);
  void RaiseWindow(int32_t ref);
  void SetCurrent(int32_t ref);
  void ShowWindow(int32_t ref, bool on);
  void ShowPocket(int32_t pocket, bool on);  // pocket 0..3
  std::string PocketCaption(int32_t pocket) const;
  void PocketCount(int32_t pocket);
  void PocketExtent(int32_t pocket);
  void SetupThumbnail(int32_t pw, int32_t ph);
  void DrawThumbnail();
  void SetupGlass();
  int32_t DefaultWindow() const;
  // Scroll a window; a side hands its geometry to the other side.
  void Scroll(int32_t ref, int32_t code, int32_t dx, int32_t dy);

  // ---- painting (field_paint.cpp) ----
  static constexpr int32_t kMinBandRows = 64;
  static constexpr int64_t kMinSplitPixels = 256 * 1024;
  static constexpr int32_t kStripRows = 64;
  void Compose(DIB_P& target, const XRECT& clip, int32_t mode);
  void StartLayer(int32_t kind);
  void DrawPiece(DIB_P& target, const XRECT& clip, const TMyWin& w, int32_t i);
  void RepaintAll();

  // ---- glass (field_glass.cpp) ----
  bool InLens(int32_t x, int32_t y) const;
  // The field point under the lens at (x, y).
  void MapThroughGlass(int32_t& x, int32_t& y) const;
  bool GlassRimHit(int32_t x, int32_t y) const;
  void MakeLensMask();

  // ---- pointer (field_pointer.cpp) ----
  int32_t PickPiece(int32_t x, int32_t y);
  int32_t TargetWindow(int32_t x, int32_t y);
  void StartPieceDrag(int32_t x, int32_t y, bool selection);
  void MovePieces(int32_t x, int32_t y, int32_t target, bool selection);
  void RotateGroup(int32_t x, int32_t y, bool clockwise);
  void MoveToOtherSide(bool selection);
  void SelectAll();
  void SelectInBand();
  void BringIntoView(int32_t window, bool strict);

  // ---- drop and joins (field_snap.cpp) ----
  void Snap();
  void ClearSeam(int32_t i, int32_t group);
  // Join tolerance in pixels.
  int32_t SnapTolerance() const;

  // ---- commands (field_commands.cpp) ----
  void UpdateWeightCommand();
  void MoveWeight(int32_t x, int32_t y, int32_t target);
  void DropWeight();
  bool LoadBkgPicture(int32_t code);
  void SetBkg(int32_t window, int32_t value);
  void ApplyBkgs();

  // ---- completion (field_complete.cpp) ----
  void CheckComplete();
  // Asks for a file through the view and writes the solved image there.
  void SaveSolvedImage();

  void SetDirtyFlag();
  void ResetInteraction();
  void SetCursor(CursorShape shape);
  void PlaySound(const char* file, bool join);
  std::string Text(int32_t section, std::string_view key) const;
  void DrawFrameOf(DIB_P& target, const XRECT& clip, const TMyWin& w);
  // note: remember the tinted area as an overlay on FieldImg (a compose
  // of a whole area remembers that area itself).
  void DrawBand(DIB_P& target, const XRECT& clip, bool note = true);
  // The pieces a compose paints, window by window in painting order, with
  // the field rows their box and band cover.
  struct PieceSpan {
    int32_t Index, Y0, Y1;
  };
  struct PieceSpans {
    std::vector<PieceSpan> Items;
    std::array<size_t, kFieldWindows + 1> WinStart{};  // window ref's pieces start here
  };
  void CollectSpans(const XRECT& area, int32_t mode, PieceSpans& spans) const;
  // Strips first, first + step, ... of the area, from the top.
  void ComposeArea(DIB_P& target, const XRECT& area, int32_t mode, const PieceSpans& spans, int32_t first = 0,
                   int32_t step = 1);
  void ComposeStrip(DIB_P& target, const XRECT& clip, int32_t mode, const PieceSpans& spans,
                    std::vector<int32_t>& todo);
  void ComposeOnTwoThreads(DIB_P& target, const XRECT& clip, int32_t mode, const PieceSpans& spans);
  void DrawStar(DIB_P& target);
  void DrawWeight(DIB_P& target);
  // The small weight on the weighted piece of window w (when it lies
  // there), clipped to clip and the window; box (when given) grows by the
  // area drawn.
  void DrawWeightMark(DIB_P& target, const XRECT& clip, const TMyWin& w, XRECT* box = nullptr);
  bool WeightMarkShown() const;
  void DrawGlass(DIB_P& target);
  void AdvanceStar();
  void StartStar(int32_t p, int32_t q);
  void RestoreFromStatic();
  void RedrawDragLayer();
  bool overlaysDrawn_ = false;
  void CopyStatic();
  void NoteOverlay(const XRECT& r);
  bool InsideMovingSet(const TILE_P& t, int32_t pickedGroup) const;
  void FrameDragMove(int32_t held, int32_t x, int32_t y);
  void Hover(int32_t x, int32_t y);
  void CommandArrange();
  void CommandGather();
  void CommandTile(bool cascade);
  void CommandWeight();
  void CommandThumbOrGlass(bool glass);
  int32_t PointerPosX_ = -1, PointerPosY_ = -1;

  RandomGenerator ownRandom_;
  Platform platform_;
  PlayView* view_;
  PlayView nullView_;
  const LANG_P* lang_;
  GameFlags* flags_;
  Jigsaw* jig_ = nullptr;
  PlaySkins skins_;
  DIB_P weightMark_;  // the weight at half size, shown on the weighted group
  // Run lists of the open game's pieces, for painting them quickly.
  PieceRunCache runs_;
  DIB_P thumbBmp_;
  // Where FieldImg differs from StaticImg during a drag: the moving layer
  // and the overlays last drawn; a pointer move restores only that.
  XRECT overDirty_;
  XRECT movingBox_;
  StarState star_;
  // Sound: the join sound is skipped until the previous one has ended.
  int64_t soundBusyUntilMs_ = 0;
  XRECT prevHot_;
};

}  // namespace varlo
