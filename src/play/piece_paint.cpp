// The piece pixel rule, row by row on the raw buffers.
#include "play/piece_paint.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varlo {

namespace {

// Shades pixels [x, end) of a run: each channel plus the mask's red minus
// 128, clamped to 0..255, then xor flip. Returns where it stopped; the
// caller finishes the rest pixel by pixel. With SSE2 and a 24-bit mask it
// shades five pixels a step with saturating byte arithmetic; each step
// reads and writes 16 bytes, so it stops while a sixth pixel of the run
// is still ahead (that byte is written again by the next step or the
// caller).
int32_t ShadeRunFast(uint8_t* d, const uint8_t* p, const uint8_t* m, int32_t mb, int32_t x, int32_t end,
                     uint8_t flip) {
#if defined(__SSE2__)
  if (mb != 3) return x;
  const __m128i redMask = _mm_setr_epi8(0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0);
  const __m128i mid = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i flips = _mm_set1_epi8(static_cast<char>(flip));
  for (; x + 6 <= end; x += 5) {
    const __m128i red = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(m + 3 * x)), redMask);
    // The red of each pixel spread over its three bytes.
    const __m128i shade = _mm_or_si128(red, _mm_or_si128(_mm_srli_si128(red, 1), _mm_srli_si128(red, 2)));
    const __m128i up = _mm_subs_epu8(shade, mid), down = _mm_subs_epu8(mid, shade);
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 3 * x));
    v = _mm_xor_si128(_mm_subs_epu8(_mm_adds_epu8(v, up), down), flips);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 3 * x), v);
  }
#else
  (void)d, (void)p, (void)m, (void)mb, (void)end, (void)flip;
#endif
  return x;
}

struct Slots {
  const DIB_P* pic;
  const DIB_P* mask;
  const DIB_P* eff;  // null without an edge effect
};

// The edge effect of the pixels [from, to) of a box row that are not the
// piece's: f is the effect layer's row at the box's left.
struct EdgeLook {
  uint32_t woodBit;
  int32_t shift;
  uint8_t style;
  RGB8 wood;
  int32_t shadeStep;
};

void PaintEdgeSpan(uint8_t* drow, const uint8_t* frow, int32_t from, int32_t to, const EdgeLook& el) {
  for (int32_t i = from; i < to; ++i) {
    const uint8_t* fp = frow + static_cast<ptrdiff_t>(i) * kEffectPixelBytes;
    if (!(EffectBits(fp) & el.woodBit)) continue;
    const int32_t k = static_cast<int32_t>((EffectLevels(fp) >> el.shift) & 7);
    if (k == 0) continue;
    uint8_t* d = drow + 3 * i;
    if (el.style == 1) {
      const int32_t dark = 10 * (k - 1);
      d[0] = static_cast<uint8_t>(Max(0, el.wood.b - dark));
      d[1] = static_cast<uint8_t>(Max(0, el.wood.g - dark));
      d[2] = static_cast<uint8_t>(Max(0, el.wood.r - dark));
    } else {
      // Unsigned, so that the division by 256 is a shift.
      const uint32_t keep = static_cast<uint32_t>(256 - Max(0, 128 - (k - 1) * el.shadeStep));
      d[0] = static_cast<uint8_t>((d[0] * keep) >> 8);
      d[1] = static_cast<uint8_t>((d[1] * keep) >> 8);
      d[2] = static_cast<uint8_t>((d[2] * keep) >> 8);
    }
  }
}

// Paints a piece from its run list with the top-left of its turned box at
// (dx, dy): the same pixels as PaintArea over the box and its edge band of
// e pixels, but the mask is never tested. The runs are the piece's own
// pixels; with an edge effect the rest of the box gets the effect.
void PaintRuns(DIB_P& target, int32_t dx, int32_t dy, const XRECT& clip, const Slots& s, const TILE_P& t,
               const PieceRunList& list, const PieceLook& look, int32_t e) {
  const DIB_P& pic = *s.pic;
  const DIB_P& mask = *s.mask;
  const DIB_P* eff = s.eff;
  // Box columns [c0, c1) and rows [r0, r1] inside the clip, the target and
  // the mask.
  const int32_t c0 = Max(Max(clip.Left, 0) - dx, Max(0, -t.MapX));
  const int32_t c1 = Min(Min(clip.Right, target.Width - 1) - dx + 1, Min(t.RotW + e, mask.Width - t.MapX));
  const int32_t r0 = Max(Max(clip.Top, 0) - dy, Max(0, -t.MapY));
  const int32_t r1 = Min(Min(clip.Bottom, target.Height - 1) - dy, Min(t.RotH + e - 1, mask.Height - 1 - t.MapY));
  if (c0 >= c1 || r0 > r1) return;
  const bool emboss = look.EmbossStyle != 0;
  const uint8_t flip = t.Sel ? 0xFF : 0;
  const int32_t mb = mask.BytesPerPixel;
  const EdgeLook el{static_cast<uint32_t>(t.WoodBit), 3 * Clamp(t.WoodSlot, 0, 9), look.WoodStyle,
                    ColorToRGB(look.WoodColor), e > 1 ? 112 / (e - 1) : 0};
  for (int32_t r = r0; r <= r1; ++r) {
    const uint32_t first = r < t.RotH ? list.RowStart[r] : 0, last = r < t.RotH ? list.RowStart[r + 1] : 0;
    if (first == last && !eff) continue;
    const int32_t sy = t.MapY + r;
    uint8_t* drow = DibRow(target, dy + r) + static_cast<ptrdiff_t>(dx) * 3;
    const uint8_t* prow = first < last ? DibRow(pic, sy) + static_cast<ptrdiff_t>(t.MapX) * 3 : nullptr;
    const uint8_t* mrow = emboss && first < last ? DibRow(mask, sy) + static_cast<ptrdiff_t>(t.MapX) * mb : nullptr;
    const uint8_t* frow = eff ? EffectPixel(*eff, t.MapX, sy) : nullptr;
    int32_t x = c0;  // where the pixels not yet painted start
    for (uint32_t k = first; k < last; ++k) {
      const int32_t a = Max(list.Runs[k].X, c0);
      const int32_t b = Min(list.Runs[k].X + list.Runs[k].Len, c1);
      if (frow && x < Min(a, c1)) PaintEdgeSpan(drow, frow, x, Min(a, c1), el);
      x = Max(x, b);
      if (a >= b) continue;
      const uint8_t* p = prow + 3 * a;
      uint8_t* d = drow + 3 * a;
      if (!emboss && !flip) {
        std::memcpy(d, p, static_cast<size_t>(b - a) * 3);
      } else if (!emboss) {
        for (int32_t n = 3 * (b - a); n > 0; --n) *d++ = static_cast<uint8_t>(*p++ ^ flip);
      } else {
        const int32_t done = ShadeRunFast(drow, prow, mrow, mb, a, b, flip);
        p += 3 * (done - a);
        d += 3 * (done - a);
        const uint8_t* m = mrow + static_cast<ptrdiff_t>(done) * mb;
        for (int32_t i = done; i < b; ++i, p += 3, d += 3, m += mb) {
          const int32_t shade = m[2] - 128;
          d[0] = static_cast<uint8_t>(ClampByte(p[0] + shade) ^ flip);
          d[1] = static_cast<uint8_t>(ClampByte(p[1] + shade) ^ flip);
          d[2] = static_cast<uint8_t>(ClampByte(p[2] + shade) ^ flip);
        }
      }
    }
    if (frow && x < c1) PaintEdgeSpan(drow, frow, x, c1, el);
  }
}

// Paints the source area (sx, sy, w, h) of the piece's slots at (dx, dy).
void PaintArea(DIB_P& target, int32_t dx, int32_t dy, const XRECT& clip, const Slots& s,
               const TILE_P& t, int32_t sx, int32_t sy, int32_t w, int32_t h, const PieceLook& look,
               int32_t e) {
  if (w <= 0 || h <= 0) return;
  if (!ClipToRect(clip, dx, dy, w, h, sx, sy)) return;
  XRECT bounds;
  RectSetXYWH(bounds, 0, 0, target.Width, target.Height);
  if (!ClipToRect(bounds, dx, dy, w, h, sx, sy)) return;
  // Never read outside the mask.
  const DIB_P& mask = *s.mask;
  if (sx < 0) {
    dx -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0) {
    dy -= sy;
    h += sy;
    sy = 0;
  }
  if (sx + w > mask.Width) w = mask.Width - sx;
  if (sy + h > mask.Height) h = mask.Height - sy;
  if (w <= 0 || h <= 0) return;

  const DIB_P& pic = *s.pic;
  const int32_t mb = mask.BytesPerPixel, pb = pic.BytesPerPixel, tb = target.BytesPerPixel;
  const uint8_t key = t.Key;
  const bool emboss = look.EmbossStyle != 0;
  const bool sel = t.Sel != 0;
  const DIB_P* eff = s.eff;
  const uint32_t woodBit = static_cast<uint32_t>(t.WoodBit);
  const int32_t shift = 3 * Clamp(t.WoodSlot, 0, 9);
  const RGB8 wood = ColorToRGB(look.WoodColor);
  const int32_t shadeStep = e > 1 ? 112 / (e - 1) : 0;
  if (!emboss && !sel && !eff && mb == 3 && pb == 3 && tb == 3) {
    // The common case, plain pieces: copy where the mask has the key.
    for (int32_t j = 0; j < h; ++j) {
      const int32_t my = sy + j;
      const int32_t cols = my < pic.Height ? Clamp(pic.Width - sx, 0, w) : 0;
      if (cols == 0) continue;
      const uint8_t* m = DibPixel(mask, sx, my);
      const uint8_t* p = DibPixel(pic, sx, my);
      uint8_t* d = DibPixel(target, dx, dy + j);
      // Runs of the piece's pixels are copied whole; rows of a piece are
      // mostly one or two long runs.
      int32_t i = 0;
      while (i < cols) {
        while (i < cols && m[3 * i] != key) ++i;
        const int32_t start = i;
        while (i < cols && m[3 * i] == key) ++i;
        if (i > start) std::memcpy(d + 3 * start, p + 3 * start, static_cast<size_t>(i - start) * 3);
      }
    }
    return;
  }
  for (int32_t j = 0; j < h; ++j) {
    const int32_t my = sy + j;
    const uint8_t* m = DibPixel(mask, sx, my);
    uint8_t* d = DibPixel(target, dx, dy + j);
    // Pixels past the picture (in the mask's margin) are never the piece's.
    const int32_t picCols = my < pic.Height ? Clamp(pic.Width - sx, 0, w) : 0;
    const uint8_t* p = picCols > 0 ? DibPixel(pic, sx, my) : nullptr;
    const uint8_t* f = eff ? EffectPixel(*eff, sx, my) : nullptr;
    for (int32_t i = 0; i < w; ++i, m += mb, d += tb) {
      if (m[0] == key && i < picCols) {
        const uint8_t* src = p + static_cast<ptrdiff_t>(i) * pb;
        int32_t b = src[0], g = src[1], r = src[2];
        if (emboss) {
          const int32_t shade = m[2] - 128;
          b = ClampByte(b + shade);
          g = ClampByte(g + shade);
          r = ClampByte(r + shade);
        }
        if (sel) {
          b ^= 0xFF;
          g ^= 0xFF;
          r ^= 0xFF;
        }
        d[0] = static_cast<uint8_t>(b);
        d[1] = static_cast<uint8_t>(g);
        d[2] = static_cast<uint8_t>(r);
      } else if (f) {
        const uint8_t* fp = f + static_cast<ptrdiff_t>(i) * kEffectPixelBytes;
        if (!(EffectBits(fp) & woodBit)) continue;
        const int32_t k = static_cast<int32_t>((EffectLevels(fp) >> shift) & 7);
        if (k == 0) continue;
        if (look.WoodStyle == 1) {
          const int32_t dark = 10 * (k - 1);
          d[0] = static_cast<uint8_t>(Max(0, wood.b - dark));
          d[1] = static_cast<uint8_t>(Max(0, wood.g - dark));
          d[2] = static_cast<uint8_t>(Max(0, wood.r - dark));
        } else {
          const int32_t sh = Max(0, 128 - (k - 1) * shadeStep);
          d[0] = static_cast<uint8_t>(d[0] * (256 - sh) / 256);
          d[1] = static_cast<uint8_t>(d[1] * (256 - sh) / 256);
          d[2] = static_cast<uint8_t>(d[2] * (256 - sh) / 256);
        }
      }
    }
  }
}

}  // namespace

int32_t EdgeWidthFor(const Jigsaw& jig, const PieceLook& look, int32_t rot) {
  if (look.WoodStyle == 0 || look.EdgeW <= 0) return 0;
  const DIB_P& eff = jig.Images[kEffectSlot + (rot & 3)];
  const DIB_P& mask = jig.Images[kMaskSlot + (rot & 3)];
  if (eff.Width != mask.Width || eff.Height != mask.Height || eff.Width <= 0) return 0;
  return look.EdgeW;
}

void DrawPieceAt(DIB_P& target, const XRECT& clip, int32_t dstX, int32_t dstY, const Jigsaw& jig,
                 int32_t i, const PieceLook& look, PieceRunCache* runs) {
  if (i < 0 || i >= PieceCount(jig) || target.Width <= 0) return;
  const TILE_P& t = jig.Tiles[i];
  const int32_t r = t.Rot & 3;
  Slots s{&jig.Images[kPictureSlot + r], &jig.Images[kMaskSlot + r], nullptr};
  if (s.pic->Width <= 0 || s.mask->Width <= 0) return;
  const int32_t e = EdgeWidthFor(jig, look, r);
  if (e > 0) s.eff = &jig.Images[kEffectSlot + r];
  if (i == BorderPieceIndex(jig)) {
    // The frame is drawn as four bands, so the picture inside it is never
    // scanned.
    const int32_t iw = jig.Jig.ImageW, ih = jig.Jig.ImageH;
    struct BandArea {
      int32_t x, y, w, h;
    };
    const BandArea bands[4] = {{0, 0, iw + e, 20 + e},
                               {0, ih - 20, iw + e, 20 + e},
                               {0, 20 + e, 20 + e, ih - 40 - e},
                               {iw - 20, 20 + e, 20 + e, ih - 40 - e}};
    for (const BandArea& b : bands)
      PaintArea(target, dstX + b.x, dstY + b.y, clip, s, t, t.MapX + b.x, t.MapY + b.y, b.w, b.h,
                look, e);
    return;
  }
  if (runs && target.BytesPerPixel == 3 && s.pic->BytesPerPixel == 3) {
    if (const PieceRunList* list = runs->Get(jig, i)) {
      PaintRuns(target, dstX, dstY, clip, s, t, *list, look, e);
      return;
    }
  }
  PaintArea(target, dstX, dstY, clip, s, t, t.MapX, t.MapY, t.RotW + e, t.RotH + e, look, e);
}

}  // namespace varlo
