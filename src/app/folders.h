// Every folder and file name of the installation and of the player, worked
// out once at start-up.
//
// Folder strings always end with "/". The installation folder (sExeDir) is
// read only; the player's documents folder holds the jigsaws and saved
// games, the local application data folder the settings and temporary
// files. On the first run the installation's starter files are copied into
// the player's folders; jigsaws listed in distjiglist.txt are restored on
// every start when the player has deleted them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/product.h"

namespace varlo {

inline constexpr const char* kMakerFolder = "Tovak Games";

struct FILE_NAMES {
  std::string sJig;         // path of the current jigsaw pack
  std::string sSolve;       // path of the current saved game
  std::string sJigName;     // name of the current jigsaw (no extension)
  std::string sSolveJig;    // jigsaw name stored in the saved game being read
  std::string sJigExt = ".ast";
  std::string sSolveExt = ".sv1";
  uint8_t bJigLoaded = 0;   // a game is open and playable
  std::string sExeDir;      // installation folder
  std::string sTempPic;     // sAppDataDir + "~ajtemp.bmp"
  std::string sIniFile;     // sAppDataDir + "varlo.ini"
  std::string sSaveTemp;    // sSolveDir + "varlo.svt"
  std::string sAutoSave;    // sSolveDir + "autosaved.sv1"
  std::string sDocDir;
  std::string sMakerDir;    // sDocDir + "Tovak Games/"
  std::string sUserDir;     // sMakerDir + product title + "/"
  std::string sAppDataDir;  // local application data + product title + "/"
  std::string sPicturesDir;
  std::string sTempDir;
  std::string sJigListTmp;  // sAppDataDir + "_jigsaws.txt"
  std::string sThumbTmp;    // sAppDataDir + "_thumb.jpg"
  std::string sDnInfoUrl;   // address of the last download request
  std::string sDnFileUrl;   // archive being fetched
  std::string sThumbDir;    // sExeDir + "thumb/"
  std::vector<std::string> DistJigList;  // lines of distjiglist.txt
  int32_t iDistJigNum = 0;
  std::vector<std::string> JigList;      // lines of thumb/jiglist.txt
  int32_t iJigNum = 0;
  std::string sExeJigDir;   // sExeDir + "jigsaws/"
  std::string sUserJigDir;  // sUserDir + "Jigsaws/"
  std::string sExeSolveDir; // sExeDir + "jigsaws/"
  std::string sSolveDir;    // sUserDir + "Saved Games/"
  std::string sShapeLib;    // sExeDir + "pic_varlo.dat"
  std::string sLangDir;     // sExeDir + "language/"
  std::string sReportFile;  // sDocDir + "varlo-report.txt"
  std::string sHelpFile;    // help file of the current language
  std::string sBkgPicDir;   // sExeDir + "bkg-pics/"
  uint8_t bFirstRun = 0;    // there was no settings file yet
};

// Fills the record for the installation folder installDir (with or without
// its trailing slash), creates the player's folders and makes the first-run
// and every-start copies.
void SetupFolders(FILE_NAMES& names, const std::string& installDir);
// Shutdown: deletes the temporary picture file and frees the lists.
void FreeFolders(FILE_NAMES& names);

// The installation folder of the running program: the executable's folder
// when it holds the data tree (a build tree), else <prefix>/share/varlo-jigsaw/.
std::string FindInstallDir();

// True when the folder exists or was created (one level, no parents).
bool ForceDir(const std::string& folder);
// Copies source over target when the target is missing and the source is a
// file; deletes the source afterwards when asked. Fails silently.
void CopyIfMissing(const std::string& source, const std::string& target, bool deleteSource);
// Entries of folder whose extension (with its dot, in lower case) is one of
// the extensions listed in extensions (".ast" or ".ast.sv1"); sorted without
// regard to case. None when the folder is missing
// or nothing matched.
std::optional<std::vector<std::string>> ListFiles(const std::string& folder,
                                                  const std::string& extensions, bool fullPaths);
void FreeList(std::optional<std::vector<std::string>>& list);
// The desktop's folder for a role: "Personal" (documents), "My Pictures",
// "Local AppData". Empty when the desktop names none; no trailing slash.
std::string ReadShellFolder(const std::string& valueName);
// Appends "/" to a non-empty string that does not end with one.
void AddBackslash(std::string& s);

}  // namespace varlo
