// Interface texts and language files.
//
// Every caption and message is looked up by section number and key in the
// current language; a text the language lacks shows its key. A language is
// a file "<id>.lng" in the language folder:
//
//   [Language Info]
//   <engname> German
//   [Main Form]
//   <MI_FileOpen> Öffnen
//
// The first bytes decide the encoding: FF FE UTF-16 little-endian, FE FF
// UTF-16 big-endian, EF BB BF UTF-8; without a byte-order mark the text is
// UTF-8 when it is valid UTF-8 and Windows-1252 otherwise. Lines end at CR,
// LF, CR LF or U+2028, a NUL ends the text, and every line is trimmed of
// characters below 33. "[name]" lines select a section (exact case; an
// unknown header keeps the current one), "<key> text" lines are items
// (the key compared without regard to ASCII case), everything else is a
// remark. Inside the engine all texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace varlo {

// Section numbers; 7 is not used.
enum LangSection : int32_t {
  kLangInfo = 0,          // "Language Info": the language's own description
  kLangAll = 1,           // "All": B_Ok, B_Cancel, B_Close
  kLangMainForm = 2,      // "Main Form"
  kLangLoadSave = 3,      // "Load/Save Form"
  kLangPocket = 4,        // "Pocket"
  kLangOptions = 5,       // "Options"
  kLangInfoForm = 6,      // "Info"
  kLangCredits = 8,       // "Credits"
  kLangAbout = 9,         // "About"
  kLangThumbnail = 10,    // "Thumbnail"
  kLangDownload = 11,     // "Download"
  kLangFinish = 12,       // "Finish"
  kLangQuickHelp = 13,    // "Quick Help"
  kLangColorPicker = 14,  // "Color Picker"
  kLangExtra = 15,        // "Extra": read and kept, never looked up
};

// The header name of a section number, or nullptr for an unused number.
const char* LangSectionName(int32_t section);

// Larger files are not language files; reading them fails.
inline constexpr size_t kMaxLangFileBytes = 4u << 20;

// "$D" in a text stands for this line break (messages and LangTextBr only).
inline constexpr std::string_view kLangLineBreak = "\r\n";

struct LANG_ITEM {
  int32_t iSection = 0;  // section the item was read under
  std::string sKey;      // as written between "<" and ">"
  std::string sText;     // after ">", may be empty

  friend bool operator==(const LANG_ITEM&, const LANG_ITEM&) = default;
};

// One installed language.
struct LANG_INFO {
  std::string sId;        // file name without folder and extension
  std::string engname;    // English name; sId when the file names none
  std::string localname;  // the language's name in itself, may be empty
  std::string author;     // translator credit, may be empty
  std::string l_onlyinterface;  // shown when there is no help in this language

  friend bool operator==(const LANG_INFO&, const LANG_INFO&) = default;
};

// The language state: one per program, created fresh by each test.
struct LANG_P {
  std::vector<LANG_INFO> LangList;  // installed languages, sorted by engname
  std::vector<LANG_ITEM> pItems;    // texts of the current language, in file order
  std::string sDownloadCaption;     // the download window's title
  // The pass that writes the texts into the windows; LangLoad runs it after
  // every successful load. Set by the desktop once its windows exist.
  std::function<void(const LANG_P&)> ApplyToWindows;
};

// ---- reading ----

// Decodes a language file's bytes (by its byte-order mark) and returns its
// lines, trimmed, as UTF-8.
std::vector<std::string> LangDecodeLines(std::string_view bytes);
// Reads and decodes a file. False (with error) when it is not a readable
// regular file or larger than kMaxLangFileBytes.
bool LangReadLines(const std::string& path, std::vector<std::string>& lines,
                   std::string* error = nullptr);
// The items of decoded lines, in file order.
std::vector<LANG_ITEM> LangParseLines(const std::vector<std::string>& lines);
// LangDecodeLines and LangParseLines together.
std::vector<LANG_ITEM> LangParse(std::string_view bytes);

// Replaces the text list with the file at path and runs ApplyToWindows;
// true. When the file cannot be read, shows "MS_CantFindLangFile" (Options)
// with the path, keeps the current texts and answers false.
bool LangLoad(LANG_P& lang, const Platform& platform, const std::string& path);
void LangItemsFree(LANG_P& lang);
void LangListFree(LANG_P& lang);

// ---- look-up ----

// The first text of key (ASCII case ignored) in section, or the key itself.
std::string LangText(const LANG_P& lang, int32_t section, std::string_view key);
// LangText with every "$D" turned into a line break.
std::string LangTextBr(const LANG_P& lang, int32_t section, std::string_view key);

// An argument of a text template.
struct LangArg {
  LangArg(int32_t v) : isNumber(true), number(v), text(std::to_string(v)) {}
  LangArg(int64_t v) : isNumber(true), number(v), text(std::to_string(v)) {}
  LangArg(std::string_view s) : text(s) {}
  LangArg(const std::string& s) : text(s) {}
  LangArg(const char* s) : text(s ? s : "") {}
  bool isNumber = false;
  int64_t number = 0;
  std::string text;
};

// Fills a template of a language file: %d, %u and %s take the next argument,
// %x and %X a number in hexadecimal, %% is a percent sign; a width (as in
// %3d or %-5s, at most 64) pads with blanks. A template that asks for more
// arguments than given, or for an unknown conversion, keeps that part as
// written. Templates come from files the player may edit, so they are never
// handed to printf.
std::string LangFormat(std::string_view tmpl, std::initializer_list<LangArg> args);

// ---- text helpers ----

enum WideReplaceFlags : int32_t { kReplaceAll = 1, kIgnoreCase = 2 };
// Replaces the first (or, with kReplaceAll, every) occurrence of pattern,
// left to right and not overlapping. kIgnoreCase compares upper-cased
// letters (Latin, Greek and Cyrillic) while the copied text keeps its case.
// An empty pattern matches nothing.
std::string WideReplace(std::string_view source, std::string_view pattern,
                        std::string_view replacement, int32_t flags);
// A menu caption as a hint: its first "..." and then its first "…" removed.
std::string MenuHintText(std::string_view caption);
// A toolbar button's hint from its menu item: the caption as MenuHintText
// makes it, followed by " (shortcut)" when the item has a shortcut.
std::string ToolbarHintText(std::string_view caption, std::string_view shortcutName);

// ---- message boxes ----

// Shows text (with "$D" as line breaks) under the program title in the
// given style and answers the pressed button. MsgBox goes to the platform's
// boxes (the active window); a platform without message boxes answers as a
// box closed without a choice (Cancel, else No, else OK).
int32_t MsgBox(const Platform& platform, std::string_view text, int32_t style);
// The same, owned by a particular window's boxes.
int32_t MsgBoxOwned(MessageBoxes& owner, std::string_view text, int32_t style);

// ---- installed languages ----

// folder + lower-case id + ".lng" / ".chm" / ".bmp".
std::string LangFilePath(const std::string& langDir, std::string_view id);
std::string LangHelpPath(const std::string& langDir, std::string_view id);
std::string LangFlagPath(const std::string& langDir, std::string_view id);
// True for an id that names a file inside the language folder: not empty,
// at most 64 bytes, no path separators, no "..", no control characters.
bool LangIdValid(std::string_view id);

// Fills info from the "Language Info" section of the file; false when the
// file is missing, unreadable or has no such section.
bool LangReadInfo(const std::string& path, LANG_INFO& info);
// Rebuilds LangList from the "*.lng" entries of the folder (created when
// missing), sorted by engname without regard to ASCII case.
void LangScan(LANG_P& lang, const std::string& langDir);

}  // namespace varlo
