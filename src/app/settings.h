// The player's settings: the records they fill, their defaults, and their
// reading from and writing to varlo.ini (through the settings store).
//
// The settings are read once at start-up, after the windows exist, and
// written once when the main window may close. Reading never fails: every
// missing, malformed or out-of-range value keeps its default. What the
// settings mean for the windows (full screen, check boxes, menu items) is
// held here and applied by the desktop.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/folders.h"
#include "app/setengine.h"
#include "files/saved_game.h"  // kPlayWindowCount: two sides, four pockets
#include "jigsaw/jig_params.h"
#include "play/play_options.h"
#include "ui/lang.h"

namespace varlo {

// The two download servers: the maker's main web host and its download
// host, which is the default.
inline constexpr std::array<const char*, 2> kDnSourceHosts = {"www.tovakgames.example",
                                                              "download.tovakgames.example"};
inline constexpr int32_t kDefaultDnSource = 1;
inline constexpr const char* kDefaultSiteJigsawsDir = "varlo/jigsaws_usa/";
inline constexpr int32_t kSecureMethodCount = 7;  // "SSL v2" .. "TLS v1_3"
inline constexpr int32_t kDefaultSecureMethod = 5;  // "TLS v1_2"

inline constexpr uint32_t kDefaultWoodColor = 0x49687A;
inline constexpr int32_t kNeutralBkg = 0x989898;
inline constexpr int32_t kRecentFileMax = 4;
inline constexpr const char* kDefaultLang = "english";

// Ranges the game's controls can show; stored values outside are limited.
inline constexpr int32_t kLevelMax = 13;
inline constexpr int32_t kAutoSaveMinutesMin = 1, kAutoSaveMinutesMax = 60;
inline constexpr int32_t kStuckKoefMin = 10, kStuckKoefMax = 30;

// The options record.
struct OPT_P {
  uint8_t EmbossStyle = 1;  // 0 none, 1 paper, 2 cardboard, 3 fat card
  uint8_t WoodStyle = 2;    // 0 none, 1 wood, 2 shadows
  int32_t WoodEdgeW = 0;    // band width from WoodStyle, set when pieces are prepared
  uint32_t WoodColor = kDefaultWoodColor;  // 00BBGGRR
  int32_t iStuckKoef = 12;  // snapping strength, 10..30
  std::string ThumbPath;    // folder of the download list and its thumbnails
  std::string SiteJigsawsDir = kDefaultSiteJigsawsDir;  // on the download server
  std::string sDnSrc = kDnSourceHosts[kDefaultDnSource];
  uint8_t bUseSecure = 0;
  int32_t iSecureMethodInd = kDefaultSecureMethod;

  friend bool operator==(const OPT_P&, const OPT_P&) = default;
};

// Pixels of the wood or shadow band for a wood style: 0, 3 or 5.
int32_t WoodEdgeWidth(uint8_t woodStyle);

// One recent file; the menu item that shows it belongs to the desktop.
struct LAST_FILE {
  std::string sPath;  // full path
  std::string sName;  // file name with extension, for the menu caption

  friend bool operator==(const LAST_FILE&, const LAST_FILE&) = default;
};

struct RECENT_FILES {
  std::array<LAST_FILE, kRecentFileMax> Items;  // 0 is the most recent
  int32_t Count = 0;

  friend bool operator==(const RECENT_FILES&, const RECENT_FILES&) = default;
};

// Everything the settings file fills.
struct SETTINGS_P {
  OPT_P Opt;
  JIG_P DefJig;  // the remembered default level (only its level fields count)
  PLAY_OPT_P Play;
  uint8_t AutoSave_bEnabled = 1;
  int32_t AutoSave_iIntervalMin = 10;
  uint8_t bSoundPlay = 1;   // the options dialog's "Play Sound"
  uint8_t bShowConj = 1;    // the options dialog's "Show Conjunction"
  uint8_t bFullScreen = 0;  // start in full screen
  std::array<int32_t, kPlayWindowCount> WindowBkg = {kNeutralBkg, kNeutralBkg, kNeutralBkg,
                                                     kNeutralBkg, kNeutralBkg, kNeutralBkg};
  int32_t lBkg = kNeutralBkg;  // background of the whole field
  RECENT_FILES Recent;
  std::string sCurLang = kDefaultLang;
  uint8_t ShowQuickHelp = 1;  // the quick help's "Show this box at start"

  friend bool operator==(const SETTINGS_P&, const SETTINGS_P&) = default;
};

// The level the browser offers before the player chose one: shape style 3,
// level 6, no border, scattered, no rotation, fitted to the screen.
JIG_P DefaultLevel();
// All settings at their defaults; the download thumbnails come from the
// installation's thumbnail folder.
SETTINGS_P DefaultSettings(const FILE_NAMES& names);

// Start-up: the defaults, the English texts (and help file), then
// names.sIniFile when it exists, with the stored language loaded when its
// file exists. On the first run of this player the download host and the
// secure switch go back to their defaults whatever the installation's copy
// says. Sets names.sHelpFile.
void LoadSettings(SETTINGS_P& s, FILE_NAMES& names, LANG_P& lang, const Platform& platform);
// Shutdown: merges every setting into names.sIniFile (keeping the lines it
// does not know) and writes it through a temporary file. False when the
// file could not be written, and when an existing file could not be read
// whole (too large, unreadable): that file is then left untouched.
bool SaveSettings(const SETTINGS_P& s, const FILE_NAMES& names, std::string* error = nullptr);

// The settings store parts of the two, for callers that hold a store.
void ReadSettings(const SetEngine& ini, SETTINGS_P& s, const FILE_NAMES& names);
void WriteSettings(SetEngine& ini, const SETTINGS_P& s);

// Where a stored recent path is looked for: a ".ast" in the player's
// jigsaws folder, a ".sv1" in the saved-games folder (the stored folder may
// be from another machine); other paths as stored.
std::string RecentPathInUserFolders(const std::string& stored, const FILE_NAMES& names);
// The file name of a path written with "/" or "\" separators.
std::string FileNameOfPath(const std::string& path);

}  // namespace varlo
