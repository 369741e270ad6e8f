// Writes EMF drawings: the shape library's build tool turns its vector
// silhouettes into drawings with it, and tests build their fixtures.
//
// A drawing has a pixel size (the header's bounds 0, 0, Width, Height) on a
// reference device of 1000 x 1000 pixels over 254 x 254 millimetres, so one
// pixel is 25.4 hundredths of a millimetre and the frame is Width x 25.4 by
// Height x 25.4 of them. Records are written as they are asked for; Finish
// adds the end record and fills in the header's totals.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/rect.h"

namespace varlo {

struct EmfPoint {
  int32_t x = 0, y = 0;
};

class EmfWriter {
 public:
  EmfWriter(int32_t width, int32_t height);

  // Any record: its type followed by the given 32-bit fields.
  void Record(uint32_t type, const std::vector<uint32_t>& fields);

  void CreatePen(uint32_t handle, uint32_t colour, bool nullPen = false);
  void CreateBrush(uint32_t handle, uint32_t colour, bool nullBrush = false);
  void SelectObject(uint32_t handle);
  void DeleteObject(uint32_t handle);
  void SetPolyFillMode(uint32_t mode);  // 1 alternate, 2 winding
  void SetMapMode(uint32_t mode);
  void SetWindowExt(int32_t cx, int32_t cy);
  void SetViewportExt(int32_t cx, int32_t cy);
  // m11, m12, m21, m22, dx, dy
  void SetWorldTransform(const float (&m)[6]);
  void ModifyWorldTransform(const float (&m)[6], uint32_t mode);
  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);
  // POLYGON, POLYLINE, POLYBEZIER, POLYBEZIERTO and friends: wide = 32-bit
  // points, else the 16-bit form of the same record.
  void PointList(uint32_t type32, const std::vector<EmfPoint>& points, bool wide);
  void PolyPolygon16(const std::vector<std::vector<EmfPoint>>& figures);
  void BeginPath();
  void EndPath();
  void CloseFigure();
  void FillPath();
  void StrokeAndFillPath();

  std::vector<uint8_t> Finish();

 private:
  void Bounds(const std::vector<EmfPoint>& points);
  std::vector<uint8_t> out_;
  uint32_t records_ = 1;
  uint32_t handles_ = 1;
  int32_t width_, height_;
};

}  // namespace varlo
