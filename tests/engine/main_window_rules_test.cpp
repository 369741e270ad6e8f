// The main window's rules that need no display: the shortcut search of the
// pop-up menu, the key gate, the toolbar layout, the recent files and the
// moving of groups when the field changes size.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "app/field_rescale.h"
#include "app/main_menu.h"
#include "app/recent_files.h"
#include "app/toolbar_layout.h"
#include "jigsaw/pieces.h"

namespace varlo {
namespace {

TEST(MainMenuShortcuts, ExactModifiersAndDisabledSubmenus) {
  MainMenu menu;
  struct Case {
    int32_t key, mods;
    std::optional<Command> expect;  // none: nothing runs
  };
  const Case withGame[] = {
      {'S', 0, Command::FileSave},
      {'S', kModShift, Command::FileSaveAs},
      {'S', kModCtrl, std::nullopt},
      {'S', kModShift | kModCtrl, std::nullopt},
      {'O', 0, Command::FileOpen},
      {'B', kModShift, Command::GameBkgCur},
      {'3', 0, Command::PocketsPocket3},
      {'U', 0, Command::FullScreen},
      {'M', 0, Command::Menu},
      {kKeyF1, 0, Command::HelpCont},
      {'Z', 0, std::nullopt},
      {kKeySpace, 0, std::nullopt},  // the window handles Space itself
  };
  for (const Case& c : withGame) {
    const MenuItem* m = menu.MatchShortcut(c.key, c.mods);
    if (c.expect)
      ASSERT_TRUE(m && m->Cmd == c.expect) << ShortcutText(c.key, c.mods);
    else
      EXPECT_EQ(m, nullptr) << ShortcutText(c.key, c.mods);
  }
  // Without a game the Game and Pockets submenus are not searched, and a
  // disabled item ends the search without running.
  menu.Find("MI_Game")->Enabled = false;
  menu.Find("MI_Pockets")->Enabled = false;
  menu.Find(Command::FileSave)->Enabled = false;
  EXPECT_EQ(menu.MatchShortcut('T', 0), nullptr);
  EXPECT_EQ(menu.MatchShortcut('1', 0), nullptr);
  EXPECT_EQ(menu.MatchShortcut('S', 0), nullptr);
  ASSERT_NE(menu.MatchShortcut('O', 0), nullptr);
}

TEST(MainMenuShortcuts, TreeHasEveryItemOnce) {
  MainMenu menu;
  for (const char* name : {"MI_FileLast3", "MI_FileLastSep", "MI_GameGather", "MI_PocketsCascade",
                           "MI_HelpReport", "MI_Min", "MI_Exit"})
    EXPECT_GE(menu.IndexOf(name), 0) << name;
  for (const ToolButtonDef& b : kToolButtons) EXPECT_NE(menu.Find(b.MenuItem), nullptr) << b.Name;
  // Every command has one item, named as the command; every other item
  // is a submenu or a separator.
  std::vector<int32_t> items(kCommandCount, 0);
  for (const MenuItem& m : menu.Items()) {
    if (!m.Cmd) {
      EXPECT_TRUE(m.Separator || !m.Children.empty()) << m.Name;
      continue;
    }
    EXPECT_EQ(m.Name, CommandName(*m.Cmd));
    ++items[static_cast<size_t>(*m.Cmd)];
  }
  for (int32_t c = 0; c < kCommandCount; ++c)
    EXPECT_EQ(items[static_cast<size_t>(c)], 1) << CommandName(static_cast<Command>(c));
  EXPECT_EQ(menu.Find(RecentFileCommand(2))->Tag, 102);
  EXPECT_EQ(menu.Find(Command::GameWin1)->KeyText, "Space");
  EXPECT_EQ(ShortcutText('S', kModShift), "Shift+S");
}

TEST(KeyGate, ReleaseActsOnlyAfterItsOwnPress) {
  KeyGate g;
  EXPECT_FALSE(g.Up('S'));  // released without a press
  g.Down('S');
  EXPECT_FALSE(g.Up('T'));
  EXPECT_TRUE(g.Up('S'));
  EXPECT_FALSE(g.Up('S'));  // once only
  g.Down('A');
  g.Down('B');
  EXPECT_FALSE(g.Up('A'));  // a later press replaced it
  EXPECT_TRUE(g.Up('B'));
  // The modifiers are those of the press, whatever the release says.
  g.Down('S', kModShift);
  EXPECT_TRUE(g.Up('S'));
  EXPECT_EQ(g.Mods(), kModShift);
  g.Down('S', 0);
  EXPECT_EQ(g.Mods(), 0);
}

TEST(ToolbarLayout, GapsByWidthAndCloseCorner) {
  struct Case {
    int32_t w;
    bool full;
    int32_t g1, g2;
  };
  const Case cases[] = {{640, false, 10, 1},  {641, false, 12, 2},  {800, true, 8, 2},
                        {1024, false, 24, 8}, {1024, true, 20, 8},  {1025, false, 26, 10},
                        {1025, true, 26, 10}};
  for (const Case& c : cases) {
    const auto places = LayoutToolbar(c.w, c.full);
    // Open follows App by g1, Save follows Open by g2.
    EXPECT_EQ(places[kBiOpen].X, 4 + 29 + c.g1) << c.w;
    EXPECT_EQ(places[kBiSave].X, places[kBiOpen].X + 29 + c.g2) << c.w;
    EXPECT_EQ(places[kBiHelp].X, places[kBiOptions].X + 29 + c.g1) << c.w;
    EXPECT_EQ(places[kBiClose].Visible, c.full);
    if (c.full) {
      EXPECT_EQ(places[kBiClose].X, c.w - 30);
      EXPECT_EQ(places[kBiMin].X, c.w - 30 - c.g2 - 25);
    }
  }
}

TEST(RecentFiles, MoveUpPushOutAndCaptions) {
  RECENT_FILES r;
  AddRecentFile(r, "");
  EXPECT_EQ(r.Count, 0);
  for (const char* p : {"/j/A.ast", "/j/B.ast", "/j/C.ast", "/j/D.ast"}) AddRecentFile(r, p);
  ASSERT_EQ(r.Count, 4);
  EXPECT_EQ(r.Items[0].sPath, "/j/D.ast");
  AddRecentFile(r, "/J/b.AST");  // the same file, another case: moves up, keeps one entry
  EXPECT_EQ(r.Count, 4);
  EXPECT_EQ(r.Items[0].sPath, "/J/b.AST");
  EXPECT_EQ(r.Items[1].sPath, "/j/D.ast");
  EXPECT_EQ(r.Items[3].sPath, "/j/A.ast");
  AddRecentFile(r, "/s/E.sv1");  // a fifth pushes out the oldest
  EXPECT_EQ(r.Items[0].sName, "E.sv1");
  EXPECT_EQ(r.Items[3].sPath, "/j/C.ast");
  EXPECT_EQ(RecentCaption(r, 0), "&1. E.sv1");
}

TEST(FieldRescale, GroupsMoveByTheirScaledCentre) {
  int32_t dx = 0, dy = 0;
  // Centre (50, 25) of a 101 x 51 box: to 2x the field it moves by its centre.
  GroupShift(0, 0, 100, 50, 1000, 500, 2000, 1000, dx, dy);
  EXPECT_EQ(dx, 50);
  EXPECT_EQ(dy, 25);
  // Rounding to the nearest, halves to even.
  GroupShift(1, 0, 2, 0, 2, 1, 3, 1, dx, dy);  // cx 1.5 -> 2.25 - 1.5 = 0.75 -> 1
  EXPECT_EQ(dx, 1);
  GroupShift(0, 0, 1, 0, 2, 1, 4, 1, dx, dy);  // cx 0.5 -> 1 - 0.5 = 0.5 -> 0 (even)
  EXPECT_EQ(dx, 0);
  GroupShift(1, 0, 2, 0, 2, 1, 4, 1, dx, dy);  // cx 1.5 -> 3 - 1.5 = 1.5 -> 2 (even)
  EXPECT_EQ(dx, 2);
  GroupShift(0, 0, 100, 100, 0, 500, 900, 900, dx, dy);  // no old size: no move
  EXPECT_EQ(dx, 0);
  EXPECT_EQ(dy, 0);

  Jigsaw jig;
  ASSERT_TRUE(AllocPieces(jig, 3));
  jig.Jig.TotalTileNum = 3;
  auto set = [&](int i, int x, int y, int group, int win) {
    TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    t.X = x, t.Y = y, t.RotW = 10, t.RotH = 10, t.Group = group, t.Win = static_cast<uint8_t>(win);
  };
  set(0, 0, 0, 7, 0);
  set(1, 10, 0, 7, 0);   // joined to piece 0: the pair moves as one
  set(2, 100, 100, 8, 1);  // another window: untouched
  MoveGroupsToFieldSize(jig, 0, 100, 100, 200, 100);
  // Pair box 0..19 x 0..9, centre (9.5, 4.5): dx = round(9.5) = 10 (even), dy = 0.
  EXPECT_EQ(jig.Tiles[0].X, 10);
  EXPECT_EQ(jig.Tiles[1].X, 20);
  EXPECT_EQ(jig.Tiles[1].X - jig.Tiles[0].X, 10);
  EXPECT_EQ(jig.Tiles[2].X, 100);
}

}  // namespace
}  // namespace varlo
