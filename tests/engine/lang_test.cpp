// Language files: encodings, line and item rules, look-up, templates, text
// helpers, message boxes and the list of installed languages.
#include "ui/lang.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/fake_platform.h"
#include "support/temp_home.h"

namespace varlo {
namespace {

using ::varlo::testing::FakePlatform;
using ::varlo::testing::FixturePath;
using ::varlo::testing::TempDir;
using ::varlo::testing::WriteFile;
using namespace std::string_literals;

std::vector<LANG_ITEM> ReadFixture(const std::string& name) {
  std::vector<std::string> lines;
  std::string error;
  EXPECT_TRUE(LangReadLines(FixturePath("lang/" + name), lines, &error)) << name << ": " << error;
  return LangParseLines(lines);
}

LANG_P LangFrom(std::string_view bytes) {
  LANG_P lang;
  lang.pItems = LangParse(bytes);
  return lang;
}

TEST(LangFile, EveryEncodingGivesTheSameItems) {
  const std::vector<LANG_ITEM> expected = {
      {0, "engname", "Sample"},
      {0, "localname", "Échantillon"},
      {0, "AUTHOR", "Zoë Müller"},
      {0, "l_onlyinterface", "Nur die Oberfläche; Hilfe auf Englisch."},
      {1, "B_Ok", "Schön"},
      {1, "b_cancel", "Abbrechen"},
      {1, "B_Close", "Straße «zu» ½ ¿ ñ ©"},
      {2, "Q_SaveChanges", "Änderungen speichern?$DJa oder nein"},
      {2, "Dup", "first"},
      {2, "Dup", "second"},
      {2, "AfterMisc", "still in Main Form"},
      {2, "AfterWrongCase", "still in Main Form too"},
      {5, "L_AutoInterval", "Alle %d Minuten"},
      {5, "Empty", ""},
      {5, "Arrow", "a > b <c>"},
      {5, "Padded", "blanks around"},
      {5, "Spaced Key", "value"},
      {11, "FormCaption", "Herunterladen"},
  };
  for (const char* name : {"sample.utf8.lng", "sample.utf8-bom.lng", "sample.utf16le.lng",
                           "sample.utf16be.lng", "sample.cp1252.lng", "sample.latin1.lng"}) {
    EXPECT_EQ(ReadFixture(name), expected) << name;
  }
  const std::vector<LANG_ITEM> punctuation = ReadFixture("punctuation.utf8.lng");
  ASSERT_EQ(punctuation.size(), 1u);
  EXPECT_EQ(punctuation[0].sText, "€ … „Anführung“ ‚einfach‘ – — ™ Š Ž œ Ÿ • † ‰");
  EXPECT_EQ(ReadFixture("punctuation.cp1252.lng"), punctuation);
  EXPECT_EQ(ReadFixture("punctuation.utf16le.lng"), punctuation);
}

TEST(LangFile, LinesEndAtEveryBreakAndANulEndsTheText) {
  const auto keys = [](std::string_view bytes) {
    std::string out;
    for (const LANG_ITEM& i : LangParse(bytes)) out += i.sKey + "=" + i.sText + ";";
    return out;
  };
  EXPECT_EQ(keys("[All]\r<a> 1\n<b> 2\r\n<c> 3\xE2\x80\xA8<d> 4\r\n\r\n<e> 5"),
            "a=1;b=2;c=3;d=4;e=5;");
  EXPECT_EQ(keys("[All]\n<a> 1\n<b> 2\0\n<c> 3"s), "a=1;b=2;");
  // UTF-16: the line separator and a NUL unit.
  EXPECT_EQ(keys("\xFF\xFE[\0A\0l\0l\0]\0\n\0<\0a\0>\0x\0\x28\x20<\0b\0>\0y\0\0\0<\0c\0>\0z\0"s),
            "a=x;b=y;");
  // Trimming takes every character below 33, but not a no-break space.
  EXPECT_EQ(keys("[All]\n\x01\t <a>\x1F 1 \x7F\x05\n<b> \xC2\xA0x\xC2\xA0"),
            "a=1 \x7F;b=\xC2\xA0x\xC2\xA0;");
}

TEST(LangFile, EightBitTextIsUtf8WhenValidElseWindows1252) {
  EXPECT_EQ(LangText(LangFrom("[All]\n<a> Gr\xC3\xBC\xC3\x9F" "e"), kLangAll, "a"), "Grüße");
  EXPECT_EQ(LangText(LangFrom("[All]\n<a> Gr\xFC\xDF" "e \x80"), kLangAll, "a"), "Grüße €");
  // One stray byte makes the whole file Windows-1252.
  EXPECT_EQ(LangText(LangFrom("[All]\n<a> \xC3\xBC\n<b> \xFC"), kLangAll, "a"), "Ã¼");
  // A byte-order mark decides, even against broken bytes.
  EXPECT_EQ(LangText(LangFrom("\xEF\xBB\xBF[All]\n<a> \xFC!"), kLangAll, "a"), "\xEF\xBF\xBD!");
}

TEST(LangFile, BrokenUtf16DecodesWithoutHarm) {
  // An unpaired high surrogate, a lone low surrogate, a proper pair for
  // U+1F600 and an odd last byte.
  const std::string bytes =
      "\xFF\xFE[\0A\0l\0l\0]\0\n\0<\0a\0>\0\x01\xD8!\0\x02\xDC\x3D\xD8\x00\xDE\x41"s;
  EXPECT_EQ(LangText(LangFrom(bytes), kLangAll, "a"), "\xEF\xBF\xBD!\xEF\xBF\xBD\xF0\x9F\x98\x80");
  EXPECT_TRUE(LangParse("\xFE\xFF").empty());
  EXPECT_TRUE(LangParse("\xFF\xFE\x00").empty());
  EXPECT_TRUE(LangParse("").empty());
}

TEST(LangFile, OversizeOrMissingFilesAreNotRead) {
  TempDir dir;
  const std::string big = dir.path() + "big.lng";
  WriteFile(big, "[All]\n<B_Ok> OK\n");
  std::filesystem::resize_file(big, kMaxLangFileBytes + 1);
  std::vector<std::string> lines;
  std::string error;
  EXPECT_FALSE(LangReadLines(big, lines, &error));
  EXPECT_NE(error.find("too large"), std::string::npos);
  EXPECT_FALSE(LangReadLines(dir.path() + "none.lng", lines));
  EXPECT_FALSE(LangReadLines(dir.path(), lines));
  EXPECT_TRUE(lines.empty());
}

TEST(LangLookUp, FirstMatchKeyCaseIgnoredSectionsApart) {
  LANG_P lang;
  lang.pItems = ReadFixture("sample.utf16le.lng");
  EXPECT_EQ(LangText(lang, kLangAll, "B_Ok"), "Schön");
  EXPECT_EQ(LangText(lang, kLangAll, "B_CANCEL"), "Abbrechen");
  EXPECT_EQ(LangText(lang, kLangMainForm, "dup"), "first");
  EXPECT_EQ(LangText(lang, kLangOptions, "Empty"), "") << "an empty text is shown as empty";
  EXPECT_EQ(LangText(lang, kLangOptions, "FormCaption"), "FormCaption") << "missing: the key";
  EXPECT_EQ(LangText(lang, kLangDownload, "FormCaption"), "Herunterladen");
  EXPECT_EQ(LangText(lang, kLangAll, "Orphan"), "Orphan");
  EXPECT_EQ(LangText(lang, kLangInfo, "author"), "Zoë Müller");
  // Case folding covers A to Z only.
  const LANG_P accents = LangFrom("[All]\n<ÄB> x\n");
  EXPECT_EQ(LangText(accents, kLangAll, "äB"), "äB");
  EXPECT_EQ(LangText(accents, kLangAll, "Äb"), "x");
}

TEST(LangLookUp, LineBreakPlaceholderOnlyWhereAsked) {
  const LANG_P lang = LangFrom("[Main Form]\n<Q> One$DTwo$D$DThree $d\n");
  EXPECT_EQ(LangText(lang, kLangMainForm, "Q"), "One$DTwo$D$DThree $d");
  EXPECT_EQ(LangTextBr(lang, kLangMainForm, "Q"), "One\r\nTwo\r\n\r\nThree $d");
}

TEST(LangTemplates, FillOnlyWhatTheyAskFor) {
  struct Case {
    const char* tmpl;
    std::string expected;
  };
  const auto fmt = [](const char* t) { return LangFormat(t, {LangArg(42), LangArg("Tiger")}); };
  const Case cases[] = {
      {"Pieces: %d", "Pieces: 42"},
      {"%d pieces of %s", "42 pieces of Tiger"},
      {"Solved: %d%%", "Solved: 42%"},
      {"[%5d] [%-6s]", "[   42] [Tiger ]"},
      {"%x %X", "2a Tiger"},
      {"%d %s %d", "42 Tiger %d"},
      {"%n %p %s", "%n %p 42"},
      {"%999999999d!", "%999999999d!"},
      {"%65d", "%65d"},
      {"100%", "100%"},
      {"%-", "%-"},
      {"no arguments", "no arguments"},
  };
  for (const Case& c : cases) EXPECT_EQ(fmt(c.tmpl), c.expected) << c.tmpl;
  EXPECT_EQ(LangFormat("%X", {LangArg(-1)}), "FFFFFFFF");
  EXPECT_EQ(LangFormat("%s and %d", {LangArg("a"), LangArg("b")}), "a and b");
  EXPECT_EQ(LangFormat("%4s|", {LangArg("äö")}), "  äö|") << "width counts characters";
}

TEST(LangTextHelpers, WideReplace) {
  struct Case {
    const char *source, *pattern, *replacement;
    int32_t flags;
    const char* expected;
  };
  const Case cases[] = {
      {"a$Db$Dc", "$D", "\r\n", kReplaceAll, "a\r\nb\r\nc"},
      {"a$Db$Dc", "$D", "|", 0, "a|b$Dc"},
      {"aaa", "aa", "X", kReplaceAll, "Xa"},
      {"abc", "", "X", kReplaceAll, "abc"},
      {"Open FILE file", "file", "doc", kReplaceAll, "Open FILE doc"},
      {"Open FILE file", "file", "doc", kReplaceAll | kIgnoreCase, "Open doc doc"},
      {"Größe GRÖSSE größe", "GRÖ", "x", kReplaceAll | kIgnoreCase, "xße xSSE xße"},
      {"Ärger ärger", "ä", "Ae", kIgnoreCase, "Aerger ärger"},
      {"Σοφία ΣΟΦΊΑ", "σοφία", "x", kReplaceAll | kIgnoreCase, "x x"},
      {"Привет ПРИВЕТ", "привет", "hi", kReplaceAll | kIgnoreCase, "hi hi"},
      {"Łódź ŁÓDŹ", "łódź", "L", kReplaceAll | kIgnoreCase, "L L"},
      {"keep \xFF\xFE bytes \xFF", "\xFF", "?", kReplaceAll | kIgnoreCase, "keep ?\xFE bytes ?"},
      {"ab", "abc", "x", kReplaceAll, "ab"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WideReplace(c.source, c.pattern, c.replacement, c.flags), c.expected)
        << c.source << " / " << c.pattern;
}

TEST(LangTextHelpers, MenuAndToolbarHints) {
  EXPECT_EQ(MenuHintText("Open..."), "Open");
  EXPECT_EQ(MenuHintText("Save As\xE2\x80\xA6"), "Save As");
  EXPECT_EQ(MenuHintText("a...b...c\xE2\x80\xA6" "d\xE2\x80\xA6"), "ab...cd\xE2\x80\xA6");
  EXPECT_EQ(MenuHintText("Bkg for All Wins"), "Bkg for All Wins");
  EXPECT_EQ(ToolbarHintText("Open...", "Ctrl+O"), "Open (Ctrl+O)");
  EXPECT_EQ(ToolbarHintText("Gather", ""), "Gather");
}

TEST(LangMessages, BoxesCarryTheTitleStyleAndAnswer) {
  FakePlatform fake;
  fake.QueueAnswer(kMsgNo);
  EXPECT_EQ(MsgBox(fake.platform(), "Save?$DReally", kMsgQuestionYesNoCancel), kMsgNo);
  ASSERT_EQ(fake.messages.size(), 1u);
  EXPECT_EQ(fake.messages[0].text, "Save?\r\nReally");
  EXPECT_EQ(fake.messages[0].caption, "Varlo Jigsaw USA Edition");
  EXPECT_EQ(fake.messages[0].style, kMsgQuestionYesNoCancel);

  FakePlatform owner;
  owner.QueueAnswer(kMsgOk);
  EXPECT_EQ(MsgBoxOwned(owner, "Done", kMsgQuestionOkCancel), kMsgOk);
  ASSERT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(fake.messages.size(), 1u) << "the owner's boxes, not the active window's";

  // Without message boxes a question answers as a box closed without choice.
  const Platform none;
  EXPECT_EQ(MsgBox(none, "x", kMsgExclamationOk), kMsgOk);
  EXPECT_EQ(MsgBox(none, "x", kMsgInformationOk), kMsgOk);
  EXPECT_EQ(MsgBox(none, "x", kMsgQuestionOkCancel), kMsgCancel);
  EXPECT_EQ(MsgBox(none, "x", kMsgQuestionYesNo), kMsgNo);
  EXPECT_EQ(MsgBox(none, "x", kMsgQuestionYesNoCancel), kMsgCancel);
}

TEST(LangLoading, LoadReplacesTextsAndAppliesThem) {
  TempDir dir;
  FakePlatform fake;
  const std::string first = dir.path() + "first.lng";
  const std::string second = dir.path() + "second.lng";
  WriteFile(first,
            "[Options]\n<MS_CantFindLangFile> Missing: %s\n<FormCaption> Options\n"
            "[Download]\n<FormCaption> Get more\n");
  WriteFile(second, "[Options]\n<FormCaption> Optionen\n");
  LANG_P lang;
  int applied = 0;
  lang.ApplyToWindows = [&](const LANG_P& l) {
    ++applied;
    EXPECT_EQ(&l, &lang);
  };

  // Before any language: the bare key, formatted with nothing to fill.
  EXPECT_FALSE(LangLoad(lang, fake.platform(), dir.path() + "none.lng"));
  ASSERT_EQ(fake.messages.size(), 1u);
  EXPECT_EQ(fake.messages[0].text, "MS_CantFindLangFile");
  EXPECT_EQ(fake.messages[0].style, kMsgExclamationOk);

  ASSERT_TRUE(LangLoad(lang, fake.platform(), first));
  EXPECT_EQ(applied, 1);
  EXPECT_EQ(lang.sDownloadCaption, "Get more");

  EXPECT_FALSE(LangLoad(lang, fake.platform(), dir.path() + "gone.lng"));
  EXPECT_EQ(fake.messages.back().text, "Missing: " + dir.path() + "gone.lng");
  EXPECT_EQ(LangText(lang, kLangOptions, "FormCaption"), "Options") << "texts stay";
  EXPECT_EQ(applied, 1);

  ASSERT_TRUE(LangLoad(lang, fake.platform(), second));
  EXPECT_EQ(LangText(lang, kLangOptions, "FormCaption"), "Optionen");
  EXPECT_EQ(lang.sDownloadCaption, "FormCaption") << "the whole list was replaced";
  EXPECT_EQ(applied, 2);

  LangItemsFree(lang);
  EXPECT_TRUE(lang.pItems.empty());
}

TEST(LangInstalled, PathsAndIds) {
  EXPECT_EQ(LangFilePath("/x/language/", "German"), "/x/language/german.lng");
  EXPECT_EQ(LangHelpPath("/x/language/", "German"), "/x/language/german.chm");
  EXPECT_EQ(LangFlagPath("/x/language", "German"), "/x/language/german.bmp");
  for (const char* ok : {"english", "German", "pt-br", "zh_CN", "français"})
    EXPECT_TRUE(LangIdValid(ok)) << ok;
  for (const char* bad : {"", ".", "..", "../etc", "a/b", "a\\b", "c:x", "a\nb",
                          "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"})
    EXPECT_FALSE(LangIdValid(bad)) << bad;
}

TEST(LangInstalled, ReadInfoTakesTheLanguageInfoSectionOnly) {
  TempDir dir;
  const std::string path = dir.path() + "Deutsch.lng";
  WriteFile(path,
            "<engname> before the header\n"
            "[Language Info]\n"
            "<ENGNAME> First\n"
            "< engname > German\n"
            "<LocalName>  Deutsch \n"
            "<author> Team\n"
            "<unknown> x\n"
            "[All]\n"
            "<l_onlyinterface> too late\n");
  LANG_INFO info;
  info.l_onlyinterface = "stale";
  ASSERT_TRUE(LangReadInfo(path, info));
  EXPECT_EQ(info.sId, "Deutsch");
  EXPECT_EQ(info.engname, "German") << "a later line overwrites";
  EXPECT_EQ(info.localname, "Deutsch");
  EXPECT_EQ(info.author, "Team");
  EXPECT_EQ(info.l_onlyinterface, "");

  WriteFile(path, "[All]\n<B_Ok> OK\n");
  EXPECT_FALSE(LangReadInfo(path, info)) << "no language info section";
  WriteFile(path, "[Language Info]\n<author> Nobody\n");
  ASSERT_TRUE(LangReadInfo(path, info));
  EXPECT_EQ(info.engname, "Deutsch") << "no engname: the file stem";
  EXPECT_FALSE(LangReadInfo(dir.path() + "missing.lng", info));
}

TEST(LangInstalled, ScanListsLanguagesSortedByEnglishName) {
  TempDir dir;
  const std::string folder = dir.path() + "language/";
  WriteFile(folder + "b.lng", "[Language Info]\n<engname> Beta\n");
  WriteFile(folder + "a.LNG", "\xFF\xFE" "[\0L\0a\0n\0g\0u\0a\0g\0e\0 \0I\0n\0f\0o\0]\0\n\0"
                              "<\0e\0n\0g\0n\0a\0m\0e\0>\0a\0l\0p\0h\0a\0"s);
  WriteFile(folder + "noname.lng", "[Language Info]\n<localname> Ohne\n");
  WriteFile(folder + "noinfo.lng", "[All]\n<B_Ok> OK\n");
  WriteFile(folder + "readme.txt", "[Language Info]\n<engname> Readme\n");
  WriteFile(folder + ".lng", "[Language Info]\n<engname> Hidden\n");
  std::filesystem::create_directories(folder + "folder.lng");

  LANG_P lang;
  LangScan(lang, folder);
  std::vector<std::string> order;
  for (const LANG_INFO& i : lang.LangList) order.push_back(i.sId + ":" + i.engname);
  EXPECT_EQ(order, (std::vector<std::string>{"a:alpha", "b:Beta", "noname:noname"}));

  LangListFree(lang);
  EXPECT_TRUE(lang.LangList.empty());

  // A missing folder is created and gives no languages.
  const std::string fresh = dir.path() + "new/";
  LangScan(lang, fresh);
  EXPECT_TRUE(lang.LangList.empty());
  EXPECT_TRUE(std::filesystem::is_directory(fresh));
}

}  // namespace
}  // namespace varlo
