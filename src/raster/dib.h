// Pixel buffers: 24-bit (or 32-bit with alpha) bitmaps with direct,
// bottom-up pixel access.
//
// Row y (0 = top) starts at Bits + (Height - y - 1) * Stride; a pixel's bytes
// are blue, green, red (and alpha). Colours passed in and out are packed as
// red + green * 256 + blue * 65536, red in the low byte. Every picture the
// game draws or analyses lives in a DIB_P: the picture and its turned copies,
// the piece mask, effect layers, the field buffer, skins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "raster/rect.h"

namespace varlo {

// Allocator of pixel memory. Large blocks (a 12 MP picture is 36 MB) come
// straight from the system and ask for huge pages where it offers them: a
// fresh bitmap is then touched with a few hundred page faults instead of
// nine thousand. Small blocks use the ordinary heap.
void* AllocatePixelMemory(size_t bytes);  // throws std::bad_alloc
void FreePixelMemory(void* p, size_t bytes) noexcept;

template <typename T>
struct PixelAllocator {
  using value_type = T;
  PixelAllocator() = default;
  template <typename U>
  PixelAllocator(const PixelAllocator<U>&) noexcept {}
  T* allocate(size_t n) { return static_cast<T*>(AllocatePixelMemory(n * sizeof(T))); }
  void deallocate(T* p, size_t n) noexcept { FreePixelMemory(p, n * sizeof(T)); }
  template <typename U>
  friend bool operator==(const PixelAllocator&, const PixelAllocator<U>&) noexcept {
    return true;
  }
};
using PixelVector = std::vector<uint8_t, PixelAllocator<uint8_t>>;

// The pixel store behind a DIB_P, standing in for the platform's
// device-independent section. It reports its row length padded to two bytes
// (as the platform does); DibAttach turns that into the 4-byte padded stride
// the memory really has.
struct DibBitmap {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitsPerPixel = 0;     // 24 or 32
  int32_t WidthBytes = 0;       // row length padded to 2 bytes
  PixelVector Pixels;           // rows padded to 4 bytes, bottom row first
};

// Upper limits for one bitmap: far above anything the game makes (a 12 MP
// picture with its margin), far below what would exhaust memory when a
// damaged file asks for a huge picture.
inline constexpr int32_t kDibMaxSide = 30000;
inline constexpr int64_t kDibMaxBytes = int64_t{1} << 29;  // 512 MiB

struct DIB_P {
  std::unique_ptr<DibBitmap> Bitmap;  // owner of the pixel memory
  int32_t BytesPerPixel = 0;          // 3 or 4
  int32_t Stride = 0;                 // bytes per row, multiple of 4
  int32_t Width = 0;                  // 0: no bitmap present
  int32_t Height = 0;
  uint8_t* Bits = nullptr;            // start of pixel memory (bottom row)
  int32_t Size = 0;                   // Stride * Height
  uint8_t HasAlpha = 0;               // BytesPerPixel == 4

  DIB_P() = default;
  DIB_P(DIB_P&&) noexcept = default;
  DIB_P& operator=(DIB_P&&) noexcept = default;
  DIB_P(const DIB_P&) = delete;             // pixels are never shared by accident
  DIB_P& operator=(const DIB_P&) = delete;
};

// ---- colours and small helpers ----
struct RGB8 {
  uint8_t r = 0, g = 0, b = 0;
};
RGB8 ColorToRGB(uint32_t colour);
constexpr uint32_t MakeRGB(uint32_t r, uint32_t g, uint32_t b) { return r + g * 256 + b * 65536; }
constexpr int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }
constexpr int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }
constexpr int32_t ClampByte(int32_t v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
constexpr int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v > hi ? hi : (v > lo ? v : lo); }
// Angle at q between q->p and q->r, in radians (0..pi).
struct PointD {
  double x = 0, y = 0;
};
double AngleAt(PointD p, PointD q, PointD r);

// ---- creation and ownership ----
void DibClear(DIB_P& d);
// Free d and make it a new zeroed w x h bitmap. False (and d left empty) for
// sizes that are not positive, beyond kDibMaxSide or kDibMaxBytes, or when
// memory runs out.
bool DibCreate24(DIB_P& d, int32_t w, int32_t h);
bool DibCreate32(DIB_P& d, int32_t w, int32_t h);
void DibAttach(std::unique_ptr<DibBitmap> bitmap, DIB_P& d);
void DibFree(DIB_P& d);
// d := a 24-bit copy of src (any bit depth the game uses).
bool DibFromBitmap(DIB_P& d, const DIB_P& src);

// ---- pixel access ----
inline uint8_t* DibRow(const DIB_P& d, int32_t y) {
  return d.Bits + static_cast<ptrdiff_t>(d.Height - y - 1) * d.Stride;
}
inline uint8_t* DibPixel(const DIB_P& d, int32_t x, int32_t y) {
  return DibRow(d, y) + static_cast<ptrdiff_t>(x) * d.BytesPerPixel;
}
// Colour at (x, y), or -1 outside the bitmap.
int32_t DibGetPixel(const DIB_P& d, int32_t x, int32_t y);
void DibSetPixel(DIB_P& d, int32_t x, int32_t y, uint32_t colour);  // no bounds check
int32_t DibGetAlpha(const DIB_P& d, int32_t x, int32_t y);
bool ClipToBitmap(const DIB_P& d, int32_t& x, int32_t& y, int32_t& w, int32_t& h);

// ---- drawing ----
void DibFillRect(DIB_P& d, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void DibLine(DIB_P& d, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void DibFrame(DIB_P& d, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
// Scan-line fill of the 4-connected area of the seed pixel's colour. bounds
// (when given) receives the filled area's bounding box.
void DibFloodFill(DIB_P& d, int32_t x, int32_t y, uint32_t colour, XRECT* bounds);
// Clipped copy with alpha; dw != sw (dh == sh) repeats source column sx
// across the width, dh != sh (dw == sw) repeats source row sy down the height.
void DibDraw(DIB_P& dst, int32_t dx, int32_t dy, const XRECT& clip, const DIB_P& src,
             int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t dw, int32_t dh);
void DibDrawKeyed(DIB_P& dst, int32_t dx, int32_t dy, uint32_t key, const XRECT& clip,
                  const DIB_P& src, int32_t sx, int32_t sy, int32_t sw, int32_t sh,
                  int32_t dw, int32_t dh);
void DibBlit(DIB_P& dst, int32_t dx, int32_t dy, const DIB_P& src, int32_t sx, int32_t sy,
             int32_t w, int32_t h);
void DibScale(DIB_P& dst, const DIB_P& src);
void DibScaleTo(DIB_P& dst, int32_t w, int32_t h, const DIB_P& src);
bool DibRotate90(DIB_P& dst, const DIB_P& src);
bool DibRotate90Margin(DIB_P& dst, const DIB_P& src, int32_t margin);
void DibTint(DIB_P& d, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t key, uint32_t colour);

}  // namespace varlo
