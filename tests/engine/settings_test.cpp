// The settings: defaults, every key through the file and back, limits,
// recent files, language and the first run.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/fake_platform.h"
#include "support/temp_home.h"

namespace varlo {
namespace {

using ::varlo::testing::FakePlatform;
using ::varlo::testing::ReadFile;
using ::varlo::testing::TempDir;
using ::varlo::testing::WriteFile;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    names_.sExeDir = dir_.path() + "exe/";
    names_.sThumbDir = names_.sExeDir + "thumb/";
    names_.sLangDir = names_.sExeDir + "language/";
    names_.sAppDataDir = dir_.path() + "appdata/";
    names_.sIniFile = names_.sAppDataDir + "varlo.ini";
    names_.sUserJigDir = dir_.path() + "user/Jigsaws/";
    names_.sSolveDir = dir_.path() + "user/Saved Games/";
    std::filesystem::create_directories(names_.sAppDataDir);
    WriteFile(names_.sLangDir + "english.lng",
              "[Options]\n<FormCaption> Options\n[Download]\n<FormCaption> Download Jigsaws\n");
  }

  void WriteIni(const std::string& text) { WriteFile(names_.sIniFile, text); }

  SETTINGS_P Load() {
    SETTINGS_P s;
    LoadSettings(s, names_, lang_, fake_.platform());
    return s;
  }

  // The settings with every stored value away from its default.
  SETTINGS_P Changed() const {
    SETTINGS_P s = DefaultSettings(names_);
    s.DefJig.Rotate = 1;
    s.DefJig.BorderStyle = 1;
    s.DefJig.ShapeStyle = 5;
    s.DefJig.Level = 13;
    s.DefJig.SpreadOut = 1;
    s.DefJig.FitToScreen = 0;
    s.AutoSave_bEnabled = 0;
    s.AutoSave_iIntervalMin = 45;
    s.bSoundPlay = 0;
    s.Opt.EmbossStyle = 3;
    s.Opt.WoodStyle = 0;
    s.Opt.WoodColor = 0x92ADBE;
    s.bShowConj = 0;
    s.bFullScreen = 1;
    s.Play = {kMbRight, 0, kMbRight, kSsCtrl, kMbLeft, kSsCtrl | kSsShift, 1, 1};
    s.Opt.iStuckKoef = 27;
    s.sCurLang = "german";
    s.ShowQuickHelp = 0;
    s.Recent.Count = 3;
    s.Recent.Items[0] = {names_.sSolveDir + "My Game.sv1", "My Game.sv1"};
    s.Recent.Items[1] = {names_.sUserJigDir + "Tiger.ast", "Tiger.ast"};
    s.Recent.Items[2] = {"/pictures/holiday 2024.bmp", "holiday 2024.bmp"};
    s.Opt.sDnSrc = kDnSourceHosts[0];
    s.Opt.bUseSecure = 1;
    s.Opt.iSecureMethodInd = 6;
    return s;
  }

  TempDir dir_;
  FILE_NAMES names_;
  LANG_P lang_;
  FakePlatform fake_;
};

TEST_F(SettingsTest, MissingOrGarbageFileGivesTheDefaults) {
  const SETTINGS_P defaults = DefaultSettings(names_);
  EXPECT_EQ(defaults.DefJig.ShapeStyle, 3);
  EXPECT_EQ(defaults.DefJig.Level, 6);
  EXPECT_EQ(defaults.DefJig.FitToScreen, 1);
  EXPECT_EQ(defaults.Opt.WoodColor, 4810874u);
  EXPECT_EQ(defaults.Opt.ThumbPath, names_.sThumbDir);
  EXPECT_EQ(defaults.Opt.SiteJigsawsDir, "varlo/jigsaws_usa/");
  EXPECT_EQ(defaults.Opt.sDnSrc, kDnSourceHosts[1]);
  EXPECT_EQ(defaults.WindowBkg[5], 0x989898);

  EXPECT_EQ(Load(), defaults);
  EXPECT_EQ(names_.sHelpFile, names_.sLangDir + "english.chm");
  EXPECT_EQ(LangText(lang_, kLangOptions, "FormCaption"), "Options");
  EXPECT_EQ(lang_.sDownloadCaption, "Download Jigsaws");

  const std::string garbage[] = {
      std::string("\x00\xFF\x01[Main\r<Sound>\n=\n\n[", 16),
      "[Main]\r\n<Sound> 2\r\n<DefJigP>\r\nLevel=six\r\nShapeStyle=\r\n<FullScreen> 1 1\r\n",
      std::string(5000, '['),
  };
  for (const std::string& g : garbage) {
    WriteIni(g);
    EXPECT_EQ(Load(), defaults) << g.substr(0, 40);
  }
}

TEST_F(SettingsTest, EverySettingRoundTripsThroughTheFile) {
  const SETTINGS_P changed = Changed();
  ASSERT_TRUE(SaveSettings(changed, names_));
  EXPECT_EQ(Load(), changed);

  // And the file says it in the documented keys.
  SetEngine ini;
  ini.SetLoad(names_.sIniFile);
  struct Key {
    const char *section, *group;
    std::string_view key;
    const char* value;
  };
  const Key keys[] = {
      {"Main", "DefJigP", "Rotate", "1"},       {"Main", "DefJigP", "BorderStyle", "1"},
      {"Main", "DefJigP", "ShapeStyle", "5"},   {"Main", "DefJigP", "Level", "13"},
      {"Main", "DefJigP", "SpreadOut", "1"},    {"Main", "DefJigP", "FitToScreen", "0"},
      {"Main", "AutoSave", "Enabled", "0"},     {"Main", "AutoSave", "Interval", "45"},
      {"Main", "Sound", kNoKey, "0"},           {"Main", "Embossing", "Style", "3"},
      {"Main", "Embossing", "WoodStyle", "0"},  {"Main", "Embossing", "WoodColor", "9612734"},
      {"Main", "ShowConj", kNoKey, "0"},        {"Main", "FullScreen", kNoKey, "1"},
      {"Play", "RotCW", "Button", "1"},         {"Play", "RotCW", "Shift", "0"},
      {"Play", "RotCCW", "Button", "1"},        {"Play", "RotCCW", "Shift", "4"},
      {"Play", "MoveOW", "Button", "0"},        {"Play", "MoveOW", "Shift", "5"},
      {"Play", "SingleMainWindow", kNoKey, "1"}, {"Play", "ClickToDrag", kNoKey, "1"},
      {"Play", "StuckKoef", kNoKey, "27"},      {"Lang", "Lang", kNoKey, "german"},
      {"Lang", "QuickHelp", kNoKey, "0"},       {"Files", "LastFileNum", kNoKey, "3"},
      {"Files", "Last2", kNoKey, "/pictures/holiday 2024.bmp"},
      {"Download", "DnSrc", kNoKey, kDnSourceHosts[0]},
      {"Download", "UseSecure", kNoKey, "1"},  {"Download", "SecureMethodInd", kNoKey, "6"},
  };
  for (const Key& k : keys)
    EXPECT_EQ(ini.SetReadStr(k.section, k.group, k.key, "<missing>"), k.value)
        << k.section << "/" << k.group << "/" << k.key;
}

TEST_F(SettingsTest, ShippedSettingsFileHoldsTheDefaultsInTheExactFormat) {
  const std::string shipped = ReadFile(std::string(VARLO_SOURCE_DIR) + "/data/varlo.ini");
  WriteIni(shipped);
  const SETTINGS_P defaults = DefaultSettings(names_);
  EXPECT_EQ(Load(), defaults);
  // Writing the defaults over it changes no byte: every key is there, in
  // the format the store writes.
  ASSERT_TRUE(SaveSettings(defaults, names_));
  EXPECT_EQ(ReadFile(names_.sIniFile), shipped);
}

TEST_F(SettingsTest, OutOfRangeValuesAreLimitedOrIgnored) {
  struct Case {
    const char* ini;
    std::function<bool(const SETTINGS_P&)> check;
    const char* what;
  };
  const Case cases[] = {
      {"[Main]\n<DefJigP>\nLevel=99", [](auto& s) { return s.DefJig.Level == 13; }, "level 99"},
      {"[Main]\n<DefJigP>\nLevel=-4", [](auto& s) { return s.DefJig.Level == 0; }, "level -4"},
      {"[Main]\n<DefJigP>\nShapeStyle=7", [](auto& s) { return s.DefJig.ShapeStyle == 3; }, "shape 7"},
      {"[Main]\n<DefJigP>\nBorderStyle=2", [](auto& s) { return s.DefJig.BorderStyle == 0; }, "border 2"},
      {"[Main]\n<DefJigP>\nSpreadOut=-1", [](auto& s) { return s.DefJig.SpreadOut == 0; }, "spread -1"},
      {"[Main]\n<AutoSave>\nInterval=0", [](auto& s) { return s.AutoSave_iIntervalMin == 1; }, "interval 0"},
      {"[Main]\n<AutoSave>\nInterval=100000", [](auto& s) { return s.AutoSave_iIntervalMin == 60; }, "interval big"},
      {"[Main]\n<Embossing>\nStyle=4\nWoodStyle=2", [](auto& s) { return s.Opt.EmbossStyle == 0 && s.Opt.WoodStyle == 1; }, "emboss 4"},
      {"[Main]\n<Embossing>\nStyle=5", [](auto& s) { return s.Opt.EmbossStyle == 1; }, "emboss 5"},
      {"[Main]\n<Embossing>\nStyle=260", [](auto& s) { return s.Opt.EmbossStyle == 1; }, "emboss 260"},
      {"[Main]\n<Embossing>\nWoodStyle=3", [](auto& s) { return s.Opt.WoodStyle == 2; }, "wood 3"},
      {"[Main]\n<Embossing>\nWoodColor=-1", [](auto& s) { return s.Opt.WoodColor == kDefaultWoodColor; }, "colour -1"},
      {"[Main]\n<Embossing>\nWoodColor=16777216", [](auto& s) { return s.Opt.WoodColor == kDefaultWoodColor; }, "colour 2^24"},
      {"[Main]\n<Embossing>\nWoodColor=16777215", [](auto& s) { return s.Opt.WoodColor == 0xFFFFFFu; }, "white"},
      {"[Play]\n<RotCW>\nButton=3\nShift=8", [](auto& s) { return s.Play.RotCW_Button == 1 && s.Play.RotCW_Shift == 4; }, "keys"},
      {"[Play]\n<MoveOW>\nButton=2\nShift=7", [](auto& s) { return s.Play.MoveOW_Button == 2 && s.Play.MoveOW_Shift == 7; }, "middle"},
      {"[Play]\n<StuckKoef> 5", [](auto& s) { return s.Opt.iStuckKoef == 10; }, "snap 5"},
      {"[Play]\n<StuckKoef> 31", [](auto& s) { return s.Opt.iStuckKoef == 30; }, "snap 31"},
      {"[Download]\n<SecureMethodInd> 7", [](auto& s) { return s.Opt.iSecureMethodInd == 5; }, "method 7"},
      {"[Download]\n<SecureMethodInd> 0", [](auto& s) { return s.Opt.iSecureMethodInd == 0; }, "method 0"},
      {"[Download]\n<DnSrc>", [](auto& s) { return s.Opt.sDnSrc == kDnSourceHosts[1]; }, "empty host"},
      {"[Lang]\n<Lang> ../../../etc/passwd", [](auto& s) { return s.sCurLang == "english"; }, "lang path"},
      {"[Lang]\n<Lang> a/b", [](auto& s) { return s.sCurLang == "english"; }, "lang slash"},
      {"[Files]\n<LastFileNum> -3\n<Last0> a.bmp", [](auto& s) { return s.Recent.Count == 0; }, "count -3"},
  };
  for (const Case& c : cases) {
    WriteIni(c.ini);
    EXPECT_TRUE(c.check(Load())) << c.what;
  }
}

TEST_F(SettingsTest, RecentFilesAreLimitedRelocatedAndCompacted) {
  WriteIni(
      "[Files]\n"
      "   <LastFileNum> 9\n"
      "   <Last0> D:\\Old\\Tiger.ast\n"
      "   <Last1>\n"
      "   <Last2> /old/home/Saved Games/Castle Game.SV1\n"
      "   <Last3> /pictures/lake.bmp\n"
      "   <Last4> /never/read.ast\n");
  const SETTINGS_P s = Load();
  ASSERT_EQ(s.Recent.Count, 3);
  EXPECT_EQ(s.Recent.Items[0], (LAST_FILE{names_.sUserJigDir + "Tiger.ast", "Tiger.ast"}));
  EXPECT_EQ(s.Recent.Items[1],
            (LAST_FILE{names_.sSolveDir + "Castle Game.SV1", "Castle Game.SV1"}));
  EXPECT_EQ(s.Recent.Items[2], (LAST_FILE{"/pictures/lake.bmp", "lake.bmp"}));
  EXPECT_EQ(s.Recent.Items[3], LAST_FILE{});
}

TEST_F(SettingsTest, SavingKeepsUnknownAndStaleLines) {
  WriteIni(
      "[Files]\r\n"
      "   <LastFileNum> 2\r\n"
      "   <Last0> /a/one.bmp\r\n"
      "   <Last1> /a/two.bmp\r\n"
      "\r\n"
      "[Plugins]\r\n"
      "   <Something> kept\r\n");
  SETTINGS_P s = Load();
  s.Recent.Count = 1;
  s.Recent.Items[1] = {};
  // A path that would break its line is not written; the count follows.
  s.Recent.Items[0] = {"/a/bad\nname.bmp", "bad\nname.bmp"};
  ASSERT_TRUE(SaveSettings(s, names_));
  SetEngine ini;
  ini.SetLoad(names_.sIniFile);
  EXPECT_EQ(ini.SetReadInt("Files", "LastFileNum", kNoKey, -1), 0);
  EXPECT_EQ(ini.SetReadStr("Files", "Last0", kNoKey, ""), "/a/one.bmp") << "stale lines stay";
  EXPECT_EQ(ini.SetReadStr("Files", "Last1", kNoKey, ""), "/a/two.bmp");
  EXPECT_EQ(ini.SetReadStr("Plugins", "Something", kNoKey, ""), "kept");
  EXPECT_EQ(Load().Recent.Count, 0);
}

TEST_F(SettingsTest, ByteOrderMarkedFileReadsItsFirstSection) {
  WriteIni("\xEF\xBB\xBF[Main]\r\n   <DefJigP>\r\n      Level=11\r\n   <Sound> 0\r\n");
  const SETTINGS_P s = Load();
  EXPECT_EQ(s.DefJig.Level, 11);
  EXPECT_EQ(s.bSoundPlay, 0);
}

TEST_F(SettingsTest, FileThatCouldNotBeReadWholeIsNeverRewritten) {
  // Over the size limit: read as the defaults, and left as it is at close.
  const std::string big = "[Main]\r\n   <Sound> 0\r\n[Mine]\r\n   <Keep> me\r\n" +
                          std::string(kMaxSettingsFileBytes, ';') + "\r\n";
  WriteIni(big);
  SETTINGS_P s = Load();
  EXPECT_EQ(s, DefaultSettings(names_));
  std::string error;
  EXPECT_FALSE(SaveSettings(s, names_, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(names_.sIniFile), big);

  // A folder where the file should be is not replaced either.
  std::filesystem::remove(names_.sIniFile);
  std::filesystem::create_directory(names_.sIniFile);
  EXPECT_FALSE(SaveSettings(s, names_));
  EXPECT_TRUE(std::filesystem::is_directory(names_.sIniFile));

  // No file at all is written afresh.
  std::filesystem::remove(names_.sIniFile);
  EXPECT_TRUE(SaveSettings(s, names_));
  EXPECT_EQ(Load(), s);
}

TEST_F(SettingsTest, SaveReportsAnUnwritableFolder) {
  names_.sIniFile = dir_.path() + "no such folder/varlo.ini";
  std::string error;
  EXPECT_FALSE(SaveSettings(DefaultSettings(names_), names_, &error));
  EXPECT_FALSE(error.empty());
}

TEST_F(SettingsTest, FirstRunResetsTheDownloadServer) {
  WriteIni("[Download]\n<DnSrc> mirror.example.org\n<UseSecure> 1\n<SecureMethodInd> 3\n");
  SETTINGS_P s = Load();
  EXPECT_EQ(s.Opt.sDnSrc, "mirror.example.org");
  EXPECT_EQ(s.Opt.bUseSecure, 1);

  names_.bFirstRun = 1;
  s = Load();
  EXPECT_EQ(s.Opt.sDnSrc, kDnSourceHosts[kDefaultDnSource]);
  EXPECT_EQ(s.Opt.bUseSecure, 0);
  EXPECT_EQ(s.Opt.iSecureMethodInd, 3) << "only host and switch are reset";
}

TEST_F(SettingsTest, StoredLanguageReplacesTheEnglishTexts) {
  WriteFile(names_.sLangDir + "german.lng", "\xEF\xBB\xBF[Options]\n<FormCaption> Optionen\n");
  WriteIni("[Lang]\n<Lang> German\n");
  SETTINGS_P s = Load();
  EXPECT_EQ(s.sCurLang, "German");
  EXPECT_EQ(LangText(lang_, kLangOptions, "FormCaption"), "Optionen");
  // A key the chosen file lacks shows the key, not the English text.
  EXPECT_EQ(lang_.sDownloadCaption, "FormCaption");
  EXPECT_EQ(names_.sHelpFile, names_.sLangDir + "english.chm") << "no German help file";

  WriteFile(names_.sLangDir + "german.chm", "help");
  Load();
  EXPECT_EQ(names_.sHelpFile, names_.sLangDir + "german.chm");
  EXPECT_TRUE(fake_.messages.empty());
}

TEST_F(SettingsTest, MissingLanguageFilesKeepWhatIsThere) {
  WriteIni("[Lang]\n<Lang> klingon\n");
  SETTINGS_P s = Load();
  EXPECT_EQ(s.sCurLang, "klingon") << "the stored id is kept";
  EXPECT_EQ(LangText(lang_, kLangOptions, "FormCaption"), "Options");
  EXPECT_TRUE(fake_.messages.empty()) << "a missing stored language is not reported";

  // Without the English file the first load reports it by its bare key.
  std::filesystem::remove(names_.sLangDir + "english.lng");
  LANG_P fresh;
  SETTINGS_P t;
  LoadSettings(t, names_, fresh, fake_.platform());
  ASSERT_EQ(fake_.messages.size(), 1u);
  EXPECT_EQ(fake_.messages[0].text, "MS_CantFindLangFile");
  EXPECT_EQ(fake_.messages[0].style, kMsgExclamationOk);
}

TEST(WoodEdge, WidthFollowsTheStyle) {
  EXPECT_EQ(WoodEdgeWidth(0), 0);
  EXPECT_EQ(WoodEdgeWidth(1), 3);
  EXPECT_EQ(WoodEdgeWidth(2), 5);
  EXPECT_EQ(WoodEdgeWidth(9), 0);
}

}  // namespace
}  // namespace varlo
