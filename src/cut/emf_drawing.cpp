#include "cut/emf_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "raster/byte_io.h"

namespace varlo {

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t RoundToInt32(double v) {
  if (!(v > -2147483648.0)) return std::numeric_limits<int32_t>::min();  // also NaN
  if (v > 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::nearbyint(v));  // halves to even
}

int16_t ToInt16(int64_t v) {
  return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767));
}

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Calls f(x, y) for every point of the records the editors change and stores
// what it answers. Records are walked, so the points lie inside them.
template <typename F>
void ForEachEditablePoint(EmfDrawing& d, F f) {
  for (const EmfRecord& rec : d.Records) {
    uint8_t* r = d.Bytes.data() + rec.Offset;
    if (EmfIsPointList32(rec.Type) && rec.Type != kEmrPolylineTo) {
      const uint32_t count = GetU32(r + kEmfPolyCount);
      for (uint32_t i = 0; i < count; ++i) {
        uint8_t* p = r + kEmfPolyPoints + size_t{i} * 8;
        int64_t x = GetI32(p), y = GetI32(p + 4);
        f(x, y);
        PutI32(p, ToInt32(x));
        PutI32(p + 4, ToInt32(y));
      }
    } else if (EmfIsPointList16(rec.Type) && rec.Type != kEmrPolylineTo16) {
      const uint32_t count = GetU32(r + kEmfPolyCount);
      for (uint32_t i = 0; i < count; ++i) {
        uint8_t* p = r + kEmfPolyPoints + size_t{i} * 4;
        int64_t x = GetI16(p), y = GetI16(p + 2);
        f(x, y);
        PutI16(p, ToInt16(x));
        PutI16(p + 2, ToInt16(y));
      }
    } else if (rec.Type == kEmrMoveToEx || rec.Type == kEmrLineTo) {
      uint8_t* p = r + 8;
      int64_t x = GetI32(p), y = GetI32(p + 4);
      f(x, y);
      PutI32(p, ToInt32(x));
      PutI32(p + 4, ToInt32(y));
    }
  }
}

void SetHeaderSizes(EmfDrawing& d) {
  uint8_t* h = d.Bytes.data();
  PutI32(h + kEmfHeaderBounds + 8, d.Width);
  PutI32(h + kEmfHeaderBounds + 12, d.Height);
  PutI32(h + kEmfHeaderFrame + 8, d.MmWidth);
  PutI32(h + kEmfHeaderFrame + 12, d.MmHeight);
  d.Header.Bounds.Right = d.Width;
  d.Header.Bounds.Bottom = d.Height;
  d.Header.Frame.Right = d.MmWidth;
  d.Header.Frame.Bottom = d.MmHeight;
}

struct Turn {
  double c, s;
  int32_t cx, cy, ox, oy;
  void Apply(int64_t& x, int64_t& y) const {
    const double u = 2.0 * static_cast<double>(x - cx) + 1.0;
    const double v = 2.0 * static_cast<double>(y - cy) + 1.0;
    x = RoundToInt32((u * c - v * s - 1.0) / 2.0 + cx + ox);
    y = RoundToInt32((u * s + v * c - 1.0) / 2.0 + cy + oy);
  }
};

Turn MakeTurn(int32_t w, int32_t h, double degrees, int32_t ox, int32_t oy) {
  const double a = degrees * kPi / 180.0;
  return {std::cos(a), std::sin(a), w / 2, h / 2, ox, oy};
}

}  // namespace

bool EmfLoadDrawing(const uint8_t* data, size_t size, EmfDrawing& d, std::string* error) {
  d = EmfDrawing();
  EmfHeaderInfo header;
  std::vector<EmfRecord> records;
  if (!EmfWalk(data, size, records, &header, error)) return false;
  const int64_t w = int64_t{header.Bounds.Right} - header.Bounds.Left;
  const int64_t h = int64_t{header.Bounds.Bottom} - header.Bounds.Top;
  const int64_t mw = int64_t{header.Frame.Right} - header.Frame.Left;
  const int64_t mh = int64_t{header.Frame.Bottom} - header.Frame.Top;
  constexpr int64_t kMaxSide = 1 << 20;
  if (w <= 0 || h <= 0 || mw <= 0 || mh <= 0 || w > kMaxSide || h > kMaxSide || mw > kMaxSide * 100 ||
      mh > kMaxSide * 100) {
    if (error) *error = "drawing without a size";
    return false;
  }
  d.Bytes.assign(data, data + size);
  d.Records = std::move(records);
  d.Header = header;
  d.Width = static_cast<int32_t>(w);
  d.Height = static_cast<int32_t>(h);
  d.MmWidth = static_cast<int32_t>(mw);
  d.MmHeight = static_cast<int32_t>(mh);
  return true;
}

void EmfFlip(EmfDrawing& d, bool leftRight, bool topBottom) {
  if (d.Records.empty()) return;
  const int64_t w = d.Width, h = d.Height;
  ForEachEditablePoint(d, [&](int64_t& x, int64_t& y) {
    if (leftRight) x = w - x - 1;
    if (topBottom) y = h - y - 1;
  });
  SetHeaderSizes(d);
}

void EmfTurnedSize(int32_t w, int32_t h, double degrees, int32_t& outW, int32_t& outH) {
  const Turn t = MakeTurn(w, h, degrees, 0, 0);
  int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  const int64_t corners[4][2] = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
  for (int i = 0; i < 4; ++i) {
    int64_t x = corners[i][0], y = corners[i][1];
    t.Apply(x, y);
    if (i == 0 || x < minX) minX = x;
    if (i == 0 || x > maxX) maxX = x;
    if (i == 0 || y < minY) minY = y;
    if (i == 0 || y > maxY) maxY = y;
  }
  outW = ToInt32(maxX - minX + 1);
  outH = ToInt32(maxY - minY + 1);
}

void EmfTurn(EmfDrawing& d, double degrees) {
  if (d.Records.empty()) return;
  int32_t w2 = 0, h2 = 0, mw2 = 0, mh2 = 0;
  EmfTurnedSize(d.Width, d.Height, degrees, w2, h2);
  EmfTurnedSize(d.MmWidth, d.MmHeight, degrees, mw2, mh2);
  const Turn t = MakeTurn(d.Width, d.Height, degrees, (w2 - d.Width) / 2, (h2 - d.Height) / 2);
  ForEachEditablePoint(d, [&](int64_t& x, int64_t& y) { t.Apply(x, y); });
  d.Width = w2;
  d.Height = h2;
  d.MmWidth = mw2;
  d.MmHeight = mh2;
  SetHeaderSizes(d);
}

void EmfRecolour(EmfDrawing& d, uint32_t colour) {
  for (const EmfRecord& rec : d.Records) {
    const size_t at = EmfColourOffset(rec.Type);
    if (at) PutU32(d.Bytes.data() + rec.Offset + at, colour & 0xFFFFFFu);
  }
}

}  // namespace varlo
