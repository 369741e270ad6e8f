#include "files/thumb_draw.h"

namespace varlo {

namespace {

// The size of a w x h picture fitted into W x H (kept when it fits).
void FittedSize(int32_t w, int32_t h, int32_t W, int32_t H, int32_t& dw, int32_t& dh) {
  dw = w;
  dh = h;
  if (w <= 0 || h <= 0) {
    dw = dh = 0;
    return;
  }
  if (w > W || h > H) {
    const int64_t d = static_cast<int64_t>(H) * w / h;
    if (W < d) {
      dw = W;
      dh = static_cast<int32_t>(static_cast<int64_t>(h) * W / w);
    } else {
      dw = static_cast<int32_t>(d);
      dh = H;
    }
  }
}

void DrawInto(DIB_P& target, int32_t W, int32_t H, const DIB_P& source, const DIB_P* overlay,
              uint32_t background) {
  DibFillRect(target, 0, 0, W, H, background);
  if (source.Width <= 0) return;
  const XRECT r = ThumbRect(source.Width, source.Height, W, H);
  if (r.Width <= 0 || r.Height <= 0) return;
  if (source.Width > kListThumbW || source.Height > kListThumbH) {
    DIB_P scaled;
    if (DibCreate24(scaled, r.Width, r.Height)) {
      DibScale(scaled, source);
      DibBlit(target, r.Left, r.Top, scaled, 0, 0, r.Width, r.Height);
    }
  } else {
    DibBlit(target, r.Left, r.Top, source, 0, 0, r.Width, r.Height);
  }
  if (overlay && overlay->Width > 0) {
    const int32_t x = r.Left > 0 ? r.Left - 1 : r.Left;
    const int32_t y = r.Top > 0 ? r.Top - 1 : r.Top;
    DibBlit(target, x, y, *overlay, 0, 0, 16, 16);
  }
}

}  // namespace

XRECT ThumbRect(int32_t w, int32_t h, int32_t W, int32_t H) {
  int32_t dw = 0, dh = 0;
  FittedSize(w, h, W, H, dw, dh);
  XRECT r;
  RectSetXYWH(r, (W - dw) / 2, (H - dh) / 2, dw, dh);
  return r;
}

void DrawThumb(DIB_P& target, int32_t W, int32_t H, const DIB_P& source,
               const ThumbOptions& options) {
  if (options.MakeNew || target.Width != W || target.Height != H) {
    if (!DibCreate24(target, W, H)) return;
  }
  DrawInto(target, W, H, source, options.Overlay, options.Background);
  if (options.FullCopy) DibFromBitmap(*options.FullCopy, source);
}

void DrawListThumb(DIB_P& target, const DIB_P& source, const DIB_P* overlay) {
  if (target.Width != kListThumbW || target.Height != kListThumbH) {
    if (!DibCreate24(target, kListThumbW, kListThumbH)) return;
  }
  DrawInto(target, kListThumbW, kListThumbH, source, overlay, 0xFFFFFF);
}

}  // namespace varlo
