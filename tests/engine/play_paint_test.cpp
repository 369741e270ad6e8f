// Painting and window geometry: the piece pixel rule, selection inversion
// and tint, the lens, a pocket's frame from the skin, scroll bars, size
// limits and reachability.
#include "support/play_fixture.h"

namespace varlo::testing {
namespace {

uint32_t Px(const DIB_P& d, int32_t x, int32_t y) { return static_cast<uint32_t>(DibGetPixel(d, x, y)); }

struct PixelCase {
  const char* name;
  uint8_t shadeRed;  // the mask's red channel (128 = flat)
  bool emboss;
  bool selected;
  uint32_t expect;   // for the picture pixel (r 100, g 150, b 200)
};

class PixelRuleTest : public PlayFieldTest, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(PixelRuleTest, PiecePixelIsShadedThenInverted) {
  const PixelCase& c = GetParam();
  Open();
  Scatter();
  // One pixel of piece 4 made known: picture and mask at its box's centre.
  const TILE_P& t = T(4);
  const int32_t mx = t.MapX + 10, my = t.MapY + 10;
  DibSetPixel(jig.Images[kPictureSlot], mx, my, MakeRGB(100, 150, 200));
  DibPixel(jig.Images[kMaskSlot], mx, my)[2] = c.shadeRed;
  ++jig.ImageStamp;  // written in place after the field painted the piece
  Probe(field).options().Look.EmbossStyle = c.emboss ? 1 : 0;
  T(4).Sel = c.selected ? 1 : 0;
  field->Invalidate();
  EXPECT_EQ(Px(Probe(field).FieldImg(), t.X + 10, t.Y + 10), c.expect);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PixelRuleTest,
    ::testing::Values(PixelCase{"plain", 148, false, false, MakeRGB(100, 150, 200)},
                      PixelCase{"lit", 148, true, false, MakeRGB(120, 170, 220)},
                      PixelCase{"shaded", 28, true, false, MakeRGB(0, 50, 100)},
                      PixelCase{"clipped_high", 255, true, false, MakeRGB(227, 255, 255)},
                      PixelCase{"selected", 128, false, true, MakeRGB(155, 105, 55)},
                      PixelCase{"selected_after_shading", 148, true, true, MakeRGB(135, 85, 35)}),
    [](const ::testing::TestParamInfo<PixelCase>& i) { return std::string(i.param.name); });

TEST_F(PlayFieldTest, PieceOutsideItsWindowShowsOnlyItsVisiblePart) {
  Open();
  Scatter();
  Probe(field).ShowPocket(0, true);
  const TMyWin& p = Probe(field).Wins()[MW_POCKET];
  T(0).Win = MW_POCKET;
  Put(0, -10, 5);  // ten pixels hang out to the left of the client
  field->Invalidate();
  const uint32_t edge = Px(Probe(field).FieldImg(), p.Client.Left, p.Client.Top + 15);
  EXPECT_EQ(edge, Px(jig.Images[0], 10, 10)) << "the part inside is drawn";
  EXPECT_NE(Px(Probe(field).FieldImg(), p.Client.Left - 3, p.Client.Top + 15), Px(jig.Images[0], 7, 10))
      << "the part outside is not";
}

TEST_F(PlayFieldTest, SelectionRectangleTintsHalfWayToLightGrey) {
  Open();
  const TMyWin& w = Probe(field).Wins()[0];
  field->PointerDown(kMbLeft, 0, FieldX(w, 300), FieldY(w, 200));
  field->PointerMove(kHeldLeft, 0, FieldX(w, 280), FieldY(w, 180));  // up and left of the start
  // 0x98 = 152: 152 + (88 x 128) div 256 = 196.
  EXPECT_EQ(Px(Probe(field).FieldImg(), 290, 190), MakeRGB(196, 196, 196));
  EXPECT_EQ(Px(Probe(field).FieldImg(), 280, 180), MakeRGB(196, 196, 196));
  EXPECT_EQ(Px(Probe(field).FieldImg(), 279, 190), 0x989898u);
  EXPECT_EQ(Px(Probe(field).FieldImg(), 301, 190), 0x989898u);
  field->PointerUp(kMbLeft, 0, FieldX(w, 280), FieldY(w, 180));
  EXPECT_EQ(Px(Probe(field).FieldImg(), 290, 190), 0x989898u) << "gone after the release";
}

TEST_F(PlayFieldTest, LensMagnifiesTheFieldInsideAnEllipse) {
  Open({}, 600, 400);
  // A white field with a piece under the lens.
  Probe(field).Wins()[0].Bkg = 0xFFFFFF;
  ASSERT_TRUE(field->RunCommand(Command::GameGlass));
  RectMoveTo(Probe(field).Glass().Outer, 100, 50);
  Relayout(Probe(field).Glass());
  Probe(field).MakeLensMask();
  Probe(field).RedrawMode() = kRedrawAll;
  field->Present();
  const XRECT& c = Probe(field).Glass().Client;
  Put(4, c.Left + 100, c.Top + 100);
  field->Invalidate();
  int32_t mx = c.Left + 120, my = c.Top + 120;
  Probe(field).MapThroughGlass(mx, my);
  EXPECT_EQ(mx, c.Left + 120);
  // The field itself under the glass, recomposed without the glass.
  DIB_P plain;
  DibCreate24(plain, 600, 400);
  Probe(field).Compose(plain, Probe(field).FieldClip(), kComposeAll);
  // Pixels of the lens at (x, y) show the field at the mapped point: where
  // the field is flat, that point's colour.
  for (const auto& [lx, ly] : {std::pair{40, 120}, std::pair{200, 130}}) {
    int32_t fx = c.Left + lx, fy = c.Top + ly;
    Probe(field).MapThroughGlass(fx, fy);
    EXPECT_EQ(Px(Probe(field).FieldImg(), c.Left + lx, c.Top + ly), Px(plain, fx, fy)) << lx << "," << ly;
  }
  // Over the piece the lens blends the four field pixels around the point
  // it shows (bilinear, at zoom 2 a quarter of a pixel off the centres):
  // no blocks of two by two equal pixels.
  const int32_t left = c.Left + c.Width / 2 - c.Width / 4, top = c.Top + c.Height / 2 - c.Height / 4;
  int32_t differentPairs = 0;
  for (int32_t ly = 100; ly < 130; ++ly)
    for (int32_t lx = 100; lx < 130; ++lx) {
      const int32_t ux = left * 256 + ((2 * lx + 1) * 128) / 2 - 128, uy = top * 256 + ((2 * ly + 1) * 128) / 2 - 128;
      const int32_t x0 = ux >> 8, y0 = uy >> 8, wx = ux & 255, wy = uy & 255;
      const uint32_t got = Px(Probe(field).FieldImg(), c.Left + lx, c.Top + ly);
      for (int32_t k = 0; k < 3; ++k) {
        auto ch = [&](int32_t x, int32_t y) { return static_cast<int32_t>((Px(plain, x, y) >> (8 * k)) & 255); };
        const int32_t up = ch(x0, y0) * (256 - wx) + ch(x0 + 1, y0) * wx;
        const int32_t down = ch(x0, y0 + 1) * (256 - wx) + ch(x0 + 1, y0 + 1) * wx;
        const int32_t want = (up * (256 - wy) + down * wy + 32768) >> 16;
        ASSERT_EQ(static_cast<int32_t>((got >> (8 * k)) & 255), want) << lx << "," << ly << " channel " << k;
      }
      differentPairs += lx % 2 == 1 && got != Px(Probe(field).FieldImg(), c.Left + lx - 1, c.Top + ly);
    }
  EXPECT_GT(differentPairs, 100) << "smooth, not blocky";
  // The light rim at the upper left, untouched field outside the ellipse.
  bool light = false;
  for (int32_t x = 0; x < 60 && !light; ++x) light = Px(Probe(field).FieldImg(), c.Left + x, c.Top + 120) == 0xF2F2F2u;
  EXPECT_TRUE(light);
  EXPECT_NE(Px(Probe(field).FieldImg(), c.Left + 20, c.Top + 20), 0xFF00FFu) << "magenta is transparent";
}

// The lens lies under the glass's housing: where the housing is opaque, in
// all four corners, it shows and the lens does not.
TEST_F(PlayFieldTest, TheHousingFramesTheLensInEveryCorner) {
  Open({}, 600, 400);
  Probe(field).Wins()[0].Bkg = 0xFFFFFF;
  ASSERT_TRUE(field->RunCommand(Command::GameGlass));
  RectMoveTo(Probe(field).Glass().Outer, 100, 50);
  Relayout(Probe(field).Glass());
  Probe(field).MakeLensMask();
  field->Invalidate();
  const XRECT& o = Probe(field).Glass().Outer;
  // Points inside the lens's ellipse on the opaque inner ring of the test
  // skin's corners (grey 30).
  struct Case {
    const char* corner;
    int32_t x, y;
  };
  for (const Case& k : {Case{"top left", o.Left + 85, o.Top + 10}, Case{"top right", o.Right - 85, o.Top + 10},
                        Case{"bottom left", o.Left + 85, o.Bottom - 10}, Case{"bottom right", o.Right - 85, o.Bottom - 10}}) {
    ASSERT_TRUE(Probe(field).InLens(k.x, k.y)) << k.corner;
    EXPECT_EQ(Px(Probe(field).FieldImg(), k.x, k.y), MakeRGB(30, 30, 30)) << k.corner;
  }
}

TEST_F(PlayFieldTest, PocketFrameComesFromTheSkinLayout) {
  Open({}, 400, 300);
  ASSERT_TRUE(field->RunCommand(Command::PocketsPocket1));
  const TMyWin& p = Probe(field).Wins()[MW_POCKET];
  ASSERT_TRUE(p.Active);
  const PlaySkins& s = *[] {
    static PlaySkins k;
    MakeTestSkins(k);
    return &k;
  }();
  const int32_t b = 103;  // the active look
  const XRECT& o = p.Outer;
  auto skin = [&](int32_t x, int32_t y) { return Px(s.Window, x, y) & 0xFFFFFF; };
  EXPECT_EQ(Px(Probe(field).FieldImg(), o.Left, o.Top), skin(b, 1)) << "left cap";
  EXPECT_EQ(Px(Probe(field).FieldImg(), o.Left + 3, o.Top + 5), skin(b + 3, 6));
  EXPECT_EQ(Px(Probe(field).FieldImg(), o.Left + 40, o.Top + 5), skin(b + 6, 6)) << "stretched caption column";
  EXPECT_EQ(Px(Probe(field).FieldImg(), o.Left + 1, o.Bottom), skin(b + 1, 100)) << "bottom band";
  EXPECT_EQ(Px(Probe(field).FieldImg(), o.Left + 2, o.Top + 22 + 2), skin(b + 2, 25)) << "side band top";
  EXPECT_EQ(Px(Probe(field).FieldImg(), o.Left + 2, o.Top + 40), skin(b + 2, 31)) << "side band stretched";
  const XRECT& close = p.Buttons[kBtnClose].Rect;
  EXPECT_EQ(close.Right, o.Right);
  EXPECT_EQ(close.Top, o.Top);
  EXPECT_EQ(Px(Probe(field).FieldImg(), close.Left + 5, close.Top + 5), skin(2 + 2 * 23 + 5, 110 + 5)) << "active close";
  EXPECT_EQ(Px(Probe(field).FieldImg(), p.Client.Left + 5, p.Client.Top + 5), 0x989898u);
  // Hovering the close button shows its active hover look.
  field->PointerMove(0, 0, close.Left + 5, close.Top + 5);
  EXPECT_EQ(Px(Probe(field).FieldImg(), close.Left + 5, close.Top + 5), skin(2 + 3 * 23 + 5, 110 + 5));
  // The caption shows "Pocket 1 (0)" in white, centred.
  bool white = false;
  for (int32_t x = o.Left; x <= o.Right && !white; ++x) white = Px(Probe(field).FieldImg(), x, o.Top + 10) == 0xFFFFFFu;
  EXPECT_TRUE(white);
}

TEST(PlayWindows, ScrollBarsFollowTheContent) {
  TMyWin w;
  InitWindow(w, 10, 10, kKindPocket, 200, 150);
  w.Shown = 1;
  EXPECT_FALSE(w.HBar);
  EXPECT_EQ(w.Client.Width, 192);
  EXPECT_EQ(w.Client.Height, 150 - 26);
  w.ContentW = 400;
  w.ContentH = 100;
  SetSize(w, false, 0, 0);
  EXPECT_TRUE(w.HBar);
  EXPECT_FALSE(w.VBar);
  EXPECT_EQ(w.Client.Height, 150 - 26 - 17);
  ScrollWindow(w, kHitScrollRight, 0, 0);
  EXPECT_EQ(w.ScrollX, 40);
  EXPECT_EQ(HitFrame(w, w.Buttons[kBtnRight].Rect.Left + 2, w.Buttons[kBtnRight].Rect.Top + 2, true),
            kHitScrollRight);
  // Growing past the content removes the bar and resets its scroll.
  RectSetXYWH(w.Outer, 10, 10, 420, 150);
  SetSize(w, false, 0, 0);
  EXPECT_FALSE(w.HBar);
  EXPECT_EQ(w.ScrollX, 0);
  // A content smaller than the client: no bars, scroll (0, 0).
  w.ContentW = 50;
  w.ContentH = 40;
  w.ScrollY = 30;
  SetSize(w, false, 0, 0);
  EXPECT_FALSE(w.HBar || w.VBar);
  EXPECT_EQ(w.ScrollY, 0);
}

TEST(PlayWindows, FrameHitCodes) {
  TMyWin w;
  InitWindow(w, 100, 100, kKindPocket, 200, 150);
  w.Shown = 1;
  struct Case {
    int32_t x, y, code;
  };
  for (const Case c : {Case{100, 200, kHitLeft}, Case{299, 200, kHitRight}, Case{150, 100, kHitTop},
                       Case{150, 249, kHitBottom}, Case{101, 101, kHitTopLeft}, Case{101, 248, kHitBottomLeft},
                       Case{298, 248, kHitBottomRight}, Case{290, 240, kHitBottomRight},
                       Case{290, 105, kHitClose}, Case{150, 160, kHitNone}, Case{150, 110, kHitNone},
                       Case{50, 50, kHitNone}})
    EXPECT_EQ(HitFrame(w, c.x, c.y, false), c.code) << c.x << "," << c.y;
}

TEST(PlayWindows, ThumbnailKeepsTheAspectBetweenItsLimits) {
  TMyWin w;
  InitWindow(w, 0, 0, kKindThumb, 100, 100);
  w.MaxW = 300;  // a 600 x 400 picture
  w.MaxH = 200;
  w.MinH = 40;
  w.MinW = 60;
  struct Case {
    int32_t ow, oh;
    bool widthLeads;
    int32_t cw, ch;
  };
  for (const Case c : {Case{158, 200, true, 150, 100}, Case{500, 500, true, 300, 200},
                       Case{20, 20, true, 60, 40}, Case{400, 126, false, 150, 100}})  {
    int32_t ow = c.ow, oh = c.oh;
    LimitSize(w, ow, oh, c.widthLeads);
    EXPECT_EQ(ow - w.FrameW, c.cw);
    EXPECT_EQ(oh - w.FrameH, c.ch);
  }
}

TEST_F(PlayFieldTest, PocketsStayReachableAndSidesScrollTogether) {
  Open({}, 400, 300);
  Probe(field).ShowPocket(0, true);
  TMyWin& p = Probe(field).Wins()[MW_POCKET];
  // Dragged by its caption until only 10 pixels are left.
  const int32_t y = p.Outer.Top + 5;
  field->PointerDown(kMbLeft, 0, p.Outer.Left + 30, y);
  EXPECT_EQ(Probe(field).Frame().Code, kHitMove);
  field->PointerMove(kHeldLeft, 0, 30 - p.Outer.Width + 10, y);
  field->PointerUp(kMbLeft, 0, 30 - p.Outer.Width + 10, y);
  EXPECT_EQ(p.Outer.Right, 2 * (4 + 18) - 1);
  // Raising a pocket never moves a side.
  EXPECT_EQ(Probe(field).Stack()[0], MW_SIDE0);
  EXPECT_EQ(Probe(field).Stack()[1], MW_SIDE1);

  // A side with a larger content scrolls; the other side follows.
  field->SetSideContent(800, 300);
  Probe(field).Scroll(MW_SIDE0, kHitScrollRight, 0, 0);
  EXPECT_EQ(Probe(field).Wins()[MW_SIDE0].ScrollX, 80);
  EXPECT_EQ(Probe(field).Wins()[MW_SIDE1].ScrollX, 80);
}

}  // namespace
}  // namespace varlo::testing
