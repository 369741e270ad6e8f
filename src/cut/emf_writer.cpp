#include "cut/emf_writer.h"

#include <algorithm>
#include <cstring>

#include "cut/emf_records.h"
#include "raster/byte_io.h"

namespace varlo {

namespace {

constexpr uint32_t kHeaderSize = 108;  // the base header and its two extensions
constexpr int32_t kDevicePixels = 1000;
constexpr int32_t kDeviceMillimetres = 254;

void Append32(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t b[4];
  PutU32(b, v);
  out.insert(out.end(), b, b + 4);
}

uint32_t FloatBits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

int32_t Hundredths(int32_t pixels) { return (pixels * 254 + 5) / 10; }

}  // namespace

EmfWriter::EmfWriter(int32_t width, int32_t height) : width_(width), height_(height) {
  out_.assign(kHeaderSize, 0);
  uint8_t* h = out_.data();
  PutU32(h, kEmrHeader);
  PutU32(h + 4, kHeaderSize);
  PutI32(h + kEmfHeaderBounds + 8, width);
  PutI32(h + kEmfHeaderBounds + 12, height);
  PutI32(h + kEmfHeaderFrame + 8, Hundredths(width));
  PutI32(h + kEmfHeaderFrame + 12, Hundredths(height));
  PutU32(h + kEmfHeaderSignature, kEmfSignature);
  PutU32(h + 44, 0x10000);  // version
  PutI32(h + kEmfHeaderDevice, kDevicePixels);
  PutI32(h + kEmfHeaderDevice + 4, kDevicePixels);
  PutI32(h + kEmfHeaderMillimeters, kDeviceMillimetres);
  PutI32(h + kEmfHeaderMillimeters + 4, kDeviceMillimetres);
  PutI32(h + 100, kDeviceMillimetres * 1000);  // micrometres
  PutI32(h + 104, kDeviceMillimetres * 1000);
}

void EmfWriter::Record(uint32_t type, const std::vector<uint32_t>& fields) {
  Append32(out_, type);
  Append32(out_, static_cast<uint32_t>(8 + 4 * fields.size()));
  for (uint32_t f : fields) Append32(out_, f);
  ++records_;
}

void EmfWriter::CreatePen(uint32_t handle, uint32_t colour, bool nullPen) {
  handles_ = std::max(handles_, handle + 1);
  Record(kEmrCreatePen, {handle, nullPen ? 5u : 0u, 1, 0, colour});
}

void EmfWriter::CreateBrush(uint32_t handle, uint32_t colour, bool nullBrush) {
  handles_ = std::max(handles_, handle + 1);
  Record(kEmrCreateBrushIndirect, {handle, nullBrush ? 1u : 0u, colour, 0});
}

void EmfWriter::SelectObject(uint32_t handle) { Record(kEmrSelectObject, {handle}); }
void EmfWriter::DeleteObject(uint32_t handle) { Record(kEmrDeleteObject, {handle}); }
void EmfWriter::SetPolyFillMode(uint32_t mode) { Record(kEmrSetPolyFillMode, {mode}); }
void EmfWriter::SetMapMode(uint32_t mode) { Record(kEmrSetMapMode, {mode}); }
void EmfWriter::SetWindowExt(int32_t cx, int32_t cy) {
  Record(kEmrSetWindowExtEx, {static_cast<uint32_t>(cx), static_cast<uint32_t>(cy)});
}
void EmfWriter::SetViewportExt(int32_t cx, int32_t cy) {
  Record(kEmrSetViewportExtEx, {static_cast<uint32_t>(cx), static_cast<uint32_t>(cy)});
}

void EmfWriter::SetWorldTransform(const float (&m)[6]) {
  std::vector<uint32_t> f;
  for (float v : m) f.push_back(FloatBits(v));
  Record(kEmrSetWorldTransform, f);
}

void EmfWriter::ModifyWorldTransform(const float (&m)[6], uint32_t mode) {
  std::vector<uint32_t> f;
  for (float v : m) f.push_back(FloatBits(v));
  f.push_back(mode);
  Record(kEmrModifyWorldTransform, f);
}

void EmfWriter::MoveTo(int32_t x, int32_t y) {
  Record(kEmrMoveToEx, {static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
}
void EmfWriter::LineTo(int32_t x, int32_t y) {
  Record(kEmrLineTo, {static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
}

void EmfWriter::Bounds(const std::vector<EmfPoint>& points) {
  int32_t l = 0, t = 0, r = -1, b = -1;
  for (size_t i = 0; i < points.size(); ++i) {
    if (i == 0 || points[i].x < l) l = points[i].x;
    if (i == 0 || points[i].y < t) t = points[i].y;
    if (i == 0 || points[i].x > r) r = points[i].x;
    if (i == 0 || points[i].y > b) b = points[i].y;
  }
  for (int32_t v : {l, t, r, b}) Append32(out_, static_cast<uint32_t>(v));
}

void EmfWriter::PointList(uint32_t type32, const std::vector<EmfPoint>& points, bool wide) {
  const uint32_t type = wide ? type32 : type32 + (kEmrPolyBezier16 - kEmrPolyBezier);
  const uint32_t size = static_cast<uint32_t>(kEmfPolyPoints + points.size() * (wide ? 8 : 4));
  Append32(out_, type);
  Append32(out_, size);
  Bounds(points);
  Append32(out_, static_cast<uint32_t>(points.size()));
  for (const EmfPoint& p : points) {
    if (wide) {
      Append32(out_, static_cast<uint32_t>(p.x));
      Append32(out_, static_cast<uint32_t>(p.y));
    } else {
      Append32(out_, (static_cast<uint32_t>(p.x) & 0xFFFF) | (static_cast<uint32_t>(p.y) << 16));
    }
  }
  ++records_;
}

void EmfWriter::PolyPolygon16(const std::vector<std::vector<EmfPoint>>& figures) {
  std::vector<EmfPoint> all;
  for (const auto& f : figures) all.insert(all.end(), f.begin(), f.end());
  const uint32_t size = static_cast<uint32_t>(kEmfPolyPolyCounts + figures.size() * 4 + all.size() * 4);
  Append32(out_, kEmrPolyPolygon16);
  Append32(out_, size);
  Bounds(all);
  Append32(out_, static_cast<uint32_t>(figures.size()));
  Append32(out_, static_cast<uint32_t>(all.size()));
  for (const auto& f : figures) Append32(out_, static_cast<uint32_t>(f.size()));
  for (const EmfPoint& p : all)
    Append32(out_, (static_cast<uint32_t>(p.x) & 0xFFFF) | (static_cast<uint32_t>(p.y) << 16));
  ++records_;
}

void EmfWriter::BeginPath() { Record(kEmrBeginPath, {}); }
void EmfWriter::EndPath() { Record(kEmrEndPath, {}); }
void EmfWriter::CloseFigure() { Record(kEmrCloseFigure, {}); }
void EmfWriter::FillPath() { Record(kEmrFillPath, {0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_)}); }
void EmfWriter::StrokeAndFillPath() {
  Record(kEmrStrokeAndFillPath, {0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_)});
}

std::vector<uint8_t> EmfWriter::Finish() {
  Record(kEmrEof, {0, 16, 20});  // no palette entries; the size of this record
  PutU32(out_.data() + kEmfHeaderBytes, static_cast<uint32_t>(out_.size()));
  PutU32(out_.data() + kEmfHeaderRecords, records_);
  PutU16(out_.data() + kEmfHeaderHandles, static_cast<uint16_t>(handles_));
  std::vector<uint8_t> done;
  done.swap(out_);
  return done;
}

}  // namespace varlo
