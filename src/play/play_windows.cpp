// Geometry of one play window: layout, sizes, scroll bars, hit testing.
#include "play/play_windows.h"

namespace varlo {

namespace {

void SetXYWH(XRECT& r, int32_t x, int32_t y, int32_t w, int32_t h) { RectSetXYWH(r, x, y, w, h); }

// Skin areas of a button whose normal look is at (sx, sy): the looks lie
// side by side, three pixels apart.
void SetButton(WinButton& b, int32_t id, int32_t code, int32_t sx, int32_t sy, int32_t w, int32_t h,
               bool fourState, bool glassSkin) {
  b = WinButton{};
  b.Id = id;
  b.HitCode = code;
  b.W = w;
  b.H = h;
  b.FourState = fourState ? 1 : 0;
  b.FromGlassSkin = glassSkin ? 1 : 0;
  const int32_t step = w + 3;
  if (fourState) {
    SetXYWH(b.Src[kLookNormal], sx, sy, w, h);
    SetXYWH(b.Src[kLookHover], sx + step, sy, w, h);
    SetXYWH(b.Src[kLookActive], sx + 2 * step, sy, w, h);
    SetXYWH(b.Src[kLookActiveHover], sx + 3 * step, sy, w, h);
    SetXYWH(b.Src[kLookPressed], sx + 4 * step, sy, w, h);
  } else {
    SetXYWH(b.Src[kLookNormal], sx, sy, w, h);
    SetXYWH(b.Src[kLookActive], sx, sy, w, h);
    SetXYWH(b.Src[kLookHover], sx + step, sy, w, h);
    SetXYWH(b.Src[kLookActiveHover], sx + step, sy, w, h);
    SetXYWH(b.Src[kLookPressed], sx + 2 * step, sy, w, h);
  }
}

void PlaceByAnchors(WinButton& b, const XRECT& o) {
  if ((b.AnchorL == kRectUnset && b.AnchorR == kRectUnset) ||
      (b.AnchorT == kRectUnset && b.AnchorB == kRectUnset)) {
    RectEmpty(b.Rect);
    return;
  }
  const int32_t x = b.AnchorL != kRectUnset ? o.Left + b.AnchorL : o.Right - b.W - b.AnchorR + 1;
  const int32_t y = b.AnchorT != kRectUnset ? o.Top + b.AnchorT : o.Bottom - b.H - b.AnchorB + 1;
  SetXYWH(b.Rect, x, y, b.W, b.H);
}

int32_t MulDiv(int64_t a, int64_t b, int64_t c) { return c == 0 ? 0 : static_cast<int32_t>(a * b / c); }

// Applies the client size cw x ch (bars included) without limits.
void ApplySize(TMyWin& w, int32_t cw, int32_t ch) {
  const uint8_t oldH = w.HBar, oldV = w.VBar;
  int32_t clientW = cw, clientH = ch;
  if (w.HasScroll && w.ContentW > 0 && w.ContentH > 0) {
    w.HBar = cw < w.ContentW ? 1 : 0;
    w.VBar = ch < w.ContentH ? 1 : 0;
    if (w.HBar) clientH -= kBarSize;
    if (w.VBar) clientW -= kBarSize;
  } else {
    w.HBar = w.VBar = 0;
    w.ScrollX = w.ScrollY = 0;
  }
  SetXYWH(w.Outer, w.Outer.Left, w.Outer.Top, cw + w.FrameW, ch + w.FrameH);
  if (w.HBar != oldH) w.ScrollX = 0;
  if (w.VBar != oldV) w.ScrollY = 0;
  // A scroll position past the content's end comes back to show its end
  // (never a negative position when the content is smaller than the client).
  if (w.ScrollX > 0 && w.ScrollX > w.ContentW - clientW) w.ScrollX = Max(0, w.ContentW - clientW);
  if (w.ScrollY > 0 && w.ScrollY > w.ContentH - clientH) w.ScrollY = Max(0, w.ContentH - clientH);
  for (int32_t k = kBtnLeft; k <= kBtnHThumb; ++k) w.Buttons[k].Visible = w.HBar;
  for (int32_t k = kBtnUp; k <= kBtnVThumb; ++k) w.Buttons[k].Visible = w.VBar;
  Relayout(w);
}

}  // namespace

void InitWindow(TMyWin& w, int32_t x, int32_t y, uint8_t kind, int32_t width, int32_t height) {
  w = TMyWin{};
  w.Kind = kind;
  switch (kind) {
    case kKindSide:
      w.HasScroll = 1;
      break;
    case kKindPocket:
      w.Border = 4;
      w.CaptionH = 18;
      w.HasScroll = 1;
      w.Floating = 1;
      w.Resizable = 1;
      break;
    case kKindThumb:
      w.Border = 4;
      w.CaptionH = 18;
      w.Floating = 1;
      w.DragByClient = 1;
      w.Resizable = 1;
      w.KeepAspect = 1;
      break;
    default:
      w.GlassCorner = 93;
      w.Floating = 1;
      SetXYWH(w.GlassCornerSrc[0], 0, 0, 93, 93);
      SetXYWH(w.GlassCornerSrc[1], 96, 0, 93, 93);
      SetXYWH(w.GlassCornerSrc[2], 0, 96, 93, 93);
      SetXYWH(w.GlassCornerSrc[3], 96, 96, 93, 93);
      break;
  }
  w.FrameW = 2 * w.Border;
  w.FrameH = 2 * w.Border + w.CaptionH;
  SetXYWH(w.Outer, x, y, width, height);
  w.MinW = w.MinH = w.HasScroll ? 78 : 20;
  for (int32_t k = 0; k < kButtonCount; ++k) {
    w.Buttons[k] = WinButton{};
    w.Buttons[k].Id = k;
  }
  const int32_t b = w.Border;
  if (kind == kKindPocket || kind == kKindThumb) {
    SetButton(w.Buttons[kBtnClose], kBtnClose, kHitClose, 2, 110, 20, 20, true, false);
    w.Buttons[kBtnClose].AnchorR = 0;
    w.Buttons[kBtnClose].AnchorT = 0;
    w.Buttons[kBtnClose].Visible = 1;
  } else if (kind == kKindGlass) {
    SetButton(w.Buttons[kBtnClose], kBtnClose, kHitClose, 196, 2, 14, 14, false, true);
    w.Buttons[kBtnClose].AnchorR = 16;
    w.Buttons[kBtnClose].AnchorT = 15;
    w.Buttons[kBtnClose].Visible = 1;
    SetButton(w.Buttons[kBtnZoom3], kBtnZoom3, kHitZoom3, 196, 25, 27, 27, false, true);
    SetButton(w.Buttons[kBtnZoom2], kBtnZoom2, kHitZoom2, 196, 55, 27, 27, false, true);
    for (int32_t k : {kBtnZoom3, kBtnZoom2}) {
      w.Buttons[k].AnchorL = 9;
      w.Buttons[k].AnchorT = 8;
    }
  }
  if (w.HasScroll) {
    SetButton(w.Buttons[kBtnLeft], kBtnLeft, kHitScrollLeft, 211, 1, 17, 17, false, false);
    w.Buttons[kBtnLeft].AnchorL = b;
    w.Buttons[kBtnLeft].AnchorB = b;
    SetButton(w.Buttons[kBtnRight], kBtnRight, kHitScrollRight, 211, 21, 17, 17, false, false);
    w.Buttons[kBtnRight].AnchorR = b + kBarSize;
    w.Buttons[kBtnRight].AnchorB = b;
    SetButton(w.Buttons[kBtnHThumb], kBtnHThumb, kHitHThumb, 211, 41, 17, 17, false, false);
    w.Buttons[kBtnHThumb].ThreeH = 1;
    SetButton(w.Buttons[kBtnUp], kBtnUp, kHitScrollUp, 211, 61, 17, 17, false, false);
    w.Buttons[kBtnUp].AnchorR = b;
    w.Buttons[kBtnUp].AnchorT = b + w.CaptionH;
    SetButton(w.Buttons[kBtnDown], kBtnDown, kHitScrollDown, 211, 81, 17, 17, false, false);
    w.Buttons[kBtnDown].AnchorR = b;
    w.Buttons[kBtnDown].AnchorB = b + kBarSize;
    SetButton(w.Buttons[kBtnVThumb], kBtnVThumb, kHitVThumb, 211, 101, 17, 17, false, false);
    w.Buttons[kBtnVThumb].ThreeV = 1;
  }
  SetSize(w, false, 0, 0);
  if (w.CaptionH > 0) DibCreate32(w.TitleBmp, kTitleBmpWidth, Max(1, w.CaptionText.Height));
}

void Relayout(TMyWin& w) {
  const XRECT& o = w.Outer;
  const int32_t L = o.Left, T = o.Top, R = o.Right, B = o.Bottom, b = w.Border;
  RectSetLTRB(w.Client, L + b, T + b + w.CaptionH, R - b - (w.VBar ? kBarSize : 0),
              B - b - (w.HBar ? kBarSize : 0));
  for (WinButton& btn : w.Buttons) PlaceByAnchors(btn, o);
  if (w.CaptionH > 0)
    RectSetLTRB(w.CaptionText, L + b + 8, T, R - w.Buttons[kBtnClose].W - 7, T + b + w.CaptionH - 1);
  else
    RectEmpty(w.CaptionText);

  RectEmpty(w.HTrack);
  RectEmpty(w.VTrack);
  if (w.HBar) {
    const XRECT& l = w.Buttons[kBtnLeft].Rect;
    const XRECT& r = w.Buttons[kBtnRight].Rect;
    RectSetLTRB(w.HTrack, l.Right + 1, l.Top, r.Left - 1, l.Bottom);
    const int32_t tw = Max(12, MulDiv(w.HTrack.Width, w.Client.Width, w.ContentW));
    int32_t tx = w.HTrack.Left + MulDiv(w.HTrack.Width, w.ScrollX, w.ContentW);
    if (tx + tw - 1 > w.HTrack.Right) tx = w.HTrack.Right - tw + 1;
    SetXYWH(w.Buttons[kBtnHThumb].Rect, tx, l.Top, tw, kBarSize);
  } else {
    for (int32_t k = kBtnLeft; k <= kBtnHThumb; ++k) RectEmpty(w.Buttons[k].Rect);
  }
  if (w.VBar) {
    const XRECT& u = w.Buttons[kBtnUp].Rect;
    const XRECT& d = w.Buttons[kBtnDown].Rect;
    RectSetLTRB(w.VTrack, u.Left, u.Bottom + 1, u.Right, d.Top - 1);
    const int32_t th = Max(12, MulDiv(w.VTrack.Height, w.Client.Height, w.ContentH));
    int32_t ty = w.VTrack.Top + MulDiv(w.VTrack.Height, w.ScrollY, w.ContentH);
    if (ty + th - 1 > w.VTrack.Bottom) ty = w.VTrack.Bottom - th + 1;
    SetXYWH(w.Buttons[kBtnVThumb].Rect, u.Left, ty, kBarSize, th);
  } else {
    for (int32_t k = kBtnUp; k <= kBtnVThumb; ++k) RectEmpty(w.Buttons[k].Rect);
  }
  if (w.HBar || w.VBar)
    SetXYWH(w.CornerBox, R - b - 16, B - b - 16, kBarSize, kBarSize);
  else
    RectEmpty(w.CornerBox);

  if (w.Resizable) {
    const XRECT& c = w.Buttons[kBtnClose].Rect;
    RectSetLTRB(w.SizeGrip, R - b - 16, B - b - 16, R, B);
    RectSetLTRB(w.EdgeL, L, T + b, L + b - 1, B - b);
    RectSetLTRB(w.EdgeT, L + b, T, c.Left - 1, T + b - 1);
    RectSetLTRB(w.EdgeR, R - b + 1, c.Bottom + 1, R, B - b);
    RectSetLTRB(w.EdgeB, L + b, B - b + 1, R - b, B);
    SetXYWH(w.CornerTL, L, T, b, b);
    SetXYWH(w.CornerBL, L, B - b + 1, b, b);
    SetXYWH(w.CornerBR, R - b + 1, B - b + 1, b, b);
  }
  if (w.Kind == kKindGlass) {
    const int32_t g = w.GlassCorner;
    SetXYWH(w.GlassCornerDst[0], L, T, g, g);
    SetXYWH(w.GlassCornerDst[1], R - g + 1, T, g, g);
    SetXYWH(w.GlassCornerDst[2], L, B - g + 1, g, g);
    SetXYWH(w.GlassCornerDst[3], R - g + 1, B - g + 1, g, g);
    SetXYWH(w.SizeGrip, R - 25, B - 24, 21, 21);
  }
}

void SetSize(TMyWin& w, bool given, int32_t cw, int32_t ch) {
  if (!given) {
    cw = w.Outer.Width - w.FrameW;
    ch = w.Outer.Height - w.FrameH;
    if (w.KeepAspect && w.MaxW > 0) ch = MulDiv(cw, w.MaxH, w.MaxW);
  }
  cw = Max(cw, w.MinW);
  ch = Max(ch, w.MinH);
  if (w.MaxW > 0) cw = Min(cw, w.MaxW);
  if (w.MaxH > 0) ch = Min(ch, w.MaxH);
  ApplySize(w, cw, ch);
}

void SetSizeFree(TMyWin& w) { ApplySize(w, w.Outer.Width - w.FrameW, w.Outer.Height - w.FrameH); }

void LimitSize(const TMyWin& w, int32_t& outerW, int32_t& outerH, bool widthLeads) {
  int32_t cw = outerW - w.FrameW, ch = outerH - w.FrameH;
  auto limit = [&] {
    cw = Max(cw, w.MinW);
    ch = Max(ch, w.MinH);
    if (w.MaxW > 0) cw = Min(cw, w.MaxW);
    if (w.MaxH > 0) ch = Min(ch, w.MaxH);
  };
  limit();
  if (w.KeepAspect && w.MaxW > 0 && w.MaxH > 0) {
    if (widthLeads)
      ch = MulDiv(cw, w.MaxH, w.MaxW);
    else
      cw = MulDiv(ch, w.MaxW, w.MaxH);
  }
  outerW = cw + w.FrameW;
  outerH = ch + w.FrameH;
}

void ScrollWindow(TMyWin& w, int32_t code, int32_t dx, int32_t dy) {
  const int32_t stepX = w.ContentW / 10, stepY = w.ContentH / 10;
  const int32_t endX = Max(0, w.ContentW - w.Client.Width);
  const int32_t endY = Max(0, w.ContentH - w.Client.Height);
  switch (code) {
    case kHitScrollLeft:
      w.ScrollX = Max(0, w.ScrollX - stepX);
      break;
    case kHitScrollRight:
      w.ScrollX = Min(w.ScrollX + stepX, endX);
      break;
    case kHitScrollUp:
      w.ScrollY = Max(0, w.ScrollY - stepY);
      break;
    case kHitScrollDown:
      w.ScrollY = Min(w.ScrollY + stepY, endY);
      break;
    case kHitHThumb: {
      if (!w.HBar || w.HTrack.Width <= 0) return;
      XRECT& t = w.Buttons[kBtnHThumb].Rect;
      const int32_t x = Clamp(dx, w.HTrack.Left, w.HTrack.Right - t.Width + 1);
      w.ScrollX = Clamp(MulDiv(x - w.HTrack.Left, w.ContentW, w.HTrack.Width), 0, endX);
      Relayout(w);
      RectMoveTo(w.Buttons[kBtnHThumb].Rect, x, w.Buttons[kBtnHThumb].Rect.Top);
      return;
    }
    case kHitVThumb: {
      if (!w.VBar || w.VTrack.Height <= 0) return;
      XRECT& t = w.Buttons[kBtnVThumb].Rect;
      const int32_t y = Clamp(dy, w.VTrack.Top, w.VTrack.Bottom - t.Height + 1);
      w.ScrollY = Clamp(MulDiv(y - w.VTrack.Top, w.ContentH, w.VTrack.Height), 0, endY);
      Relayout(w);
      RectMoveTo(w.Buttons[kBtnVThumb].Rect, w.Buttons[kBtnVThumb].Rect.Left, y);
      return;
    }
    case kHitPan:
      if (w.HBar) ScrollWindow(w, kHitHThumb, dx, dy);
      if (w.VBar) ScrollWindow(w, kHitVThumb, dx, dy);
      return;
    default:
      return;
  }
  Relayout(w);
}

void CopySideGeometry(TMyWin& to, const TMyWin& from) {
  to.Outer = from.Outer;
  to.Client = from.Client;
  to.Border = from.Border;
  to.CaptionH = from.CaptionH;
  to.FrameW = from.FrameW;
  to.FrameH = from.FrameH;
  to.MinW = from.MinW;
  to.MinH = from.MinH;
  to.MaxW = from.MaxW;
  to.MaxH = from.MaxH;
  to.ScrollX = from.ScrollX;
  to.ScrollY = from.ScrollY;
  to.ContentW = from.ContentW;
  to.ContentH = from.ContentH;
  to.HTrack = from.HTrack;
  to.VTrack = from.VTrack;
  to.CornerBox = from.CornerBox;
  to.SizeGrip = from.SizeGrip;
  to.HBar = from.HBar;
  to.VBar = from.VBar;
  for (int32_t k = kBtnLeft; k <= kBtnVThumb; ++k) {
    const uint8_t hover = to.Buttons[k].Hover, pressed = to.Buttons[k].Pressed,
                  active = to.Buttons[k].ActiveLook;
    to.Buttons[k] = from.Buttons[k];
    to.Buttons[k].Hover = hover;
    to.Buttons[k].Pressed = pressed;
    to.Buttons[k].ActiveLook = active;
  }
}

int32_t HitFrame(TMyWin& w, int32_t x, int32_t y, bool pressing) {
  for (WinButton& b : w.Buttons) b.Hover = 0;
  if (!w.Shown || !RectContains(w.Outer, x, y)) return kHitNone;
  if (w.Kind <= kKindThumb && RectContains(w.Client, x, y) &&
      !(w.Resizable && RectContains(w.SizeGrip, x, y)))
    return kHitNone;
  if (w.Resizable) {
    if (RectContains(w.EdgeL, x, y)) return kHitLeft;
    if (RectContains(w.EdgeR, x, y)) return kHitRight;
    if (RectContains(w.EdgeT, x, y)) return kHitTop;
    if (RectContains(w.EdgeB, x, y)) return kHitBottom;
    if (RectContains(w.CornerTL, x, y)) return kHitTopLeft;
    if (RectContains(w.CornerBL, x, y)) return kHitBottomLeft;
    if (RectContains(w.CornerBR, x, y) || RectContains(w.SizeGrip, x, y)) return kHitBottomRight;
  }
  if (w.Kind == kKindGlass && RectContains(w.SizeGrip, x, y) &&
      x + y - w.SizeGrip.Left - w.SizeGrip.Top >= w.SizeGrip.Width)
    return kHitBottomRight;
  if (w.Kind == kKindSide && (w.HBar || w.VBar) && RectContains(w.CornerBox, x, y)) return kHitBottomRight;
  if (pressing) {
    const XRECT& ht = w.Buttons[kBtnHThumb].Rect;
    if (w.HBar && RectContains(w.HTrack, x, y) && !RectContains(ht, x, y))
      return x > ht.Right ? kHitScrollRight : kHitScrollLeft;
    const XRECT& vt = w.Buttons[kBtnVThumb].Rect;
    if (w.VBar && RectContains(w.VTrack, x, y) && !RectContains(vt, x, y))
      return y > vt.Bottom ? kHitScrollDown : kHitScrollUp;
  }
  for (int32_t k = 0; k < kButtonCount; ++k) {
    WinButton& b = w.Buttons[k];
    if (!b.Visible || !RectContains(b.Rect, x, y)) continue;
    w.HotButton = k;
    b.Hover = 1;
    if (pressing) b.Pressed = 1;
    return b.HitCode;
  }
  return kHitNone;
}

int32_t ButtonLookOf(const WinButton& b) {
  if (b.ActiveLook) {
    if (b.Pressed) return kLookPressed;
    return b.Hover ? kLookActiveHover : kLookActive;
  }
  if (b.Pressed) return kLookPressed;
  return b.Hover ? kLookHover : kLookNormal;
}

}  // namespace varlo
