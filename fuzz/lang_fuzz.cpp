// The language file parser on arbitrary bytes: any encoding, any lines. The
// texts come out as valid, trimmed UTF-8, and templates and replacing on
// them stay safe.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/lang.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

bool Trimmed(std::string_view s) {
  return s.empty() || (static_cast<unsigned char>(s.front()) >= 33 &&
                       static_cast<unsigned char>(s.back()) >= 33);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varlo;
  if (size > kMaxLangFileBytes) return 0;
  LANG_P lang;
  lang.pItems = LangParse(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const LANG_ITEM& item : lang.pItems) {
    Check(LangSectionName(item.iSection) != nullptr);
    Check(ValidUtf8(item.sKey) && ValidUtf8(item.sText));
    Check(Trimmed(item.sKey) && Trimmed(item.sText));
    Check(item.sKey.find('>') == std::string::npos);
  }
  if (!lang.pItems.empty()) {
    const LANG_ITEM& first = lang.pItems.front();
    Check(LangText(lang, first.iSection, first.sKey) == first.sText);
    // A hostile template is filled, never executed.
    const std::string filled = LangFormat(first.sText, {LangArg(12345), LangArg("text")});
    Check(filled.size() <= first.sText.size() * 70 + 16);
    const std::string br = LangTextBr(lang, first.iSection, first.sKey);
    Check(br.find("$D") == std::string::npos);
    WideReplace(first.sText, first.sKey, "x", kReplaceAll | kIgnoreCase);
    MenuHintText(first.sText);
  }
  return 0;
}
