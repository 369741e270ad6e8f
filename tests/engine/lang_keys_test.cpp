// The shipped language files against each other and against the code: every
// text the sources look up with a literal key exists in every language, all
// languages have the same keys, and their templates take the same values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_home.h"
#include "ui/lang.h"

namespace varlo {
namespace {

namespace fs = std::filesystem;
using Key = std::pair<int32_t, std::string>;  // section, key

const std::string kSourceDir = VARLO_SOURCE_DIR;
const std::string kLangDir = kSourceDir + "/data/language/";

// ---- a small scanner of C++ sources ----

// The source with comments blanked out; string and character literals
// stay, and inLiteral marks their characters.
std::string WithoutComments(const std::string& src, std::vector<bool>& inLiteral) {
  std::string out = src;
  inLiteral.assign(src.size(), false);
  enum { Code, Line, Block, Str, Chr } state = Code;
  for (size_t i = 0; i < out.size(); ++i) {
    const char c = out[i], n = i + 1 < out.size() ? out[i + 1] : '\0';
    switch (state) {
      case Code:
        if (c == '/' && n == '/') {
          state = Line;
          out[i] = ' ';
        } else if (c == '/' && n == '*') {
          state = Block;
          out[i] = out[i + 1] = ' ';
          ++i;
        } else if (c == '"') {
          state = Str;
        } else if (c == '\'') {
          state = Chr;
        }
        break;
      case Line:
        if (c == '\n')
          state = Code;
        else
          out[i] = ' ';
        break;
      case Block:
        if (c == '*' && n == '/') {
          state = Code;
          out[i] = out[i + 1] = ' ';
          ++i;
        } else if (c != '\n') {
          out[i] = ' ';
        }
        break;
      case Str:
      case Chr:
        inLiteral[i] = true;
        if (c == '\\') {
          if (i + 1 < out.size()) inLiteral[i + 1] = true;
          ++i;
        } else if (c == (state == Str ? '"' : '\'')) {
          state = Code;
        }
        break;
    }
  }
  return out;
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// The top-level arguments of the call whose "(" is at open; empty when the
// parentheses do not close.
std::vector<std::string> CallArguments(const std::string& src, size_t open) {
  std::vector<std::string> args;
  std::string cur;
  int depth = 0;
  for (size_t i = open; i < src.size(); ++i) {
    const char c = src[i];
    if (c == '"' || c == '\'') {
      const size_t start = i;
      for (++i; i < src.size() && src[i] != c; ++i)
        if (src[i] == '\\') ++i;
      cur += src.substr(start, i - start + 1);
      continue;
    }
    if (c == '(' || c == '{' || c == '[') {
      if (depth++ == 0) continue;
    } else if (c == ')' || c == '}' || c == ']') {
      if (--depth == 0) {
        args.push_back(Trim(cur));
        return args;
      }
    } else if (c == ',' && depth == 1) {
      args.push_back(Trim(cur));
      cur.clear();
      continue;
    }
    cur += c;
  }
  return {};
}

// A section argument: a number or one of the section names, qualified or not.
bool SectionOf(std::string arg, int32_t& section) {
  static const std::map<std::string, int32_t> kNames = {
      {"kLangInfo", kLangInfo},         {"kLangAll", kLangAll},
      {"kLangMainForm", kLangMainForm}, {"kLangLoadSave", kLangLoadSave},
      {"kLangPocket", kLangPocket},     {"kLangOptions", kLangOptions},
      {"kLangInfoForm", kLangInfoForm}, {"kLangCredits", kLangCredits},
      {"kLangAbout", kLangAbout},       {"kLangThumbnail", kLangThumbnail},
      {"kLangDownload", kLangDownload}, {"kLangFinish", kLangFinish},
      {"kLangQuickHelp", kLangQuickHelp}, {"kLangColorPicker", kLangColorPicker},
      {"kLangExtra", kLangExtra}};
  if (const size_t colons = arg.rfind("::"); colons != std::string::npos) arg = arg.substr(colons + 2);
  if (auto it = kNames.find(arg); it != kNames.end()) {
    section = it->second;
    return true;
  }
  if (arg.empty() || arg.size() > 3 || !std::all_of(arg.begin(), arg.end(), ::isdigit)) return false;
  section = std::stoi(arg);
  return true;
}

// A single plain string literal, unquoted.
bool LiteralOf(const std::string& arg, std::string& text) {
  if (arg.size() < 2 || arg.front() != '"' || arg.back() != '"') return false;
  text = arg.substr(1, arg.size() - 2);
  return text.find_first_of("\"\\") == std::string::npos;
}

// Every look-up with a literal section and key: calls of any function whose
// name starts with LangText or MsgBox, where a section argument is followed
// by a string literal.
std::vector<Key> LiteralLookUps(const std::string& source) {
  std::vector<bool> inLiteral;
  const std::string src = WithoutComments(source, inLiteral);
  std::vector<Key> found;
  for (const char* name : {"LangText", "MsgBox"}) {
    const std::string n = name;
    for (size_t at = src.find(n); at != std::string::npos; at = src.find(n, at + 1)) {
      if (inLiteral[at]) continue;
      if (at > 0 && (std::isalnum(static_cast<unsigned char>(src[at - 1])) || src[at - 1] == '_'))
        continue;
      size_t open = at + n.size();
      while (open < src.size() && (std::isalnum(static_cast<unsigned char>(src[open])) || src[open] == '_'))
        ++open;
      while (open < src.size() && std::isspace(static_cast<unsigned char>(src[open]))) ++open;
      if (open >= src.size() || src[open] != '(') continue;
      const std::vector<std::string> args = CallArguments(src, open);
      for (size_t i = 0; i + 1 < args.size(); ++i) {
        int32_t section;
        std::string key;
        if (SectionOf(args[i], section) && LiteralOf(args[i + 1], key)) {
          found.emplace_back(section, key);
          break;
        }
      }
    }
  }
  return found;
}

std::string ReadText(const std::string& path) { return testing::ReadFile(path); }

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// The items of a shipped language file by section and lower-case key.
std::map<Key, std::string> LanguageTexts(const std::string& path, std::vector<std::string>* dups) {
  std::vector<std::string> lines;
  EXPECT_TRUE(LangReadLines(path, lines)) << path;
  std::map<Key, std::string> texts;
  for (const LANG_ITEM& item : LangParseLines(lines)) {
    const Key k{item.iSection, Lower(item.sKey)};
    if (!texts.emplace(k, item.sText).second && dups)
      dups->push_back(std::to_string(k.first) + "/" + item.sKey);
  }
  return texts;
}

std::string Describe(const Key& k) { return "section " + std::to_string(k.first) + " key " + k.second; }

// The conversions of a template in order (%% left out).
std::string Conversions(const std::string& t) {
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '%') continue;
    if (i + 1 < t.size() && t[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < t.size() && (t[j] == '-' || std::isdigit(static_cast<unsigned char>(t[j])))) ++j;
    if (j < t.size()) out += t[j];
    i = j;
  }
  return out;
}

std::vector<std::string> ShippedLanguages() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(kLangDir))
    if (entry.path().extension() == ".lng") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// The literal look-ups of every source file of the game.
std::set<Key> SourceLookUps() {
  std::set<Key> used;
  for (const auto& entry : fs::recursive_directory_iterator(kSourceDir + "/src")) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    for (const Key& k : LiteralLookUps(ReadText(entry.path().string()))) used.insert(k);
  }
  return used;
}

TEST(LangKeyScanner, FindsLiteralKeysInAnyLayout) {
  const std::string code = R"cpp(
    auto a = LangText(lang, 5, "MS_One");
    auto b = LangTextBr(state.lang,
                        kLangLoadSave,
                        "B_Extra");
    MsgBox(p, LangFormat(LangText(*lang_, varlo::kLangDownload, "Q_TryAnotherDnSrc"),
                         {host, other}), kMsgQuestionYesNo);
    // LangText(lang, 2, "InAComment")
    /* LangText(lang, 2, "InABlock") */
    const char* s = "LangText(lang, 2, \"InAString\")";
    LangText(lang, kLangMainForm, name);          // not a literal
    LangText(lang, 2, "Shapes" + std::to_string(i));  // not one literal
    MyLangText(lang, 2, "NotOurs");
    x = LangText ( lang , LangSection::kLangAll , "B_Ok" ) ;
    MsgBoxOwned(owner, LangText(lang, 11, "MS_ListEmpty"), 48);
  )cpp";
  const std::vector<Key> expected = {{5, "MS_One"},
                                     {3, "B_Extra"},
                                     {11, "Q_TryAnotherDnSrc"},
                                     {1, "B_Ok"},
                                     {11, "MS_ListEmpty"}};
  std::vector<Key> found = LiteralLookUps(code);
  std::sort(found.begin(), found.end());
  std::vector<Key> sorted = expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(found, sorted);
}

TEST(LangKeys, EveryLiteralLookUpInTheSourcesExistsInEveryLanguage) {
  const std::set<Key> used = SourceLookUps();
  // At least the look-ups of the language module itself.
  EXPECT_TRUE(used.count({kLangOptions, "MS_CantFindLangFile"}));

  for (const std::string& file : ShippedLanguages()) {
    const auto texts = LanguageTexts(file, nullptr);
    for (const Key& k : used)
      EXPECT_TRUE(texts.count({k.first, Lower(k.second)})) << file << " lacks " << Describe(k);
  }
}

TEST(LangKeys, AllLanguagesHaveTheSameKeysAndTemplates) {
  std::vector<std::string> dups;
  const auto english = LanguageTexts(kLangDir + "english.lng", &dups);
  EXPECT_TRUE(dups.empty()) << "english.lng repeats " << dups.front();
  const std::vector<std::string> files = ShippedLanguages();
  EXPECT_GE(files.size(), 2u);
  for (const std::string& file : files) {
    dups.clear();
    const auto texts = LanguageTexts(file, &dups);
    for (const std::string& d : dups) ADD_FAILURE() << file << " repeats " << d;
    for (const auto& [k, text] : english) {
      auto it = texts.find(k);
      if (it == texts.end()) {
        ADD_FAILURE() << file << " lacks " << Describe(k);
        continue;
      }
      EXPECT_FALSE(it->second.empty()) << file << ": empty " << Describe(k);
      EXPECT_EQ(Conversions(it->second), Conversions(text)) << file << ": " << Describe(k);
    }
    for (const auto& [k, text] : texts)
      EXPECT_TRUE(english.count(k)) << file << " has " << Describe(k) << " that english.lng lacks";

    LANG_INFO info;
    EXPECT_TRUE(LangReadInfo(file, info)) << file;
    EXPECT_FALSE(info.localname.empty()) << file;
    EXPECT_FALSE(info.l_onlyinterface.empty()) << file;
  }
}

// The texts the windows take by name, section by section. The windows look
// most of them up by their control names, so the scan of the sources cannot
// see them.
TEST(LangKeys, TheWindowsFindAllTheirTexts) {
  const std::map<int32_t, std::string> keys = {
      {kLangAll, "B_Ok B_Cancel B_Close"},
      {kLangMainForm,
       "MI_Menu MI_File MI_FileOpen MI_FileSave MI_FileSaveAs MI_FileSaveImage MI_FileDownload "
       "MI_Game MI_GameWin1 MI_GameWin2 MI_GameThumb MI_GameBkgAll MI_GameBkgCur MI_GameInfo "
       "MI_GameSelectAll MI_GameArrange MI_GameGather MI_GameGlass MI_GameWeight MI_Pockets "
       "MI_PocketsPocket1 MI_PocketsPocket2 MI_PocketsPocket3 MI_PocketsPocket4 MI_PocketsTile "
       "MI_PocketsCascade MI_Options MI_Help MI_HelpCont MI_HelpQuick MI_HelpHomePage "
       "MI_HelpProductHomePage MI_HelpReport MI_HelpCredits MI_HelpAbout MI_FullScreen MI_Min "
       "MI_Exit MI_HelpVarloHomePage SD_SaveImage MI_GameWeightOn MI_GameWeightOff "
       "MI_GameBkgWin1 MI_GameBkgWin2 MI_GameSelectAllWin1 MI_GameSelectAllWin2 "
       "MI_GameBkgPocket1 MI_GameBkgPocket2 MI_GameBkgPocket3 MI_GameBkgPocket4 "
       "MI_GameSelectAllPocket1 MI_GameSelectAllPocket2 MI_GameSelectAllPocket3 "
       "MI_GameSelectAllPocket4 Prog_OpenJig Prog_SaveSolve Prog_AutoSaveSolve "
       "Prog_ChangeEmboss Q_SaveChanges Q_Gather MS_PaintError MS_CantOpenAddress"},
      {kLangLoadSave,
       "L_PieceEnd L_NoSavedGames L_SavedNote L_Comment RotateOn RotateOff FitOn FitOff Mix Mix_Random Mix_Spreadout Shapes0 Shapes1 "
       "Shapes2 Shapes3 Shapes4 Shapes5 Shapes6 Borders0 Borders1 TS_Jigs TS_Games TS_Level "
       "L_FileNameCap PMI_JigsOpen PMI_JigsDel PMI_JigsDelAll PMI_GamesOpen PMI_GamesDel "
       "PMI_GamesDelAll B_Extra L_PieceNum Cap_Load Cap_Save B_Save B_Next B_Open "
       "MS_CantFindFile Q_OverwriteFile MS_CantDeleteFile MS_EnterFileName MS_InvalidFileName "
       "Q_DeleteFile Q_DelAllJigs Q_DelAllGames"},
      {kLangPocket, "PocketCaption"},
      {kLangOptions,
       "FormCaption TS_AutoSave TS_Sound TS_Play TS_Visual TS_Lang TS_Dn CB_AutoSave "
       "L_AutoInterval CB_SoundPlay L_PlayModes CB_PlayModes0 CB_PlayModes1 CB_PlayModes2 "
       "L_PlayRotCW L_PlayRotCCW L_PlayMoveOW Key0 Key1 Key2 Key3 Key4 Key5 Key6 "
       "CB_PlaySingleWin CB_PlayClickToDrag L_StuckKoef GB_VisualEmboss RB_VisualEmboss0 "
       "RB_VisualEmboss1 RB_VisualEmboss2 RB_VisualEmboss3 GB_VisualWood RB_VisualWood0 "
       "RB_VisualWood1 RB_VisualWood2 GB_VisualWoodColor CB_VisualShowJoin L_LangListCap "
       "L_DnSrcCap CB_UseSecure L_SecureMethodCap MS_KeysMustBeDiff MS_CantFindLangFile"},
      {kLangInfoForm, "FormCaption L_JigCap L_Rotation L_PieceNum l_UnsolvedNum L_SolvedPercent"},
      {kLangCredits, "FormCaption L_Thanks"},
      {kLangAbout, "FormCaption"},
      {kLangThumbnail, "FormCaption"},
      {kLangDownload,
       "FormCaption L_DownMode DownMode0 DownMode1 DownMode2 B_Download B_Stop ProcConnect "
       "ProcDisconnect ProcReceivingData MS_TcpNotInstalled MS_ListEmpty MS_SelJigsaw "
       "MS_NoNewJigs Q_TryAnotherDnSrc MS_FileNotFound MS_SomeFailed Q_OpenFirstJigsaw"},
      {kLangFinish, "FormCaption L_Congratulations L_Solved L_AskForSave B_Save"},
      {kLangQuickHelp,
       "FormCaption L_Click L_Contents L_Open L_Download L_Menu L_RotateCW L_RotateCCW L_Ctrl "
       "L_MoveOW L_Switch L_Spacebar CB_Show"},
      {kLangColorPicker, "L_PalCap L_GammaCap L_DefColCap L_SelColCap L_BkgPicsCap"},
  };
  // The templates and what they are filled with.
  const std::map<Key, std::string> templates = {
      {{kLangLoadSave, "l_piecenum"}, "d"},     {{kLangLoadSave, "ms_cantfindfile"}, "s"},
      {{kLangLoadSave, "q_overwritefile"}, "s"}, {{kLangLoadSave, "ms_cantdeletefile"}, "s"},
      {{kLangLoadSave, "q_deletefile"}, "s"},   {{kLangPocket, "pocketcaption"}, "dd"},
      {{kLangOptions, "l_autointerval"}, "d"},  {{kLangOptions, "l_stuckkoef"}, "d"},
      {{kLangOptions, "ms_cantfindlangfile"}, "s"}, {{kLangInfoForm, "l_piecenum"}, "d"},
      {{kLangInfoForm, "l_unsolvednum"}, "d"},  {{kLangInfoForm, "l_solvedpercent"}, "d"},
      {{kLangDownload, "q_tryanotherdnsrc"}, "ss"}, {{kLangDownload, "ms_filenotfound"}, "s"},
      {{kLangDownload, "ms_somefailed"}, "d"},
      {{kLangLoadSave, "l_pieceend"}, "d"},     {{kLangLoadSave, "l_savednote"}, "sd"},
      {{kLangMainForm, "ms_cantopenaddress"}, "s"},
  };
  const auto english = LanguageTexts(kLangDir + "english.lng", nullptr);
  std::set<Key> known;
  for (const auto& [section, list] : keys) {
    std::istringstream words(list);
    for (std::string key; words >> key;) {
      const Key k{section, Lower(key)};
      known.insert(k);
      auto it = english.find(k);
      if (it == english.end()) {
        ADD_FAILURE() << "english.lng lacks " << Describe(k);
        continue;
      }
      auto t = templates.find(k);
      EXPECT_EQ(Conversions(it->second), t == templates.end() ? "" : t->second) << Describe(k);
    }
  }
  // And no text that nothing looks up (a misspelt key in the file); the
  // language's own description and the "Extra" section aside.
  for (const Key& k : SourceLookUps()) known.insert({k.first, Lower(k.second)});
  for (const auto& [k, text] : english) {
    if (k.first != kLangInfo && k.first != kLangExtra) {
      EXPECT_TRUE(known.count(k)) << "nothing looks up " << Describe(k);
    }
  }
}

TEST(LangKeys, GermanTextsAreDecodedWithTheirUmlauts) {
  LANG_P lang;
  lang.pItems = LangParseLines([] {
    std::vector<std::string> lines;
    LangReadLines(kLangDir + "german.lng", lines);
    return lines;
  }());
  EXPECT_EQ(LangText(lang, kLangAll, "B_Close"), "Schließen");
  EXPECT_EQ(LangText(lang, kLangMainForm, "MI_FileOpen"), "Öffnen");
  EXPECT_EQ(LangTextBr(lang, kLangLoadSave, "B_Extra"), "Weitere\r\nPuzzles");
  EXPECT_EQ(LangFormat(LangText(lang, kLangInfoForm, "L_SolvedPercent"), {LangArg(75)}),
            "Gelöst: 75 %");
}

}  // namespace
}  // namespace varlo
