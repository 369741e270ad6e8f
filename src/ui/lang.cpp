// The language state: loading, look-up, message boxes, installed languages.
#include "ui/lang.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "raster/path_ascii.h"
#include "platform/message_box.h"
#include "platform/product.h"

namespace varlo {

namespace {

std::string InFolder(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

std::string_view TrimBelow33(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) < 33) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) < 33) --e;
  return s.substr(b, e - b);
}


std::string WithLineBreaks(std::string_view text) {
  return WideReplace(text, "$D", kLangLineBreak, kReplaceAll);
}

// The file name without folder and extension.
std::string FileStem(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

bool LangLoad(LANG_P& lang, const Platform& platform, const std::string& path) {
  std::vector<std::string> lines;
  if (!LangReadLines(path, lines)) {
    MsgBox(platform, LangFormat(LangText(lang, kLangOptions, "MS_CantFindLangFile"), {path}),
           kMsgExclamationOk);
    return false;
  }
  LangItemsFree(lang);
  lang.pItems = LangParseLines(lines);
  lang.sDownloadCaption = LangText(lang, kLangDownload, "FormCaption");
  if (lang.ApplyToWindows) lang.ApplyToWindows(lang);
  return true;
}

void LangItemsFree(LANG_P& lang) {
  lang.pItems.clear();
  lang.pItems.shrink_to_fit();
}

void LangListFree(LANG_P& lang) {
  lang.LangList.clear();
  lang.LangList.shrink_to_fit();
}

std::string LangText(const LANG_P& lang, int32_t section, std::string_view key) {
  for (const LANG_ITEM& item : lang.pItems)
    if (item.iSection == section && EqualsIgnoreAsciiCase(item.sKey, key)) return item.sText;
  return std::string(key);
}

std::string LangTextBr(const LANG_P& lang, int32_t section, std::string_view key) {
  return WithLineBreaks(LangText(lang, section, key));
}

int32_t MsgBox(const Platform& platform, std::string_view text, int32_t style) {
  return ShowGameMessage(platform, WithLineBreaks(text), style);
}

int32_t MsgBoxOwned(MessageBoxes& owner, std::string_view text, int32_t style) {
  return owner.ShowMessage(WithLineBreaks(text), kProductTitle, style);
}

std::string LangFilePath(const std::string& langDir, std::string_view id) {
  return InFolder(langDir, AsciiLower(id) + ".lng");
}

std::string LangHelpPath(const std::string& langDir, std::string_view id) {
  return InFolder(langDir, AsciiLower(id) + ".chm");
}

std::string LangFlagPath(const std::string& langDir, std::string_view id) {
  return InFolder(langDir, LangFormat("%s.bmp", {AsciiLower(id)}));
}

bool LangIdValid(std::string_view id) {
  if (id.empty() || id.size() > 64 || id == "." || id == "..") return false;
  if (id.find("..") != std::string_view::npos) return false;
  for (unsigned char c : id)
    if (c < 32 || c == '/' || c == '\\' || c == ':') return false;
  return true;
}

bool LangReadInfo(const std::string& path, LANG_INFO& info) {
  if (!IsRegularFile(path)) return false;
  info = LANG_INFO{};
  info.sId = FileStem(path);
  std::vector<std::string> lines;
  if (!LangReadLines(path, lines)) return false;

  const std::string header = std::string("[") + LangSectionName(kLangInfo) + "]";
  bool open = false, found = false;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (line[0] == '[') {
      if (line.compare(0, header.size(), header) == 0) {
        open = found = true;
        continue;
      }
      if (open) break;
      continue;
    }
    if (!open || line[0] != '<') continue;
    const size_t close = line.find('>');
    if (close == std::string::npos) continue;
    const std::string key = AsciiLower(TrimBelow33(std::string_view(line).substr(1, close - 1)));
    const std::string text(TrimBelow33(std::string_view(line).substr(close + 1)));
    if (key == "engname")
      info.engname = text;
    else if (key == "localname")
      info.localname = text;
    else if (key == "author")
      info.author = text;
    else if (key == "l_onlyinterface")
      info.l_onlyinterface = text;
  }
  if (!found) return false;
  if (info.engname.empty()) info.engname = info.sId;
  return true;
}

void LangScan(LANG_P& lang, const std::string& langDir) {
  LangListFree(lang);
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(langDir, ec)) {
    if (!fs::create_directory(langDir, ec) || ec) return;
  }

  // Entries matching "*.lng", files and folders alike; reading a folder
  // fails below and drops it. Read in name order so the result does not
  // depend on how the file system lists them.
  std::vector<std::string> names;
  for (fs::directory_iterator it(langDir, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() > 4 && EqualsIgnoreAsciiCase(std::string_view(name).substr(name.size() - 4), ".lng"))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());

  for (const std::string& name : names) {
    LANG_INFO info;
    if (!LangReadInfo(InFolder(langDir, name), info)) continue;
    // A stem that cannot name a file of the folder again could never be
    // chosen and loaded.
    if (!LangIdValid(info.sId)) continue;
    lang.LangList.push_back(std::move(info));
  }
  std::stable_sort(lang.LangList.begin(), lang.LangList.end(),
                   [](const LANG_INFO& a, const LANG_INFO& b) {
                     return LessIgnoreAsciiCase(a.engname, b.engname);
                   });
}

}  // namespace varlo
