#include "app/folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_home.h"

namespace fs = std::filesystem;
using namespace varlo;
using varlo::testing::ReadFile;
using varlo::testing::TempDir;
using varlo::testing::TempHome;
using varlo::testing::WriteFile;

namespace {

// A small installation tree: settings, an autosave, three packs of which
// one is restored on every start and one is listed for the first run, and
// a starter saved game.
std::string MakeInstallation(const std::string& root) {
  const std::string inst = root + "install/";
  WriteFile(inst + "varlo.ini", "[Main]\r\n");
  WriteFile(inst + "autosaved.sv1", "autosave");
  WriteFile(inst + "jigsaws/Tulips.ast", "tulips");
  WriteFile(inst + "jigsaws/Harbour.ast", "harbour");
  WriteFile(inst + "jigsaws/Unlisted.ast", "unlisted");
  WriteFile(inst + "jigsaws/Starter Game.sv1", "game");
  WriteFile(inst + "jigsaws/distjiglist.txt", "Tulips.ast\r\n../escape.ast\r\n");
  WriteFile(inst + "thumb/jiglist.txt", "Harbour\n");
  WriteFile(root + "escape.ast", "outside");
  return inst;
}

bool Exists(const std::string& p) { return fs::exists(p); }

}  // namespace

TEST(Folders, LinuxRolesWithoutUserDirsFile) {
  TempHome home;
  const std::string inst = MakeInstallation(home.path());
  FILE_NAMES n;
  SetupFolders(n, inst);

  const std::string h = home.path() + "home/";
  EXPECT_EQ(n.sExeDir, inst);
  EXPECT_EQ(n.sDocDir, h + "Documents/");
  EXPECT_EQ(n.sMakerDir, h + "Documents/Tovak Games/");
  EXPECT_EQ(n.sUserDir, h + "Documents/Tovak Games/Varlo Jigsaw USA Edition/");
  EXPECT_EQ(n.sAppDataDir, h + ".local/share/Varlo Jigsaw USA Edition/");
  // No pictures folder named and no ~/Pictures: the home folder, never the
  // installation (the solved image's dialog opens there).
  EXPECT_EQ(n.sPicturesDir, h);
  EXPECT_EQ(n.sTempDir, home.path() + "tmp/");
  EXPECT_EQ(n.sIniFile, n.sAppDataDir + "varlo.ini");
  EXPECT_EQ(n.sTempPic, n.sAppDataDir + "~ajtemp.bmp");
  EXPECT_EQ(n.sSolveDir, n.sUserDir + "Saved Games/");
  EXPECT_EQ(n.sSaveTemp, n.sSolveDir + "varlo.svt");
  EXPECT_EQ(n.sAutoSave, n.sSolveDir + "autosaved.sv1");
  EXPECT_EQ(n.sUserJigDir, n.sUserDir + "Jigsaws/");
  EXPECT_EQ(n.sExeJigDir, inst + "jigsaws/");
  EXPECT_EQ(n.sExeSolveDir, inst + "jigsaws/");
  EXPECT_EQ(n.sThumbDir, inst + "thumb/");
  EXPECT_EQ(n.sShapeLib, inst + "pic_varlo.dat");
  EXPECT_EQ(n.sLangDir, inst + "language/");
  EXPECT_EQ(n.sBkgPicDir, inst + "bkg-pics/");
  EXPECT_EQ(n.sReportFile, n.sDocDir + "varlo-report.txt");
  EXPECT_EQ(n.sJigListTmp, n.sAppDataDir + "_jigsaws.txt");
  EXPECT_EQ(n.sThumbTmp, n.sAppDataDir + "_thumb.jpg");
  EXPECT_TRUE(fs::is_directory(n.sUserJigDir));
  EXPECT_TRUE(fs::is_directory(n.sSolveDir));
  EXPECT_TRUE(fs::is_directory(n.sAppDataDir));
}

TEST(Folders, PicturesFolderWithoutUserDirsFileIsTheHomePictures) {
  TempHome home;
  const std::string inst = MakeInstallation(home.path());
  const std::string h = home.path() + "home/";
  fs::create_directories(h + "Pictures");
  FILE_NAMES n;
  SetupFolders(n, inst);
  EXPECT_EQ(n.sPicturesDir, h + "Pictures/");
}

TEST(Folders, UserDirsFileNamesDocumentsAndPictures) {
  TempHome home;
  const std::string inst = MakeInstallation(home.path());
  const std::string h = home.path() + "home";
  WriteFile(h + "/.config/user-dirs.dirs",
            "# written by xdg-user-dirs-update\n"
            "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
            "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"
            "XDG_MUSIC_DIR=\"relative/is/ignored\"\n");
  FILE_NAMES n;
  SetupFolders(n, inst);
  EXPECT_EQ(n.sDocDir, h + "/Dokumente/");
  EXPECT_EQ(n.sPicturesDir, h + "/Bilder/");
  EXPECT_TRUE(fs::is_directory(n.sUserDir)) << "documents folder created when missing";
  EXPECT_EQ(ReadShellFolder("Music"), "");
}

TEST(Folders, FirstRunCopiesStarterFilesAndLaterStartsOnlyRestoreDistList) {
  TempHome home;
  const std::string inst = MakeInstallation(home.path());
  FILE_NAMES n;
  SetupFolders(n, inst);

  EXPECT_EQ(n.bFirstRun, 1);
  EXPECT_EQ(ReadFile(n.sIniFile), "[Main]\r\n");
  EXPECT_EQ(ReadFile(n.sAutoSave), "autosave");
  EXPECT_EQ(ReadFile(n.sUserJigDir + "Tulips.ast"), "tulips");
  EXPECT_EQ(ReadFile(n.sUserJigDir + "Harbour.ast"), "harbour");
  EXPECT_EQ(ReadFile(n.sSolveDir + "Starter Game.sv1"), "game");
  EXPECT_FALSE(Exists(n.sUserJigDir + "Unlisted.ast"));
  EXPECT_EQ(n.iDistJigNum, 2);
  EXPECT_EQ(n.iJigNum, 1);
  ASSERT_EQ(n.JigList.size(), 1u);
  EXPECT_EQ(n.JigList[0], "Harbour") << "line ends are not part of the names";
  EXPECT_FALSE(Exists(n.sUserDir + "escape.ast")) << "a list entry never reaches outside its folder";

  // The player deletes everything; the next start restores only the
  // jigsaws of distjiglist.txt.
  fs::remove(n.sUserJigDir + "Tulips.ast");
  fs::remove(n.sUserJigDir + "Harbour.ast");
  fs::remove(n.sSolveDir + "Starter Game.sv1");
  fs::remove(n.sAutoSave);
  FILE_NAMES again;
  SetupFolders(again, inst);
  EXPECT_EQ(again.bFirstRun, 0);
  EXPECT_TRUE(Exists(again.sUserJigDir + "Tulips.ast"));
  EXPECT_FALSE(Exists(again.sUserJigDir + "Harbour.ast"));
  EXPECT_FALSE(Exists(again.sSolveDir + "Starter Game.sv1"));
  EXPECT_FALSE(Exists(again.sAutoSave));
}

TEST(Folders, FirstRunNeverOverwritesPlayerFiles) {
  TempHome home;
  const std::string inst = MakeInstallation(home.path());
  const std::string user = home.path() + "home/Documents/Tovak Games/Varlo Jigsaw USA Edition/";
  WriteFile(user + "Jigsaws/Tulips.ast", "my own tulips");
  WriteFile(user + "Saved Games/Starter Game.sv1", "my progress");
  WriteFile(user + "Saved Games/autosaved.sv1", "my autosave");
  FILE_NAMES n;
  SetupFolders(n, inst);
  EXPECT_EQ(n.bFirstRun, 1);
  EXPECT_EQ(ReadFile(n.sUserJigDir + "Tulips.ast"), "my own tulips");
  EXPECT_EQ(ReadFile(n.sSolveDir + "Starter Game.sv1"), "my progress");
  EXPECT_EQ(ReadFile(n.sAutoSave), "my autosave");
}

TEST(Folders, MissingListsLeaveEmptyListsAndNoCopies) {
  TempHome home;
  TempDir inst;
  FILE_NAMES n;
  SetupFolders(n, inst.path());
  EXPECT_EQ(n.iDistJigNum, 0);
  EXPECT_EQ(n.iJigNum, 0);
  EXPECT_EQ(n.bFirstRun, 1);
  EXPECT_FALSE(Exists(n.sIniFile));
}

TEST(Folders, FreeFoldersDeletesTheTemporaryPicture) {
  TempHome home;
  const std::string inst = MakeInstallation(home.path());
  FILE_NAMES n;
  SetupFolders(n, inst);
  WriteFile(n.sTempPic, "BM");
  FreeFolders(n);
  EXPECT_FALSE(Exists(n.sTempPic));
  EXPECT_TRUE(n.DistJigList.empty());
  EXPECT_TRUE(n.JigList.empty());
}

TEST(Folders, AddBackslash) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"", ""}, {"/", "/"}, {"a", "a/"}, {"/x/y/", "/x/y/"}, {"/x/y", "/x/y/"}};
  for (const auto& c : cases) {
    std::string s = c.in;
    AddBackslash(s);
    EXPECT_EQ(s, c.out) << "input \"" << c.in << "\"";
  }
}

TEST(Folders, ForceDirCreatesOneLevelOnly) {
  TempDir dir;
  EXPECT_TRUE(ForceDir(dir.path() + "one/"));
  EXPECT_TRUE(ForceDir(dir.path() + "one")) << "an existing folder counts";
  EXPECT_FALSE(ForceDir(dir.path() + "two/three/"));
  EXPECT_FALSE(fs::exists(dir.path() + "two"));
  WriteFile(dir.path() + "file", "x");
  EXPECT_FALSE(ForceDir(dir.path() + "file/"));
  EXPECT_FALSE(ForceDir(""));
}

TEST(Folders, CopyIfMissing) {
  TempDir dir;
  const std::string d = dir.path();
  WriteFile(d + "src", "source");
  WriteFile(d + "existing", "kept");

  CopyIfMissing(d + "src", d + "existing", true);
  EXPECT_EQ(ReadFile(d + "existing"), "kept");
  EXPECT_TRUE(fs::exists(d + "src")) << "nothing happens, not even the delete";

  CopyIfMissing(d + "nothing", d + "new", true);
  EXPECT_FALSE(fs::exists(d + "new"));

  CopyIfMissing(d + "src", d + "copy", false);
  EXPECT_EQ(ReadFile(d + "copy"), "source");
  EXPECT_TRUE(fs::exists(d + "src"));

  CopyIfMissing(d + "src", d + "moved", true);
  EXPECT_EQ(ReadFile(d + "moved"), "source");
  EXPECT_FALSE(fs::exists(d + "src"));

  fs::create_directory(d + "folder");
  CopyIfMissing(d + "folder", d + "notcopied", false);
  EXPECT_FALSE(fs::exists(d + "notcopied"));

  CopyIfMissing(d + "moved", d + "no/such/folder/x", false);
  EXPECT_FALSE(fs::exists(d + "no"));
  EXPECT_TRUE(fs::exists(d + "moved"));
}

TEST(Folders, ListFilesMatchesExtensionsAndSortsWithoutCase) {
  TempDir dir;
  const std::string d = dir.path();
  for (const char* name : {"beta.ast", "Alpha.AST", "gamma.sv1", "delta.txt", "noext", "zeta.as"})
    WriteFile(d + name, "x");
  fs::create_directory(d + "Folder.ast");

  auto packs = ListFiles(d, ".ast", false);
  ASSERT_TRUE(packs);
  EXPECT_EQ(*packs, (std::vector<std::string>{"Alpha.AST", "beta.ast", "Folder.ast"}));

  // Several extensions in one list; a mere prefix of one (".as") is no match.
  auto both = ListFiles(d.substr(0, d.size() - 1), ".ast.sv1", true);
  ASSERT_TRUE(both);
  EXPECT_EQ(*both, (std::vector<std::string>{d + "Alpha.AST", d + "beta.ast", d + "Folder.ast",
                                             d + "gamma.sv1"}));

  EXPECT_FALSE(ListFiles(d, ".bmp", false));
  EXPECT_FALSE(ListFiles(d + "missing/", ".ast", false));
  FreeList(packs);
  EXPECT_FALSE(packs);
}
