// The one decoder behind language files and info texts.
#include "ui/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "files/info_text.h"
#include "ui/lang.h"

namespace varlo {
namespace {

std::string DecodeAllUtf8(const std::string& bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  std::string out;
  for (size_t i = 0; i < bytes.size();) AppendUtf8(out, NextUtf8(p, bytes.size(), i));
  return out;
}

const std::string R = "\xEF\xBF\xBD";  // U+FFFD

TEST(TextEncoding, MalformedUtf8GivesOneReplacementPerMaximalSubpart) {
  struct Case {
    const char* what;
    std::string in, out;
  } cases[] = {
      {"valid text passes", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"cut-off euro sign then a letter", "\xE2\x82" "A", R + "A"},
      {"cut-off at the end", "A\xF0\x9F\x98", "A" + R},
      {"lone continuation bytes", "\x80\xBF", R + R},
      {"overlong slash", "\xC0\xAF", R + R},
      {"overlong three-byte form", "\xE0\x80\xAF", R + R + R},
      {"surrogate encoded", "\xED\xA0\x80", R + R + R},
      {"above U+10FFFF", "\xF4\x90\x80\x80", R + R + R + R},
      {"byte never used in UTF-8", "\xFF" "a", R + "a"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeAllUtf8(c.in), c.out) << c.what;
}

TEST(TextEncoding, UnpairedSurrogatesInUtf16BecomeReplacements) {
  // high surrogate followed by a letter, a lone low surrogate, a pair (U+1F600)
  const uint8_t le[] = {0x3D, 0xD8, 0x41, 0x00, 0x00, 0xDE, 0x3D, 0xD8, 0x00, 0xDE};
  std::string out;
  for (size_t i = 0; i + 1 < sizeof le;) AppendUtf8(out, NextUtf16(le, sizeof le, false, i));
  EXPECT_EQ(out, R + "A" + R + "\xF0\x9F\x98\x80");
}

// Info texts and language files read old eight-bit text alike, the five
// bytes the code page leaves undefined included.
TEST(TextEncoding, InfoTextsAndLanguageFilesReadEveryCodePageByteAlike) {
  for (int b = 0x20; b < 0x100; ++b) {
    // A byte that is not valid UTF-8 on its own makes the language file
    // eight-bit; the bytes below 0x80 read the same either way.
    const std::string line = std::string("x") + static_cast<char>(b) + "\xFF";
    const auto* p = reinterpret_cast<const uint8_t*>(line.data());
    const std::vector<std::string> lines = LangDecodeLines(line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(DecodeInfoText(p, line.size()), lines[0]) << "byte " << b;
    std::string expected = "x";
    AppendUtf8(expected, Cp1252ToUnicode(static_cast<uint8_t>(b)));
    AppendUtf8(expected, 0xFF);
    EXPECT_EQ(lines[0], expected) << "byte " << b;
  }
}

}  // namespace
}  // namespace varlo
