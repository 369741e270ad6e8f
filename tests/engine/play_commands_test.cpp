// The Game and Pockets commands, the weight, backgrounds and the solved
// image.
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "play/pocket_record.h"
#include "raster/picture_codecs.h"
#include "support/play_fixture.h"
#include "support/temp_home.h"

namespace varlo::testing {
namespace {

TEST(CommandNames, EveryNameRoundTripsAndOtherTextIsRejected) {
  std::set<std::string_view> names;
  for (int32_t c = 0; c < kCommandCount; ++c) {
    const Command command = static_cast<Command>(c);
    const std::string_view name = CommandName(command);
    EXPECT_EQ(name.rfind("MI_", 0), 0u) << name;
    EXPECT_TRUE(names.insert(name).second) << name << " names two commands";
    EXPECT_EQ(CommandByName(name), command) << name;
  }
  // Near misses: other case, spaces, numbers past the pockets and recent
  // files, submenus and separators, names without their prefix.
  for (std::string_view text : {"", "MI_", "MI_Nothing", "mi_gamethumb", "MI_GameThumb ", " MI_GameThumb",
                                "MI_PocketsPocket0", "MI_PocketsPocket5", "MI_FileLast4", "MI_Game",
                                "MI_FileLastSep", "GameThumb", "MI_GameWeightOn"})
    EXPECT_FALSE(CommandByName(text)) << '"' << text << '"';
  for (int32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(PocketOfCommand(PocketCommand(k)), k);
    EXPECT_EQ(RecentFileOfCommand(RecentFileCommand(k)), k);
  }
  EXPECT_EQ(CommandName(PocketCommand(2)), "MI_PocketsPocket3");
  EXPECT_EQ(CommandName(RecentFileCommand(0)), "MI_FileLast0");
  for (Command c : {Command::PocketsTile, Command::FileLast0, Command::GameWin2})
    EXPECT_EQ(PocketOfCommand(c), -1) << CommandName(c);
  for (Command c : {Command::FileSaveImage, Command::PocketsPocket1, Command::GameWin1})
    EXPECT_EQ(RecentFileOfCommand(c), -1) << CommandName(c);
}

uint32_t Px(const DIB_P& d, int32_t x, int32_t y) { return static_cast<uint32_t>(DibGetPixel(d, x, y)); }

TEST_F(PlayFieldTest, ArrangeLaysTheSelectedLoosePiecesInAGrid) {
  Open();
  Scatter(30, 40);
  T(1).Group = T(0).Group;  // a group of two: not arranged
  Put(1, T(0).X + 20, T(0).Y);
  SortPieces(jig, false);
  const std::pair<int32_t, int32_t> group0{T(0).X, T(0).Y};
  ASSERT_TRUE(field->RunCommand(Command::GameSelectAll));
  ASSERT_TRUE(Probe(field).Selection());
  ASSERT_TRUE(field->RunCommand(Command::GameArrange));
  // Seven loose pieces in a 400 x 300 area: 4 columns, 2 rows of 32-pixel
  // cells (MaskS + KnobS) from the selection's top-left corner.
  std::set<std::pair<int32_t, int32_t>> cells, expect;
  for (int32_t i = 2; i < 9; ++i) cells.insert({T(i).X, T(i).Y});
  for (int32_t k = 0; k < 7; ++k) expect.insert({30 + 32 * (k % 4), 40 + 32 * (k / 4)});
  EXPECT_EQ(cells, expect);
  EXPECT_EQ(std::make_pair(T(0).X, T(0).Y), group0);
  EXPECT_TRUE(T(5).Sel) << "pieces stay selected";

  // Only grouped pieces selected: nothing moves.
  for (TILE_P& t : jig.Tiles) t.Sel = 0;
  T(0).Sel = T(1).Sel = 1;
  const std::vector<TILE_P> before = jig.Tiles;
  ASSERT_TRUE(field->RunCommand(Command::GameArrange));
  EXPECT_EQ(jig.Tiles, before);
}

// Arrange never leaves a piece past the area, which has no scroll bars
// when the picture fits the field: with pieces too large for the cells the
// block moves back into the area, and where they cannot lie side by side
// they overlap evenly.
TEST_F(PlayFieldTest, ArrangeKeepsLargePiecesInsideTheArea) {
  PlayJigsawSpec spec;
  spec.Cols = 4;
  spec.Rows = 3;
  spec.Cell = 60;
  spec.Knob = 10;
  Open(spec, 300, 200);  // the 240 x 180 picture fits: the side is the field
  ASSERT_EQ(field->ContentWidth(), 300);
  ASSERT_EQ(field->ContentHeight(), 200);
  Scatter(10, 10);
  ASSERT_TRUE(field->RunCommand(Command::GameSelectAll));
  ASSERT_TRUE(field->RunCommand(Command::GameArrange));
  std::set<int32_t> xs, ys;
  for (int32_t i = 0; i < 12; ++i) {
    const TILE_P& t = T(i);
    EXPECT_GE(t.X, 0) << i;
    EXPECT_GE(t.Y, 0) << i;
    EXPECT_LE(t.X + t.RotW, 300) << i;
    EXPECT_LE(t.Y + t.RotH, 200) << i;
    xs.insert(t.X);
    ys.insert(t.Y);
  }
  // Four columns of 70-pixel pieces fit in 300: side by side. Three rows
  // do not fit in 200: the same overlap between each.
  ASSERT_EQ(xs.size(), 4u);
  ASSERT_EQ(ys.size(), 3u);
  std::vector<int32_t> cx(xs.begin(), xs.end()), cy(ys.begin(), ys.end());
  for (size_t k = 1; k < cx.size(); ++k) EXPECT_GE(cx[k] - cx[k - 1], 70);
  EXPECT_EQ(cy[1] - cy[0], cy[2] - cy[1]);
}

TEST_F(PlayFieldTest, GatherBringsEverythingBackAfterAskingAndSinksTheBigGroup) {
  Open();
  Scatter();
  for (int32_t i : {0, 1, 3, 4, 6}) T(i).Group = 8;  // five of nine pieces
  Put(1, T(0).X + 20, T(0).Y);
  T(2).Win = MW_SIDE1;
  T(5).Win = MW_POCKET + 1;
  SortPieces(jig, false);
  fake.QueueAnswer(kMsgNo);
  ASSERT_TRUE(field->RunCommand(Command::GameGather));
  EXPECT_EQ(T(2).Win, MW_SIDE1) << "No leaves everything";
  ASSERT_EQ(fake.messages.size(), 1u);
  EXPECT_EQ(fake.messages[0].style, kMsgQuestionYesNo);
  Probe(field).ShowPocket(1, true);
  fake.QueueAnswer(kMsgYes);
  ASSERT_TRUE(field->RunCommand(Command::GameGather));
  for (const TILE_P& t : jig.Tiles) EXPECT_EQ(t.Win, MW_SIDE0);
  EXPECT_EQ(T(0).Group, 0) << "the big group lies at the bottom";
  EXPECT_FALSE(Probe(field).Wins()[MW_POCKET + 1].Shown);
  EXPECT_EQ(Probe(field).SideIndex(), 0);
}

TEST_F(PlayFieldTest, WeightHoldsAGroupAtTheBottom) {
  Open();
  Scatter();
  int32_t cx, cy;
  OwnPoint(jig, 4, cx, cy);
  field->PointerMove(0, 0, 5, 5);
  ASSERT_TRUE(field->RunCommand(Command::GameWeight));
  EXPECT_TRUE(Probe(field).WeightMode());
  field->PointerMove(0, 0, cx, cy);
  field->PointerUp(kMbLeft, 0, cx, cy);
  EXPECT_FALSE(Probe(field).WeightMode());
  EXPECT_EQ(Probe(field).WeightedPiece(), 4);
  EXPECT_EQ(T(4).Group, 0);
  EXPECT_TRUE(view.checked[Command::GameWeight]);
  // Picking it does not lift it; select all leaves it out.
  const int32_t x0 = T(4).X;
  field->PointerDown(kMbLeft, 0, cx, cy);
  EXPECT_EQ(T(4).Group, 0);
  field->PointerUp(kMbLeft, 0, cx + 30, cy);
  EXPECT_EQ(T(4).X, x0 + 30) << "it can still be dragged";
  ASSERT_TRUE(field->RunCommand(Command::GameSelectAll));
  EXPECT_EQ(T(4).Sel, 0);
  EXPECT_EQ(T(3).Sel, 1);
  // The command again takes the weight off.
  ASSERT_TRUE(field->RunCommand(Command::GameWeight));
  EXPECT_EQ(Probe(field).WeightedPiece(), -1);
  EXPECT_FALSE(view.checked[Command::GameWeight]);
}

// While a group is weighted it carries a small weight on its weighted
// piece, on top of the side's pieces, and the mark moves with the group.
TEST_F(PlayFieldTest, TheWeightedGroupShowsTheWeightAndCarriesIt) {
  Open();
  Scatter();
  const TMyWin& w = Probe(field).Wins()[0];
  auto markAt = [&](int32_t i) {
    return Px(Probe(field).FieldImg(), FieldX(w, T(i).X + T(i).RotW / 2), FieldY(w, T(i).Y + T(i).RotH / 2));
  };
  const uint32_t plain = markAt(4);
  ASSERT_NE(plain, 0x202020u);
  int32_t cx, cy;
  OwnPoint(jig, 4, cx, cy);
  field->PointerMove(0, 0, 5, 5);
  ASSERT_TRUE(field->RunCommand(Command::GameWeight));
  field->PointerMove(0, 0, cx, cy);
  field->PointerUp(kMbLeft, 0, cx, cy);
  ASSERT_EQ(Probe(field).WeightedPiece(), 4);
  EXPECT_EQ(markAt(4), 0x202020u) << "the test weight is dark grey";
  // Dragged, the mark goes along, also while the pointer moves.
  field->PointerDown(kMbLeft, 0, cx, cy);
  field->PointerMove(kHeldLeft, 0, cx + 40, cy + 30);
  EXPECT_EQ(markAt(4), 0x202020u) << "during the drag";
  field->PointerUp(kMbLeft, 0, cx + 40, cy + 30);
  EXPECT_EQ(markAt(4), 0x202020u) << "after the drop";
  // Off again, the piece shows as it is.
  ASSERT_TRUE(field->RunCommand(Command::GameWeight));
  EXPECT_EQ(markAt(4), plain);
}

// The weight to be placed starts where the pointer left the field, and off
// the field when it left above or to the left of it (to the toolbar).
TEST_F(PlayFieldTest, TheWeightStartsOffTheFieldWhenThePointerLeftToTheToolbar) {
  Open();
  struct Case {
    const char* what;
    int32_t x, y, startX, startY;
  };
  const Case cases[] = {
      {"left above, to the toolbar", 120, -4, -100, -100},
      {"left on the left", -2, 50, -100, -100},
      {"left below", 200, 301, 200, 301},
  };
  for (const Case& c : cases) {
    field->PointerMove(0, 0, c.x < 0 ? 1 : c.x, c.y < 0 ? 1 : Min(c.y, 299));
    field->PointerLeft(c.x, c.y);
    ASSERT_TRUE(field->RunCommand(Command::GameWeight));
    EXPECT_TRUE(Probe(field).WeightMode()) << c.what;
    EXPECT_EQ(Probe(field).Weight().X, c.startX) << c.what;
    EXPECT_EQ(Probe(field).Weight().Y, c.startY) << c.what;
    ASSERT_TRUE(field->RunCommand(Command::GameWeight));  // placing stopped
    ASSERT_FALSE(Probe(field).WeightMode());
  }
}

TEST_F(PlayFieldTest, TileAndCascadeLayOutTheShownPockets) {
  Open({}, 400, 300);
  ASSERT_TRUE(field->RunCommand(Command::PocketsTile));  // nothing shown, nothing held: nothing
  for (int32_t p = 0; p < 4; ++p) EXPECT_FALSE(Probe(field).Wins()[MW_POCKET + p].Shown);
  Probe(field).ShowPocket(0, true);
  Probe(field).Wins()[MW_POCKET + 2].Groups = 1;  // a hidden pocket that holds pieces is shown
  ASSERT_TRUE(field->RunCommand(Command::PocketsTile));
  const XRECT& a = Probe(field).Wins()[MW_POCKET].Outer;
  const XRECT& c = Probe(field).Wins()[MW_POCKET + 2].Outer;
  EXPECT_TRUE(Probe(field).Wins()[MW_POCKET + 2].Shown);
  EXPECT_EQ(a.Left, 300);
  EXPECT_EQ(a.Top, 0);
  EXPECT_EQ(a.Height, 150);
  EXPECT_EQ(c.Left, 300);
  EXPECT_EQ(c.Top, 150);
  ASSERT_TRUE(field->RunCommand(Command::PocketsCascade));
  EXPECT_EQ(a.Left, 400 - 100 - 60 + 30);
  EXPECT_EQ(c.Left, 400 - 100 - 60 + 60);
  EXPECT_EQ(c.Top, 34);
  EXPECT_EQ(c.Height, 300 - 68);
}

// Tile and Cascade lay the pockets out in the side's client area: where the
// side scrolls they leave its scroll bars free, and without bars they use
// the whole field as before.
TEST_F(PlayFieldTest, TiledAndCascadedPocketsLeaveTheSideScrollBarsFree) {
  struct Case {
    const char* what;
    int32_t cols, rows;  // of 100-pixel cells, in a 400 x 300 field
    bool hBar, vBar;
  };
  const Case cases[] = {
      {"both bars", 5, 4, true, true},
      {"a vertical bar", 3, 4, false, true},
      {"a horizontal bar", 5, 2, true, false},
      {"no bars", 3, 2, false, false},
  };
  for (const Case& c : cases) {
    PlayJigsawSpec spec;
    spec.Cols = c.cols;
    spec.Rows = c.rows;
    spec.Cell = 100;
    Open(spec, 400, 300);
    const TMyWin& side = Probe(field).Wins()[MW_SIDE0];
    ASSERT_EQ(side.HBar != 0, c.hBar) << c.what;
    ASSERT_EQ(side.VBar != 0, c.vBar) << c.what;
    ASSERT_EQ(side.Client.Right, c.vBar ? 399 - kBarSize : 399) << c.what;
    ASSERT_EQ(side.Client.Bottom, c.hBar ? 299 - kBarSize : 299) << c.what;
    Probe(field).ShowPocket(0, true);
    Probe(field).ShowPocket(3, true);
    for (Command command : {Command::PocketsTile, Command::PocketsCascade}) {
      ASSERT_TRUE(field->RunCommand(command));
      for (int32_t p : {0, 3}) {
        const XRECT& o = Probe(field).Wins()[MW_POCKET + p].Outer;
        const std::string where = std::string(c.what) + ", " + std::string(CommandName(command)) +
                                  ", pocket " + std::to_string(p + 1);
        EXPECT_LE(o.Right, side.Client.Right) << where;
        EXPECT_LE(o.Bottom, side.Client.Bottom) << where;
        EXPECT_EQ(o.Width, side.Client.Width / 4) << where;
      }
    }
    // Tiled, the last pocket ends at the client's right edge and the two
    // share its height.
    ASSERT_TRUE(field->RunCommand(Command::PocketsTile));
    const XRECT& last = Probe(field).Wins()[MW_POCKET + 3].Outer;
    EXPECT_EQ(last.Right, side.Client.Right) << c.what;
    EXPECT_EQ(last.Height, side.Client.Height / 2) << c.what;
  }
}

// A pocket shown empty gets a client that holds the game's largest piece
// (turned either way where turning is allowed), as long as the side's client
// area has the room; small pieces keep the quarter of the field, and the
// border frame, as large as the picture, does not count.
TEST_F(PlayFieldTest, ANewPocketHoldsTheLargestPiece) {
  struct Case {
    const char* what;
    PlayJigsawSpec spec;
    int32_t fw, fh;
    int32_t clientW, clientH;
  };
  // One column of two 120-pixel cells, the upper with a 30-pixel tab down:
  // the largest box is 120 x 150.
  PlayJigsawSpec tall;
  tall.Cols = 1;
  tall.Rows = 2;
  tall.Cell = 120;
  tall.Knob = 30;
  PlayJigsawSpec turning = tall;
  turning.Rotate = true;
  PlayJigsawSpec framed;
  framed.Border = true;
  const Case cases[] = {
      {"a piece taller than a quarter of the field", tall, 400, 300, 120, 150},
      {"turning allowed: the longer side both ways", turning, 400, 300, 150, 150},
      // The 240-pixel picture makes the 160-pixel side scroll: its client is
      // 183 x 160, and the pocket as high as that.
      {"a piece taller than the side", tall, 200, 160, 120, 160 - 26},
      {"small pieces: a quarter of the field", {}, 400, 300, 92, 78},
      {"small pieces and the border frame", framed, 400, 300, 92, 78},
  };
  for (const Case& c : cases) {
    Open(c.spec, c.fw, c.fh);
    const TMyWin& side = Probe(field).Wins()[MW_SIDE0];
    for (int32_t p = 0; p < 2; ++p) {
      Probe(field).ShowPocket(p, true);
      const TMyWin& w = Probe(field).Wins()[MW_POCKET + p];
      const std::string where = std::string(c.what) + ", pocket " + std::to_string(p + 1);
      EXPECT_EQ(w.Client.Width, c.clientW) << where;
      EXPECT_EQ(w.Client.Height, c.clientH) << where;
      EXPECT_GE(w.Outer.Left, 0) << where;
      EXPECT_GE(w.Outer.Top, 0) << where;
      EXPECT_LE(w.Outer.Right, side.Client.Right) << where;
      EXPECT_LE(w.Outer.Bottom, side.Client.Bottom) << where;
    }
  }

  // A resumed game keeps the pockets it saved, however small.
  Open(tall, 400, 300);
  PocketRecord saved[4];
  field->StorePocketRecords(saved, 4);
  saved[1].Shown = 1;
  saved[1].Left = 20;
  saved[1].Top = 30;
  saved[1].Right = 119;   // client 92 wide
  saved[1].Bottom = 133;  // and 78 high
  field->ApplyPocketRecords(saved, 4);
  PocketRecord restored[4];
  field->StorePocketRecords(restored, 4);
  EXPECT_EQ(restored[1], saved[1]);
}

TEST_F(PlayFieldTest, BackgroundPicturesOneAtATimeAndGreyWhenMissing) {
  Open();
  TempDir dir;
  Probe(field).paths().BkgPicDir = dir.path();
  DIB_P pic;
  DibCreate24(pic, 64, 48);
  DibFillRect(pic, 0, 0, 64, 48, MakeRGB(150, 90, 40));
  std::vector<uint8_t> jpeg;
  ASSERT_TRUE(DibSaveJpeg(pic, 95, jpeg, nullptr));
  WriteFile(dir.path() + "parquet-1600.jpg", std::string(jpeg.begin(), jpeg.end()));
  WriteFile(dir.path() + "wood1-1600.jpg", std::string(jpeg.begin(), jpeg.end()));

  Probe(field).SetBkg(1, 12);  // stucco4 is missing
  EXPECT_EQ(Probe(field).Wins()[1].Bkg, 0x989898);
  BkgBlock bkgs = field->Backgrounds();
  bkgs.Win = {10, 13, 0x112233, 10, 0x989898, 0x989898};
  field->SetBackgrounds(bkgs);
  EXPECT_EQ(Probe(field).Wins()[0].Bkg, 10);
  EXPECT_EQ(Probe(field).Wins()[1].Bkg, 0x989898) << "a second picture turns grey";
  EXPECT_EQ(Probe(field).Wins()[3].Bkg, 10);
  EXPECT_EQ(Probe(field).Wins()[2].Bkg, 0x112233);
  EXPECT_EQ(Probe(field).BkgPic().Width, 400) << "scaled to the field";
  field->Invalidate();
  const int32_t px = DibGetPixel(Probe(field).FieldImg(), 390, 290);
  EXPECT_NEAR(px & 0xFF, 150, 4);
  EXPECT_NEAR((px >> 8) & 0xFF, 90, 4);
}

TEST_F(PlayFieldTest, SolvedImageHasTheFrameAndTheCaptionStrip) {
  PlayJigsawSpec spec;
  spec.Cols = 2;
  spec.Rows = 1;
  spec.Rotate = true;
  Open(spec);
  TempDir dir;
  view.finishAnswer = true;
  view.savePath = dir.path() + "solved.bmp";
  Probe(field).JigName() = "Harbour";
  Probe(field).InfoText() = "  A harbour.\r\n\r\n  Photograph: someone  \r\n";
  Put(0, 100, 100);
  Put(1, 200, 200);
  DragPieceTo(*field, 1, 120, 101);
  ASSERT_TRUE(Probe(field).bSolved());
  EXPECT_EQ(view.finishShown, 1);
  ASSERT_TRUE(view.errors.empty());
  DIB_P img;
  ASSERT_TRUE(DibLoadPictureFile(img, view.savePath, nullptr));
  EXPECT_EQ(img.Width, jig.Jig.ImageW + 2);
  EXPECT_EQ(img.Height, jig.Jig.ImageH + 52);
  EXPECT_EQ(DibGetPixel(img, 0, 0), 0);
  EXPECT_EQ(DibGetPixel(img, 1, 1), DibGetPixel(jig.Images[0], 0, 0));
  EXPECT_EQ(DibGetPixel(img, 30, 19), DibGetPixel(jig.Images[0], 29, 18));
  EXPECT_EQ(DibGetPixel(img, 2, jig.Jig.ImageH + 3), 0xFFFFFF) << "the white bars";
  auto logged = [&](const std::string& s) {
    for (const std::string& l : fake.log)
      if (l == "text " + s) return true;
    return false;
  };
  EXPECT_TRUE(logged("A harbour.   Photograph: someone   "));
  EXPECT_TRUE(logged("Assembled from  "));
  EXPECT_TRUE(logged("2"));
  EXPECT_TRUE(logged("  pieces"));
  EXPECT_TRUE(logged("  with rotation"));
  EXPECT_FALSE(logged("  with border"));
  EXPECT_TRUE(logged("1/2/2024"));

  // No info text: "Unknown image".
  Probe(field).InfoText() = "";
  fake.log.clear();
  DIB_P again;
  ASSERT_TRUE(field->MakeSolvedImage(again));
  EXPECT_TRUE(logged("Unknown image"));
}

}  // namespace
}  // namespace varlo::testing
