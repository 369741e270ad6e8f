// Pixel buffers and the raster operations every drawing of the game is made
// of. All per-pixel work walks rows through DibRow / DibPixel directly; in the
// bottom-up layout the next row down lies Stride bytes lower in memory.
#include "raster/dib.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace varlo {

namespace {

constexpr int32_t kFixOne = 32768;  // 1.0 in the 15-bit fixed point of the scaler
constexpr int kFixShift = 15;

// Row length of a w-pixel row padded to two bytes, the way the platform
// reports it.
int64_t WidthBytesOf(int64_t w, int32_t bitsPerPixel) {
  const int64_t raw = (w * bitsPerPixel + 7) / 8;
  return (raw + 1) & ~int64_t{1};
}

bool CreateDib(DIB_P& d, int32_t w, int32_t h, int32_t bitsPerPixel) {
  DibFree(d);
  if (w <= 0 || h <= 0 || w > kDibMaxSide || h > kDibMaxSide) return false;
  const int64_t widthBytes = WidthBytesOf(w, bitsPerPixel);
  const int64_t stride = (widthBytes + 3) & ~int64_t{3};
  const int64_t bytes = stride * h;
  if (bytes > kDibMaxBytes) return false;
  try {
    auto bitmap = std::make_unique<DibBitmap>();
    bitmap->Width = w;
    bitmap->Height = h;
    bitmap->BitsPerPixel = bitsPerPixel;
    bitmap->WidthBytes = static_cast<int32_t>(widthBytes);
    bitmap->Pixels.assign(static_cast<size_t>(bytes), 0);
    DibAttach(std::move(bitmap), d);
  } catch (const std::bad_alloc&) {
    DibClear(d);
    return false;
  }
  return d.Width > 0;
}

inline bool SameBgr(const uint8_t* p, uint8_t b, uint8_t g, uint8_t r) {
  return p[0] == b && p[1] == g && p[2] == r;
}

inline void PutBgr(uint8_t* p, uint8_t b, uint8_t g, uint8_t r) {
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

// Clips a w x h copy from (sx, sy) of src to (dx, dy) of dst to both bitmaps.
bool ClipCopy(const DIB_P& dst, int32_t& dx, int32_t& dy, const DIB_P& src, int32_t& sx,
              int32_t& sy, int32_t& w, int32_t& h) {
  XRECT bounds;
  RectSetXYWH(bounds, 0, 0, dst.Width, dst.Height);
  if (!ClipToRect(bounds, dx, dy, w, h, sx, sy)) return false;
  // The same clip seen from the source side: moving the source offset in
  // moves the destination along.
  RectSetXYWH(bounds, 0, 0, src.Width, src.Height);
  return ClipToRect(bounds, sx, sy, w, h, dx, dy);
}

// ---- DibDraw / DibDrawKeyed ----

struct DrawArea {
  int32_t x, y, w, h;  // destination, clipped
  int32_t sx, sy;      // source pixel of the destination's top-left
  bool repeatColumn;   // horizontal strip: one source column across
  bool repeatRow;      // vertical strip: one source row down
};

bool PlanDraw(const DIB_P& dst, int32_t dx, int32_t dy, const XRECT& clip, const DIB_P& src,
              int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dw, int32_t dh,
              DrawArea& a) {
  if (dst.Width <= 0 || src.Width <= 0) return false;
  if (dw != sw && dh != sh) return false;  // no general stretching
  a.repeatColumn = dw != sw;
  a.repeatRow = dh != sh;
  a.x = dx;
  a.y = dy;
  a.w = dw;
  a.h = dh;
  a.sx = sx;
  a.sy = sy;
  XRECT bounds;
  RectSetXYWH(bounds, 0, 0, dst.Width, dst.Height);
  if (!ClipToRect(bounds, a.x, a.y, a.w, a.h, a.sx, a.sy)) return false;
  if (!ClipToRect(clip, a.x, a.y, a.w, a.h, a.sx, a.sy)) return false;
  // Along a stretched axis the one source column or row stays put.
  if (a.repeatColumn) a.sx = sx;
  if (a.repeatRow) a.sy = sy;
  // Never read outside the source: a repeated column or row must exist, and a
  // 1:1 axis is clipped to the source like a block copy.
  if (a.repeatColumn) {
    if (a.sx < 0 || a.sx >= src.Width) return false;
  } else {
    if (a.sx < 0) {
      a.x -= a.sx;
      a.w += a.sx;
      a.sx = 0;
    }
    if (int64_t{a.sx} + a.w > src.Width) a.w = src.Width - a.sx;
  }
  if (a.repeatRow) {
    if (a.sy < 0 || a.sy >= src.Height) return false;
  } else {
    if (a.sy < 0) {
      a.y -= a.sy;
      a.h += a.sy;
      a.sy = 0;
    }
    if (int64_t{a.sy} + a.h > src.Height) a.h = src.Height - a.sy;
  }
  return a.w > 0 && a.h > 0;
}

template <int DB, int SB>
void DrawRows(DIB_P& dst, const DIB_P& src, const DrawArea& a) {
  const ptrdiff_t sstep = a.repeatColumn ? 0 : SB;
  for (int32_t j = 0; j < a.h; ++j) {
    uint8_t* d = DibPixel(dst, a.x, a.y + j);
    const uint8_t* s = DibRow(src, a.repeatRow ? a.sy : a.sy + j) + static_cast<ptrdiff_t>(a.sx) * SB;
    if constexpr (SB == 4) {
      for (int32_t i = 0; i < a.w; ++i, d += DB, s += sstep) {
        const uint32_t alpha = s[3];
        if (alpha == 255) {
          PutBgr(d, s[0], s[1], s[2]);
        } else if (alpha != 0) {
          const uint32_t keep = 255 - alpha;
          // Reads first: a store through d could otherwise be taken to
          // change the source bytes still to be read.
          const uint32_t b = (d[0] * keep + s[0] * alpha) / 255;
          const uint32_t g = (d[1] * keep + s[1] * alpha) / 255;
          const uint32_t r = (d[2] * keep + s[2] * alpha) / 255;
          PutBgr(d, static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r));
        }
      }
    } else if (DB == SB && sstep != 0) {
      std::memmove(d, s, static_cast<size_t>(a.w) * SB);
    } else {
      for (int32_t i = 0; i < a.w; ++i, d += DB, s += sstep) PutBgr(d, s[0], s[1], s[2]);
    }
  }
}

template <int DB, int SB>
void DrawRowsKeyed(DIB_P& dst, const DIB_P& src, const DrawArea& a, uint32_t key) {
  const RGB8 k = ColorToRGB(key);
  const ptrdiff_t sstep = a.repeatColumn ? 0 : SB;
  for (int32_t j = 0; j < a.h; ++j) {
    uint8_t* d = DibPixel(dst, a.x, a.y + j);
    const uint8_t* s = DibRow(src, a.repeatRow ? a.sy : a.sy + j) + static_cast<ptrdiff_t>(a.sx) * SB;
    for (int32_t i = 0; i < a.w; ++i, d += DB, s += sstep) {
      if (!SameBgr(s, k.b, k.g, k.r)) PutBgr(d, s[0], s[1], s[2]);
    }
  }
}

template <template <int, int> class F, typename... Args>
void ByDepth(DIB_P& dst, const DIB_P& src, Args&&... args) {
  const bool d4 = dst.BytesPerPixel == 4, s4 = src.BytesPerPixel == 4;
  if (d4 && s4) F<4, 4>::Run(dst, src, args...);
  else if (d4) F<4, 3>::Run(dst, src, args...);
  else if (s4) F<3, 4>::Run(dst, src, args...);
  else F<3, 3>::Run(dst, src, args...);
}

template <int DB, int SB>
struct DrawPlain {
  static void Run(DIB_P& dst, const DIB_P& src, const DrawArea& a) { DrawRows<DB, SB>(dst, src, a); }
};
template <int DB, int SB>
struct DrawKeyed {
  static void Run(DIB_P& dst, const DIB_P& src, const DrawArea& a, uint32_t key) {
    DrawRowsKeyed<DB, SB>(dst, src, a, key);
  }
};

// ---- flood fill ----

// A run of filled pixels on one row, still to be looked at from the next row
// in its direction.
struct Span {
  int32_t left, right, row, dir;
};

template <int BPP>
void FloodFillImpl(DIB_P& d, int32_t x, int32_t y, uint32_t colour, XRECT* bounds) {
  const RGB8 fill = ColorToRGB(colour);
  const uint8_t* seedPixel = DibPixel(d, x, y);
  const uint8_t sb = seedPixel[0], sg = seedPixel[1], sr = seedPixel[2];
  const int32_t w = d.Width, h = d.Height;
  auto isSeed = [&](const uint8_t* row, int32_t px) {
    return SameBgr(row + static_cast<ptrdiff_t>(px) * BPP, sb, sg, sr);
  };
  // Fills the seed-coloured run through column px (px itself seed-coloured)
  // and returns its ends.
  auto fillRun = [&](uint8_t* row, int32_t rowIndex, int32_t px, int32_t& l, int32_t& r) {
    l = px;
    while (l > 0 && isSeed(row, l - 1)) --l;
    r = px;
    while (r + 1 < w && isSeed(row, r + 1)) ++r;
    uint8_t* p = row + static_cast<ptrdiff_t>(l) * BPP;
    for (int32_t i = l; i <= r; ++i, p += BPP) PutBgr(p, fill.b, fill.g, fill.r);
    if (bounds) RectExtend(*bounds, l, rowIndex, r, rowIndex);
  };

  // The stack of open spans. Popped records are recycled by later pushes, so
  // the memory grows only to the deepest point of the fill and is released
  // once at the end.
  std::vector<Span> stack;
  stack.reserve(256);
  int32_t l = 0, r = 0;
  fillRun(DibRow(d, y), y, x, l, r);
  stack.push_back({l, r, y, +1});
  stack.push_back({l, r, y, -1});
  while (!stack.empty()) {
    const Span parent = stack.back();
    stack.pop_back();
    const int32_t row = parent.row + parent.dir;
    if (row < 0 || row >= h) continue;
    uint8_t* rowPtr = DibRow(d, row);
    int32_t px = parent.left;
    while (px <= parent.right) {
      while (px <= parent.right && !isSeed(rowPtr, px)) ++px;
      if (px > parent.right) break;
      fillRun(rowPtr, row, px, l, r);
      stack.push_back({l, r, row, parent.dir});
      // Where the run reaches past the parent by more than the parent's own
      // border pixel, the row it came from has unseen pixels beside it.
      if (l < parent.left - 1 || r > parent.right + 1) stack.push_back({l, r, row, -parent.dir});
      px = r + 2;  // r + 1 is not seed-coloured
    }
  }
}

// ---- quarter turns ----

// dst(innerH - 1 - y, x) := src(x, y) for the inner innerW x innerH area, in
// square blocks so that both the reads and the writes stay in cache. Four
// destination rows are written per pass over a block's source rows, so each
// source row is visited for four neighbouring pixels at a time.
template <int BPP>
void RotateInner(DIB_P& dst, const DIB_P& src, int32_t innerW, int32_t innerH) {
  constexpr int32_t kBlock = 64;
  const ptrdiff_t srcStride = src.Stride;
  for (int32_t y0 = 0; y0 < innerH; y0 += kBlock) {
    const int32_t y1 = Min(y0 + kBlock, innerH);
    for (int32_t x0 = 0; x0 < innerW; x0 += kBlock) {
      const int32_t x1 = Min(x0 + kBlock, innerW);
      int32_t x = x0;
      for (; x + 4 <= x1; x += 4) {
        // Destination rows x .. x+3, columns innerH-1-y for y = y0..y1-1.
        uint8_t* d0 = DibPixel(dst, innerH - 1 - y0, x);
        uint8_t* d1 = DibPixel(dst, innerH - 1 - y0, x + 1);
        uint8_t* d2 = DibPixel(dst, innerH - 1 - y0, x + 2);
        uint8_t* d3 = DibPixel(dst, innerH - 1 - y0, x + 3);
        const uint8_t* sp = DibPixel(src, x, y0);
        for (int32_t y = y0; y < y1; ++y, d0 -= BPP, d1 -= BPP, d2 -= BPP, d3 -= BPP, sp -= srcStride) {
          std::memcpy(d0, sp, BPP);
          std::memcpy(d1, sp + BPP, BPP);
          std::memcpy(d2, sp + 2 * BPP, BPP);
          std::memcpy(d3, sp + 3 * BPP, BPP);
        }
      }
      for (; x < x1; ++x) {
        uint8_t* dp = DibPixel(dst, innerH - 1 - y0, x);
        const uint8_t* sp = DibPixel(src, x, y0);
        for (int32_t y = y0; y < y1; ++y, dp -= BPP, sp -= srcStride) std::memcpy(dp, sp, BPP);
      }
    }
  }
}

bool RotateInto(DIB_P& dst, const DIB_P& src, int32_t innerW, int32_t innerH) {
  if (src.Width <= 0 || src.Height <= 0) {
    DibFree(dst);
    return false;
  }
  DIB_P out;
  const bool ok = src.BytesPerPixel == 4 ? DibCreate32(out, src.Height, src.Width)
                                         : DibCreate24(out, src.Height, src.Width);
  if (!ok) {
    DibFree(dst);
    return false;
  }
  if (innerW > 0 && innerH > 0) {
    if (src.BytesPerPixel == 4)
      RotateInner<4>(out, src, innerW, innerH);
    else
      RotateInner<3>(out, src, innerW, innerH);
  }
  dst = std::move(out);  // after the turn, so that dst may be src itself
  return true;
}

// ---- bilinear scaling ----

template <int DB, int SB>
void ScaleImpl(DIB_P& dst, int32_t w, int32_t h, const DIB_P& src) {
  const int32_t srcW = src.Width, srcH = src.Height;
  const int64_t xStep = (int64_t{srcW - 1} * kFixOne) / w;
  const int64_t yStep = (int64_t{srcH - 1} * kFixOne) / h;
  // Per destination column: byte offset of the left source pixel and the
  // horizontal fraction; the right pixel is the next one (the same one in a
  // one-pixel-wide source).
  std::vector<int32_t> leftOff(static_cast<size_t>(w)), fxs(static_cast<size_t>(w));
  const ptrdiff_t right = srcW > 1 ? SB : 0;
  int64_t e = 0;
  for (int32_t j = 0; j < w; ++j, e += xStep) {
    leftOff[j] = static_cast<int32_t>(e >> kFixShift) * SB;
    fxs[j] = static_cast<int32_t>(e & (kFixOne - 1));
  }
  int64_t c = 0;
  for (int32_t i = 0; i < h; ++i, c += yStep) {
    const int32_t top = static_cast<int32_t>(c >> kFixShift);
    const int32_t bottom = srcH > 1 ? top + 1 : top;
    const uint32_t fy = static_cast<uint32_t>(c & (kFixOne - 1));
    const uint8_t* t = DibRow(src, top);
    const uint8_t* b = DibRow(src, bottom);
    uint8_t* d = DibRow(dst, i);
    for (int32_t j = 0; j < w; ++j, d += DB) {
      const uint32_t fx = static_cast<uint32_t>(fxs[j]);
      const uint32_t wTR = (fx * (kFixOne - fy)) >> kFixShift;
      const uint32_t wTL = kFixOne - fy - wTR;
      const uint32_t wBR = (fy * fx) >> kFixShift;
      const uint32_t wBL = fy - wBR;
      const uint8_t* tl = t + leftOff[j];
      const uint8_t* bl = b + leftOff[j];
      // All reads before the writes: the compiler cannot know that d never
      // overlaps the source rows, and would otherwise reload after each store.
      const uint32_t blue = (tl[0] * wTL + tl[right] * wTR + bl[0] * wBL + bl[right] * wBR) >> kFixShift;
      const uint32_t green =
          (tl[1] * wTL + tl[right + 1] * wTR + bl[1] * wBL + bl[right + 1] * wBR) >> kFixShift;
      const uint32_t red = (tl[2] * wTL + tl[right + 2] * wTR + bl[2] * wBL + bl[right + 2] * wBR) >> kFixShift;
      d[0] = static_cast<uint8_t>(blue);
      d[1] = static_cast<uint8_t>(green);
      d[2] = static_cast<uint8_t>(red);
    }
  }
}

template <int DB, int SB>
struct ScaleRun {
  static void Run(DIB_P& dst, const DIB_P& src, int32_t w, int32_t h) { ScaleImpl<DB, SB>(dst, w, h, src); }
};

}  // namespace

// ---- pixel memory ----

namespace {
// From this size on, pixel memory is mapped from the system by itself.
constexpr size_t kMappedPixelBytes = size_t{4} << 20;
}  // namespace

void* AllocatePixelMemory(size_t bytes) {
#if defined(__linux__)
  if (bytes >= kMappedPixelBytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
    madvise(p, bytes, MADV_HUGEPAGE);  // a hint; without huge pages all still works
    return p;
  }
#endif
  void* p = std::malloc(bytes ? bytes : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

void FreePixelMemory(void* p, size_t bytes) noexcept {
  if (!p) return;
#if defined(__linux__)
  if (bytes >= kMappedPixelBytes) {
    munmap(p, bytes);
    return;
  }
#else
  (void)bytes;
#endif
  std::free(p);
}

// ---- small helpers ----

RGB8 ColorToRGB(uint32_t colour) {
  RGB8 c;
  c.r = static_cast<uint8_t>(colour & 0xFF);
  c.g = static_cast<uint8_t>((colour >> 8) & 0xFF);
  c.b = static_cast<uint8_t>((colour >> 16) & 0xFF);
  return c;
}

double AngleAt(PointD p, PointD q, PointD r) {
  const double ux = p.x - q.x, uy = p.y - q.y;
  const double vx = r.x - q.x, vy = r.y - q.y;
  const double len = std::sqrt(ux * ux + uy * uy) * std::sqrt(vx * vx + vy * vy);
  // A leg of length zero has no direction; call the angle 0 rather than
  // hand NaN to the caller.
  if (len == 0) return 0;
  double cosine = (ux * vx + uy * vy) / len;
  if (cosine > 1) cosine = 1;  // rounding may step just outside acos's domain
  if (cosine < -1) cosine = -1;
  return std::acos(cosine);
}

// ---- creation and ownership ----

void DibClear(DIB_P& d) { d = DIB_P{}; }

bool DibCreate24(DIB_P& d, int32_t w, int32_t h) { return CreateDib(d, w, h, 24); }
bool DibCreate32(DIB_P& d, int32_t w, int32_t h) { return CreateDib(d, w, h, 32); }

void DibAttach(std::unique_ptr<DibBitmap> bitmap, DIB_P& d) {
  DibClear(d);
  if (!bitmap || (bitmap->BitsPerPixel != 24 && bitmap->BitsPerPixel != 32) || bitmap->Width <= 0 ||
      bitmap->Height <= 0)
    return;
  // The platform reports rows padded to 2 bytes; the memory pads them to 4.
  const int64_t stride = int64_t{bitmap->WidthBytes} + bitmap->WidthBytes % 4;
  const int64_t size = stride * bitmap->Height;
  const int64_t minRow = int64_t{bitmap->Width} * (bitmap->BitsPerPixel / 8);
  // A bitmap whose memory does not hold the rows it claims is refused.
  if (stride < minRow || size > kDibMaxBytes || static_cast<int64_t>(bitmap->Pixels.size()) < size) return;
  d.BytesPerPixel = bitmap->BitsPerPixel / 8;
  d.Stride = static_cast<int32_t>(stride);
  d.Width = bitmap->Width;
  d.Height = bitmap->Height;
  d.Bits = bitmap->Pixels.data();
  d.Size = static_cast<int32_t>(size);
  d.HasAlpha = d.BytesPerPixel == 4 ? 1 : 0;
  d.Bitmap = std::move(bitmap);
}

void DibFree(DIB_P& d) { DibClear(d); }

bool DibFromBitmap(DIB_P& d, const DIB_P& src) {
  if (src.Width <= 0) {
    DibFree(d);
    return false;
  }
  DIB_P out;
  if (!DibCreate24(out, src.Width, src.Height)) {
    DibFree(d);
    return false;
  }
  for (int32_t y = 0; y < src.Height; ++y) {
    const uint8_t* s = DibRow(src, y);
    uint8_t* o = DibRow(out, y);
    if (src.BytesPerPixel == 3) {
      std::memcpy(o, s, static_cast<size_t>(src.Width) * 3);
    } else {
      for (int32_t x = 0; x < src.Width; ++x, o += 3, s += src.BytesPerPixel) PutBgr(o, s[0], s[1], s[2]);
    }
  }
  d = std::move(out);
  return true;
}

// ---- pixel access ----

int32_t DibGetPixel(const DIB_P& d, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= d.Width || y >= d.Height) return -1;
  const uint8_t* p = DibPixel(d, x, y);
  return static_cast<int32_t>(MakeRGB(p[2], p[1], p[0]));
}

void DibSetPixel(DIB_P& d, int32_t x, int32_t y, uint32_t colour) {
  const RGB8 c = ColorToRGB(colour);
  PutBgr(DibPixel(d, x, y), c.b, c.g, c.r);
}

int32_t DibGetAlpha(const DIB_P& d, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= d.Width || y >= d.Height) return 0;
  if (!d.HasAlpha) return 255;
  return DibPixel(d, x, y)[3];
}

bool ClipToBitmap(const DIB_P& d, int32_t& x, int32_t& y, int32_t& w, int32_t& h) {
  if (x < 0) {
    w += x;
    x = 0;
  }
  if (y < 0) {
    h += y;
    y = 0;
  }
  if (int64_t{x} + w > d.Width) w = d.Width - x;
  if (int64_t{y} + h > d.Height) h = d.Height - y;
  return w > 0 && h > 0;
}

// ---- drawing ----

void DibFillRect(DIB_P& d, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  if (d.Width <= 0 || !ClipToBitmap(d, x, y, w, h)) return;
  const RGB8 c = ColorToRGB(colour);
  const int32_t bpp = d.BytesPerPixel;
  uint8_t* first = DibPixel(d, x, y);
  uint8_t* p = first;
  for (int32_t i = 0; i < w; ++i, p += bpp) PutBgr(p, c.b, c.g, c.r);
  for (int32_t j = 1; j < h; ++j) {
    uint8_t* row = DibPixel(d, x, y + j);
    if (bpp == 3) {
      std::memcpy(row, first, static_cast<size_t>(w) * 3);
    } else {
      for (int32_t i = 0; i < w; ++i, row += bpp) PutBgr(row, c.b, c.g, c.r);
    }
  }
}

void DibLine(DIB_P& d, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
  if (d.Width <= 0) return;
  const RGB8 c = ColorToRGB(colour);
  const int32_t bpp = d.BytesPerPixel;
  auto plot = [&](int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= d.Width || y >= d.Height) return;
    PutBgr(DibPixel(d, static_cast<int32_t>(x), static_cast<int32_t>(y)), c.b, c.g, c.r);
  };
  if (y1 == y2) {  // horizontal run, also the single point
    if (y1 < 0 || y1 >= d.Height) return;
    const int32_t from = Max(Min(x1, x2), 0), to = Min(Max(x1, x2), d.Width - 1);
    if (from > to) return;
    uint8_t* p = DibRow(d, y1) + static_cast<ptrdiff_t>(from) * bpp;
    for (int32_t x = from; x <= to; ++x, p += bpp) PutBgr(p, c.b, c.g, c.r);
    return;
  }
  if (x1 == x2) {  // vertical run
    if (x1 < 0 || x1 >= d.Width) return;
    const int32_t from = Max(Min(y1, y2), 0), to = Min(Max(y1, y2), d.Height - 1);
    for (int32_t y = from; y <= to; ++y) PutBgr(DibPixel(d, x1, y), c.b, c.g, c.r);
    return;
  }
  // Bresenham: the major axis steps one pixel at a time; the error term is
  // kept doubled so that it stays integer.
  int64_t x = x1, y = y1;
  const int64_t dx = std::llabs(int64_t{x2} - x1), dy = std::llabs(int64_t{y2} - y1);
  const int64_t sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
  if (dx >= dy) {
    int64_t err = 2 * dy - dx;
    for (int64_t i = 0; i <= dx; ++i) {
      plot(x, y);
      if ((sx > 0 && x >= d.Width) || (sx < 0 && x < 0)) break;  // left the bitmap for good
      if (err > 0) {
        y += sy;
        err -= 2 * dx;
      }
      err += 2 * dy;
      x += sx;
    }
  } else {
    int64_t err = 2 * dx - dy;
    for (int64_t i = 0; i <= dy; ++i) {
      plot(x, y);
      if ((sy > 0 && y >= d.Height) || (sy < 0 && y < 0)) break;
      if (err > 0) {
        x += sx;
        err -= 2 * dy;
      }
      err += 2 * dx;
      y += sy;
    }
  }
}

void DibFrame(DIB_P& d, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
  // A frame of no width or height has no edges (the edge formulas would
  // draw outside the rectangle).
  if (w <= 0 || h <= 0) return;
  const int32_t r = x + w - 1, b = y + h - 1;
  DibLine(d, x, y, r, y, colour);
  DibLine(d, r, y, r, b, colour);
  DibLine(d, r, b, x, b, colour);
  DibLine(d, x, b, x, y, colour);
}

void DibFloodFill(DIB_P& d, int32_t x, int32_t y, uint32_t colour, XRECT* bounds) {
  if (bounds) RectSetLTRB(*bounds, x, y, x, y);
  const int32_t seed = DibGetPixel(d, x, y);
  // Only the colour bytes are ever written, so that is what "already the
  // fill colour" has to compare (otherwise the fill would never end).
  if (seed < 0 || static_cast<uint32_t>(seed) == (colour & 0xFFFFFF)) return;
  if (d.BytesPerPixel == 4)
    FloodFillImpl<4>(d, x, y, colour, bounds);
  else
    FloodFillImpl<3>(d, x, y, colour, bounds);
}

void DibDraw(DIB_P& dst, int32_t dx, int32_t dy, const XRECT& clip, const DIB_P& src, int32_t sx,
             int32_t sy, int32_t sw, int32_t sh, int32_t dw, int32_t dh) {
  DrawArea a{};
  if (!PlanDraw(dst, dx, dy, clip, src, sx, sy, sw, sh, dw, dh, a)) return;
  ByDepth<DrawPlain>(dst, src, a);
}

void DibDrawKeyed(DIB_P& dst, int32_t dx, int32_t dy, uint32_t key, const XRECT& clip,
                  const DIB_P& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dw,
                  int32_t dh) {
  DrawArea a{};
  if (!PlanDraw(dst, dx, dy, clip, src, sx, sy, sw, sh, dw, dh, a)) return;
  ByDepth<DrawKeyed>(dst, src, a, key);
}

void DibBlit(DIB_P& dst, int32_t dx, int32_t dy, const DIB_P& src, int32_t sx, int32_t sy,
             int32_t w, int32_t h) {
  if (dst.Width <= 0 || src.Width <= 0) return;
  if (!ClipCopy(dst, dx, dy, src, sx, sy, w, h)) return;
  const bool same = dst.BytesPerPixel == src.BytesPerPixel;
  // Within one bitmap a copy downwards must start from its last row.
  const bool backwards = &dst == &src && dy > sy;
  for (int32_t k = 0; k < h; ++k) {
    const int32_t j = backwards ? h - 1 - k : k;
    uint8_t* d = DibPixel(dst, dx, dy + j);
    const uint8_t* s = DibPixel(src, sx, sy + j);
    if (same) {
      std::memmove(d, s, static_cast<size_t>(w) * dst.BytesPerPixel);
    } else {
      for (int32_t i = 0; i < w; ++i, d += dst.BytesPerPixel, s += src.BytesPerPixel) PutBgr(d, s[0], s[1], s[2]);
    }
  }
}

void DibScale(DIB_P& dst, const DIB_P& src) { DibScaleTo(dst, dst.Width, dst.Height, src); }

void DibScaleTo(DIB_P& dst, int32_t w, int32_t h, const DIB_P& src) {
  if (dst.Width <= 0 || src.Width <= 0 || w <= 0 || h <= 0) return;
  w = Min(w, dst.Width);
  h = Min(h, dst.Height);
  if (&dst == &src) {  // scaling onto itself: read from a copy
    DIB_P copy;
    const bool made = src.BytesPerPixel == 4 ? DibCreate32(copy, src.Width, src.Height)
                                             : DibCreate24(copy, src.Width, src.Height);
    if (!made) return;
    DibBlit(copy, 0, 0, src, 0, 0, src.Width, src.Height);
    ByDepth<ScaleRun>(dst, copy, w, h);
    return;
  }
  ByDepth<ScaleRun>(dst, src, w, h);
}

bool DibRotate90(DIB_P& dst, const DIB_P& src) { return RotateInto(dst, src, src.Width, src.Height); }

bool DibRotate90Margin(DIB_P& dst, const DIB_P& src, int32_t margin) {
  if (margin < 0) {
    DibFree(dst);
    return false;
  }
  return RotateInto(dst, src, src.Width - margin, src.Height - margin);
}

void DibTint(DIB_P& d, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t key, uint32_t colour) {
  if (d.Width <= 0 || !ClipToBitmap(d, x, y, w, h)) return;
  const RGB8 k = ColorToRGB(key);
  const RGB8 c = ColorToRGB(colour);
  const uint8_t hb = c.b / 2, hg = c.g / 2, hr = c.r / 2;
  const int32_t bpp = d.BytesPerPixel;
  for (int32_t j = 0; j < h; ++j) {
    uint8_t* p = DibPixel(d, x, y + j);
    for (int32_t i = 0; i < w; ++i, p += bpp) {
      if (SameBgr(p, k.b, k.g, k.r)) continue;
      // Halves of two bytes never pass 254, so no limit is needed in practice.
      p[0] = static_cast<uint8_t>(p[0] / 2 + hb);
      p[1] = static_cast<uint8_t>(p[1] / 2 + hg);
      p[2] = static_cast<uint8_t>(p[2] / 2 + hr);
    }
  }
}

}  // namespace varlo
