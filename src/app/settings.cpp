#include "app/settings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>
#include "raster/path_ascii.h"

namespace varlo {

namespace {

// Sections and groups of varlo.ini.
constexpr const char* kMain = "Main";
constexpr const char* kPlay = "Play";
constexpr const char* kFiles = "Files";
constexpr const char* kLang = "Lang";
constexpr const char* kDownload = "Download";

constexpr const char* kDefJigP = "DefJigP";
constexpr const char* kAutoSave = "AutoSave";
constexpr const char* kSound = "Sound";
constexpr const char* kEmbossing = "Embossing";
constexpr const char* kShowConj = "ShowConj";
constexpr const char* kFullScreen = "FullScreen";
constexpr const char* kRotCW = "RotCW";
constexpr const char* kRotCCW = "RotCCW";
constexpr const char* kMoveOW = "MoveOW";
constexpr const char* kSingleMainWindow = "SingleMainWindow";
constexpr const char* kClickToDrag = "ClickToDrag";
constexpr const char* kStuckKoef = "StuckKoef";
constexpr const char* kLastFileNum = "LastFileNum";
constexpr const char* kQuickHelp = "QuickHelp";
constexpr const char* kDnSrc = "DnSrc";
constexpr const char* kUseSecure = "UseSecure";
constexpr const char* kSecureMethodInd = "SecureMethodInd";

// The old emboss style 4 was paper-less wood: it reads as no emboss with
// the wood band.
constexpr int32_t kLegacyEmbossWood = 4;

std::string LastGroup(int32_t i) { return "Last" + std::to_string(i); }

// A value inside [lo, hi], or def for anything else (enumerations, where a
// neighbouring value would mean something different).
int32_t InSetOr(int32_t v, int32_t lo, int32_t hi, int32_t def) {
  return (v >= lo && v <= hi) ? v : def;
}

uint8_t Flag(bool b) { return b ? 1 : 0; }

// A value that fits on one line of the settings text; a line break inside
// it would split the line and could forge other settings.
bool FitsOnOneLine(const std::string& v) {
  return v.find_first_of("\r\n") == std::string::npos;
}

void ReadPlayKey(const SetEngine& ini, const char* group, uint8_t& button, uint8_t& shift) {
  button = static_cast<uint8_t>(
      InSetOr(ini.SetReadInt(kPlay, group, "Button", button), kMbLeft, kMbMiddle, button));
  shift = static_cast<uint8_t>(
      InSetOr(ini.SetReadInt(kPlay, group, "Shift", shift), 0, kSsShift | kSsAlt | kSsCtrl, shift));
}

}  // namespace

int32_t WoodEdgeWidth(uint8_t woodStyle) {
  switch (woodStyle) {
    case 1:
      return 3;
    case 2:
      return 5;
    default:
      return 0;
  }
}

JIG_P DefaultLevel() {
  JIG_P j;
  j.Rotate = 0;
  j.BorderStyle = 0;
  j.ShapeStyle = 3;
  j.Level = 6;
  j.SpreadOut = 0;
  j.FitToScreen = 1;
  return j;
}

SETTINGS_P DefaultSettings(const FILE_NAMES& names) {
  SETTINGS_P s;
  s.DefJig = DefaultLevel();
  s.Opt.ThumbPath = names.sThumbDir;
  return s;
}

std::string FileNameOfPath(const std::string& path) {
  const size_t sep = path.find_last_of("/\\");
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string RecentPathInUserFolders(const std::string& stored, const FILE_NAMES& names) {
  const std::string name = FileNameOfPath(stored);
  const size_t dot = name.find_last_of('.');
  const std::string ext = dot == std::string::npos ? std::string() : AsciiLower(name.substr(dot));
  if (ext == ".ast") return names.sUserJigDir + name;
  if (ext == ".sv1") return names.sSolveDir + name;
  return stored;
}

void ReadSettings(const SetEngine& ini, SETTINGS_P& s, const FILE_NAMES& names) {
  // Main: the default level.
  JIG_P& j = s.DefJig;
  j.Rotate = Flag(ini.SetReadBool(kMain, kDefJigP, "Rotate", j.Rotate != 0));
  j.BorderStyle = static_cast<uint8_t>(
      InSetOr(ini.SetReadInt(kMain, kDefJigP, "BorderStyle", j.BorderStyle), 0, 1, j.BorderStyle));
  j.ShapeStyle = static_cast<uint8_t>(
      InSetOr(ini.SetReadInt(kMain, kDefJigP, "ShapeStyle", j.ShapeStyle), 0, 6, j.ShapeStyle));
  j.Level = std::clamp(ini.SetReadInt(kMain, kDefJigP, "Level", j.Level), 0, kLevelMax);
  j.SpreadOut = static_cast<uint8_t>(
      InSetOr(ini.SetReadInt(kMain, kDefJigP, "SpreadOut", j.SpreadOut), 0, 1, j.SpreadOut));
  j.FitToScreen = Flag(ini.SetReadBool(kMain, kDefJigP, "FitToScreen", j.FitToScreen != 0));

  s.AutoSave_bEnabled = Flag(ini.SetReadBool(kMain, kAutoSave, "Enabled", s.AutoSave_bEnabled != 0));
  s.AutoSave_iIntervalMin = std::clamp(
      ini.SetReadInt(kMain, kAutoSave, "Interval", s.AutoSave_iIntervalMin), kAutoSaveMinutesMin,
      kAutoSaveMinutesMax);
  s.bSoundPlay = Flag(ini.SetReadBool(kMain, kSound, kNoKey, s.bSoundPlay != 0));

  OPT_P& o = s.Opt;
  const int32_t emboss = InSetOr(ini.SetReadInt(kMain, kEmbossing, "Style", o.EmbossStyle), 0,
                                 kLegacyEmbossWood, o.EmbossStyle);
  o.WoodStyle = static_cast<uint8_t>(
      InSetOr(ini.SetReadInt(kMain, kEmbossing, "WoodStyle", o.WoodStyle), 0, 2, o.WoodStyle));
  const int32_t colour = ini.SetReadInt(kMain, kEmbossing, "WoodColor",
                                        static_cast<int32_t>(o.WoodColor));
  if (colour >= 0 && colour <= 0xFFFFFF) o.WoodColor = static_cast<uint32_t>(colour);
  if (emboss == kLegacyEmbossWood) {
    o.EmbossStyle = 0;
    o.WoodStyle = 1;
  } else {
    o.EmbossStyle = static_cast<uint8_t>(emboss);
  }
  s.bShowConj = Flag(ini.SetReadBool(kMain, kShowConj, kNoKey, s.bShowConj != 0));
  s.bFullScreen = Flag(ini.SetReadBool(kMain, kFullScreen, kNoKey, s.bFullScreen != 0));

  // Play.
  PLAY_OPT_P& p = s.Play;
  ReadPlayKey(ini, kRotCW, p.RotCW_Button, p.RotCW_Shift);
  ReadPlayKey(ini, kRotCCW, p.RotCCW_Button, p.RotCCW_Shift);
  ReadPlayKey(ini, kMoveOW, p.MoveOW_Button, p.MoveOW_Shift);
  p.bSingleWin = Flag(ini.SetReadBool(kPlay, kSingleMainWindow, kNoKey, p.bSingleWin != 0));
  p.bClickToDrag = Flag(ini.SetReadBool(kPlay, kClickToDrag, kNoKey, p.bClickToDrag != 0));
  o.iStuckKoef = std::clamp(ini.SetReadInt(kPlay, kStuckKoef, kNoKey, o.iStuckKoef),
                            kStuckKoefMin, kStuckKoefMax);

  // Files: the recent files. Empty entries are dropped rather than shown as
  // blank menu items.
  const int32_t stored =
      std::clamp(ini.SetReadInt(kFiles, kLastFileNum, kNoKey, 0), 0, kRecentFileMax);
  s.Recent = RECENT_FILES{};
  for (int32_t i = 0; i < stored; ++i) {
    const std::string path = ini.SetReadStr(kFiles, LastGroup(i), kNoKey, "");
    if (path.empty()) continue;
    LAST_FILE& f = s.Recent.Items[s.Recent.Count++];
    f.sPath = RecentPathInUserFolders(path, names);
    f.sName = FileNameOfPath(f.sPath);
  }

  // Lang. An id that could reach outside the language folder is not one.
  const std::string lang = ini.SetReadStr(kLang, kLang, kNoKey, s.sCurLang);
  if (LangIdValid(lang)) s.sCurLang = lang;
  s.ShowQuickHelp = Flag(ini.SetReadBool(kLang, kQuickHelp, kNoKey, s.ShowQuickHelp != 0));

  // Download.
  const std::string host = ini.SetReadStr(kDownload, kDnSrc, kNoKey, o.sDnSrc);
  if (!host.empty()) o.sDnSrc = host;
  o.bUseSecure = Flag(ini.SetReadBool(kDownload, kUseSecure, kNoKey, o.bUseSecure != 0));
  o.iSecureMethodInd =
      InSetOr(ini.SetReadInt(kDownload, kSecureMethodInd, kNoKey, o.iSecureMethodInd), 0,
              kSecureMethodCount - 1, o.iSecureMethodInd);
}

void LoadSettings(SETTINGS_P& s, FILE_NAMES& names, LANG_P& lang, const Platform& platform) {
  s = DefaultSettings(names);
  names.sHelpFile = LangHelpPath(names.sLangDir, kDefaultLang);
  LangLoad(lang, platform, LangFilePath(names.sLangDir, kDefaultLang));

  if (IsRegularFile(names.sIniFile)) {
    SetEngine ini;
    ini.SetLoad(names.sIniFile);
    ReadSettings(ini, s, names);

    // The stored language replaces the English texts when its file exists;
    // otherwise the English texts stay while the stored id is kept.
    const std::string langFile = LangFilePath(names.sLangDir, s.sCurLang);
    if (IsRegularFile(langFile)) LangLoad(lang, platform, langFile);
    const std::string helpFile = LangHelpPath(names.sLangDir, s.sCurLang);
    if (IsRegularFile(helpFile)) names.sHelpFile = helpFile;
  }

  if (names.bFirstRun) {
    s.Opt.sDnSrc = kDnSourceHosts[kDefaultDnSource];
    s.Opt.bUseSecure = 0;
  }
}

void WriteSettings(SetEngine& ini, const SETTINGS_P& s) {
  const JIG_P& j = s.DefJig;
  ini.SetWriteBool(kMain, kDefJigP, "Rotate", j.Rotate != 0);
  ini.SetWriteInt(kMain, kDefJigP, "BorderStyle", j.BorderStyle);
  ini.SetWriteInt(kMain, kDefJigP, "ShapeStyle", j.ShapeStyle);
  ini.SetWriteInt(kMain, kDefJigP, "Level", j.Level);
  ini.SetWriteInt(kMain, kDefJigP, "SpreadOut", j.SpreadOut);
  ini.SetWriteBool(kMain, kDefJigP, "FitToScreen", j.FitToScreen != 0);
  ini.SetWriteBool(kMain, kAutoSave, "Enabled", s.AutoSave_bEnabled != 0);
  ini.SetWriteInt(kMain, kAutoSave, "Interval", s.AutoSave_iIntervalMin);
  ini.SetWriteBool(kMain, kSound, kNoKey, s.bSoundPlay != 0);
  const OPT_P& o = s.Opt;
  ini.SetWriteInt(kMain, kEmbossing, "Style", o.EmbossStyle);
  ini.SetWriteInt(kMain, kEmbossing, "WoodStyle", o.WoodStyle);
  ini.SetWriteInt(kMain, kEmbossing, "WoodColor", static_cast<int32_t>(o.WoodColor));
  ini.SetWriteBool(kMain, kShowConj, kNoKey, s.bShowConj != 0);
  ini.SetWriteBool(kMain, kFullScreen, kNoKey, s.bFullScreen != 0);

  const PLAY_OPT_P& p = s.Play;
  ini.SetWriteInt(kPlay, kRotCW, "Button", p.RotCW_Button);
  ini.SetWriteInt(kPlay, kRotCW, "Shift", p.RotCW_Shift);
  ini.SetWriteInt(kPlay, kRotCCW, "Button", p.RotCCW_Button);
  ini.SetWriteInt(kPlay, kRotCCW, "Shift", p.RotCCW_Shift);
  ini.SetWriteInt(kPlay, kMoveOW, "Button", p.MoveOW_Button);
  ini.SetWriteInt(kPlay, kMoveOW, "Shift", p.MoveOW_Shift);
  ini.SetWriteBool(kPlay, kSingleMainWindow, kNoKey, p.bSingleWin != 0);
  ini.SetWriteBool(kPlay, kClickToDrag, kNoKey, p.bClickToDrag != 0);
  ini.SetWriteInt(kPlay, kStuckKoef, kNoKey, o.iStuckKoef);

  if (FitsOnOneLine(s.sCurLang)) ini.SetWriteStr(kLang, kLang, kNoKey, s.sCurLang);
  ini.SetWriteBool(kLang, kQuickHelp, kNoKey, s.ShowQuickHelp != 0);

  // Only recent paths that fit on a line are kept; the count follows them.
  std::vector<const std::string*> recent;
  const int32_t n = std::clamp(s.Recent.Count, 0, kRecentFileMax);
  for (int32_t i = 0; i < n; ++i) {
    const std::string& path = s.Recent.Items[i].sPath;
    if (!path.empty() && FitsOnOneLine(path)) recent.push_back(&path);
  }
  ini.SetWriteInt(kFiles, kLastFileNum, kNoKey, static_cast<int32_t>(recent.size()));
  for (size_t i = 0; i < recent.size(); ++i)
    ini.SetWriteStr(kFiles, LastGroup(static_cast<int32_t>(i)), kNoKey, *recent[i]);

  if (FitsOnOneLine(o.sDnSrc)) ini.SetWriteStr(kDownload, kDnSrc, kNoKey, o.sDnSrc);
  ini.SetWriteBool(kDownload, kUseSecure, kNoKey, o.bUseSecure != 0);
  ini.SetWriteInt(kDownload, kSecureMethodInd, kNoKey, o.iSecureMethodInd);
}

bool SaveSettings(const SETTINGS_P& s, const FILE_NAMES& names, std::string* error) {
  SetEngine ini;
  // A settings file that is there but could not be read whole is left as
  // it is: writing the settings over it would lose every line not read.
  if (!ini.SetLoad(names.sIniFile)) {
    if (error) *error = "the settings file " + names.sIniFile + " could not be read whole";
    return false;
  }
  WriteSettings(ini, s);
  return ini.SetSave(names.sIniFile, error);
}

}  // namespace varlo
