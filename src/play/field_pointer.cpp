// Pointer interaction: picking, dragging, turning, the selection rectangle,
// sending pieces to the other side, window frames and the glass.
#include <cstdlib>
#include <limits>

#include "play/play_field.h"

namespace varlo {

namespace {

bool IsSide(int32_t ref) { return ref == MW_SIDE0 || ref == MW_SIDE1; }
bool IsPocket(int32_t ref) { return ref >= MW_POCKET && ref < MW_POCKET + kPocketWindows; }

CursorShape SizingCursor(int32_t code) {
  switch (code) {
    case kHitLeft:
    case kHitRight:
      return CursorShape::SizeHorizontal;
    case kHitTop:
    case kHitBottom:
      return CursorShape::SizeVertical;
    case kHitTopLeft:
    case kHitBottomRight:
      return CursorShape::SizeDiagonalDown;
    default:
      return CursorShape::SizeDiagonalUp;
  }
}

// The shift that brings the interval lo..hi inside 0..size.
int32_t InsideShift(int64_t lo, int64_t hi, int32_t size) {
  if (lo < 0) return static_cast<int32_t>(-lo);
  if (hi > size) return static_cast<int32_t>(size - hi);
  return 0;
}
// The shift that leaves at least v pixels of lo..hi inside 0..size.
int32_t OverlapShift(int64_t lo, int64_t hi, int32_t size, int32_t v) {
  if (hi < v) return static_cast<int32_t>(v - hi);
  if (lo > size - v) return static_cast<int32_t>(size - v - lo);
  return 0;
}

// A visible button or the size grip of the glass lies under (x, y).
bool OnGlassControl(const TMyWin& g, int32_t x, int32_t y) {
  if (RectContains(g.SizeGrip, x, y)) return true;
  for (const WinButton& b : g.Buttons)
    if (b.Visible && RectContains(b.Rect, x, y)) return true;
  return false;
}

}  // namespace

int32_t PlayField::PickPiece(int32_t x, int32_t y) {
  if (!GameOpen() || Current < 0 || Current >= kFieldWindows) return -1;
  const TMyWin& w = Wins[Current];
  if (w.Kind != kKindSide && w.Kind != kKindPocket) return -1;
  const int32_t cx = ContentX(w, x), cy = ContentY(w, y);
  SortPieces(*jig_, false);
  // The ascending table read backwards is the hit-testing order: the
  // topmost group first.
  for (size_t k = jig_->Sort.size(); k-- > 0;) {
    const int32_t i = jig_->Sort[k].Index;
    const TILE_P& t = jig_->Tiles[i];
    if (t.Win != Current || cx < t.X || cx >= t.X + t.RotW || cy < t.Y || cy >= t.Y + t.RotH) continue;
    const DIB_P& mask = jig_->Images[kMaskSlot + (t.Rot & 3)];
    const int32_t mx = t.MapX + cx - t.X, my = t.MapY + cy - t.Y;
    if (mx < 0 || my < 0 || mx >= mask.Width || my >= mask.Height) continue;
    if (DibPixel(mask, mx, my)[0] == t.Key) return i;
  }
  return -1;
}

int32_t PlayField::TargetWindow(int32_t x, int32_t y) {
  for (int32_t k = kFieldWindows - 1; k >= 0; --k) {
    const int32_t ref = Stack[k];
    const TMyWin& w = Wins[ref];
    if (!w.Shown || (w.Kind != kKindSide && w.Kind != kKindPocket)) continue;
    XRECT area = w.Client;
    if (ref == Current)  // its scroll bars and corner box count too
      RectSetLTRB(area, w.Client.Left, w.Client.Top, w.Outer.Right - w.Border, w.Outer.Bottom - w.Border);
    if (!RectContains(area, x, y)) continue;
    if (ref == Current || (IsSide(ref) && IsSide(Current))) return kNoWindow;
    return ref;
  }
  return kNoWindow;
}

void PlayField::StartPieceDrag(int32_t x, int32_t y, bool selection) {
  BringToFront(*jig_, Picked, weight_.Piece);
  const TMyWin& w = Wins[Current];
  const TILE_P& t = jig_->Tiles[Picked];
  DragOffX = t.X - ContentX(w, x);
  DragOffY = t.Y - ContentY(w, y);
  DragState = kDragPieces;
  SelDrag = selection;
  StartLayer(kLayerPieces);
  RedrawMode = kRedrawShow;
}

void PlayField::MovePieces(int32_t x, int32_t y, int32_t target, bool selection) {
  if (Picked < 0 || Current < 0 || Current >= kFieldWindows) return;
  const TMyWin& base = Wins[target != kNoWindow ? target : Current];
  TILE_P& pk = jig_->Tiles[Picked];
  const int32_t group = pk.Group;
  const int32_t dx = x + DragOffX + base.ScrollX - base.Client.Left - pk.X;
  const int32_t dy = y + DragOffY + base.ScrollY - base.Client.Top - pk.Y;
  const int32_t n = PieceCount(*jig_);
  for (int32_t i = 0; i < n; ++i) {
    TILE_P& t = jig_->Tiles[i];
    if (selection ? !t.Sel : t.Group != group) continue;
    t.X += dx;
    t.Y += dy;
    if (target != kNoWindow) t.Win = static_cast<uint8_t>(target);
  }
  SetDirtyFlag();
  if (target != kNoWindow) {
    const int32_t old = Current;
    for (int32_t ref : {old, target}) {
      if (!IsPocket(ref)) continue;
      PocketCount(ref - MW_POCKET);
      PocketExtent(ref - MW_POCKET);
    }
    SetCurrent(target);
    if (IsPocket(target)) RaiseWindow(target);
    StartLayer(kLayerPieces);
  } else {
    RedrawDragLayer();
  }
}

void PlayField::RotateGroup(int32_t x, int32_t y, bool clockwise) {
  if (Selection) {
    ClearSelection();
    if (Picked >= 0 && DragState == kDragPieces) {
      StartLayer(kLayerPieces);
      RedrawMode = kRedrawShow;
    }
  }
  const bool dragging = DragState == kDragPieces && Picked >= 0;
  if (!dragging) Picked = PickPiece(x, y);
  if (Picked < 0) return;
  const int32_t group = jig_->Tiles[Picked].Group;
  const int32_t border = BorderPieceIndex(*jig_);
  if (border >= 0 && jig_->Tiles[border].Group == group) {
    if (!dragging) Picked = -1;
    return;
  }
  if (!dragging) BringToFront(*jig_, Picked, weight_.Piece);
  const int32_t key = jig_->Tiles[Picked].Group;
  const TMyWin& w = Wins[Current];
  const int32_t px = ContentX(w, x), py = ContentY(w, y);
  const int32_t n = PieceCount(*jig_);
  for (int32_t i = 0; i < n; ++i) {
    TILE_P& t = jig_->Tiles[i];
    if (t.Group != key) continue;
    const int32_t ox = t.X, oy = t.Y;
    if (clockwise) {
      t.X = px + py - oy - t.RotH + 1;
      t.Y = py + ox - px;
      t.Rot = static_cast<uint8_t>((t.Rot + 1) & 3);
    } else {
      t.X = px + oy - py;
      t.Y = py + px - ox - t.RotW + 1;
      t.Rot = static_cast<uint8_t>((t.Rot + 3) & 3);
    }
    PlaceRotated(*jig_, i);
  }
  if (dragging) {
    DragOffX = jig_->Tiles[Picked].X - px;
    DragOffY = jig_->Tiles[Picked].Y - py;
  } else {
    Picked = -1;
  }
  CheckComplete();
  SetDirtyFlag();
}

void PlayField::MoveToOtherSide(bool selection) {
  if (!IsSide(Current)) return;
  const uint8_t other = static_cast<uint8_t>(1 - Current);
  const int32_t n = PieceCount(*jig_);
  if (selection) {
    for (int32_t i = 0; i < n; ++i)
      if (jig_->Tiles[i].Sel) jig_->Tiles[i].Win = other;
  } else if (Picked >= 0) {
    BringToFront(*jig_, Picked, weight_.Piece);
    const int32_t key = jig_->Tiles[Picked].Group;
    for (int32_t i = 0; i < n; ++i)
      if (jig_->Tiles[i].Group == key) jig_->Tiles[i].Win = other;
  }
  Picked = -1;
  SetDirtyFlag();
}

void PlayField::ClearSelection() {
  if (GameOpen())
    for (TILE_P& t : jig_->Tiles) t.Sel = 0;
  if (Current >= 0 && Current < kFieldWindows) BringIntoView(Current, false);
  Selection = false;
  view_->SetMenuEnabled(Command::GameArrange, false);
}

void PlayField::SelectAll() {
  RedrawMode = kRedrawAll;
  DragState = kDragIdle;
  Picked = -1;
  if (Current == kNoWindow || Current == kThumbWindow || Current == kGlassRef) SetCurrent(DefaultWindow());
  const int32_t n = PieceCount(*jig_);
  const int32_t weighted = weight_.Piece >= 0 && weight_.Piece < n ? jig_->Tiles[weight_.Piece].Group : -1;
  bool any = false;
  for (int32_t i = 0; i < n; ++i) {
    TILE_P& t = jig_->Tiles[i];
    if (t.Win != Current || t.Group == weighted) continue;
    t.Sel = 1;
    any = true;
  }
  if (!any) return;
  SelectionToFront(*jig_);
  Selection = true;
  view_->SetMenuEnabled(Command::GameArrange, true);
}

void PlayField::SelectInBand() {
  SortPieces(*jig_, false);
  const int32_t n = PieceCount(*jig_);
  const int32_t border = BorderPieceIndex(*jig_);
  const int32_t weighted = weight_.Piece >= 0 && weight_.Piece < n ? jig_->Tiles[weight_.Piece].Group : -1;
  bool any = false;
  const auto& sort = jig_->Sort;
  for (size_t a = 0; a < sort.size();) {
    size_t b = a + 1;
    while (b < sort.size() && sort[b].Key == sort[a].Key) ++b;
    const TILE_P& first = jig_->Tiles[sort[a].Index];
    if (first.Win == Current && first.Group != weighted) {
      bool inside = true;
      for (size_t k = a; k < b && inside; ++k) {
        const int32_t i = sort[k].Index;
        const TILE_P& t = jig_->Tiles[i];
        const int32_t tx = i == border ? 20 : t.RotW / 3;
        const int32_t ty = i == border ? 20 : t.RotH / 3;
        inside = t.X + tx >= Band.Left && t.Y + ty >= Band.Top && Band.Left + Band.Width >= t.X + t.RotW - tx &&
                 Band.Top + Band.Height >= t.Y + t.RotH - ty;
      }
      if (inside) {
        for (size_t k = a; k < b; ++k) jig_->Tiles[sort[k].Index].Sel = 1;
        any = true;
      }
    }
    a = b;
  }
  if (!any) return;
  SelectionToFront(*jig_);
  Selection = true;
  view_->SetMenuEnabled(Command::GameArrange, true);
}

void PlayField::BringIntoView(int32_t window, bool strict) {
  if (!GameOpen() || window < 0 || window >= kFieldWindows) return;
  const bool pocket = IsPocket(window);
  const int32_t wa = pocket ? FW : CW, ha = pocket ? FH : CH;
  const int32_t border = BorderPieceIndex(*jig_);
  SortPieces(*jig_, false);
  const auto sort = jig_->Sort;  // the groups as they are now
  bool moved = false;
  auto shiftGroup = [&](size_t a, size_t b, int32_t dx, int32_t dy) {
    if (dx == 0 && dy == 0) return;
    for (size_t k = a; k < b; ++k) {
      jig_->Tiles[sort[k].Index].X += dx;
      jig_->Tiles[sort[k].Index].Y += dy;
    }
    moved = true;
  };
  for (size_t a = 0; a < sort.size();) {
    size_t b = a + 1;
    while (b < sort.size() && sort[b].Key == sort[a].Key) ++b;
    const TILE_P& first = jig_->Tiles[sort[a].Index];
    if (first.Win != window) {
      a = b;
      continue;
    }
    // A group thrown far away (a damaged file) comes back first.
    const int32_t farX = std::abs(first.X) > 100000 ? -first.X : 0;
    const int32_t farY = std::abs(first.Y) > 100000 ? -first.Y : 0;
    shiftGroup(a, b, farX, farY);
    bool hasBorder = false;
    for (size_t k = a; k < b; ++k) hasBorder |= sort[k].Index == border;
    if (hasBorder) {
      const TILE_P& t = jig_->Tiles[border];
      const int64_t l = int64_t{t.X} + 40, r = int64_t{t.X} + t.RotW - 40;
      const int64_t u = int64_t{t.Y} + 40, d = int64_t{t.Y} + t.RotH - 40;
      const int32_t dx = strict ? InsideShift(l, r, wa) : OverlapShift(l, r, wa, 40);
      const int32_t dy = strict ? InsideShift(u, d, ha) : OverlapShift(u, d, ha, 40);
      shiftGroup(a, b, dx, dy);
      a = b;
      continue;
    }
    int64_t best = std::numeric_limits<int64_t>::max();
    int32_t bdx = 0, bdy = 0;
    bool anyFine = false;
    for (size_t k = a; k < b; ++k) {
      const TILE_P& t = jig_->Tiles[sort[k].Index];
      int32_t dx, dy;
      if (strict) {
        dx = InsideShift(int64_t{t.X} + t.RotW / 4, int64_t{t.X} + t.RotW * 3 / 4, wa);
        dy = InsideShift(int64_t{t.Y} + t.RotH / 4, int64_t{t.Y} + t.RotH * 3 / 4, ha);
      } else {
        const int32_t vx = Min(Min(40, jig_->Jig.TileS), t.RotW * 3 / 4);
        const int32_t vy = Min(Min(40, jig_->Jig.TileS), t.RotH * 3 / 4);
        dx = OverlapShift(t.X, int64_t{t.X} + t.RotW, wa, vx);
        dy = OverlapShift(t.Y, int64_t{t.Y} + t.RotH, ha, vy);
      }
      if (dx == 0 && dy == 0) {
        anyFine = true;
        continue;
      }
      const int64_t d2 = int64_t{dx} * dx + int64_t{dy} * dy;
      if (d2 < best) {
        best = d2;
        bdx = dx;
        bdy = dy;
      }
    }
    if (best != std::numeric_limits<int64_t>::max() && (strict || !anyFine)) shiftGroup(a, b, bdx, bdy);
    a = b;
  }
  if (moved) {
    if (pocket) PocketExtent(window - MW_POCKET);
    RedrawMode = kRedrawAll;
  }
  SetDirtyFlag();
}

// ---- events ----

void PlayField::PointerDown(int32_t button, int32_t modifiers, int32_t x, int32_t y, bool fromWheel) {
  if (!inputEnabled_ || !GameOpen()) return;
  const BusyScope busy(flags_);
  modifiers &= kSsShift | kSsAlt | kSsCtrl;
  const int32_t rawX = x, rawY = y;
  RedrawMode = kRedrawAll;
  Frame = FrameDrag{};
  SetCurrent(kNoWindow);
  pressPiece_ = -1;
  // A press anywhere on the glass, lens or housing, belongs to the glass:
  // its buttons and grip act, the rest moves it. Only pieces carried with
  // click-to-drag are put down through the lens.
  if (glass_.Win.Shown) {
    if (options_.Play.bClickToDrag && DragState == kDragPieces && InLens(x, y))
      MapThroughGlass(x, y);
    else if (InLens(x, y) || GlassRimHit(x, y) || OnGlassControl(glass_.Win, x, y))
      SetCurrent(kGlassRef);
  }
  if (Current == kNoWindow) {
    for (int32_t k = kFieldWindows - 1; k >= 0; --k) {
      const TMyWin& w = Wins[Stack[k]];
      if (w.Shown && RectContains(w.Outer, x, y)) {
        SetCurrent(Stack[k]);
        break;
      }
    }
  }
  auto done = [&] { Present(); };
  if (Current == kNoWindow) return done();
  TMyWin& w = Win(Current);
  if (!(options_.Play.bClickToDrag && DragState == kDragPieces)) {
    w.HotButton = -1;
    int32_t code = HitFrame(w, x, y, true);
    if (code == kHitNone) {
      const bool onFrame = Current == kGlassRef || (RectContains(w.Outer, x, y) && !RectContains(w.Client, x, y));
      if (onFrame || (w.DragByClient && RectContains(w.Client, x, y))) code = kHitMove;
    }
    if (code != kHitNone) {
      Frame.Window = Current;
      Frame.Button = w.HotButton;
      Frame.Code = code;
      const XRECT& o = w.Outer;
      if (IsSide(Current) && code == kHitBottomRight) {
        const XRECT main = view_->MainWindowRect();
        Frame.OffX = main.Width - rawX;
        Frame.OffY = main.Height - rawY;
        return done();
      }
      switch (code) {
        case kHitMove:
          Frame.OffX = x - o.Left;
          Frame.OffY = y - o.Top;
          break;
        case kHitLeft:
          Frame.OffX = o.Left - x;
          break;
        case kHitTop:
          Frame.OffY = o.Top - y;
          break;
        case kHitRight:
          Frame.OffX = o.Right - x;
          break;
        case kHitBottom:
          Frame.OffY = o.Bottom - y;
          break;
        case kHitTopLeft:
          Frame.OffX = o.Left - x;
          Frame.OffY = o.Top - y;
          break;
        case kHitBottomLeft:
          Frame.OffX = o.Left - x;
          Frame.OffY = o.Bottom - y;
          break;
        case kHitBottomRight:
          Frame.OffX = o.Right - x;
          Frame.OffY = o.Bottom - y;
          break;
        case kHitHThumb:
        case kHitVThumb:
          Frame.OffX = x - w.Buttons[code == kHitHThumb ? kBtnHThumb : kBtnVThumb].Rect.Left;
          Frame.OffY = y - w.Buttons[code == kHitHThumb ? kBtnHThumb : kBtnVThumb].Rect.Top;
          break;
        case kHitScrollLeft:
        case kHitScrollRight:
        case kHitScrollUp:
        case kHitScrollDown:
          Scroll(Current, code, 0, 0);
          break;
        default:
          break;
      }
      if (IsPocket(Current) || Current == kThumbWindow) RaiseWindow(Current);
      if (!IsSide(Current)) StartLayer(kLayerWindow);
      RedrawMode = kRedrawShow;
      return done();
    }
  }
  if (!RectContains(w.Client, x, y) || Current == kGlassRef) {
    SetCurrent(kNoWindow);
    return done();
  }
  if (IsPocket(Current)) RaiseWindow(Current);
  if (weight_.Placing) return done();
  const int32_t i = PickPiece(x, y);
  pressPiece_ = i;
  if (button == kMbRight && i < 0 && !fromWheel && (w.HBar || w.VBar) &&
      !(options_.Play.bClickToDrag && DragState == kDragPieces)) {
    Frame.Window = Current;
    Frame.Code = kHitPan;
    SetCursor(CursorShape::DragGroup);
    if (w.HBar) Frame.OffX = w.Buttons[kBtnHThumb].Rect.Left + x;
    if (w.VBar) Frame.OffY = w.Buttons[kBtnVThumb].Rect.Top + y;
    StartLayer(kLayerWindow);
    RedrawMode = kRedrawShow;
    return done();
  }
  const PLAY_OPT_P& po = options_.Play;
  if (jig_->Jig.Rotate && button == po.RotCCW_Button && modifiers == po.RotCCW_Shift) {
    RotateGroup(x, y, false);
    return done();
  }
  if (jig_->Jig.Rotate && button == po.RotCW_Button && modifiers == po.RotCW_Shift) {
    RotateGroup(x, y, true);
    return done();
  }
  if (button != kMbLeft || modifiers != 0 || fromWheel) return done();
  if (po.bClickToDrag) {
    if (DragState == kDragPieces) return done();  // the release drops them
    ClickPending = true;
    ClickX = x;
    ClickY = y;
  }
  Picked = i;
  if (i < 0) {
    if (Selection) ClearSelection();
    RectSetXYWH(Band, ContentX(w, x), ContentY(w, y), 1, 1);
    DragState = kDragBand;
    StartLayer(kLayerBand);
    RedrawMode = kRedrawShow;
    return done();
  }
  if (Selection && !jig_->Tiles[i].Sel) ClearSelection();
  StartPieceDrag(x, y, Selection && jig_->Tiles[i].Sel);
  done();
}

void PlayField::FrameDragMove(int32_t held, int32_t x, int32_t y) {
  const int32_t ref = Frame.Window;
  TMyWin& w = Win(ref);
  const int32_t code = Frame.Code;
  switch (code) {
    case kHitMove:
      RectMoveTo(w.Outer, x - Frame.OffX, y - Frame.OffY);
      Relayout(w);
      break;
    case kHitHThumb:
    case kHitVThumb:
      Scroll(ref, code, x - Frame.OffX, y - Frame.OffY);
      break;
    case kHitPan:
      if (!held) {
        SetCursor(CursorShape::Arrow);
        Frame = FrameDrag{};
        RedrawMode = kRedrawAll;
        return;
      }
      Scroll(ref, kHitPan, Frame.OffX - x, Frame.OffY - y);
      break;
    case kHitLeft:
    case kHitTop:
    case kHitRight:
    case kHitBottom:
    case kHitTopLeft:
    case kHitBottomLeft:
    case kHitBottomRight: {
      if (IsSide(ref) && code == kHitBottomRight) {
        const XRECT main = view_->MainWindowRect();
        view_->ResizeMainWindow(x + main.Left + Frame.OffX, y + main.Top + Frame.OffY);
        return;
      }
      int32_t L = w.Outer.Left, T = w.Outer.Top, R = w.Outer.Right, B = w.Outer.Bottom;
      const bool left = code == kHitLeft || code == kHitTopLeft || code == kHitBottomLeft;
      const bool top = code == kHitTop || code == kHitTopLeft;
      const bool right = code == kHitRight || code == kHitBottomRight;
      const bool bottom = code == kHitBottom || code == kHitBottomLeft || code == kHitBottomRight;
      if (left) L = x + Frame.OffX;
      if (top) T = y + Frame.OffY;
      if (right) R = x + Frame.OffX;
      if (bottom) B = y + Frame.OffY;
      int32_t W = R - L + 1, H = B - T + 1;
      LimitSize(w, W, H, !(code == kHitTop || code == kHitBottom));
      if (left) L = R - W + 1;
      if (top) T = B - H + 1;
      RectSetXYWH(w.Outer, L, T, W, H);
      SetSizeFree(w);
      if (ref == kThumbWindow) DrawThumbnail();
      if (ref == kGlassRef) {
        glass_.LensA = w.Client.Width / 2.0;
        glass_.LensB = w.Client.Height / 2.0;
        MakeLensMask();
      }
      break;
    }
    default:
      break;
  }
  RedrawMode = kRedrawShow;
  if (IsSide(ref))
    Compose(FieldImg, FieldClip, kComposeAll);
  else if (ref != kGlassRef)
    RedrawDragLayer();
  else
    RestoreFromStatic();
}

void PlayField::Hover(int32_t x, int32_t y) {
  for (TMyWin& w : Wins)
    for (WinButton& b : w.Buttons) b.Hover = 0;
  for (WinButton& b : glass_.Win.Buttons) b.Hover = 0;
  int32_t code = kHitNone;
  XRECT hot;
  auto test = [&](TMyWin& w) {
    w.HotButton = -1;
    code = HitFrame(w, x, y, false);
    if (code != kHitNone && w.HotButton >= 0) hot = w.Buttons[w.HotButton].Rect;
    return code != kHitNone;
  };
  bool found = false;
  for (int32_t k = kFieldWindows - 1; k >= 0 && !found; --k) found = test(Wins[Stack[k]]);
  if (!found) test(glass_.Win);
  HoverCode = code;
  if (code >= kHitLeft && code <= kHitBottomRight)
    SetCursor(SizingCursor(code));
  else
    SetCursor(CursorShape::Arrow);
  XRECT dirty = hot;
  if (!(prevHot_ == hot) && !RectIsEmpty(prevHot_)) {
    if (RectIsEmpty(dirty))
      dirty = prevHot_;
    else
      RectExtend(dirty, prevHot_.Left, prevHot_.Top, prevHot_.Right, prevHot_.Bottom);
  }
  prevHot_ = hot;
  if (glass_.Win.Shown) {
    if (RectIsEmpty(dirty))
      dirty = glass_.Win.Outer;
    else
      RectExtend(dirty, glass_.Win.Outer.Left, glass_.Win.Outer.Top, glass_.Win.Outer.Right, glass_.Win.Outer.Bottom);
  }
  if (RectIsEmpty(dirty)) return;
  if (RedrawMode == kRedrawNone) {
    RedrawMode = kRedrawDirty;
    DirtyRect = dirty;
  } else if (RedrawMode == kRedrawDirty) {
    RectExtend(DirtyRect, dirty.Left, dirty.Top, dirty.Right, dirty.Bottom);
  }
}

void PlayField::PointerMove(int32_t held, int32_t modifiers, int32_t x, int32_t y) {
  (void)modifiers;
  if (!inputEnabled_ || !GameOpen()) return;
  PointerPosX_ = x;
  PointerPosY_ = y;
  if (Current == kNoWindow && DragState == kDragIdle && !weight_.Placing) {
    // Nothing is current after a press outside every window; the hover
    // still follows the pointer.
  } else if (Current == kNoWindow) {
    return;
  }
  const BusyScope busy(flags_);
  view_->ClearToolbarHover();
  if (glass_.Win.Shown && InLens(x, y) && !(Current == kGlassRef && held != 0)) MapThroughGlass(x, y);
  if (weight_.Placing) {
    MoveWeight(x, y, TargetWindow(x, y));
    RedrawMode = kRedrawShow;
  } else if (Frame.Code != kHitNone) {
    FrameDragMove(held, x, y);
  } else if (DragState == kDragPieces) {
    MovePieces(x, y, TargetWindow(x, y), SelDrag);
    RedrawMode = kRedrawShow;
  } else if (DragState == kDragBand) {
    const TMyWin& w = Wins[Current];
    RectSetRightBottom(Band, ContentX(w, x), ContentY(w, y));
    RedrawMode = kRedrawShow;
    RedrawDragLayer();
  } else if (held == 0) {
    Hover(x, y);
  }
  Present();
}

void PlayField::PointerUp(int32_t button, int32_t modifiers, int32_t x, int32_t y) {
  if (!inputEnabled_ || !GameOpen()) return;
  const BusyScope busy(flags_);
  modifiers &= kSsShift | kSsAlt | kSsCtrl;
  RedrawMode = kRedrawAll;
  if (glass_.Win.Shown && InLens(x, y)) MapThroughGlass(x, y);
  auto done = [&] { Present(); };
  if (Frame.Code != kHitNone) {
    TMyWin& w = Win(Frame.Window);
    if (Frame.Button >= 0) w.Buttons[Frame.Button].Pressed = 0;
    switch (Frame.Code) {
      case kHitMove:
        KeepReachable();
        break;
      case kHitClose:
        if (IsPocket(Frame.Window))
          ShowPocket(Frame.Window - MW_POCKET, false);
        else
          ShowWindow(Frame.Window, false);
        break;
      case kHitZoom3:
      case kHitZoom2:
        glass_.Zoom = Frame.Code == kHitZoom3 ? 3 : 2;
        glass_.Win.Buttons[kBtnZoom3].Visible = glass_.Zoom == 2;
        glass_.Win.Buttons[kBtnZoom2].Visible = glass_.Zoom == 3;
        break;
      case kHitPan:
        SetCursor(CursorShape::Arrow);
        break;
      default:
        break;
    }
    Frame = FrameDrag{};
    return done();
  }
  const PLAY_OPT_P& po = options_.Play;
  if (po.bClickToDrag && DragState == kDragPieces && Current == kNoWindow && Picked >= 0)
    SetCurrent(jig_->Tiles[Picked].Win);
  if (button == kMbLeft) {
    if (po.bClickToDrag && DragState == kDragPieces && ClickPending && std::abs(ClickX - x) <= 1 &&
        std::abs(ClickY - y) <= 2) {
      ClickPending = false;
      return done();
    }
    if (DragState == kDragPieces) {
      ClickPending = false;
      if (SelDrag) {
        MovePieces(x, y, kNoWindow, true);
        Picked = -1;
        DragState = kDragIdle;
      } else {
        MovePieces(x, y, kNoWindow, false);
        Snap();
        BringIntoView(Current, false);
      }
      if (IsPocket(Current)) PocketExtent(Current - MW_POCKET);
      return done();
    }
    if (DragState == kDragBand) {
      const int32_t l = Min(Band.Left, Band.Right), r = Max(Band.Left, Band.Right);
      const int32_t t = Min(Band.Top, Band.Bottom), b = Max(Band.Top, Band.Bottom);
      RectSetLTRB(Band, l, t, r, b);
      DragState = kDragIdle;
      SelectInBand();
      return done();
    }
    if (weight_.Placing) {
      DropWeight();
      return done();
    }
  }
  if (button == po.MoveOW_Button && modifiers == po.MoveOW_Shift && !po.bSingleWin && IsSide(Current)) {
    // Only a press and a release on the same piece send it over: a drag
    // from the empty board that ends on a piece does nothing.
    const int32_t i = PickPiece(x, y);
    const int32_t pressed = pressPiece_;
    pressPiece_ = -1;
    if (i < 0 || i != pressed) return done();
    if (Selection) {
      if (jig_->Tiles[i].Sel) {
        MoveToOtherSide(true);
        ClearSelection();
      } else {
        ClearSelection();
        Picked = i;
        MoveToOtherSide(false);
      }
    } else {
      Picked = i;
      MoveToOtherSide(false);
    }
    if (DragState == kDragPieces) DragState = kDragIdle;
  }
  done();
}

void PlayField::EscapeKey() {
  if (!GameOpen()) return;
  const BusyScope busy(flags_);
  if (DragState == kDragBand) {
    // The band ends where it is and selects nothing; the release that
    // follows finds no band.
    DragState = kDragIdle;
    RectEmpty(Band);
    RedrawMode = kRedrawAll;
  }
  if (Selection) {
    ClearSelection();
    RedrawMode = kRedrawAll;
  }
  Present();
}

void PlayField::PointerLeft(int32_t x, int32_t y) {
  PointerPosX_ = x;
  PointerPosY_ = y;
}

bool PlayField::Wheel(bool up, int32_t x, int32_t y) {
  const PLAY_OPT_P& po = options_.Play;
  if (up)
    PointerDown(po.RotCCW_Button, po.RotCCW_Shift, x, y, true);
  else
    PointerDown(po.RotCW_Button, po.RotCW_Shift, x, y, true);
  return true;
}

}  // namespace varlo
