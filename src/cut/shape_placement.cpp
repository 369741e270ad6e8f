#include "cut/shape_placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cut/cell_layout.h"
#include "cut/emf_player.h"
#include "cut/irregular_voronoi.h"
#include "cut/level_table.h"

namespace varlo {

namespace {

constexpr int32_t kFailNoCommonPiece = 100;
constexpr int32_t kFailNoOutline = 101;

struct Pt {
  double x = 0, y = 0;
};

class Run {
 public:
  Run(IrregularAttempt& a, const ShapeLibrary& lib, ShapePlacementCounts& counts)
      : a_(a), p_(a.Jig), lib_(lib), counts_(counts), rect_{p_.JigsL, p_.JigsT, p_.JigsR, p_.JigsB} {}

  bool Go() {
    const int32_t n = p_.TileNum;
    marked_.assign(static_cast<size_t>(n), 0);
    for (int32_t i = 0; i < n; ++i) marked_[static_cast<size_t>(i)] = Tile(i).Artistic ? 1 : 0;
    if (lib_.Empty()) {
      for (int32_t i = 0; i < n; ++i) Mark(i, false);
      return true;
    }
    ChooseCells();
    for (int32_t i = 0; i < n; ++i)
      if (Marked(i)) {
        if (Interior(i)) PlaceDrawing(i);
        else Mark(i, false);  // a drawing is never put on the rim
      }
    Reshape();
    Trim();
    if (!Crossings()) return false;
    TinyEdges();
    Boxes();
    return true;
  }

 private:
  // ---- cells ----
  TILE_P& Tile(int32_t i) { return a_.Tiles[static_cast<size_t>(i)]; }
  IrregularCell& Cell(int32_t i) { return a_.Cells[static_cast<size_t>(i)]; }
  bool Marked(int32_t i) const { return i >= 0 && i < p_.TileNum && marked_[static_cast<size_t>(i)]; }
  void Mark(int32_t i, bool on) {
    marked_[static_cast<size_t>(i)] = on ? 1 : 0;
    Tile(i).Artistic = on ? 1 : 0;
  }
  bool Interior(int32_t i) const {
    const int32_t r = i / p_.TilePX, c = i % p_.TilePX;
    return r > 0 && r < p_.TilePY - 1 && c > 0 && c < p_.TilePX - 1;
  }
  uint32_t Colour(int32_t i) { return PieceColour(Tile(i).Key); }

  // ---- choosing the cells ----
  void ChooseCells() {
    for (int32_t allowance : {1, 0}) {
      for (int32_t i = 0; i < p_.TileNum; ++i) {
        if (!Interior(i) || !Marked(i)) continue;
        int32_t artisticNeighbours = 0;
        bool onRect = false;
        for (const IrregularEdge& e : Cell(i).Edges) {
          if (e.Neighbour < 0) onRect = true;
          else if (Marked(e.Neighbour)) ++artisticNeighbours;
        }
        if (artisticNeighbours <= allowance && !onRect) continue;
        Mark(i, false);
        const int32_t row = i / p_.TilePX, col = i % p_.TilePX;
        bool found = false;
        for (int32_t dr = -2; dr <= 2 && !found; ++dr)
          for (int32_t dc = -2; dc <= 2 && !found; ++dc) {
            const int32_t r = row + dr, c = col + dc;
            if (r < 0 || c < 0 || r >= p_.TilePY || c >= p_.TilePX) continue;
            const int32_t j = r * p_.TilePX + c;
            if (j == i || !Interior(j) || Marked(j)) continue;
            bool free = true;
            for (const IrregularEdge& e : Cell(j).Edges) free &= e.Neighbour >= 0 && !Marked(e.Neighbour);
            if (!free) continue;
            Mark(j, true);
            found = true;
          }
      }
    }
  }

  // ---- drawing ----
  void PlaceDrawing(int32_t i) {
    TILE_P& t = Tile(i);
    const int32_t count = static_cast<int32_t>(lib_.Entries.size());
    const ShapeEntry& entry = lib_.Entries[static_cast<size_t>(a_.Random.Random(count))];
    int32_t w = entry.DesignWidth, h = entry.DesignHeight;
    if (w > t.BoxW || h > t.BoxH) {
      int64_t nw = int64_t{t.BoxH} * w / h, nh = t.BoxH;
      if (nw > t.BoxW) {
        nw = t.BoxW;
        nh = int64_t{t.BoxW} * h / w;
      }
      w = static_cast<int32_t>(nw);
      h = static_cast<int32_t>(nh);
    }
    w = RoundHalfEven(w * 1.2);
    h = RoundHalfEven(h * 1.2);
    const double scale = h < w ? static_cast<double>(w) / entry.DesignWidth : static_cast<double>(h) / entry.DesignHeight;
    const int32_t angle = a_.Random.Random(60) - 30;
    const bool lr = entry.FlipLeftRight ? a_.Random.Random(2) == 1 : false;
    const bool tb = entry.FlipTopBottom ? a_.Random.Random(2) == 1 : false;

    drawing_ = entry.Drawing;
    EmfFlip(drawing_, lr, tb);
    EmfTurn(drawing_, angle);
    const int32_t sw = RoundHalfEven(scale * drawing_.Width), sh = RoundHalfEven(scale * drawing_.Height);
    const IrregularCell& c = Cell(i);
    const int32_t bx = RoundHalfEven(c.Middle.x) - sw / 2, by = RoundHalfEven(c.Middle.y) - sh / 2;
    EmfRecolour(drawing_, Colour(i));
    if (sw <= 0 || sh <= 0 || !EmfPlay(drawing_, a_.Mask, bx, by, sw, sh)) {
      Mark(i, false);
      return;
    }
    if (Collides(i)) {
      EmfRecolour(drawing_, kMaskWhite);
      EmfPlay(drawing_, a_.Mask, bx, by, sw, sh);
      Mark(i, false);
      ++counts_.Rejected;
      return;
    }
    t.BoxX = bx;
    t.BoxY = by;
    t.BoxW = sw;
    t.BoxH = sh;
    ++counts_.Placed;
  }

  int32_t Pixel(int32_t x, int32_t y) const { return DibGetPixel(a_.Mask, x, y); }
  bool InRect(int32_t x, int32_t y) const {
    return x >= rect_.Left && x <= rect_.Right && y >= rect_.Top && y <= rect_.Bottom;
  }

  // Walks the straight pixel line from a to b (both included); stops when
  // visit answers true and gives back that point.
  template <typename F>
  static bool WalkLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, F visit, int32_t& hx, int32_t& hy) {
    const int32_t dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int32_t err = dx + dy, x = x0, y = y0;
    for (;;) {
      if (visit(x, y)) {
        hx = x, hy = y;
        return true;
      }
      if (x == x1 && y == y1) return false;
      const int32_t e2 = 2 * err;
      if (e2 >= dy) err += dy, x += sx;
      if (e2 <= dx) err += dx, y += sy;
    }
  }

  static bool SharesEndPoint(const IrregularEdge& a, const IrregularEdge& b) {
    auto same = [](double x1, double y1, double x2, double y2) { return x1 == x2 && y1 == y2; };
    return same(a.X1, a.Y1, b.X1, b.Y1) || same(a.X1, a.Y1, b.X2, b.Y2) || same(a.X2, a.Y2, b.X1, b.Y1) ||
           same(a.X2, a.Y2, b.X2, b.Y2);
  }

  bool Collides(int32_t i) {
    const uint32_t colour = Colour(i);
    const uint8_t key = Tile(i).Key;
    const int32_t row = i / p_.TilePX, col = i % p_.TilePX;
    for (int32_t dr = -2; dr <= 2; ++dr)
      for (int32_t dc = -2; dc <= 2; ++dc) {
        const int32_t r = row + dr, c = col + dc;
        if (r < 0 || c < 0 || r >= p_.TilePY || c >= p_.TilePX) continue;
        const int32_t j = r * p_.TilePX + c;
        if (j == i || Marked(j)) continue;
        if (Pixel(Tile(j).CentreX, Tile(j).CentreY) == static_cast<int32_t>(colour)) return true;
      }
    for (const IrregularEdge& shared : Cell(i).Edges) {
      if (shared.Neighbour < 0) continue;
      const int32_t nb = shared.Neighbour;
      for (const IrregularEdge& g : Cell(nb).Edges) {
        if (!g.Active || g.Neighbour == i || SharesEndPoint(g, shared)) continue;
        int32_t hx, hy;
        auto keyed = [&](int32_t x, int32_t y) {
          if (x < 0 || y < 0 || x >= a_.Mask.Width || y >= a_.Mask.Height) return false;
          return DibPixel(a_.Mask, x, y)[0] == key && Pixel(x, y) != static_cast<int32_t>(kMaskWhite);
        };
        if (WalkLine(static_cast<int32_t>(g.X1), static_cast<int32_t>(g.Y1), static_cast<int32_t>(g.X2),
                     static_cast<int32_t>(g.Y2), keyed, hx, hy))
          return true;
      }
    }
    return false;
  }

  // ---- reshaping the cells around the drawings ----

  // A pixel that touches piece a's colour among its eight neighbours inside
  // the jigsaw rectangle (and, with a box, lies inside a's box grown by one).
  bool Touches(int32_t a, int32_t x, int32_t y, bool withinBox) {
    const TILE_P& t = Tile(a);
    if (withinBox && (x < t.BoxX - 1 || y < t.BoxY - 1 || x > t.BoxX + t.BoxW || y > t.BoxY + t.BoxH)) return false;
    const int32_t colour = static_cast<int32_t>(Colour(a));
    for (int32_t dy = -1; dy <= 1; ++dy)
      for (int32_t dx = -1; dx <= 1; ++dx) {
        if ((dx || dy) && InRect(x + dx, y + dy) && Pixel(x + dx, y + dy) == colour) return true;
      }
    return false;
  }

  bool HitSearch(int32_t a, Pt from, Pt to, bool withinBox, Pt& hit) {
    int32_t hx, hy;
    const bool found =
        WalkLine(RoundHalfEven(from.x), RoundHalfEven(from.y), RoundHalfEven(to.x), RoundHalfEven(to.y),
                 [&](int32_t x, int32_t y) { return Touches(a, x, y, withinBox); }, hx, hy);
    if (found) hit = {static_cast<double>(hx), static_cast<double>(hy)};
    return found;
  }

  static double Side(Pt a, Pt b, Pt c) { return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x); }
  static int Sign(double v) { return (v > 0) - (v < 0); }
  static double SegmentDistance(Pt a, Pt b, Pt c) {
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((c.x - a.x) * dx + (c.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.x + t * dx - c.x, a.y + t * dy - c.y);
  }

  Pt Limited(Pt p) const {
    return {std::clamp(std::nearbyint(p.x), static_cast<double>(rect_.Left), static_cast<double>(rect_.Right)),
            std::clamp(std::nearbyint(p.y), static_cast<double>(rect_.Top), static_cast<double>(rect_.Bottom))};
  }

  static Pt Turned(Pt origin, Pt v, double degrees) {
    const double r = degrees * std::numbers::pi / 180, c = std::cos(r), s = std::sin(r);
    return {origin.x + v.x * c - v.y * s, origin.y + v.x * s + v.y * c};
  }

  void ExtendLine(IrregularEdge& e) {
    e.LineX1 = e.X1, e.LineY1 = e.Y1, e.LineX2 = e.X2, e.LineY2 = e.Y2;
    const PointD d{e.X2 - e.X1, e.Y2 - e.Y1};
    if (d.x == 0 && d.y == 0) return;
    PointD from, to;
    if (ClipToJigsawRect(rect_, {e.X1, e.Y1}, {-d.x, -d.y}, true, from, to)) e.LineX1 = to.x, e.LineY1 = to.y;
    if (ClipToJigsawRect(rect_, {e.X2, e.Y2}, d, true, from, to)) e.LineX2 = to.x, e.LineY2 = to.y;
  }

  // Sets an edge's ends (ordered) with the artistic index of each, and the
  // same on its twin.
  void SetEnds(int32_t cell, int32_t edge, Pt p, int16_t artP, Pt q, int16_t artQ, bool newLine) {
    IrregularEdge& e = Cell(cell).Edges[static_cast<size_t>(edge)];
    const bool swap = q.y < p.y || (q.y == p.y && q.x < p.x);
    if (swap) std::swap(p, q), std::swap(artP, artQ);
    e.X1 = p.x, e.Y1 = p.y, e.X2 = q.x, e.Y2 = q.y;
    e.ArtisticEnd1 = artP, e.ArtisticEnd2 = artQ;
    e.Length = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
    e.Changed = 1;
    if (newLine) ExtendLine(e);
    if (IrregularEdge* twin = TwinOf(a_.Cells, cell, edge)) {
      const int16_t keepTwin = twin->Twin;
      const int16_t keepNeighbour = twin->Neighbour;
      const uint8_t keepSide = twin->KnobSide;
      *twin = e;
      twin->Twin = keepTwin;
      twin->Neighbour = keepNeighbour;
      twin->KnobSide = keepSide;
    }
  }

  static bool Near(double x1, double y1, double x2, double y2) {
    return std::fabs(x1 - x2) < 2 && std::fabs(y1 - y2) < 2;
  }

  void Reshape() {
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      if (Marked(n)) continue;
      auto& edges = Cell(n).Edges;
      for (size_t ei = 0; ei < edges.size(); ++ei) {
        const int32_t art = edges[ei].Neighbour;
        if (!Marked(art)) continue;
        bool doneEnd[2] = {false, false};
        for (size_t gi = 0; gi < edges.size() && !(doneEnd[0] && doneEnd[1]); ++gi) {
          if (gi == ei) continue;
          const IrregularEdge& g = edges[gi];
          const IrregularEdge& e = edges[ei];
          if (g.Neighbour < 0 || Marked(g.Neighbour) || !g.Active) continue;
          int which = -1;
          for (int k = 0; k < 2 && which < 0; ++k) {
            const double ex = k ? e.X2 : e.X1, ey = k ? e.Y2 : e.Y1;
            if (!doneEnd[k] && (Near(g.X1, g.Y1, ex, ey) || Near(g.X2, g.Y2, ex, ey))) which = k;
          }
          if (which < 0) continue;
          doneEnd[which] = true;
          ReAim(n, static_cast<int32_t>(gi), art);
        }
      }
    }
  }

  void ReAim(int32_t n, int32_t gi, int32_t art) {
    const IrregularEdge g = Cell(n).Edges[static_cast<size_t>(gi)];
    const Pt centre{static_cast<double>(Tile(art).CentreX), static_cast<double>(Tile(art).CentreY)};
    Pt l1{g.LineX1, g.LineY1}, l2{g.LineX2, g.LineY2};
    // Four cells meeting at one corner leave the two across it an edge
    // of no length and so no line. The boundary between them still runs
    // square to the line between their seeds; without it the space
    // between the drawings at that corner would have no edge and one
    // cell's fill would run into the other.
    const bool pointLine = l1.x == l2.x && l1.y == l2.y;
    if (pointLine && !SeedBisector(n, g, l1, l2)) return;
    // F: the nearest point of the supporting line to the artistic centre.
    const double dx = l2.x - l1.x, dy = l2.y - l1.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((centre.x - l1.x) * dx + (centre.y - l1.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const Pt f{l1.x + t * dx, l1.y + t * dy};
    const Pt mid{(g.X1 + g.X2) / 2, (g.Y1 + g.Y2) / 2};
    bool firstTowardF;
    if (std::fabs(dy) > std::fabs(dx)) firstTowardF = mid.y >= f.y;
    else if (l1.x < l2.x) firstTowardF = mid.x >= f.x;
    else firstTowardF = f.x >= mid.x;
    const Pt T = firstTowardF ? l1 : l2;
    // The kept end is the one away from T. A re-aim that did not turn the
    // edge keeps its old line while the new ends are ordered by their own
    // y and x, so the edge's first end need not lie toward the line's
    // first end any more; keeping the wrong one would drop the end already
    // moved onto another drawing.
    const Pt e1{g.X1, g.Y1}, e2{g.X2, g.Y2};
    const bool keepSecond = std::hypot(e2.x - T.x, e2.y - T.y) >= std::hypot(e1.x - T.x, e1.y - T.y);
    const Pt I = keepSecond ? e2 : e1;
    const int16_t artI = keepSecond ? g.ArtisticEnd2 : g.ArtisticEnd1;

    const int32_t nb = g.Neighbour;
    const Pt own{static_cast<double>(Tile(n).CentreX), static_cast<double>(Tile(n).CentreY)};
    const Pt other{static_cast<double>(Tile(nb).CentreX), static_cast<double>(Tile(nb).CentreY)};
    const int sideOwn = Sign(Side(I, T, own)), sideOther = Sign(Side(I, T, other));
    auto keepsSides = [&](Pt hit) {
      return Sign(Side(I, hit, own)) == sideOwn && Sign(Side(I, hit, other)) == sideOther;
    };

    Pt J;
    bool turned = false;
    bool found = HitSearch(art, I, T, true, J);
    if (!found) {
      const Pt v{T.x - I.x, T.y - I.y};
      auto norm = [](double a) { return a < 0 ? a + 2 * std::numbers::pi : a; };
      const double aT = norm(std::atan2(v.y, v.x)), aC = norm(std::atan2(centre.y - I.y, centre.x - I.x));
      double diff = aC - aT;
      if (diff > std::numbers::pi) diff -= 2 * std::numbers::pi;
      if (diff < -std::numbers::pi) diff += 2 * std::numbers::pi;
      const double sense = diff >= 0 ? 1 : -1;
      for (int k = 1; k <= 9 && !found; ++k) {
        const Pt end = Limited(Turned(I, v, sense * 10 * k));
        Pt hit;
        if (HitSearch(art, I, end, true, hit) && keepsSides(hit)) J = hit, found = turned = true;
      }
    }
    if (!found) return;
    const Pt w{J.x - I.x, J.y - I.y};
    for (int deg = -20; deg <= 20; deg += 2) {
      const Pt end = Limited(Turned(I, w, deg));
      Pt hit;
      if (!HitSearch(art, I, end, true, hit) || !keepsSides(hit)) continue;
      if (std::hypot(hit.x - I.x, hit.y - I.y) >= std::hypot(J.x - I.x, J.y - I.y)) continue;
      if (SegmentDistance(I, hit, own) <= 4 || SegmentDistance(I, hit, other) <= 4) continue;
      J = hit;
      turned = true;
    }
    SetEnds(n, gi, I, artI, J, static_cast<int16_t>(art), turned || pointLine);
  }

  // The line through the point edge g of cell n square to the line between
  // the seeds of n and g's neighbour, run out to the rectangle both ways and
  // its ends ordered like an edge's.
  bool SeedBisector(int32_t n, const IrregularEdge& g, Pt& l1, Pt& l2) {
    const PointI a = Cell(n).Seed, b = Cell(g.Neighbour).Seed;
    const PointD d{-static_cast<double>(b.y - a.y), static_cast<double>(b.x - a.x)};
    if (d.x == 0 && d.y == 0) return false;
    PointD from, to;
    if (!ClipToJigsawRect(rect_, {g.X1, g.Y1}, {-d.x, -d.y}, true, from, to)) return false;
    l1 = {to.x, to.y};
    if (!ClipToJigsawRect(rect_, {g.X1, g.Y1}, d, true, from, to)) return false;
    l2 = {to.x, to.y};
    if (l2.y < l1.y || (l2.y == l1.y && l2.x < l1.x)) std::swap(l1, l2);
    return true;
  }

  // ---- trim, crossings, tiny edges, boxes ----
  bool White(int32_t x, int32_t y) const { return Pixel(x, y) == static_cast<int32_t>(kMaskWhite); }

  void Trim() {
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      if (Marked(n)) continue;
      auto& edges = Cell(n).Edges;
      for (size_t gi = 0; gi < edges.size(); ++gi) {
        IrregularEdge& g = edges[gi];
        if (!g.Active || g.Neighbour < 0 || Marked(g.Neighbour)) continue;
        Pt a{g.X1, g.Y1}, b{g.X2, g.Y2};
        const bool aColoured = !White(RoundHalfEven(a.x), RoundHalfEven(a.y));
        const bool bColoured = !White(RoundHalfEven(b.x), RoundHalfEven(b.y));
        if (!aColoured && !bColoured) continue;
        int32_t hx, hy;
        auto white = [&](int32_t x, int32_t y) { return White(x, y); };
        Pt na = a, nb = b;
        if (aColoured) {
          if (!WalkLine(RoundHalfEven(a.x), RoundHalfEven(a.y), RoundHalfEven(b.x), RoundHalfEven(b.y), white, hx, hy)) {
            g.Active = 0;
            if (IrregularEdge* twin = TwinOf(a_.Cells, n, static_cast<int32_t>(gi))) twin->Active = 0;
            continue;
          }
          na = {static_cast<double>(hx), static_cast<double>(hy)};
        }
        if (bColoured) {
          if (!WalkLine(RoundHalfEven(b.x), RoundHalfEven(b.y), RoundHalfEven(a.x), RoundHalfEven(a.y), white, hx, hy)) {
            g.Active = 0;
            if (IrregularEdge* twin = TwinOf(a_.Cells, n, static_cast<int32_t>(gi))) twin->Active = 0;
            continue;
          }
          nb = {static_cast<double>(hx), static_cast<double>(hy)};
        }
        const uint8_t changed = g.Changed;
        SetEnds(n, static_cast<int32_t>(gi), na, g.ArtisticEnd1, nb, g.ArtisticEnd2, false);
        edges[gi].Changed = changed;
        if (IrregularEdge* twin = TwinOf(a_.Cells, n, static_cast<int32_t>(gi))) twin->Changed = changed;
      }
    }
  }

  bool Fail(int32_t code) {
    counts_.LastFailCode = code;
    ++counts_.Failed;
    return false;
  }

  bool Crossings() {
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      if (Marked(n)) continue;
      for (size_t fi = 0; fi < Cell(n).Edges.size(); ++fi) {
        for (size_t hi = fi + 1; hi < Cell(n).Edges.size(); ++hi) {
          auto& edges = Cell(n).Edges;
          IrregularEdge& f = edges[fi];
          IrregularEdge& h = edges[hi];
          auto usable = [&](const IrregularEdge& e) {
            return e.Active && e.Changed && e.Neighbour >= 0 && !Marked(e.Neighbour);
          };
          if (!usable(f) || !usable(h)) continue;
          if (!(std::fabs(h.X2 - h.X1) > 2 || std::fabs(h.Y2 - h.Y1) > 2)) continue;
          const Pt p{f.X1, f.Y1}, r{f.X2 - f.X1, f.Y2 - f.Y1}, q{h.X1, h.Y1}, s{h.X2 - h.X1, h.Y2 - h.Y1};
          const double denom = r.x * s.y - r.y * s.x;
          if (denom == 0) continue;
          const double tf = ((q.x - p.x) * s.y - (q.y - p.y) * s.x) / denom;
          const double th = ((q.x - p.x) * r.y - (q.y - p.y) * r.x) / denom;
          if (!(tf > 0.00001 && tf < 0.99999 && th > 0.00001 && th < 0.99999)) continue;
          if (!RepairCrossing(n, static_cast<int32_t>(fi), static_cast<int32_t>(hi), {p.x + tf * r.x, p.y + tf * r.y}))
            return false;
        }
      }
    }
    return true;
  }

  bool RepairCrossing(int32_t n, int32_t fi, int32_t hi, Pt x) {
    IrregularEdge f = Cell(n).Edges[static_cast<size_t>(fi)];
    IrregularEdge h = Cell(n).Edges[static_cast<size_t>(hi)];
    int16_t art = -1;
    for (int16_t v : {f.ArtisticEnd1, f.ArtisticEnd2})
      if (v >= 0 && (v == h.ArtisticEnd1 || v == h.ArtisticEnd2)) art = v;
    if (art < 0) return Fail(kFailNoCommonPiece);
    const Pt seed{static_cast<double>(Cell(n).Seed.x), static_cast<double>(Cell(n).Seed.y)};
    // Each edge keeps the part on the seed's side of the other's line.
    auto cut = [&](const IrregularEdge& e, const IrregularEdge& other, Pt& keep) {
      const Pt o1{other.LineX1, other.LineY1}, o2{other.LineX2, other.LineY2};
      const int seedSide = Sign(Side(o1, o2, seed));
      const Pt e1{e.X1, e.Y1}, e2{e.X2, e.Y2};
      keep = Sign(Side(o1, o2, e1)) == seedSide ? e1 : e2;
    };
    Pt keepF, keepH;
    cut(f, h, keepF);
    cut(h, f, keepH);
    SetEnds(n, fi, keepF, -1, x, -1, false);
    SetEnds(n, hi, keepH, -1, x, -1, false);
    const Pt centre{static_cast<double>(Tile(art).CentreX), static_cast<double>(Tile(art).CentreY)};
    Pt hit;
    if (!HitSearch(art, x, centre, false, hit)) return Fail(kFailNoOutline);
    const int32_t cf = f.Neighbour, ch = h.Neighbour;
    auto& ef = Cell(cf).Edges;
    auto& eh = Cell(ch).Edges;
    if (static_cast<int32_t>(ef.size()) >= kCellEdgeSlots || static_cast<int32_t>(eh.size()) >= kCellEdgeSlots)
      return Fail(kFailNoCommonPiece);
    IrregularEdge e;
    e.X1 = x.x, e.Y1 = x.y, e.X2 = hit.x, e.Y2 = hit.y;
    int16_t a1 = -1, a2 = art;
    if (e.Y2 < e.Y1 || (e.Y2 == e.Y1 && e.X2 < e.X1)) std::swap(e.X1, e.X2), std::swap(e.Y1, e.Y2), std::swap(a1, a2);
    e.ArtisticEnd1 = a1, e.ArtisticEnd2 = a2;
    e.Length = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
    e.Active = 1;
    e.Changed = 1;
    ExtendLine(e);
    IrregularEdge forF = e, forH = e;
    forF.Neighbour = static_cast<int16_t>(ch);
    forH.Neighbour = static_cast<int16_t>(cf);
    forF.Twin = static_cast<int16_t>(eh.size());
    forH.Twin = static_cast<int16_t>(ef.size());
    ef.push_back(forF);
    eh.push_back(forH);
    return true;
  }

  void TinyEdges() {
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      if (Marked(n)) continue;
      auto& edges = Cell(n).Edges;
      for (size_t i = 0; i < edges.size(); ++i) {
        IrregularEdge& e = edges[i];
        if (!e.Active || e.Neighbour < 0 || Marked(e.Neighbour)) continue;
        if (std::fabs(e.X2 - e.X1) >= 2 || std::fabs(e.Y2 - e.Y1) >= 2) continue;
        bool alone = true;
        for (size_t k = 0; k < edges.size() && alone; ++k) {
          if (k == i || !edges[k].Active) continue;
          for (Pt q : {Pt{edges[k].X1, edges[k].Y1}, Pt{edges[k].X2, edges[k].Y2}})
            for (Pt m : {Pt{e.X1, e.Y1}, Pt{e.X2, e.Y2}})
              if (std::hypot(q.x - m.x, q.y - m.y) <= std::sqrt(8.0)) alone = false;
        }
        if (!alone) continue;
        const int32_t l = static_cast<int32_t>(std::min(e.X1, e.X2)) - 1, r = static_cast<int32_t>(std::max(e.X1, e.X2)) + 1;
        const int32_t t = static_cast<int32_t>(e.Y1) - 1, b = static_cast<int32_t>(e.Y2) + 1;
        bool white = true;
        for (int32_t y = t; y <= b && white; ++y)
          for (int32_t x = l; x <= r && white; ++x) {
            if ((x == static_cast<int32_t>(e.X1) && y == static_cast<int32_t>(e.Y1)) ||
                (x == static_cast<int32_t>(e.X2) && y == static_cast<int32_t>(e.Y2)))
              continue;
            white = White(x, y);
          }
        if (white) e.Active = 0;
      }
    }
  }

  void Boxes() {
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      if (Marked(n)) continue;
      TILE_P& t = Tile(n);
      XRECT box;
      for (const IrregularEdge& e : Cell(n).Edges)
        if (e.Active && e.Length > 1)
          RectExtend(box, static_cast<int32_t>(std::min(e.X1, e.X2)), static_cast<int32_t>(e.Y1),
                     static_cast<int32_t>(std::max(e.X1, e.X2)), static_cast<int32_t>(e.Y2));
      if (RectIsEmpty(box)) continue;
      t.BoxX = box.Left;
      t.BoxY = box.Top;
      t.BoxW = box.Right - box.Left + 1;
      t.BoxH = box.Bottom - box.Top + 1;
    }
  }

  IrregularAttempt& a_;
  JIG_P& p_;
  const ShapeLibrary& lib_;
  ShapePlacementCounts& counts_;
  JigsawRect rect_;
  std::vector<uint8_t> marked_;
  EmfDrawing drawing_;
};

}  // namespace

bool ShapePlacement::Place(IrregularAttempt& attempt) {
  Run run(attempt, library_, counts_);
  return run.Go();
}

}  // namespace varlo
