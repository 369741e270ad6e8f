// The settings store: line format, search rules, merging, safe writing.
#include "app/setengine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_home.h"

namespace varlo {
namespace {

using ::varlo::testing::ReadFile;
using ::varlo::testing::TempDir;
using ::varlo::testing::WriteFile;
using Lines = std::vector<std::string>;
using namespace std::string_literals;

SetEngine FromText(std::string_view text) {
  SetEngine e;
  e.SetLoadText(text);
  return e;
}

TEST(SetEngineFormat, FirstWriteIntoEmptyListMakesSectionGroupAndKeyLines) {
  SetEngine e;
  e.SetWriteInt("Main", "DefJigP", "Level", 6);
  EXPECT_EQ(e.lines(), (Lines{"[Main]", "   <DefJigP>", "      Level=6"}));
  e.SetWriteBool("Main", "Sound", kNoKey, true);
  EXPECT_EQ(e.lines(), (Lines{"[Main]", "   <Sound> 1", "   <DefJigP>", "      Level=6"}));
  EXPECT_EQ(e.Text(), "[Main]\r\n   <Sound> 1\r\n   <DefJigP>\r\n      Level=6\r\n");
}

TEST(SetEngineFormat, NewGroupsAndKeysGoToTheTopAndSectionsAreSeparated) {
  SetEngine e;
  e.SetWriteInt("Main", "G", "A", 1);
  e.SetWriteInt("Main", "G", "B", 2);
  e.SetWriteInt("Main", "H", "C", 3);
  e.SetWriteStr("Files", "Last0", kNoKey, "x.ast");
  EXPECT_EQ(e.lines(), (Lines{"[Main]", "   <H>", "      C=3", "   <G>", "      B=2", "      A=1",
                              "", "", "[Files]", "   <Last0> x.ast"}));
  // Rewriting replaces in place; nothing moves.
  e.SetWriteInt("Main", "G", "A", 10);
  e.SetWriteStr("Files", "Last0", kNoKey, "y.sv1");
  EXPECT_EQ(e.lines()[5], "      A=10");
  EXPECT_EQ(e.lines()[9], "   <Last0> y.sv1");
  EXPECT_EQ(e.lines().size(), 10u);
}

TEST(SetEngineFormat, ValuesRoundTripThroughTheFile) {
  struct Case {
    const char* section;
    const char* group;
    std::string_view key;
    std::string value;
  };
  const Case cases[] = {
      {"Files", "Last0", kNoKey, R"(C:\My Games\Big Tiger.ast)"},
      {"Files", "Last1", kNoKey, "/home/pat/Saved Games/a b  c.sv1"},
      {"Lang", "Lang", kNoKey, "english"},
      {"Main", "Embossing", "WoodColor", "4810874"},
      {"Main", "Odd", "Key With Blank", "v = w"},
      {"Main", "Odd", "Eq", "a=b=c"},
      {"Main", "Odd", "Empty", ""},
      {"Main", "Odd", "Ansi", "Stra\xDF" "e M\xFCller \x80"},
      {"Main", "Odd", "Brackets", "<x> [y]"},
  };
  TempDir dir;
  const std::string path = dir.path() + "varlo.ini";
  SetEngine e;
  for (const Case& c : cases) e.SetWriteStr(c.section, c.group, c.key, c.value);
  ASSERT_TRUE(e.SetSave(path));
  EXPECT_TRUE(e.lines().empty()) << "saving clears the list";

  const std::string bytes = ReadFile(path);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_EQ(bytes[i - 1], '\r') << "bare LF at " << i;
    }
  }

  SetEngine back;
  back.SetLoad(path);
  for (const Case& c : cases)
    EXPECT_EQ(back.SetReadStr(c.section, c.group, c.key, "default"), c.value)
        << c.section << "/" << c.group << "/" << c.key;
}

TEST(SetEngineFormat, LineBreaksInsideAValueCannotForgeLines) {
  SetEngine e;
  e.SetWriteStr("Files", "Last0", kNoKey, "evil\r\n[Main]\n   <FullScreen> 1");
  EXPECT_EQ(e.lines().size(), 2u);
  SetEngine back = FromText(e.Text());
  EXPECT_EQ(back.SetFind("Main", "FullScreen", kNoKey).Section, -1);
}

TEST(SetEngineFormat, EveryLineEndIsReadAndWrittenAsCrLf) {
  SetEngine e = FromText("[A]\n<g> 1\r<h> 2\r\n\r\n<i> 3");
  EXPECT_EQ(e.lines(), (Lines{"[A]", "<g> 1", "<h> 2", "", "<i> 3"}));
  EXPECT_EQ(e.Text(), "[A]\r\n<g> 1\r\n<h> 2\r\n\r\n<i> 3\r\n");
  EXPECT_TRUE(FromText("").lines().empty());
  EXPECT_EQ(FromText("\r\n").lines(), (Lines{""}));
}

TEST(SetEngineSearch, TrimmedCaseSensitivePrefixMatches) {
  const SetEngine e = FromText(
      "  \t[Main]  extra\r\n"
      "\t<Sound>\t0 \r\n"
      "   <DefJigP>\r\n"
      "  LevelX=3\r\n"
      "\x01 Level=  7  \x02\r\n"
      "   <Lower>\r\n"
      "      level=9\r\n");
  EXPECT_FALSE(e.SetReadBool("Main", "Sound", kNoKey, true));
  EXPECT_EQ(e.SetReadInt("Main", "DefJigP", "Level", -1), 7) << "LevelX= is another key";
  EXPECT_EQ(e.SetReadInt("Main", "Lower", "Level", -1), -1) << "keys are case-sensitive";
  EXPECT_EQ(e.SetReadInt("main", "DefJigP", "Level", -1), -1) << "sections are case-sensitive";
  EXPECT_EQ(e.SetReadInt("Main", "defjigp", "Level", -1), -1) << "groups are case-sensitive";
}

TEST(SetEngineSearch, BoundariesOfSectionsAndGroups) {
  const SetEngine e = FromText(
      "[Main]\r\n"
      "   <A>\r\n"
      "      x=1\r\n"
      "   <B>\r\n"
      "      y=2\r\n"
      "[Play]\r\n"
      "      z=3\r\n"
      "   <C> c\r\n"
      "[Main]\r\n"
      "   <D> second\r\n"
      "   <A>\r\n"
      "      x=99\r\n");
  // A key after a later group line lies outside its group.
  EXPECT_EQ(e.SetReadStr("Main", "A", "y", "none"), "none");
  EXPECT_EQ(e.SetReadStr("Main", "B", "y", "none"), "2");
  // The key search of B ends at the next section line.
  EXPECT_EQ(e.SetReadStr("Main", "B", "z", "none"), "none");
  // Groups are searched only up to the next section, and only the first
  // section of a name counts.
  EXPECT_EQ(e.SetReadStr("Main", "C", kNoKey, "none"), "none");
  EXPECT_EQ(e.SetReadStr("Main", "D", kNoKey, "none"), "none");
  EXPECT_EQ(e.SetReadStr("Main", "A", "x", "none"), "1");

  const SetFindResult r = e.SetFind("Main", "B", "y");
  EXPECT_EQ(r.Section, 0);
  EXPECT_EQ(r.Group, 3);
  EXPECT_EQ(r.Key, 4);
  const SetFindResult missing = e.SetFind("Nope", "B", "y");
  EXPECT_EQ(missing.Section, -1);
  EXPECT_EQ(missing.Group, -1);
  EXPECT_EQ(missing.Key, -1);
}

TEST(SetEngineSearch, WritingGoesIntoTheFirstOfTwoSectionsOfOneName) {
  SetEngine e = FromText("[Main]\r\n   <Sound> 0\r\n[Main]\r\n   <Sound> 0\r\n");
  e.SetWriteBool("Main", "Sound", kNoKey, true);
  e.SetWriteInt("Main", "New", "k", 5);
  EXPECT_EQ(e.lines(), (Lines{"[Main]", "   <New>", "      k=5", "   <Sound> 1", "[Main]",
                              "   <Sound> 0"}));
}

TEST(SetEngineRead, IntegersAndBooleans) {
  struct Case {
    const char* text;
    int32_t asInt;  // with default -77
    bool asBool;    // with default true
  };
  const Case cases[] = {
      {"12", 12, true},         {"-5", -5, true},
      {"+7", 7, true},          {"0", 0, false},
      {"1", 1, true},           {"$1F", 31, true},
      {"0x10", 16, true},       {"$FFFFFFFF", -1, true},
      {"2147483647", 2147483647, true},
      {"-2147483648", INT32_MIN, true},
      {"2147483648", -77, true}, {"99999999999999999999", -77, true},
      {"12a", -77, true},       {"1.5", -77, true},
      {"", -77, true},          {"yes", -77, true},
      {"- 3", -77, true},       {"0x", -77, true},
      {"$", -77, true},         {"2", 2, true},
  };
  for (const Case& c : cases) {
    const SetEngine e = FromText(std::string("[S]\r\n<G> ") + c.text + "\r\n<K>\r\nv=" + c.text);
    EXPECT_EQ(e.SetReadInt("S", "G", kNoKey, -77), c.asInt) << "'" << c.text << "'";
    EXPECT_EQ(e.SetReadInt("S", "K", "v", -77), c.asInt) << "'" << c.text << "'";
    EXPECT_EQ(e.SetReadBool("S", "G", kNoKey, true), c.asBool) << "'" << c.text << "'";
  }
  // "yes" is no boolean: the default, whatever it is.
  const SetEngine yes = FromText("[Main]\r\n   <Sound> yes\r\n");
  EXPECT_TRUE(yes.SetReadBool("Main", "Sound", kNoKey, true));
  EXPECT_FALSE(yes.SetReadBool("Main", "Sound", kNoKey, false));
}

TEST(SetEngineMerge, UnknownLinesSurviveAWrite) {
  const std::string original =
      "; written by hand\r\n"
      "[Main]\r\n"
      "   <Sound> 0\r\n"
      "   <Custom> keep me\r\n"
      "      Strange line without equals\r\n"
      "   <DefJigP>\r\n"
      "      Level=3\r\n"
      "      Future=42\r\n"
      "\r\n"
      "[Mods]\r\n"
      "   <X>\r\n"
      "      Y=\xE4\xF6\xFC\x00z\r\n"s;
  TempDir dir;
  const std::string path = dir.path() + "varlo.ini";
  WriteFile(path, original);

  SetEngine e;
  e.SetLoad(path);
  e.SetWriteBool("Main", "Sound", kNoKey, true);
  e.SetWriteInt("Main", "DefJigP", "Level", 6);
  e.SetWriteInt("Main", "DefJigP", "Rotate", 1);
  e.SetWriteStr("Lang", "Lang", kNoKey, "german");
  ASSERT_TRUE(e.SetSave(path));

  const std::string expected =
      "; written by hand\r\n"
      "[Main]\r\n"
      "   <Sound> 1\r\n"
      "   <Custom> keep me\r\n"
      "      Strange line without equals\r\n"
      "   <DefJigP>\r\n"
      "      Rotate=1\r\n"
      "      Level=6\r\n"
      "      Future=42\r\n"
      "\r\n"
      "[Mods]\r\n"
      "   <X>\r\n"
      "      Y=\xE4\xF6\xFC\x00z\r\n"
      "\r\n"
      "\r\n"
      "[Lang]\r\n"
      "   <Lang> german\r\n"s;
  EXPECT_EQ(ReadFile(path), expected);
}

TEST(SetEngineFile, MissingOrOversizeFilesReadAsEmpty) {
  TempDir dir;
  SetEngine e = FromText("[A]");
  // No file: nothing to lose by writing one.
  EXPECT_TRUE(e.SetLoad(dir.path() + "missing.ini"));
  EXPECT_TRUE(e.lines().empty());

  // Something is there that was not read: it must not be written over.
  std::filesystem::create_directory(dir.path() + "folder.ini");
  EXPECT_FALSE(e.SetLoad(dir.path() + "folder.ini"));
  EXPECT_TRUE(e.lines().empty());

  const std::string big = dir.path() + "big.ini";
  WriteFile(big, "[Main]\r\n   <Sound> 0\r\n" + std::string(kMaxSettingsFileBytes, '\n'));
  EXPECT_FALSE(e.SetLoad(big));
  EXPECT_TRUE(e.lines().empty());
  EXPECT_TRUE(e.SetReadBool("Main", "Sound", kNoKey, true));

  const std::string fits = dir.path() + "fits.ini";
  WriteFile(fits, "[Main]\r\n   <Sound> 0\r\n");
  EXPECT_TRUE(e.SetLoad(fits));
  EXPECT_FALSE(e.SetReadBool("Main", "Sound", kNoKey, true));
}

TEST(SetEngineFile, ByteOrderMarkIsNotPartOfTheFirstLineAndIsKept) {
  struct Case {
    std::string text;
    bool sound;  // what the first section's group reads
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF[Main]\r\n   <Sound> 0\r\n", false},
      {"\xEF\xBB\xBF[Main]\n<Sound> 0", false},
      {"\xEF\xBB\xBF   [Main]\r\n<Sound> 0\r\n", false},
      // Only a mark at the very start is one.
      {"\xEF\xBB[Main]\r\n   <Sound> 0\r\n", true},
      {"\r\n\xEF\xBB\xBF[Main]\r\n   <Sound> 0\r\n", true},
  };
  TempDir dir;
  const std::string path = dir.path() + "varlo.ini";
  for (const Case& c : cases) {
    WriteFile(path, c.text);
    SetEngine e;
    ASSERT_TRUE(e.SetLoad(path));
    EXPECT_EQ(e.SetReadBool("Main", "Sound", kNoKey, true), c.sound) << c.text;
  }

  // Writing keeps the mark and does not add a second section.
  WriteFile(path, "\xEF\xBB\xBF[Main]\r\n   <Sound> 0\r\n");
  SetEngine e;
  ASSERT_TRUE(e.SetLoad(path));
  e.SetWriteBool("Main", "Sound", kNoKey, true);
  ASSERT_TRUE(e.SetSave(path));
  EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF[Main]\r\n   <Sound> 1\r\n");
  // A loaded text without a mark is written without one.
  e = FromText("[Main]");
  EXPECT_EQ(e.Text(), "[Main]\r\n");
}

class SetEngineSafeSave : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.path() + "varlo.ini";
    WriteFile(path_, "[Main]\r\n   <Sound> 0\r\n");
    engine_.SetWriteBool("Main", "Sound", kNoKey, true);
  }
  TempDir dir_;
  std::string path_;
  SetEngine engine_;
};

TEST_F(SetEngineSafeSave, ReplacesTheFileAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(engine_.SetSave(path_));
  EXPECT_EQ(ReadFile(path_), "[Main]\r\n   <Sound> 1\r\n");
  size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);
}

TEST_F(SetEngineSafeSave, OldFileStaysWhenTheTemporaryFileCannotBeMade) {
  // Something that cannot be opened for writing sits where the temporary
  // file would go (this works for every user, root included).
  std::filesystem::create_directory(path_ + ".tmp~");
  std::filesystem::create_directory(path_ + ".tmp~/x");
  std::string error;
  EXPECT_FALSE(engine_.SetSave(path_, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(path_), "[Main]\r\n   <Sound> 0\r\n");
}

TEST_F(SetEngineSafeSave, OldFileStaysWhenTheFolderIsReadOnly) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ASSERT_EQ(chmod(dir_.path().c_str(), 0555), 0);
  const bool saved = engine_.SetSave(path_);
  chmod(dir_.path().c_str(), 0755);
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadFile(path_), "[Main]\r\n   <Sound> 0\r\n");
}

TEST_F(SetEngineSafeSave, OldFileStaysWhenTheRenameFails) {
  // The target is a non-empty folder: the new text is written but cannot
  // replace it, and the temporary file is cleaned up.
  const std::string target = dir_.path() + "taken";
  std::filesystem::create_directories(target + "/inside");
  EXPECT_FALSE(engine_.SetSave(target));
  EXPECT_TRUE(std::filesystem::is_directory(target + "/inside"));
  EXPECT_FALSE(std::filesystem::exists(target + ".tmp~"));
}

}  // namespace
}  // namespace varlo
