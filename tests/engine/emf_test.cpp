// EMF drawings: the record walk refuses bytes that do not hold together, the
// in-place edits change exactly the listed fields, and the player fills
// outlines into solid areas of known size.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "cut/emf_drawing.h"
#include "cut/emf_player.h"
#include "cut/emf_records.h"
#include "cut/emf_writer.h"
#include "raster/byte_io.h"
#include "support/pixel_areas.h"

namespace varlo {
namespace {

using testing_pixels::Components4;
using testing_pixels::CountColour;
using testing_pixels::Holes;

constexpr uint32_t kInk = MakeRGB(128, 0, 77);
constexpr uint32_t kWhite = MakeRGB(255, 255, 255);

std::vector<uint8_t> SquareBytes(bool wide = true) {
  EmfWriter w(20, 20);
  w.CreateBrush(1, kInk);
  w.CreatePen(2, kInk, true);
  w.SelectObject(1);
  w.SelectObject(2);
  w.PointList(kEmrPolygon, {{2, 2}, {11, 2}, {11, 11}, {2, 11}}, wide);
  return w.Finish();
}

EmfDrawing Load(const std::vector<uint8_t>& bytes) {
  EmfDrawing d;
  std::string error;
  EXPECT_TRUE(EmfLoadDrawing(bytes.data(), bytes.size(), d, &error)) << error;
  return d;
}

DIB_P White(int32_t w, int32_t h) {
  DIB_P d;
  EXPECT_TRUE(DibCreate24(d, w, h));
  DibFillRect(d, 0, 0, w, h, kWhite);
  return d;
}

DIB_P Play(const EmfDrawing& d, int32_t bw, int32_t bh, int32_t x, int32_t y, int32_t w, int32_t h) {
  DIB_P out = White(bw, bh);
  EXPECT_TRUE(EmfPlay(d, out, x, y, w, h));
  return out;
}

// ---- the walk ----

// Offset of the first record of a type in an unedited drawing.
size_t FindRecord(const std::vector<uint8_t>& b, uint32_t type) {
  for (size_t at = 0; at + 8 <= b.size(); at += GetU32(&b[at + 4]))
    if (GetU32(&b[at]) == type) return at;
  ADD_FAILURE() << "no record of type " << type;
  return 0;
}

TEST(EmfWalk, AcceptsAWrittenDrawingAndListsItsRecords) {
  const std::vector<uint8_t> b = SquareBytes();
  std::vector<EmfRecord> records;
  EmfHeaderInfo header;
  std::string error;
  ASSERT_TRUE(EmfWalk(b.data(), b.size(), records, &header, &error)) << error;
  ASSERT_EQ(records.size(), 7u);
  EXPECT_EQ(records.front().Type, kEmrHeader);
  EXPECT_EQ(records[5].Type, kEmrPolygon);
  EXPECT_EQ(records.back().Type, kEmrEof);
  EXPECT_EQ(header.Bounds.Right, 20);
  EXPECT_EQ(header.Frame.Right, 508);
  EXPECT_EQ(header.DeviceCx, 1000);
  // Bytes after the end record are not looked at.
  std::vector<uint8_t> tail = b;
  tail.insert(tail.end(), {1, 2, 3});
  EXPECT_TRUE(EmfWalk(tail.data(), tail.size(), records, nullptr, nullptr));
}

TEST(EmfWalk, RefusesBytesThatDoNotHoldTogether) {
  const std::vector<uint8_t> good = SquareBytes(false);
  const size_t poly = FindRecord(good, kEmrPolygon16);
  const size_t eof = FindRecord(good, kEmrEof);
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"cut short inside the end record", [](auto& b) { b.resize(b.size() - 4); }},
      {"cut short after the header", [](auto& b) { b.resize(108); }},
      {"shorter than a header", [](auto& b) { b.resize(60); }},
      {"record larger than what is left", [&](auto& b) { PutU32(&b[poly + 4], static_cast<uint32_t>(b.size())); }},
      {"record size not a multiple of four", [&](auto& b) { PutU32(&b[poly + 4], GetU32(&b[poly + 4]) - 2); }},
      {"record size below eight", [&](auto& b) { PutU32(&b[poly + 4], 4); }},
      {"record size zero", [&](auto& b) { PutU32(&b[poly + 4], 0); }},
      {"point count beyond the record", [&](auto& b) { PutU32(&b[poly + kEmfPolyCount], 5); }},
      {"point count that wraps", [&](auto& b) { PutU32(&b[poly + kEmfPolyCount], 0x40000000); }},
      {"no header first", [](auto& b) { PutU32(&b[0], kEmrPolygon); }},
      {"wrong signature", [](auto& b) { b[kEmfHeaderSignature] ^= 1; }},
      {"no reference device", [](auto& b) { PutU32(&b[kEmfHeaderMillimeters], 0); }},
      {"no end record", [&](auto& b) { PutU32(&b[eof], 70); }},
      {"a second header", [&](auto& b) { PutU32(&b[poly], kEmrHeader); }},
      {"pen record too short for its colour", [&](auto& b) {
         const size_t pen = FindRecord(b, kEmrCreatePen);
         PutU32(&b[pen + 4], 24);  // the colour would lie in the next record
         b.erase(b.begin() + static_cast<ptrdiff_t>(pen + 24), b.begin() + static_cast<ptrdiff_t>(pen + 28));
       }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> b = good;
    c.damage(b);
    std::vector<EmfRecord> records;
    std::string error;
    EXPECT_FALSE(EmfWalk(b.data(), b.size(), records, nullptr, &error)) << c.name;
    EXPECT_TRUE(records.empty()) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
    EmfDrawing d;
    EXPECT_FALSE(EmfLoadDrawing(b.data(), b.size(), d, nullptr)) << c.name;
    EXPECT_TRUE(d.Bytes.empty()) << c.name;
  }
}

TEST(EmfWalk, PolyPolygonCountsMustAddUpInsideTheRecord) {
  EmfWriter w(10, 10);
  w.PolyPolygon16({{{0, 0}, {5, 0}, {5, 5}}, {{6, 6}, {9, 6}, {9, 9}}});
  const std::vector<uint8_t> good = w.Finish();
  const size_t at = FindRecord(good, kEmrPolyPolygon16);
  std::vector<EmfRecord> records;
  EXPECT_TRUE(EmfWalk(good.data(), good.size(), records, nullptr, nullptr));
  for (auto damage : {std::function<void(std::vector<uint8_t>&)>(
                          [&](auto& b) { PutU32(&b[at + kEmfPolyPolyCounts], 4); }),  // sum 7 of 6
                      std::function<void(std::vector<uint8_t>&)>(
                          [&](auto& b) { PutU32(&b[at + kEmfPolyPolyCount], 200); }),  // counts beyond
                      std::function<void(std::vector<uint8_t>&)>([&](auto& b) {
                        PutU32(&b[at + kEmfPolyPolyTotal], 7);
                        PutU32(&b[at + kEmfPolyPolyCounts], 4);
                      })}) {  // total matches but the points run out of the record
    std::vector<uint8_t> b = good;
    damage(b);
    EXPECT_FALSE(EmfWalk(b.data(), b.size(), records, nullptr, nullptr));
  }
}

TEST(EmfLoad, NeedsAPositiveSize) {
  std::vector<uint8_t> b = SquareBytes();
  PutI32(&b[kEmfHeaderBounds + 8], 0);  // right = left
  EmfDrawing d;
  EXPECT_FALSE(EmfLoadDrawing(b.data(), b.size(), d, nullptr));
}

// ---- the edits ----

TEST(EmfEdit, RecolourSetsEveryColourFieldAndNothingElse) {
  EmfWriter w(8, 8);
  w.Record(kEmrSetPixelV, {1, 1, 0x111111});
  w.Record(kEmrSetTextColor, {0x222222});
  w.Record(kEmrSetBkColor, {0x333333});
  w.CreatePen(1, 0x444444);
  w.CreateBrush(2, 0x555555);
  w.Record(kEmrExtFloodFill, {3, 3, 0x666666, 1});
  w.Record(kEmrExtCreatePen, {3, 0, 0, 0, 0, 0, 1, 0, 0x777777, 0, 0});
  w.Record(kEmrSetPolyFillMode, {0x888888});  // not a colour
  EmfDrawing d = Load(w.Finish());
  const std::vector<uint8_t> before = d.Bytes;
  EmfRecolour(d, 0xAB00CD);
  size_t changed = 0;
  for (const EmfRecord& r : d.Records) {
    const size_t at = EmfColourOffset(r.Type);
    if (at) {
      EXPECT_EQ(GetU32(&d.Bytes[r.Offset + at]), 0xAB00CDu) << r.Type;
      ++changed;
    }
  }
  EXPECT_EQ(changed, 7u);
  size_t differing = 0;
  for (size_t i = 0; i < before.size(); ++i) differing += before[i] != d.Bytes[i];
  EXPECT_LE(differing, 7u * 3);  // only the three colour bytes of seven fields
  EXPECT_EQ(GetU32(&d.Bytes[d.Records[8].Offset + 8]), 0x888888u);
}

struct EditFixture {
  EmfDrawing d;
  size_t poly16, bezierTo32, moveTo, lineTo, polyPoly;
};

EditFixture MakeEditFixture() {
  EmfWriter w(10, 6);
  w.PointList(kEmrPolygon, {{1, 2}, {8, 2}, {8, 4}}, false);
  w.MoveTo(0, 0);
  w.LineTo(9, 5);
  w.PointList(kEmrPolyBezierTo, {{3, 1}, {4, 4}, {6, 5}}, true);
  w.PolyPolygon16({{{1, 1}, {2, 1}, {2, 2}}});
  EditFixture f{Load(w.Finish()), 0, 0, 0, 0, 0};
  for (const EmfRecord& r : f.d.Records) {
    if (r.Type == kEmrPolygon16) f.poly16 = r.Offset;
    if (r.Type == kEmrPolyBezierTo) f.bezierTo32 = r.Offset;
    if (r.Type == kEmrMoveToEx) f.moveTo = r.Offset;
    if (r.Type == kEmrLineTo) f.lineTo = r.Offset;
    if (r.Type == kEmrPolyPolygon16) f.polyPoly = r.Offset;
  }
  return f;
}

std::vector<std::pair<int, int>> Points16(const EmfDrawing& d, size_t at, uint32_t count, size_t first) {
  std::vector<std::pair<int, int>> p;
  for (uint32_t i = 0; i < count; ++i)
    p.push_back({GetI16(&d.Bytes[at + first + i * 4]), GetI16(&d.Bytes[at + first + i * 4 + 2])});
  return p;
}

std::vector<std::pair<int, int>> Points32(const EmfDrawing& d, size_t at, uint32_t count, size_t first) {
  std::vector<std::pair<int, int>> p;
  for (uint32_t i = 0; i < count; ++i)
    p.push_back({GetI32(&d.Bytes[at + first + i * 8]), GetI32(&d.Bytes[at + first + i * 8 + 4])});
  return p;
}

using PointList = std::vector<std::pair<int, int>>;

TEST(EmfEdit, FlipMirrorsTheListedRecordsAndSetsTheHeader) {
  struct Case {
    bool lr, tb;
    PointList poly, bezier, move, line;
  };
  const Case cases[] = {
      {true, false, {{8, 2}, {1, 2}, {1, 4}}, {{6, 1}, {5, 4}, {3, 5}}, {{9, 0}}, {{0, 5}}},
      {false, true, {{1, 3}, {8, 3}, {8, 1}}, {{3, 4}, {4, 1}, {6, 0}}, {{0, 5}}, {{9, 0}}},
      {true, true, {{8, 3}, {1, 3}, {1, 1}}, {{6, 4}, {5, 1}, {3, 0}}, {{9, 5}}, {{0, 0}}},
  };
  for (const Case& c : cases) {
    EditFixture f = MakeEditFixture();
    EmfFlip(f.d, c.lr, c.tb);
    EXPECT_EQ(Points16(f.d, f.poly16, 3, kEmfPolyPoints), c.poly);
    EXPECT_EQ(Points32(f.d, f.bezierTo32, 3, kEmfPolyPoints), c.bezier);
    EXPECT_EQ(Points32(f.d, f.moveTo, 1, 8), c.move);
    EXPECT_EQ(Points32(f.d, f.lineTo, 1, 8), c.line);
    // Poly-polygons are not among the flipped records.
    EXPECT_EQ(Points16(f.d, f.polyPoly, 3, kEmfPolyPolyCounts + 4), (PointList{{1, 1}, {2, 1}, {2, 2}}));
    EXPECT_EQ(GetI32(&f.d.Bytes[kEmfHeaderBounds + 8]), 10);
    EXPECT_EQ(GetI32(&f.d.Bytes[kEmfHeaderBounds + 12]), 6);
    EXPECT_EQ(GetI32(&f.d.Bytes[kEmfHeaderFrame + 8]), 254);
    EXPECT_EQ(GetI32(&f.d.Bytes[kEmfHeaderFrame + 12]), 152);
  }
}

TEST(EmfEdit, QuarterTurnMovesCornersIntoTheTurnedBox) {
  // 10 x 6, centre (5, 3), turned box 6 x 10, ox = (6 - 10) div 2 = -2 and
  // oy = (10 - 6) div 2 = 2: by hand every point (x, y) goes to (5 - y, x).
  EmfWriter w(10, 6);
  w.PointList(kEmrPolygon, {{0, 0}, {9, 0}, {9, 5}, {0, 5}}, false);
  w.MoveTo(4, 2);
  EmfDrawing d = Load(w.Finish());
  EmfTurn(d, 90);
  EXPECT_EQ(d.Width, 6);
  EXPECT_EQ(d.Height, 10);
  EXPECT_EQ(Points16(d, d.Records[1].Offset, 4, kEmfPolyPoints), (PointList{{5, 0}, {5, 9}, {0, 9}, {0, 0}}));
  EXPECT_EQ(Points32(d, d.Records[2].Offset, 1, 8), (PointList{{3, 4}}));
  EXPECT_EQ(GetI32(&d.Bytes[kEmfHeaderBounds + 8]), 6);
  EXPECT_EQ(GetI32(&d.Bytes[kEmfHeaderBounds + 12]), 10);
  EXPECT_EQ(d.MmWidth, 152);  // 254 x 152 turned: the box of the turned corners
  EXPECT_EQ(d.MmHeight, 254);
  EXPECT_EQ(GetI32(&d.Bytes[kEmfHeaderFrame + 8]), 152);
}

TEST(EmfEdit, ThirtyDegreeTurnByHand) {
  // 11 x 11, centre (5, 5). Corners turn to x in -2..12, y in -2..12: 15 x 15,
  // ox = oy = 2. (10, 5): x = (11 cos 30 - 1 sin 30 - 1) / 2 + 5 + 2 = 11.01 -> 11,
  // y = (11 sin 30 + 1 cos 30 - 1) / 2 + 5 + 2 = 9.68 -> 10.
  EmfWriter w(11, 11);
  w.LineTo(10, 5);
  EmfDrawing d = Load(w.Finish());
  EmfTurn(d, 30);
  EXPECT_EQ(d.Width, 15);
  EXPECT_EQ(d.Height, 15);
  EXPECT_EQ(Points32(d, d.Records[1].Offset, 1, 8), (PointList{{11, 10}}));
  int32_t tw = 0, th = 0;
  EmfTurnedSize(11, 11, -30, tw, th);
  EXPECT_EQ(tw, 15);
  EXPECT_EQ(th, 15);
  EmfTurnedSize(10, 6, 0, tw, th);
  EXPECT_EQ(tw, 10);
  EXPECT_EQ(th, 6);
}

// ---- playing ----

TEST(EmfPlay, SquareFillsExactlyItsPixelsInBothPointSizes) {
  for (bool wide : {true, false}) {
    DIB_P out = Play(Load(SquareBytes(wide)), 20, 20, 0, 0, 20, 20);
    EXPECT_EQ(CountColour(out, kInk), 100) << wide;
    for (int32_t y = 0; y < 20; ++y)
      for (int32_t x = 0; x < 20; ++x)
        EXPECT_EQ(DibGetPixel(out, x, y) == static_cast<int32_t>(kInk), x >= 2 && x <= 11 && y >= 2 && y <= 11)
            << x << "," << y;
  }
}

TEST(EmfPlay, ConcavePolygonFillsItsArea) {
  // A U: 10 x 10 with a 2-pixel-wide notch open at the bottom, x 4..5, y 4..9.
  EmfWriter w(12, 12);
  w.CreateBrush(1, kInk);
  w.SelectObject(1);
  w.SelectObject(0x80000008);  // the stock null pen
  w.PointList(kEmrPolygon, {{0, 0}, {9, 0}, {9, 9}, {6, 9}, {6, 3}, {3, 3}, {3, 9}, {0, 9}}, true);
  DIB_P out = Play(Load(w.Finish()), 12, 12, 0, 0, 12, 12);
  EXPECT_EQ(CountColour(out, kInk), 88);
  for (int32_t y = 4; y <= 9; ++y) {
    EXPECT_EQ(DibGetPixel(out, 4, y), static_cast<int32_t>(kWhite));
    EXPECT_EQ(DibGetPixel(out, 5, y), static_cast<int32_t>(kWhite));
    EXPECT_EQ(DibGetPixel(out, 3, y), static_cast<int32_t>(kInk));
    EXPECT_EQ(DibGetPixel(out, 6, y), static_cast<int32_t>(kInk));
  }
}

TEST(EmfPlay, StarFollowsTheFillMode) {
  auto star = [](uint32_t mode) {
    EmfWriter w(41, 41);
    w.CreateBrush(1, kInk);
    w.SelectObject(1);
    w.SelectObject(0x80000008);  // null pen: the fill alone
    w.SetPolyFillMode(mode);
    std::vector<EmfPoint> p;
    for (int i = 0; i < 5; ++i) {  // every second corner of a pentagon: a pentagram
      const double a = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
      p.push_back({static_cast<int32_t>(std::lround(20 + 19 * std::cos(a))),
                   static_cast<int32_t>(std::lround(20 + 19 * std::sin(a)))});
    }
    w.PointList(kEmrPolygon, p, true);
    return Play(Load(w.Finish()), 41, 41, 0, 0, 41, 41);
  };
  const DIB_P alternate = star(1), winding = star(2);
  EXPECT_EQ(DibGetPixel(alternate, 20, 21), static_cast<int32_t>(kWhite));  // the middle pentagon stays empty
  EXPECT_EQ(DibGetPixel(winding, 20, 21), static_cast<int32_t>(kInk));
  EXPECT_EQ(Holes(alternate, kInk), 1);
  EXPECT_EQ(Holes(winding, kInk), 0);
  EXPECT_EQ(Components4(winding, kInk), 1);
  // Golden areas of this star.
  EXPECT_EQ(CountColour(alternate, kInk), 356);
  EXPECT_EQ(CountColour(winding, kInk), 461);
}

// A circle of four Béziers in a path, as the library's drawings are made.
std::vector<uint8_t> CircleBytes(bool wide16) {
  EmfWriter w(100, 100);
  w.CreateBrush(1, kInk);
  w.SelectObject(1);
  w.BeginPath();
  const int32_t c = 50, r = 45, k = 25;  // k = 0.5523 r, rounded
  w.MoveTo(c + r, c);
  w.PointList(kEmrPolyBezierTo, {{c + r, c + k}, {c + k, c + r}, {c, c + r}}, !wide16);
  w.PointList(kEmrPolyBezierTo, {{c - k, c + r}, {c - r, c + k}, {c - r, c}}, !wide16);
  w.PointList(kEmrPolyBezierTo, {{c - r, c - k}, {c - k, c - r}, {c, c - r}}, !wide16);
  w.PointList(kEmrPolyBezierTo, {{c + k, c - r}, {c + r, c - k}, {c + r, c}}, !wide16);
  w.CloseFigure();
  w.EndPath();
  w.FillPath();
  return w.Finish();
}

TEST(EmfPlay, BezierOutlinesCloseWithoutGapsAtEverySize) {
  for (bool wide16 : {false, true}) {
    const EmfDrawing d = Load(CircleBytes(wide16));
    for (int32_t size : {3, 5, 7, 12, 33, 64, 101, 250}) {
      DIB_P out = Play(d, size + 4, size + 4, 2, 2, size, size);
      EXPECT_EQ(Components4(out, kInk), 1) << size;
      EXPECT_EQ(Holes(out, kInk), 0) << size;
      if (size >= 33) {  // a disc of radius 0.45 size, give or take the rim
        const double area = std::numbers::pi * 0.45 * 0.45 * size * size;
        EXPECT_NEAR(CountColour(out, kInk), area, 0.06 * area + 3 * size) << size;
      }
    }
  }
}

TEST(EmfPlay, StretchesTheFrameIntoTheRectangle) {
  const EmfDrawing d = Load(SquareBytes());
  DIB_P out = Play(d, 60, 50, 5, 3, 40, 20);  // x by 2, y by 1
  XRECT box;
  int32_t count = 0;
  for (int32_t y = 0; y < out.Height; ++y)
    for (int32_t x = 0; x < out.Width; ++x)
      if (DibGetPixel(out, x, y) == static_cast<int32_t>(kInk)) {
        RectExtend(box, x, y, x, y);
        ++count;
      }
  EXPECT_EQ(box.Left, 5 + 4);
  EXPECT_EQ(box.Right, 5 + 22);
  EXPECT_EQ(box.Top, 3 + 2);
  EXPECT_EQ(box.Bottom, 3 + 11);
  EXPECT_EQ(count, 19 * 10);
}

TEST(EmfPlay, TransformsAndMappingModes) {
  // A small square through a world transform (set, and built up by two
  // modifications), and a rectangle through anisotropic window and viewport
  // extents.
  auto count = [](std::function<void(EmfWriter&)> setup, std::vector<EmfPoint> pts) {
    EmfWriter w(20, 20);
    w.CreateBrush(1, kInk);
    w.CreatePen(2, kInk);
    w.SelectObject(1);
    w.SelectObject(2);
    setup(w);
    w.PointList(kEmrPolygon, pts, true);
    DIB_P out = Play(Load(w.Finish()), 20, 20, 0, 0, 20, 20);
    return CountColour(out, kInk);
  };
  EXPECT_EQ(count([](EmfWriter& w) { w.SetWorldTransform({2, 0, 0, 2, 0, 0}); }, {{1, 1}, {5, 1}, {5, 5}, {1, 5}}),
            81);
  EXPECT_EQ(count([](EmfWriter& w) {
              w.ModifyWorldTransform({2, 0, 0, 2, 0, 0}, 4);
              w.ModifyWorldTransform({1, 0, 0, 1, 1, 1}, 2);  // translate first, then scale
            }, {{1, 1}, {5, 1}, {5, 5}, {1, 5}}),
            81 + 0);  // (2..6) x 2 = 4..12: 9 x 9
  EXPECT_EQ(count([](EmfWriter& w) {
              w.SetMapMode(8);
              w.SetWindowExt(100, 100);
              w.SetViewportExt(20, 10);
            }, {{0, 0}, {50, 0}, {50, 100}, {0, 100}}),
            11 * 11);  // x 0..10, y 0..10
}

TEST(EmfPlay, PensBrushesAndUnknownRecords) {
  // A null brush leaves the outline only; a stock pen draws it; an unknown
  // record and a comment in between change nothing.
  EmfWriter w(20, 20);
  w.CreatePen(1, kInk);
  w.SelectObject(0x80000005);  // null brush
  w.SelectObject(1);
  w.Record(0x7777, {1, 2, 3});
  w.Record(70, {8, 0x12345678, 0});
  w.PointList(kEmrPolygon, {{2, 2}, {11, 2}, {11, 11}, {2, 11}}, true);
  DIB_P out = Play(Load(w.Finish()), 20, 20, 0, 0, 20, 20);
  EXPECT_EQ(CountColour(out, kInk), 36);
  EXPECT_EQ(DibGetPixel(out, 6, 6), static_cast<int32_t>(kWhite));

  // A deleted or never-made object cannot be selected; lines use the pen.
  EmfWriter l(20, 20);
  l.CreatePen(1, kInk);
  l.SelectObject(1);
  l.MoveTo(0, 5);
  l.LineTo(19, 5);
  l.DeleteObject(1);
  l.SelectObject(1);  // stays with the ink pen
  l.SelectObject(99);
  l.PointList(kEmrPolyline, {{0, 7}, {19, 7}}, false);
  DIB_P lines = Play(Load(l.Finish()), 20, 20, 0, 0, 20, 20);
  EXPECT_EQ(CountColour(lines, kInk), 40);
}

TEST(EmfPlay, DrawsOnlyInsideTheBitmap) {
  const EmfDrawing d = Load(SquareBytes());
  DIB_P out = Play(d, 10, 10, -8, -8, 40, 40);  // most of the square lies outside
  EXPECT_GT(CountColour(out, kInk), 0);
  DIB_P nothing;
  EXPECT_FALSE(EmfPlay(d, nothing, 0, 0, 10, 10));
  EXPECT_FALSE(EmfPlay(EmfDrawing(), out, 0, 0, 10, 10));
  EXPECT_FALSE(EmfPlay(d, out, 0, 0, 0, 10));
}

}  // namespace
}  // namespace varlo
