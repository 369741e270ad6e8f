#include "cut/emf_player.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "raster/byte_io.h"

namespace varlo {

namespace {

constexpr uint32_t kStockObject = 0x80000000u;
constexpr uint32_t kPenStyleNull = 5;
constexpr uint32_t kBrushStyleNull = 1;
constexpr uint32_t kFillAlternate = 1;
constexpr uint32_t kFillWinding = 2;
constexpr size_t kMaxObjects = 4096;
constexpr size_t kMaxSavedStates = 64;
// Device points are kept inside this range, so that a wild coordinate can
// never make a line walk for billions of steps.
constexpr double kDeviceLimit = 65536.0;

enum MapMode : uint32_t {
  kMapText = 1,
  kMapLoMetric = 2,
  kMapHiMetric = 3,
  kMapLoEnglish = 4,
  kMapHiEnglish = 5,
  kMapTwips = 6,
  kMapIsotropic = 7,
  kMapAnisotropic = 8,
};

struct Xform {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// a then b.
Xform Multiply(const Xform& a, const Xform& b) {
  return {a.m11 * b.m11 + a.m12 * b.m21,         a.m11 * b.m12 + a.m12 * b.m22,
          a.m21 * b.m11 + a.m22 * b.m21,         a.m21 * b.m12 + a.m22 * b.m22,
          a.dx * b.m11 + a.dy * b.m21 + b.dx,    a.dx * b.m12 + a.dy * b.m22 + b.dy};
}

struct GdiObject {
  enum Kind { None, Pen, Brush } kind = None;
  uint32_t colour = 0;
  bool null = false;
};

struct DcState {
  Xform world;
  uint32_t mapMode = kMapText;
  double winOrgX = 0, winOrgY = 0, winExtX = 1, winExtY = 1;
  double vpOrgX = 0, vpOrgY = 0, vpExtX = 1, vpExtY = 1;
  uint32_t fillMode = kFillAlternate;
  GdiObject pen{GdiObject::Pen, 0, false};           // the stock black pen
  GdiObject brush{GdiObject::Brush, 0xFFFFFF, false};  // the stock white brush
  double curX = 0, curY = 0;                          // logical units
};

struct Figure {
  std::vector<PointD> points;  // bitmap pixels, whole numbers
  bool closed = false;
};

float GetF32(const uint8_t* p) {
  const uint32_t u = GetU32(p);
  float f;
  static_assert(sizeof f == 4);
  std::memcpy(&f, &u, 4);
  return f;
}

double Finite(double v) { return std::isfinite(v) ? v : 0.0; }

GdiObject StockObject(uint32_t index) {
  switch (index) {
    case 0: return {GdiObject::Brush, 0xFFFFFF, false};
    case 1: return {GdiObject::Brush, 0xC0C0C0, false};
    case 2: return {GdiObject::Brush, 0x808080, false};
    case 3: return {GdiObject::Brush, 0x404040, false};
    case 4: return {GdiObject::Brush, 0x000000, false};
    case 5: return {GdiObject::Brush, 0, true};
    case 6: return {GdiObject::Pen, 0xFFFFFF, false};
    case 7: return {GdiObject::Pen, 0x000000, false};
    case 8: return {GdiObject::Pen, 0, true};
    default: return {};
  }
}

class Player {
 public:
  Player(const EmfDrawing& d, DIB_P& target, int32_t x, int32_t y, int32_t w, int32_t h)
      : d_(d), t_(target) {
    const EmfHeaderInfo& hd = d.Header;
    // The frame in reference-device pixels is stretched onto the rectangle.
    const double pxPerMmX = static_cast<double>(hd.DeviceCx) / hd.MillimetersCx;
    const double pxPerMmY = static_cast<double>(hd.DeviceCy) / hd.MillimetersCy;
    double fl = hd.Frame.Left * pxPerMmX / 100.0, fr = hd.Frame.Right * pxPerMmX / 100.0;
    double ft = hd.Frame.Top * pxPerMmY / 100.0, fb = hd.Frame.Bottom * pxPerMmY / 100.0;
    if (!(fr - fl > 0) || !(fb - ft > 0)) {
      fl = hd.Bounds.Left, fr = hd.Bounds.Right, ft = hd.Bounds.Top, fb = hd.Bounds.Bottom;
    }
    const double fw = fr - fl > 0 ? fr - fl : 1.0, fh = fb - ft > 0 ? fb - ft : 1.0;
    outX_ = {w / fw, 0, 0, h / fh, x - fl * w / fw, y - ft * h / fh};
    pxPerMmX_ = pxPerMmX;
    pxPerMmY_ = pxPerMmY;
  }

  void Run() {
    for (const EmfRecord& rec : d_.Records) Play(rec.Type, d_.Bytes.data() + rec.Offset);
  }

 private:
  // ---- coordinates ----
  Xform PageTransform() const {
    const DcState& s = s_;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
      case kMapLoMetric: sx = pxPerMmX_ * 0.1, sy = -pxPerMmY_ * 0.1; break;
      case kMapHiMetric: sx = pxPerMmX_ * 0.01, sy = -pxPerMmY_ * 0.01; break;
      case kMapLoEnglish: sx = pxPerMmX_ * 0.254, sy = -pxPerMmY_ * 0.254; break;
      case kMapHiEnglish: sx = pxPerMmX_ * 0.0254, sy = -pxPerMmY_ * 0.0254; break;
      case kMapTwips: sx = pxPerMmX_ * 25.4 / 1440, sy = -pxPerMmY_ * 25.4 / 1440; break;
      case kMapIsotropic:
      case kMapAnisotropic:
        sx = s.winExtX != 0 ? s.vpExtX / s.winExtX : 1;
        sy = s.winExtY != 0 ? s.vpExtY / s.winExtY : 1;
        if (s.mapMode == kMapIsotropic) {
          const double m = std::min(std::fabs(sx), std::fabs(sy));
          sx = sx < 0 ? -m : m;
          sy = sy < 0 ? -m : m;
        }
        break;
      default: break;
    }
    return {sx, 0, 0, sy, s.vpOrgX - s.winOrgX * sx, s.vpOrgY - s.winOrgY * sy};
  }

  void UpdateTransform() { toBitmap_ = Multiply(Multiply(s_.world, PageTransform()), outX_); }

  // Logical point -> bitmap pixel, rounded as the platform rounds device
  // points before it draws.
  PointD ToBitmap(double x, double y) const {
    const Xform& m = toBitmap_;
    double bx = std::nearbyint(Finite(x * m.m11 + y * m.m21 + m.dx));
    double by = std::nearbyint(Finite(x * m.m12 + y * m.m22 + m.dy));
    return {std::clamp(bx, -kDeviceLimit, kDeviceLimit), std::clamp(by, -kDeviceLimit, kDeviceLimit)};
  }

  // ---- drawing ----
  void Line(PointD a, PointD b, uint32_t colour) {
    DibLine(t_, static_cast<int32_t>(a.x), static_cast<int32_t>(a.y), static_cast<int32_t>(b.x),
            static_cast<int32_t>(b.y), colour);
  }

  void Stroke(const std::vector<Figure>& figures, bool closeAll) {
    if (s_.pen.null) return;
    for (const Figure& f : figures) StrokeFigure(f, closeAll, s_.pen.colour);
  }

  void StrokeFigure(const Figure& f, bool close, uint32_t colour) {
    const auto& p = f.points;
    if (p.empty()) return;
    if (p.size() == 1) Line(p[0], p[0], colour);
    for (size_t i = 1; i < p.size(); ++i) Line(p[i - 1], p[i], colour);
    if ((close || f.closed) && p.size() > 2) Line(p.back(), p.front(), colour);
  }

  // Scan-line fill at the pixel centres, then the outline itself.
  void Fill(const std::vector<Figure>& figures) {
    if (s_.brush.null) return;
    const uint32_t colour = s_.brush.colour;
    struct Edge {
      double x0, y0, x1, y1;
      int dir;
    };
    std::vector<Edge> edges;
    double minY = kDeviceLimit, maxY = -kDeviceLimit;
    for (const Figure& f : figures) {
      const auto& p = f.points;
      for (size_t i = 0; i < p.size(); ++i) {
        const PointD a = p[i], b = p[(i + 1) % p.size()];
        minY = std::min(minY, a.y);
        maxY = std::max(maxY, a.y);
        if (a.y == b.y) continue;
        if (a.y < b.y) edges.push_back({a.x, a.y, b.x, b.y, 1});
        else edges.push_back({b.x, b.y, a.x, a.y, -1});
      }
    }
    if (!edges.empty()) {
      const int32_t rowFrom = static_cast<int32_t>(std::max(minY, 0.0));
      const int32_t rowTo = static_cast<int32_t>(std::min(maxY, static_cast<double>(t_.Height - 1)));
      const RGB8 c = ColorToRGB(colour);
      const int32_t bpp = t_.BytesPerPixel;
      std::vector<std::pair<double, int>> crossings;
      for (int32_t row = rowFrom; row <= rowTo; ++row) {
        const double yc = row;
        crossings.clear();
        for (const Edge& e : edges)
          if (e.y0 <= yc && yc < e.y1)
            crossings.push_back({e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir});
        std::sort(crossings.begin(), crossings.end());
        uint8_t* line = DibRow(t_, row);
        int winding = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
          winding += crossings[i].second;
          const bool inside = s_.fillMode == kFillWinding ? winding != 0 : (i % 2) == 0;
          if (!inside) continue;
          const double from = std::max(std::ceil(crossings[i].first - 1e-9), 0.0);
          const double to = std::min(std::floor(crossings[i + 1].first + 1e-9), t_.Width - 1.0);
          uint8_t* px = line + static_cast<ptrdiff_t>(from) * bpp;
          for (int32_t x = static_cast<int32_t>(from); x <= static_cast<int32_t>(to); ++x, px += bpp) {
            px[0] = c.b;
            px[1] = c.g;
            px[2] = c.r;
          }
        }
      }
    }
    for (const Figure& f : figures) StrokeFigure(f, true, colour);
  }

  // ---- path and figures ----
  Figure& OpenFigure() {
    if (!figureOpen_ || path_.empty()) {
      path_.push_back({{ToBitmap(s_.curX, s_.curY)}, false});
      figureOpen_ = true;
    }
    return path_.back();
  }

  void Flatten(std::vector<PointD>& out, PointD p0, PointD p1, PointD p2, PointD p3) {
    const double len = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                       std::hypot(p3.x - p2.x, p3.y - p2.y);
    const int n = static_cast<int>(std::clamp(std::ceil(len / 2.0), 1.0, 256.0));
    for (int i = 1; i <= n; ++i) {
      const double t = static_cast<double>(i) / n, u = 1 - t;
      const double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
      const double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
      out.push_back({std::nearbyint(x), std::nearbyint(y)});
    }
  }

  // Points of a point list in logical units, with their count.
  std::vector<PointD> LogicalPoints(const uint8_t* p, uint32_t count, bool wide) {
    std::vector<PointD> pts;
    pts.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      if (wide) pts.push_back({static_cast<double>(GetI32(p + size_t{i} * 8)),
                               static_cast<double>(GetI32(p + size_t{i} * 8 + 4))});
      else pts.push_back({static_cast<double>(GetI16(p + size_t{i} * 4)),
                          static_cast<double>(GetI16(p + size_t{i} * 4 + 2))});
    }
    return pts;
  }

  // A Bézier chain continuing from start: groups of three points.
  void AppendBeziers(std::vector<PointD>& out, PointD start, const std::vector<PointD>& logical, size_t from) {
    PointD cur = start;
    for (size_t i = from; i + 2 < logical.size(); i += 3) {
      const PointD c1 = ToBitmap(logical[i].x, logical[i].y);
      const PointD c2 = ToBitmap(logical[i + 1].x, logical[i + 1].y);
      const PointD end = ToBitmap(logical[i + 2].x, logical[i + 2].y);
      Flatten(out, cur, c1, c2, end);
      cur = end;
    }
  }

  void PointList(uint32_t type, const uint8_t* r, bool wide) {
    const uint32_t count = GetU32(r + kEmfPolyCount);
    const std::vector<PointD> lp = LogicalPoints(r + kEmfPolyPoints, count, wide);
    if (lp.empty()) return;
    const uint32_t base = wide ? type : type - (kEmrPolyBezier16 - kEmrPolyBezier);
    const bool continues = base == kEmrPolyBezierTo || base == kEmrPolylineTo;
    Figure fig;
    if (continues) {
      if (inPath_) {
        Figure& open = OpenFigure();
        if (base == kEmrPolyBezierTo) AppendBeziers(open.points, open.points.back(), lp, 0);
        else for (const PointD& q : lp) open.points.push_back(ToBitmap(q.x, q.y));
      } else {
        const PointD start = ToBitmap(s_.curX, s_.curY);
        fig.points.push_back(start);
        if (base == kEmrPolyBezierTo) AppendBeziers(fig.points, start, lp, 0);
        else for (const PointD& q : lp) fig.points.push_back(ToBitmap(q.x, q.y));
        Stroke({fig}, false);
      }
      // The position moves to the last point drawn (a Bézier's last whole
      // group of three).
      const size_t used = base == kEmrPolyBezierTo ? lp.size() / 3 * 3 : lp.size();
      if (used > 0) s_.curX = lp[used - 1].x, s_.curY = lp[used - 1].y;
      return;
    }
    const PointD first = ToBitmap(lp[0].x, lp[0].y);
    fig.points.push_back(first);
    if (base == kEmrPolyBezier) AppendBeziers(fig.points, first, lp, 1);
    else for (size_t i = 1; i < lp.size(); ++i) fig.points.push_back(ToBitmap(lp[i].x, lp[i].y));
    fig.closed = base == kEmrPolygon;
    if (inPath_) {
      path_.push_back(std::move(fig));
      figureOpen_ = !path_.back().closed;
      return;
    }
    if (base == kEmrPolygon) {
      Fill({fig});
      Stroke({fig}, true);
    } else {
      Stroke({fig}, false);
    }
  }

  void PolyPoly(uint32_t type, const uint8_t* r) {
    const bool wide = type == kEmrPolyPolygon || type == kEmrPolyPolyline;
    const bool polygon = type == kEmrPolyPolygon || type == kEmrPolyPolygon16;
    const uint32_t figures = GetU32(r + kEmfPolyPolyCount);
    const uint32_t total = GetU32(r + kEmfPolyPolyTotal);
    const uint8_t* pts = r + kEmfPolyPolyCounts + size_t{figures} * 4;
    const std::vector<PointD> lp = LogicalPoints(pts, total, wide);
    std::vector<Figure> list;
    size_t at = 0;
    for (uint32_t f = 0; f < figures; ++f) {
      const uint32_t n = GetU32(r + kEmfPolyPolyCounts + size_t{f} * 4);
      Figure fig;
      fig.closed = polygon;
      for (uint32_t i = 0; i < n && at < lp.size(); ++i, ++at) fig.points.push_back(ToBitmap(lp[at].x, lp[at].y));
      if (!fig.points.empty()) list.push_back(std::move(fig));
    }
    if (inPath_) {
      for (Figure& f : list) path_.push_back(std::move(f));
      figureOpen_ = false;
      return;
    }
    if (polygon) Fill(list);
    Stroke(list, polygon);
  }

  void Play(uint32_t type, const uint8_t* r) {
    switch (type) {
      case kEmrHeader:
        UpdateTransform();
        break;
      case kEmrPolyBezier: case kEmrPolygon: case kEmrPolyline: case kEmrPolyBezierTo: case kEmrPolylineTo:
        PointList(type, r, true);
        break;
      case kEmrPolyBezier16: case kEmrPolygon16: case kEmrPolyline16: case kEmrPolyBezierTo16:
      case kEmrPolylineTo16:
        PointList(type, r, false);
        break;
      case kEmrPolyPolyline: case kEmrPolyPolygon: case kEmrPolyPolyline16: case kEmrPolyPolygon16:
        PolyPoly(type, r);
        break;
      case kEmrSetWindowExtEx: s_.winExtX = GetI32(r + 8), s_.winExtY = GetI32(r + 12), UpdateTransform(); break;
      case kEmrSetWindowOrgEx: s_.winOrgX = GetI32(r + 8), s_.winOrgY = GetI32(r + 12), UpdateTransform(); break;
      case kEmrSetViewportExtEx: s_.vpExtX = GetI32(r + 8), s_.vpExtY = GetI32(r + 12), UpdateTransform(); break;
      case kEmrSetViewportOrgEx: s_.vpOrgX = GetI32(r + 8), s_.vpOrgY = GetI32(r + 12), UpdateTransform(); break;
      case kEmrSetMapMode: {
        const uint32_t mode = GetU32(r + 8);
        if (mode >= kMapText && mode <= kMapAnisotropic) s_.mapMode = mode;
        UpdateTransform();
        break;
      }
      case kEmrSetPolyFillMode: {
        const uint32_t mode = GetU32(r + 8);
        if (mode == kFillAlternate || mode == kFillWinding) s_.fillMode = mode;
        break;
      }
      case kEmrSetPixelV: {
        const PointD p = ToBitmap(GetI32(r + 8), GetI32(r + 12));
        if (p.x >= 0 && p.y >= 0 && p.x < t_.Width && p.y < t_.Height)
          DibSetPixel(t_, static_cast<int32_t>(p.x), static_cast<int32_t>(p.y), GetU32(r + 16) & 0xFFFFFF);
        break;
      }
      case kEmrMoveToEx:
        s_.curX = GetI32(r + 8), s_.curY = GetI32(r + 12);
        if (inPath_) {
          path_.push_back({{ToBitmap(s_.curX, s_.curY)}, false});
          figureOpen_ = true;
        }
        break;
      case kEmrLineTo: {
        const double x = GetI32(r + 8), y = GetI32(r + 12);
        if (inPath_) OpenFigure().points.push_back(ToBitmap(x, y));
        else if (!s_.pen.null) Line(ToBitmap(s_.curX, s_.curY), ToBitmap(x, y), s_.pen.colour);
        s_.curX = x, s_.curY = y;
        break;
      }
      case kEmrSaveDC:
        if (saved_.size() < kMaxSavedStates) saved_.push_back(s_);
        break;
      case kEmrRestoreDC: {
        const int32_t which = GetI32(r + 8);  // negative: relative to the newest
        if (which < 0 && static_cast<size_t>(-static_cast<int64_t>(which)) <= saved_.size()) {
          const size_t keep = saved_.size() - static_cast<size_t>(-static_cast<int64_t>(which));
          s_ = saved_[keep];
          saved_.resize(keep);
          UpdateTransform();
        }
        break;
      }
      case kEmrSetWorldTransform:
        s_.world = ReadXform(r + 8);
        UpdateTransform();
        break;
      case kEmrModifyWorldTransform: {
        const Xform m = ReadXform(r + 8);
        switch (GetU32(r + 32)) {
          case 1: s_.world = Xform(); break;
          case 2: s_.world = Multiply(m, s_.world); break;
          case 3: s_.world = Multiply(s_.world, m); break;
          case 4: s_.world = m; break;
          default: break;
        }
        UpdateTransform();
        break;
      }
      case kEmrSelectObject: {
        const uint32_t h = GetU32(r + 8);
        GdiObject o = (h & kStockObject) ? StockObject(h & ~kStockObject)
                                         : (h < objects_.size() ? objects_[h] : GdiObject());
        if (o.kind == GdiObject::Pen) s_.pen = o;
        else if (o.kind == GdiObject::Brush) s_.brush = o;
        break;
      }
      case kEmrCreatePen:
        Store(GetU32(r + 8), {GdiObject::Pen, GetU32(r + 24) & 0xFFFFFF, GetU32(r + 12) == kPenStyleNull});
        break;
      case kEmrExtCreatePen:
        Store(GetU32(r + 8), {GdiObject::Pen, GetU32(r + 40) & 0xFFFFFF, (GetU32(r + 28) & 0xF) == kPenStyleNull});
        break;
      case kEmrCreateBrushIndirect:
        Store(GetU32(r + 8), {GdiObject::Brush, GetU32(r + 16) & 0xFFFFFF, GetU32(r + 12) == kBrushStyleNull});
        break;
      case kEmrDeleteObject: {
        const uint32_t h = GetU32(r + 8);
        if (h < objects_.size()) objects_[h] = GdiObject();
        break;
      }
      case kEmrBeginPath:
        path_.clear();
        inPath_ = true;
        figureOpen_ = false;
        break;
      case kEmrEndPath:
        inPath_ = false;
        break;
      case kEmrAbortPath:
        path_.clear();
        inPath_ = false;
        break;
      case kEmrCloseFigure:
        if (inPath_ && figureOpen_ && !path_.empty()) {
          path_.back().closed = true;
          figureOpen_ = false;
        }
        break;
      case kEmrFillPath:
        if (!inPath_) Fill(path_);
        path_.clear();
        break;
      case kEmrStrokeAndFillPath:
        if (!inPath_) {
          Fill(path_);
          Stroke(path_, true);
        }
        path_.clear();
        break;
      case kEmrStrokePath:
        if (!inPath_) Stroke(path_, false);
        path_.clear();
        break;
      default:
        break;  // skipped: text, bitmaps, clipping, comments and the like
    }
  }

  static Xform ReadXform(const uint8_t* p) {
    return {Finite(GetF32(p)),      Finite(GetF32(p + 4)),  Finite(GetF32(p + 8)),
            Finite(GetF32(p + 12)), Finite(GetF32(p + 16)), Finite(GetF32(p + 20))};
  }

  void Store(uint32_t handle, GdiObject o) {
    if (handle == 0 || handle >= kMaxObjects) return;  // handle 0 is the drawing itself
    if (handle >= objects_.size()) objects_.resize(handle + 1);
    objects_[handle] = o;
  }

  const EmfDrawing& d_;
  DIB_P& t_;
  Xform outX_;
  Xform toBitmap_;
  double pxPerMmX_ = 1, pxPerMmY_ = 1;
  DcState s_;
  std::vector<DcState> saved_;
  std::vector<GdiObject> objects_;
  std::vector<Figure> path_;
  bool inPath_ = false;
  bool figureOpen_ = false;
};

}  // namespace

bool EmfPlay(const EmfDrawing& d, DIB_P& target, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (d.Records.empty() || target.Width <= 0 || target.Height <= 0 || !target.Bits || w <= 0 || h <= 0)
    return false;
  if (target.BytesPerPixel != 3 && target.BytesPerPixel != 4) return false;
  Player player(d, target, x, y, w, h);
  player.Run();
  return true;
}

}  // namespace varlo
