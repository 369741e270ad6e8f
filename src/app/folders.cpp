#include "app/folders.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>
#include "raster/path_ascii.h"

#include "raster/file_calls.h"

namespace fs = std::filesystem;

namespace varlo {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string HomeDir() { return Env("HOME"); }

std::string StripSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

// Reads NAME="value" from the desktop's user-dirs.dirs, with $HOME expanded.
// Relative values are not allowed there and are ignored.
std::string ReadUserDirsEntry(const std::string& name) {
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = HomeDir() + "/.config";
  std::vector<uint8_t> bytes;
  if (!ReadRegularFile(config + "/user-dirs.dirs", uint64_t{1} << 20, bytes, nullptr)) return {};
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    if (line.compare(start, name.size() + 1, name + "=") != 0) continue;
    std::string value = line.substr(start + name.size() + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0) value = HomeDir() + value.substr(5);
    if (value.empty() || value[0] != '/') return {};
    return StripSlash(value);
  }
  return {};
}

std::string XdgUserDir(const char* name) {
  std::string v = Env(name);
  if (!v.empty() && v[0] == '/') return StripSlash(v);
  return ReadUserDirsEntry(name);
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  // A list of a few names; a FIFO or a huge file in its place is not read.
  constexpr uint64_t kMaxListBytes = uint64_t{1} << 20;
  std::vector<uint8_t> bytes;
  if (!ReadRegularFile(path, kMaxListBytes, bytes, nullptr)) return lines;
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A list entry names a file inside one folder; anything that would reach
// outside it (or is blank) is not copied.
bool IsPlainFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string::npos && name.find('\\') == std::string::npos;
}

// True when ext (".ast") stands in the extension list (".ast.sv1") as a
// whole: a mere prefix of a listed extension (".as") is not a match, or a
// stray "x.as" would be offered as a jigsaw.
bool ExtensionListed(const std::string& list, const std::string& ext) {
  if (ext.size() < 2) return false;
  for (size_t at = list.find(ext); at != std::string::npos; at = list.find(ext, at + 1)) {
    const size_t end = at + ext.size();
    if (end == list.size() || list[end] == '.' || list[end] == ';' || list[end] == ' ') return true;
  }
  return false;
}

}  // namespace

void AddBackslash(std::string& s) {
  if (!s.empty() && s.back() != '/') s.push_back('/');
}

bool ForceDir(const std::string& folder) {
  if (folder.empty()) return false;
  std::error_code ec;
  const fs::path p(StripSlash(folder));
  if (fs::is_directory(p, ec)) return true;
  return fs::create_directory(p, ec) && !ec;
}

void CopyIfMissing(const std::string& source, const std::string& target, bool deleteSource) {
  if (PathExists(target) || !IsRegularFile(source)) return;
  // Copy under a temporary name first, so that an interrupted copy never
  // leaves a damaged file that would then count as present.
  const std::string partial = target + ".part";
  std::error_code ec;
  fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    fs::remove(partial, ec);
    return;
  }
  fs::rename(partial, target, ec);
  if (ec) {
    fs::remove(partial, ec);
    return;
  }
  if (deleteSource) fs::remove(source, ec);
}

std::optional<std::vector<std::string>> ListFiles(const std::string& folder,
                                                  const std::string& extensions, bool fullPaths) {
  std::string dir = folder;
  AddBackslash(dir);
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return std::nullopt;
  const std::string wanted = AsciiLower(extensions);
  std::vector<std::string> names;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name == "." || name == "..") continue;
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) continue;
    const std::string ext = AsciiLower(name.substr(dot));
    if (!ExtensionListed(wanted, ext)) continue;
    names.push_back(name);
  }
  if (names.empty()) return std::nullopt;
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = AsciiLower(a), lb = AsciiLower(b);
    const int c = std::strcoll(la.c_str(), lb.c_str());
    if (c != 0) return c < 0;
    return a < b;
  });
  if (fullPaths)
    for (std::string& n : names) n = dir + n;
  return names;
}

void FreeList(std::optional<std::vector<std::string>>& list) { list.reset(); }

std::string ReadShellFolder(const std::string& valueName) {
  if (valueName == "Personal") {
    std::string docs = XdgUserDir("XDG_DOCUMENTS_DIR");
    if (docs.empty() && !HomeDir().empty()) docs = StripSlash(HomeDir()) + "/Documents";
    return docs;
  }
  if (valueName == "My Pictures") {
    // The player's pictures, never the installation: without a named
    // folder ~/Pictures when it is there, else the home folder.
    std::string pics = XdgUserDir("XDG_PICTURES_DIR");
    if (pics.empty() && !HomeDir().empty()) {
      std::error_code ec;
      const std::string home = StripSlash(HomeDir());
      pics = fs::is_directory(home + "/Pictures", ec) ? home + "/Pictures" : home;
    }
    return pics;
  }
  if (valueName == "Local AppData") {
    std::string data = Env("XDG_DATA_HOME");
    if (!data.empty() && data[0] == '/') return StripSlash(data);
    if (HomeDir().empty()) return {};
    return StripSlash(HomeDir()) + "/.local/share";
  }
  return {};
}

std::string FindInstallDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  fs::path exeDir = ec ? fs::current_path(ec) : exe.parent_path();
  std::string dir = exeDir.string();
  AddBackslash(dir);
  // A build tree has the data tree copied next to the executables.
  if (fs::is_directory(dir + "language", ec) || PathExists(dir + "varlo.ini")) return dir;
  fs::path shared = exeDir.parent_path() / "share" / "varlo-jigsaw";
  if (fs::is_directory(shared, ec)) {
    std::string s = shared.string();
    AddBackslash(s);
    return s;
  }
  return dir;
}

void SetupFolders(FILE_NAMES& n, const std::string& installDir) {
  const std::string title = kProductTitle;

  n.sExeDir = installDir;
  AddBackslash(n.sExeDir);

  n.sDocDir = ReadShellFolder("Personal") + "/";
  n.sPicturesDir = ReadShellFolder("My Pictures");
  if (n.sPicturesDir.empty()) n.sPicturesDir = n.sExeDir;
  AddBackslash(n.sPicturesDir);

  n.sTempDir = Env("TMPDIR");
  if (n.sTempDir.empty()) n.sTempDir = "/tmp";
  AddBackslash(n.sTempDir);

  // Unlike a Windows profile, a fresh Linux home may lack the documents and
  // data folders themselves; create them (with parents) so the game's own
  // folders below can be made one level at a time.
  const std::string dataHome = ReadShellFolder("Local AppData");
  std::error_code ec;
  if (!dataHome.empty()) fs::create_directories(dataHome, ec);
  if (n.sDocDir != "/") fs::create_directories(n.sDocDir, ec);

  n.sAppDataDir = dataHome + "/" + title + "/";
  ForceDir(n.sAppDataDir);
  n.sMakerDir = n.sDocDir + kMakerFolder + "/";
  ForceDir(n.sMakerDir);
  n.sUserDir = n.sMakerDir + title + "/";
  ForceDir(n.sUserDir);

  n.sJig.clear();
  n.sSolve.clear();
  n.sSolveJig.clear();
  n.sJigName.clear();
  n.sJigExt = ".ast";
  n.sSolveExt = ".sv1";

  n.sIniFile = n.sAppDataDir + "varlo.ini";
  n.bFirstRun = PathExists(n.sIniFile) ? 0 : 1;
  CopyIfMissing(n.sExeDir + "varlo.ini", n.sIniFile, false);

  n.sShapeLib = n.sExeDir + "pic_varlo.dat";
  n.sThumbDir = n.sExeDir + "thumb/";
  n.sExeJigDir = n.sExeDir + "jigsaws/";
  n.sUserJigDir = n.sUserDir + "Jigsaws/";
  ForceDir(n.sUserJigDir);
  n.sExeSolveDir = n.sExeDir + "jigsaws/";
  n.sSolveDir = n.sUserDir + "Saved Games/";
  ForceDir(n.sSolveDir);

  n.sAutoSave = n.sSolveDir + "autosaved" + n.sSolveExt;
  if (n.bFirstRun) CopyIfMissing(n.sExeDir + "autosaved" + n.sSolveExt, n.sAutoSave, false);

  n.sTempPic = n.sAppDataDir + "~ajtemp.bmp";
  n.sSaveTemp = n.sSolveDir + "varlo.svt";
  n.sJigListTmp = n.sAppDataDir + "_jigsaws.txt";
  n.sThumbTmp = n.sAppDataDir + "_thumb.jpg";
  n.sLangDir = n.sExeDir + "language/";
  n.sBkgPicDir = n.sExeDir + "bkg-pics/";
  n.sReportFile = n.sDocDir + "varlo-report.txt";
  n.bJigLoaded = 0;

  // Jigsaws of the installation that are restored whenever the player has
  // deleted them.
  n.DistJigList = ReadLines(n.sExeJigDir + "distjiglist.txt");
  n.iDistJigNum = static_cast<int32_t>(n.DistJigList.size());
  for (const std::string& line : n.DistJigList)
    if (IsPlainFileName(line)) CopyIfMissing(n.sExeJigDir + line, n.sUserJigDir + line, false);

  // Jigsaws shown in the list of the installation; copied once.
  n.JigList = ReadLines(n.sThumbDir + "jiglist.txt");
  n.iJigNum = static_cast<int32_t>(n.JigList.size());
  if (n.bFirstRun) {
    for (const std::string& line : n.JigList)
      if (IsPlainFileName(line + n.sJigExt))
        CopyIfMissing(n.sExeJigDir + line + n.sJigExt, n.sUserJigDir + line + n.sJigExt, false);

    auto games = ListFiles(n.sExeSolveDir, n.sSolveExt, false);
    if (games)
      for (const std::string& name : *games)
        CopyIfMissing(n.sExeSolveDir + name, n.sSolveDir + name, false);
    FreeList(games);
  }
}

void FreeFolders(FILE_NAMES& n) {
  std::error_code ec;
  if (!n.sTempPic.empty()) fs::remove(n.sTempPic, ec);
  n.DistJigList.clear();
  n.JigList.clear();
  n.iDistJigNum = 0;
  n.iJigNum = 0;
}

}  // namespace varlo
