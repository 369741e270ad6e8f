// The Game and Pockets menu commands: select all, arrange, gather, the
// pockets and their layouts, thumbnail, glass, weight, sides, backgrounds.
#include <algorithm>
#include <cmath>
#include <vector>

#include "raster/picture_codecs.h"
#include "play/play_field.h"
#include "ui/lang.h"

namespace varlo {

namespace {
bool IsPictureCode(int32_t v) { return v >= kBkgPictureFirst && v <= kBkgPictureLast; }
bool IsPocketRef(int32_t ref) { return ref >= MW_POCKET && ref < MW_POCKET + kPocketWindows; }
int32_t RoundEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }
}  // namespace

bool PlayField::RunCommand(Command command) {
  const BusyScope busy(flags_);
  // Without a game every command is known and does nothing here.
  bool known = true;
  if (GameOpen()) {
    switch (command) {
      case Command::GameSelectAll:
        if (Selection) ClearSelection();
        SelectAll();
        break;
      case Command::GameArrange: CommandArrange(); break;
      case Command::GameGather: CommandGather(); break;
      case Command::PocketsPocket1:
      case Command::PocketsPocket2:
      case Command::PocketsPocket3:
      case Command::PocketsPocket4: {
        const int32_t p = PocketOfCommand(command);
        ShowPocket(p, !Wins[MW_POCKET + p].Shown);
        RedrawMode = kRedrawAll;
        RepaintAll();
        break;
      }
      case Command::PocketsTile: CommandTile(false); break;
      case Command::PocketsCascade: CommandTile(true); break;
      case Command::GameThumb: CommandThumbOrGlass(false); break;
      case Command::GameGlass: CommandThumbOrGlass(true); break;
      case Command::GameWeight: CommandWeight(); break;
      case Command::GameWin1:
      case Command::GameWin2:
        if (Selection) ClearSelection();
        SwitchSide(command == Command::GameWin1 ? 0 : 1);
        break;
      case Command::FileSaveImage:
        if (bSolved) SaveSolvedImage();
        break;
      default:
        known = false;  // the files, the background pickers, the info window belong to the app
        break;
    }
  }
  Present();
  return known;
}

void PlayField::CommandArrange() {
  if (!Selection) return;
  Jigsaw& jig = *jig_;
  const int32_t n = PieceCount(jig);
  const int32_t W = IsPocketRef(Current) ? FW : CW;
  const int32_t H = IsPocketRef(Current) ? FH : CH;
  if (W <= 0 || H <= 0) return;
  int32_t left = 0, top = 0;
  bool first = true;
  std::vector<int32_t> keyCount;
  std::vector<int32_t> keys;
  for (int32_t i = 0; i < n; ++i) {
    const TILE_P& t = jig.Tiles[i];
    if (!t.Sel) continue;
    left = first ? t.X : Min(left, t.X);
    top = first ? t.Y : Min(top, t.Y);
    first = false;
  }
  SortPieces(jig, false);
  const int32_t border = BorderPieceIndex(jig);
  std::vector<int32_t> loose;
  const auto& sort = jig.Sort;
  for (size_t a = 0; a < sort.size();) {
    size_t b = a + 1;
    while (b < sort.size() && sort[b].Key == sort[a].Key) ++b;
    const int32_t i = sort[a].Index;
    if (b == a + 1 && jig.Tiles[i].Sel && i != border) loose.push_back(i);
    a = b;
  }
  std::sort(loose.begin(), loose.end());  // index order, as the pieces are collected
  const int32_t count = static_cast<int32_t>(loose.size());
  if (count == 0) return;
  RandomGenerator& rnd = Random ? *Random : ownRandom_;
  for (int32_t j = 0; j < count; ++j) std::swap(loose[j], loose[rnd.Random(count)]);
  int32_t c = RoundEven(std::sqrt(static_cast<double>(W) * count / H));
  int32_t r = RoundEven(std::sqrt(static_cast<double>(H) * count / W));
  c = Max(c, 1);
  r = Max(r, 1);
  if (c * r < count) {
    if (c < r)
      ++r;
    else
      ++c;
  }
  // Very flat areas can still leave too few cells; add columns until all fit.
  while (c * r < count) ++c;
  const int32_t s = jig.Jig.MaskS + jig.Jig.KnobS;
  int32_t cellW = W < c * s ? W / c : s;
  int32_t cellH = H < r * s ? H / r : s;
  // The block stays inside the area, which may have no scroll bars: when
  // its last column or row would end past the area, it moves back, and
  // when it is wider than the area, its cells close up evenly (the pieces
  // then overlap, all by the same amount).
  int32_t maxW = 0, maxH = 0;
  for (const int32_t i : loose) {
    maxW = Max(maxW, jig.Tiles[i].RotW);
    maxH = Max(maxH, jig.Tiles[i].RotH);
  }
  auto fit = [](int32_t& start, int32_t& cell, int32_t used, int32_t widest, int32_t area) {
    if (int64_t{cell} * (used - 1) + widest > area) cell = used > 1 ? Max(0, (area - widest) / (used - 1)) : 0;
    const int32_t block = cell * (used - 1) + widest;
    start = Clamp(start, 0, Max(0, area - block));
  };
  fit(left, cellW, Min(c, count), maxW, W);
  fit(top, cellH, (count + c - 1) / c, maxH, H);
  for (int32_t k = 0; k < count; ++k) {
    TILE_P& t = jig.Tiles[loose[k]];
    t.X = left + cellW * (k % c);
    t.Y = top + cellH * (k / c);
  }
  if (IsPocketRef(Current)) PocketExtent(Current - MW_POCKET);
  SetDirtyFlag();
  RedrawMode = kRedrawAll;
}

void PlayField::CommandGather() {
  const std::string q = Text(kLangMainForm, "Q_Gather");
  if (MsgBox(platform_, q, kMsgQuestionYesNo) != kMsgYes) return;
  if (Selection) ClearSelection();
  Picked = -1;
  DragState = kDragIdle;
  Jigsaw& jig = *jig_;
  for (TILE_P& t : jig.Tiles) t.Win = MW_SIDE0;
  SortPieces(jig, false);
  if (weight_.Piece < 0) {
    // The biggest group goes to the bottom, so the loose pieces lie on it.
    int32_t bestSize = 0, bestPiece = -1;
    const auto& sort = jig.Sort;
    for (size_t a = 0; a < sort.size();) {
      size_t b = a + 1;
      while (b < sort.size() && sort[b].Key == sort[a].Key) ++b;
      if (static_cast<int32_t>(b - a) > bestSize) {
        bestSize = static_cast<int32_t>(b - a);
        bestPiece = sort[a].Index;
      }
      a = b;
    }
    if (bestPiece >= 0 && bestSize >= jig.Jig.TotalTileNum / 2) WeightToBack(jig, bestPiece);
  }
  SetCurrent(MW_SIDE0);
  for (int32_t p = 0; p < kPocketWindows; ++p) {
    Wins[MW_POCKET + p].Groups = 0;
    ShowPocket(p, false);
    SetTitle(Wins[MW_POCKET + p], PocketCaption(p));
    PocketExtent(p);
  }
  SwitchSide(0);
  BringIntoView(MW_SIDE0, true);
  RedrawMode = kRedrawAll;
}

void PlayField::CommandTile(bool cascade) {
  for (int32_t p = 0; p < kPocketWindows; ++p)
    if (!Wins[MW_POCKET + p].Shown && Wins[MW_POCKET + p].Groups > 0) ShowPocket(p, true);
  int32_t j = 0;
  for (int32_t p = 0; p < kPocketWindows; ++p) j += Wins[MW_POCKET + p].Shown ? 1 : 0;
  if (j == 0) return;
  // The pockets are laid out in the side's client area, so that they leave
  // its scroll bars free.
  const XRECT& side = Wins[SideIndex].Client;
  const int32_t W = side.Width, H = side.Height, w = W / 4;
  int32_t k = 0, y = side.Top;
  for (int32_t p = 0; p < kPocketWindows; ++p) {
    TMyWin& win = Wins[MW_POCKET + p];
    if (!win.Shown) continue;
    if (cascade) {
      RectSetXYWH(win.Outer, side.Left + W - w - 30 * j + 30 + 30 * k, side.Top + 34 * k, w, H - 34 * j);
    } else {
      RectSetXYWH(win.Outer, side.Left + W - w, y, w, H / j);
      y += H / j;
    }
    SetSize(win, false, 0, 0);
    RaiseWindow(MW_POCKET + p);
    PocketExtent(p);
    ++k;
  }
  RedrawMode = kRedrawAll;
  RepaintAll();
}

void PlayField::CommandThumbOrGlass(bool glass) {
  const int32_t ref = glass ? kGlassRef : kThumbWindow;
  TMyWin& w = Win(ref);
  ShowWindow(ref, !w.Shown);
  if (w.Shown) {
    RectMoveTo(w.Outer, 0, 0);
    Relayout(w);
    if (glass) {
      MakeLensMask();
    } else {
      DrawThumbnail();
      RaiseWindow(ref);
    }
  }
  RedrawMode = kRedrawAll;
  RepaintAll();
}

void PlayField::CommandWeight() {
  if (DragState == kDragPieces && Picked >= 0) {
    weight_.Piece = Picked;
    UpdateWeightCommand();
    RedrawDragLayer();  // the dragged group now carries the mark
    RedrawMode = kRedrawShow;
    return;
  }
  if (weight_.Piece >= 0) {
    weight_.Placing = false;
    weight_.Piece = -1;
    UpdateWeightCommand();
    RedrawMode = kRedrawAll;  // the group's mark goes
    return;
  }
  if (weight_.Placing) {
    weight_.Placing = false;
    weight_.Piece = -1;
    UpdateWeightCommand();
  } else {
    weight_.Placing = true;
    const bool inField = PointerPosX_ >= 0 && PointerPosY_ >= 0;
    weight_.X = inField ? PointerPosX_ : -100;
    weight_.Y = inField ? PointerPosY_ : -100;
    weight_.Win = Current >= 0 && Current < kFieldWindows ? Current : 0;
    StartLayer(kLayerWeight);
  }
  RedrawMode = kRedrawAll;
}

void PlayField::UpdateWeightCommand() {
  const bool on = GameOpen() && weight_.Piece != -1;
  view_->SetMenuChecked(Command::GameWeight, on);
  view_->SetToolButton(kTbWeight, on ? 15 : 14, on);
  view_->SetMenuCaption(Command::GameWeight, Text(kLangMainForm, on ? "MI_GameWeightOn" : "MI_GameWeightOff"));
  view_->RefreshToolHint(kTbWeight);
  if (on) WeightToBack(*jig_, weight_.Piece);
}

void PlayField::MoveWeight(int32_t x, int32_t y, int32_t target) {
  weight_.X = x;
  weight_.Y = y;
  if (target != kNoWindow && target != weight_.Win) {
    weight_.Win = target;
    SetCurrent(target);
    if (IsPocketRef(target)) RaiseWindow(target);
    StartLayer(kLayerWeight);
  } else {
    RestoreFromStatic();
  }
}

void PlayField::DropWeight() {
  weight_.Piece = PickPiece(weight_.X, weight_.Y);
  weight_.Placing = false;
  UpdateWeightCommand();
  RedrawMode = kRedrawAll;
}

void PlayField::SwitchSide(int32_t k) {
  k = k == 1 ? 1 : 0;
  RedrawMode = kRedrawAll;
  Wins[1 - k].Shown = 0;
  Wins[1 - k].Active = 0;
  Wins[k].Shown = 1;
  SetCurrent(k);
  view_->SetMenuChecked(Command::GameWin1, k == 0);
  view_->SetMenuChecked(Command::GameWin2, k == 1);
  view_->SetToolButton(kTbSide1, -1, k == 0);
  view_->SetToolButton(kTbSide2, -1, k == 1);
  SideIndex = k;
  if (GameOpen() && DragState == kDragPieces && Picked >= 0 && jig_->Tiles[Picked].Win <= MW_SIDE1) {
    // The drag carries the pieces over.
    const int32_t group = jig_->Tiles[Picked].Group;
    for (TILE_P& t : jig_->Tiles)
      if (t.Group == group || t.Sel) t.Win = static_cast<uint8_t>(k);
    SetDirtyFlag();
  }
  RepaintAll();
}

void PlayField::SpaceKey() {
  if (!GameOpen() || options_.Play.bSingleWin) return;
  const BusyScope busy(flags_);
  if (Selection && DragState != kDragPieces) ClearSelection();
  SwitchSide(1 - SideIndex);
  if (DragState == kDragPieces || weight_.Placing) RedrawMode = kRedrawShow;
  Present();
}

bool PlayField::LoadBkgPicture(int32_t code) {
  if (!IsPictureCode(code)) return false;
  const int32_t w = Max(CW, MaxFW), h = Max(CH, MaxFH);
  if (BkgPicCode == code && BkgPic.Width == w && BkgPic.Height == h) return true;
  DibFree(BkgPic);
  BkgPicCode = 0;
  DIB_P pic;
  const std::string path = paths_.BkgPicDir + kBkgPictureNames[code - kBkgPictureFirst] + "-1600.jpg";
  if (!DibLoadPictureFile(pic, path, nullptr) || pic.Width <= 0) return false;
  if (pic.Width != w || pic.Height != h) {
    DIB_P scaled;
    if (w <= 0 || h <= 0 || !DibCreate24(scaled, w, h)) return false;
    DibScale(scaled, pic);
    pic = std::move(scaled);
  }
  BkgPic = std::move(pic);
  BkgPicCode = code;
  return true;
}

void PlayField::SetBkg(int32_t window, int32_t value) {
  if (window < 0 || window >= kBkgWindows) return;
  if (IsPictureCode(value) && !LoadBkgPicture(value)) value = static_cast<int32_t>(kNeutralGrey);
  Bkgs.Win[window] = value;
  Wins[window].Bkg = value;
  RedrawMode = kRedrawAll;
}

void PlayField::SetBackgrounds(const BkgBlock& bkgs) {
  Bkgs = bkgs;
  ApplyBkgs();
}

void PlayField::SetWeightedPiece(int32_t piece) {
  weight_.Piece = GameOpen() && piece >= 0 && piece < PieceCount(*jig_) ? piece : -1;
  UpdateWeightCommand();
}

void PlayField::ApplyBkgs() {
  int32_t winner = 0;
  for (int32_t v : Bkgs.Win)
    if (IsPictureCode(v)) {
      winner = v;
      break;
    }
  const bool loaded = winner != 0 && LoadBkgPicture(winner);
  for (int32_t& v : Bkgs.Win)
    if (IsPictureCode(v) && (v != winner || !loaded)) v = static_cast<int32_t>(kNeutralGrey);
  for (int32_t i = 0; i < kBkgWindows; ++i) SetBkg(i, Bkgs.Win[i]);
}

}  // namespace varlo
