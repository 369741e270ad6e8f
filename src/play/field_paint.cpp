// Composing the field: window frames, backgrounds, pieces, the selection
// rectangle; the static layer of a drag; presenting with the overlays.
#include <algorithm>
#include <array>
#include <system_error>
#include <latch>
#include <thread>

#include "play/play_field.h"

namespace varlo {

namespace {

XRECT Intersection(const XRECT& a, const XRECT& b) {
  XRECT r;
  RectIntersect(a, b, &r);
  return r;
}

XRECT Union(const XRECT& a, const XRECT& b) {
  if (RectIsEmpty(a)) return b;
  if (RectIsEmpty(b)) return a;
  XRECT r = a;
  RectExtend(r, b.Left, b.Top, b.Right, b.Bottom);
  return r;
}

bool IsPictureCode(int32_t v) { return v >= kBkgPictureFirst && v <= kBkgPictureLast; }

}  // namespace

void PlayField::DrawFrameOf(DIB_P& target, const XRECT& clip, const TMyWin& w) {
  const DIB_P& skin = skins_.Window;
  const XRECT& o = w.Outer;
  const int32_t b = w.Active ? 103 : 1;
  if (w.CaptionH > 0) {
    const int32_t a = w.CaptionH + w.Border;
    DibDraw(target, o.Left, o.Top, clip, skin, b, 1, 6, a, 6, a);
    DibDraw(target, o.Right - 5, o.Top, clip, skin, b + 94, 1, 6, a, 6, a);
    if (o.Width > 12) DibDraw(target, o.Left + 6, o.Top, clip, skin, b + 6, 1, 1, a, o.Width - 12, a);
    if (!RectIsEmpty(w.TitleBox)) {
      const XRECT& tb = w.TitleBox;
      const int32_t x = Max(w.CaptionText.Left, o.Left + (o.Width - tb.Width) / 2);
      const int32_t y = w.CaptionText.Top + (w.CaptionText.Height - tb.Height) / 2 + 1;
      XRECT c = Intersection(clip, w.CaptionText);
      DibDraw(target, x, y, c, w.TitleBmp, tb.Left, tb.Top, tb.Width, tb.Height, tb.Width, tb.Height);
    }
  }
  if (w.Border > 0) {
    const int32_t bw = w.Border;
    const int32_t by = o.Bottom - bw + 1;
    DibDraw(target, o.Left, by, clip, skin, b, 97, 10, bw, 10, bw);
    DibDraw(target, o.Right - 9, by, clip, skin, b + 90, 97, 10, bw, 10, bw);
    if (o.Width > 20) DibDraw(target, o.Left + 10, by, clip, skin, b + 10, 97, 1, bw, o.Width - 20, bw);
    const int32_t top = o.Top + w.CaptionH + bw;
    const int32_t rest = by - top - 5;
    DibDraw(target, o.Left, top, clip, skin, b, 23, bw, 5, bw, 5);
    DibDraw(target, o.Right - bw + 1, top, clip, skin, b + 96, 23, bw, 5, bw, 5);
    if (rest > 0) {
      DibDraw(target, o.Left, top + 5, clip, skin, b, 31, bw, 1, bw, rest);
      DibDraw(target, o.Right - bw + 1, top + 5, clip, skin, b + 96, 31, bw, 1, bw, rest);
    }
  }
  if (w.VBar && w.VTrack.Height > 0)
    DibDraw(target, w.VTrack.Left, w.VTrack.Top, clip, skin, 276, 21, kBarSize, 1, kBarSize, w.VTrack.Height);
  if (w.HBar && w.HTrack.Width > 0)
    DibDraw(target, w.HTrack.Left, w.HTrack.Top, clip, skin, 296, 1, 1, kBarSize, w.HTrack.Width, kBarSize);
  if (!RectIsEmpty(w.CornerBox))
    DibDraw(target, w.CornerBox.Left, w.CornerBox.Top, clip, skin, 276, 1, kBarSize, kBarSize, kBarSize, kBarSize);

  if (w.HasBkg) {
    const XRECT area = Intersection(Intersection(w.Client, clip), FieldClip);
    if (!RectIsEmpty(area)) {
      if (IsPictureCode(w.Bkg) && BkgPicCode == w.Bkg && BkgPic.Width > 0) {
        // The picture scrolls with the content.
        const int32_t sx = w.ScrollX + area.Left - w.Client.Left;
        const int32_t sy = w.ScrollY + area.Top - w.Client.Top;
        if (sx + area.Width > BkgPic.Width || sy + area.Height > BkgPic.Height)
          DibFillRect(target, area.Left, area.Top, area.Width, area.Height, kNeutralGrey);
        DibBlit(target, area.Left, area.Top, BkgPic, sx, sy, area.Width, area.Height);
      } else {
        const uint32_t c = IsPictureCode(w.Bkg) ? kNeutralGrey : static_cast<uint32_t>(w.Bkg);
        DibFillRect(target, area.Left, area.Top, area.Width, area.Height, c);
      }
    }
  }
  if (w.Kind == kKindGlass) {
    for (int32_t k = 0; k < 4; ++k) {
      const XRECT& s = w.GlassCornerSrc[k];
      const XRECT& d = w.GlassCornerDst[k];
      DibDraw(target, d.Left, d.Top, clip, skins_.Glass, s.Left, s.Top, s.Width, s.Height, s.Width, s.Height);
    }
  }
  for (const WinButton& btn : w.Buttons) {
    if (!btn.Visible || RectIsEmpty(btn.Rect)) continue;
    const DIB_P& src = btn.FromGlassSkin ? skins_.Glass : skin;
    const XRECT& s = btn.Src[ButtonLookOf(btn)];
    const XRECT& r = btn.Rect;
    if (btn.ThreeH && r.Width != s.Width) {
      const int32_t half = s.Width / 2;
      DibDraw(target, r.Left, r.Top, clip, src, s.Left, s.Top, half, s.Height, half, s.Height);
      const int32_t right = s.Width - half - 1;
      DibDraw(target, r.Right - right + 1, r.Top, clip, src, s.Left + half + 1, s.Top, right, s.Height, right,
              s.Height);
      const int32_t mid = r.Width - half - right;
      if (mid > 0) DibDraw(target, r.Left + half, r.Top, clip, src, s.Left + half, s.Top, 1, s.Height, mid, s.Height);
    } else if (btn.ThreeV && r.Height != s.Height) {
      const int32_t half = s.Height / 2;
      DibDraw(target, r.Left, r.Top, clip, src, s.Left, s.Top, s.Width, half, s.Width, half);
      const int32_t bottom = s.Height - half - 1;
      DibDraw(target, r.Left, r.Bottom - bottom + 1, clip, src, s.Left, s.Top + half + 1, s.Width, bottom, s.Width,
              bottom);
      const int32_t mid = r.Height - half - bottom;
      if (mid > 0) DibDraw(target, r.Left, r.Top + half, clip, src, s.Left, s.Top + half, s.Width, 1, s.Width, mid);
    } else {
      DibDraw(target, r.Left, r.Top, clip, src, s.Left, s.Top, s.Width, s.Height, s.Width, s.Height);
    }
  }
}

void PlayField::DrawPiece(DIB_P& target, const XRECT& clip, const TMyWin& w, int32_t i) {
  const TILE_P& t = jig_->Tiles[i];
  const XRECT c = Intersection(w.Client, clip);
  if (RectIsEmpty(c)) return;
  const int32_t x = w.Client.Left + t.X - w.ScrollX;
  const int32_t y = w.Client.Top + t.Y - w.ScrollY;
  const int32_t e = options_.Look.EdgeW;
  // Most pieces of a big game lie outside the area being painted.
  if (x > c.Right || y > c.Bottom || x + t.RotW + e <= c.Left || y + t.RotH + e <= c.Top) return;
  DrawPieceAt(target, c, x, y, *jig_, i, options_.Look, &runs_);
}

bool PlayField::InsideMovingSet(const TILE_P& t, int32_t pickedGroup) const {
  return t.Sel || t.Group == pickedGroup;
}

void PlayField::DrawBand(DIB_P& target, const XRECT& clip, bool note) {
  if (DragState != kDragBand || Current < 0 || Current >= kFieldWindows) return;
  const TMyWin& w = Wins[Current];
  const int32_t l = Min(Band.Left, Band.Right), r = Max(Band.Left, Band.Right);
  const int32_t t = Min(Band.Top, Band.Bottom), b = Max(Band.Top, Band.Bottom);
  XRECT area;
  RectSetLTRB(area, l + w.Client.Left - w.ScrollX, t + w.Client.Top - w.ScrollY, r + w.Client.Left - w.ScrollX,
              b + w.Client.Top - w.ScrollY);
  XRECT bounds;
  RectSetXYWH(bounds, 0, 0, target.Width, target.Height);
  area = Intersection(Intersection(Intersection(area, w.Client), clip), bounds);
  if (RectIsEmpty(area)) return;
  const int32_t bpp = target.BytesPerPixel;
  for (int32_t y = area.Top; y <= area.Bottom; ++y) {
    uint8_t* p = DibPixel(target, area.Left, y);
    for (int32_t x = 0; x < area.Width; ++x, p += bpp)
      for (int32_t c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] + ((240 - p[c]) * 128) / 256);
  }
  if (note && &target == &FieldImg) NoteOverlay(area);
}

void PlayField::Compose(DIB_P& target, const XRECT& clipIn, int32_t mode) {
  if (target.Width <= 0) return;
  XRECT bounds;
  RectSetXYWH(bounds, 0, 0, target.Width, target.Height);
  const XRECT clip = Intersection(clipIn, bounds);
  if (RectIsEmpty(clip)) return;
  if (mode == kComposeCopy) {
    DibBlit(target, clip.Left, clip.Top, StaticImg, clip.Left, clip.Top, clip.Width, clip.Height);
    return;
  }
  const bool game = GameOpen();
  if (mode == kComposeMoving) {
    RectEmpty(movingBox_);
    if (!game || Picked < 0) return;
    const TILE_P& pk = jig_->Tiles[Picked];
    const TMyWin& w = Wins[pk.Win];
    const int32_t e = options_.Look.EdgeW;
    for (const SortEntry& s : jig_->Sort) {
      const TILE_P& t = jig_->Tiles[s.Index];
      if (t.Win != pk.Win || !InsideMovingSet(t, pk.Group)) continue;
      DrawPiece(target, clip, w, s.Index);
      const int32_t x = w.Client.Left + t.X - w.ScrollX, y = w.Client.Top + t.Y - w.ScrollY;
      RectExtend(movingBox_, x, y, x + t.RotW + e - 1, y + t.RotH + e - 1);
    }
    if (WeightMarkShown() && InsideMovingSet(jig_->Tiles[weight_.Piece], pk.Group))
      DrawWeightMark(target, clip, w, &movingBox_);
    movingBox_ = Intersection(Intersection(movingBox_, clip), w.Client);
    if (&target == &FieldImg) NoteOverlay(movingBox_);
    return;
  }
  if (mode == kComposeBand) {
    DrawBand(target, clip);
    return;
  }
  PieceSpans spans;
  CollectSpans(clip, mode, spans);
  if (ComposeThreads >= 2 && clip.Height >= 2 * kMinBandRows &&
      int64_t{clip.Width} * clip.Height >= kMinSplitPixels) {
    ComposeOnTwoThreads(target, clip, mode, spans);
  } else {
    ComposeArea(target, clip, mode, spans);
  }
  if (&target == &FieldImg) NoteOverlay(clip);
}

int32_t PlayField::DefaultComposeThreads() { return std::thread::hardware_concurrency() >= 2 ? 2 : 1; }

void PlayField::ComposeOnTwoThreads(DIB_P& target, const XRECT& clip, int32_t mode, const PieceSpans& spans) {
  // The strips are shared out in turn, even ones here and odd ones on the
  // second thread, so both get about the same work. Every pixel is painted
  // by the same steps whichever thread paints it, so the result is the
  // one-thread result. The strips only read the paint lists: each thread
  // first makes ready the lists of half of the pieces to be painted, and
  // neither paints before both are done.
  const bool game = GameOpen();
  if (game) runs_.Reserve(*jig_);
  const std::vector<PieceSpan>& items = spans.Items;
  auto prepare = [this, game, &items](size_t from, size_t to) {
    if (game)
      for (size_t k = from; k < to; ++k) runs_.Prepare(*jig_, items[k].Index, options_.Look);
  };
  const size_t n = items.size();
  runs_.Freeze(true);
  try {
    std::latch ready(2);
    std::thread second([&] {
      prepare(n / 2, n);
      ready.arrive_and_wait();
      ComposeArea(target, clip, mode, spans, 1, 2);
    });
    prepare(0, n / 2);
    ready.arrive_and_wait();
    ComposeArea(target, clip, mode, spans, 0, 2);
    second.join();
  } catch (const std::system_error&) {
    // No second thread to be had: all of it on this one.
    prepare(0, n);
    ComposeArea(target, clip, mode, spans);
  }
  runs_.Freeze(false);
}

void PlayField::CollectSpans(const XRECT& area, int32_t mode, PieceSpans& spans) const {
  spans.Items.clear();
  spans.WinStart.fill(0);
  if (!GameOpen()) return;
  const int32_t pickedGroup = Picked >= 0 ? jig_->Tiles[Picked].Group : -1;
  const int32_t e = options_.Look.EdgeW;
  for (int32_t ref = 0; ref < kFieldWindows; ++ref) {
    spans.WinStart[ref] = spans.Items.size();
    const TMyWin& w = Wins[ref];
    if (!w.Shown || (w.Kind != kKindSide && w.Kind != kKindPocket)) continue;
    XRECT reach;
    if (!RectIntersect(w.Client, area, &reach)) continue;
    for (const SortEntry& s : jig_->Sort) {
      const TILE_P& t = jig_->Tiles[s.Index];
      if (t.Win != ref) continue;
      if (mode == kComposeStatic && DragState == kDragPieces && InsideMovingSet(t, pickedGroup)) continue;
      const int32_t x0 = w.Client.Left + t.X - w.ScrollX, y0 = w.Client.Top + t.Y - w.ScrollY;
      const int32_t x1 = x0 + t.RotW + e - 1, y1 = y0 + t.RotH + e - 1;
      if (x1 < reach.Left || x0 > reach.Right || y1 < reach.Top || y0 > reach.Bottom) continue;
      spans.Items.push_back({s.Index, y0, y1});
    }
  }
  spans.WinStart[kFieldWindows] = spans.Items.size();
}

void PlayField::ComposeArea(DIB_P& target, const XRECT& area, int32_t mode, const PieceSpans& spans,
                            int32_t first, int32_t step) {
  // Strip by strip from the top: a strip of the field stays in the cache
  // while its background, pieces and shadows are painted over each other
  // (the shadows read what lies below them). Painted in one pass, the
  // field would be fetched from memory again for most shadow pixels.
  std::vector<int32_t> todo;
  for (int32_t top = area.Top + first * kStripRows; top <= area.Bottom; top += step * kStripRows) {
    XRECT strip;
    RectSetLTRB(strip, area.Left, top, area.Right, Min(area.Bottom, top + kStripRows - 1));
    ComposeStrip(target, strip, mode, spans, todo);
  }
}

void PlayField::ComposeStrip(DIB_P& target, const XRECT& clip, int32_t mode, const PieceSpans& spans,
                             std::vector<int32_t>& todo) {
  const bool game = GameOpen();
  for (int32_t k = 0; k < kFieldWindows; ++k) {
    const int32_t ref = Stack[k];
    TMyWin& w = Wins[ref];
    if (!w.Shown || !RectIntersect(w.Outer, clip, nullptr)) continue;
    if (mode == kComposeNoWindow && ref == Current) continue;
    if (mode == kComposeWindow && ref != Current) continue;
    DrawFrameOf(target, clip, w);
    if (!game) continue;
    if (w.Kind == kKindSide || w.Kind == kKindPocket) {
      todo.clear();
      for (size_t j = spans.WinStart[ref]; j < spans.WinStart[ref + 1]; ++j) {
        const PieceSpan& span = spans.Items[j];
        if (span.Y1 >= clip.Top && span.Y0 <= clip.Bottom) todo.push_back(span.Index);
      }
      // The lists of the next pieces are fetched while this one is
      // painted: two ahead where the list is found, one ahead its block.
      for (size_t j = 0; j < todo.size(); ++j) {
        if (j + 2 < todo.size()) runs_.PrefetchEntry(todo[j + 2]);
        if (j + 1 < todo.size()) runs_.Prefetch(todo[j + 1]);
        DrawPiece(target, clip, w, todo[j]);
      }
      // The weighted group carries its mark on top of the window's pieces,
      // except while it is dragged (then it is drawn with the moving layer).
      if (WeightMarkShown() && jig_->Tiles[weight_.Piece].Win == ref &&
          !(mode == kComposeStatic && DragState == kDragPieces && Picked >= 0 &&
            InsideMovingSet(jig_->Tiles[weight_.Piece], jig_->Tiles[Picked].Group)))
        DrawWeightMark(target, clip, w);
      if (DragState == kDragBand && ref == Current && mode != kComposeNoBand) DrawBand(target, clip, false);
    } else if (w.Kind == kKindThumb && thumbBmp_.Width > 0) {
      const XRECT c = Intersection(w.Client, clip);
      DibDraw(target, w.Client.Left, w.Client.Top, c, thumbBmp_, 0, 0, w.Client.Width, w.Client.Height,
              w.Client.Width, w.Client.Height);
    }
  }
}

void PlayField::NoteOverlay(const XRECT& r) { overDirty_ = Union(overDirty_, r); }

void PlayField::RestoreFromStatic() {
  const XRECT r = Intersection(overDirty_, FieldClip);
  if (!RectIsEmpty(r)) Compose(FieldImg, r, kComposeCopy);
  RectEmpty(overDirty_);
  overlaysDrawn_ = false;
}

void PlayField::CopyStatic() {
  Compose(FieldImg, FieldClip, kComposeCopy);
  RectEmpty(overDirty_);
  overlaysDrawn_ = false;
}

void PlayField::RedrawDragLayer() {
  RestoreFromStatic();
  if (DragState == kDragPieces) {
    Compose(FieldImg, FieldClip, kComposeMoving);
  } else if (DragState == kDragBand) {
    Compose(FieldImg, FieldClip, kComposeBand);
  } else if (Frame.Code != kHitNone && Frame.Window != kNoWindow && Frame.Window != kGlassRef &&
             Wins[Frame.Window].Kind != kKindSide) {
    Compose(FieldImg, FieldClip, kComposeWindow);
  }
}

void PlayField::StartLayer(int32_t kind) {
  switch (kind) {
    case kLayerWeight:
      Compose(StaticImg, FieldClip, kComposeAll);
      CopyStatic();
      break;
    case kLayerPieces:
      Compose(StaticImg, FieldClip, kComposeStatic);
      CopyStatic();
      Compose(FieldImg, FieldClip, kComposeMoving);
      break;
    case kLayerWindow:
      Compose(StaticImg, FieldClip, kComposeNoWindow);
      CopyStatic();
      Compose(FieldImg, FieldClip, kComposeWindow);
      break;
    case kLayerBand:
      Compose(StaticImg, FieldClip, kComposeNoBand);
      CopyStatic();
      Compose(FieldImg, FieldClip, kComposeBand);
      break;
    default:
      break;
  }
}

void PlayField::RepaintAll() {
  if (DragState == kDragPieces && Picked >= 0)
    StartLayer(kLayerPieces);
  else if (weight_.Placing)
    StartLayer(kLayerWeight);
}

void PlayField::Invalidate() {
  RedrawMode = kRedrawAll;
  RepaintAll();
  if (DragState == kDragPieces || weight_.Placing) RedrawMode = kRedrawShow;
  Present();
}

void PlayField::DrawWeight(DIB_P& target) {
  const DIB_P& img = skins_.Weight;
  if (img.Width <= 0) return;
  const int32_t x = weight_.X - img.Width / 2, y = weight_.Y - img.Height + 4;
  DibDraw(target, x, y, FieldClip, img, 0, 0, img.Width, img.Height, img.Width, img.Height);
  XRECT r;
  RectSetXYWH(r, x, y, img.Width, img.Height);
  NoteOverlay(Intersection(r, FieldClip));
}

bool PlayField::WeightMarkShown() const {
  return GameOpen() && weightMark_.Width > 0 && weight_.Piece >= 0 && weight_.Piece < PieceCount(*jig_);
}

void PlayField::DrawWeightMark(DIB_P& target, const XRECT& clip, const TMyWin& w, XRECT* box) {
  const TILE_P& t = jig_->Tiles[weight_.Piece];
  const DIB_P& m = weightMark_;
  const int32_t x = w.Client.Left + t.X - w.ScrollX + t.RotW / 2 - m.Width / 2;
  const int32_t y = w.Client.Top + t.Y - w.ScrollY + t.RotH / 2 - m.Height / 2;
  const XRECT c = Intersection(clip, w.Client);
  if (RectIsEmpty(c)) return;
  DibDraw(target, x, y, c, m, 0, 0, m.Width, m.Height, m.Width, m.Height);
  if (box) RectExtend(*box, x, y, x + m.Width - 1, y + m.Height - 1);
}

XRECT PlayField::Present() {
  AdvanceStar();
  XRECT area;
  if (RedrawMode == kRedrawNone) return area;
  switch (RedrawMode) {
    case kRedrawAll:
      Compose(FieldImg, FieldClip, kComposeAll);
      area = FieldClip;
      break;
    case kRedrawDirty:
      area = Intersection(DirtyRect, FieldClip);
      Compose(FieldImg, area, kComposeAll);
      break;
    default:
      // The buffers are up to date, but the overlays of the last present
      // may still lie on the field.
      if (overlaysDrawn_) RedrawDragLayer();
      area = FieldClip;
      break;
  }
  RedrawMode = kRedrawNone;
  RectEmpty(DirtyRect);
  const bool star = star_.Step >= 0;
  DrawStar(FieldImg);
  if (weight_.Placing) DrawWeight(FieldImg);
  if (glass_.Win.Shown) DrawGlass(FieldImg);
  overlaysDrawn_ = star || weight_.Placing || glass_.Win.Shown;
  if (!RectIsEmpty(area)) view_->ShowField(area);
  return area;
}

}  // namespace varlo
