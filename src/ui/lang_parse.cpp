// Reading language files: encodings, lines and items.
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "raster/file_calls.h"
#include "ui/lang.h"
#include "ui/text_encoding.h"

namespace varlo {

namespace {

constexpr uint32_t kLineSeparator = 0x2028;

// Collects decoded characters as UTF-8 text: the line separator becomes a
// line feed and a NUL ends the text.
class TextSink {
 public:
  explicit TextSink(size_t expectedBytes) { text_.reserve(expectedBytes); }
  // False once the text has ended.
  bool Put(uint32_t cp) {
    if (cp == 0) return false;
    if (cp == kLineSeparator) cp = '\n';
    AppendUtf8(text_, cp);
    return true;
  }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

bool IsValidUtf8(const unsigned char* p, size_t n) {
  for (size_t i = 0; i < n;) {
    size_t len;
    DecodeUtf8At(p + i, n - i, len);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

void DecodeUtf8(const unsigned char* p, size_t n, TextSink& sink) {
  for (size_t i = 0; i < n;)
    if (!sink.Put(NextUtf8(p, n, i))) return;
}

// An odd last byte is no character and is dropped.
void DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian, TextSink& sink) {
  const size_t end = n - n % 2;
  for (size_t i = 0; i < end;)
    if (!sink.Put(NextUtf16(p, end, bigEndian, i))) return;
}

void DecodeCp1252(const unsigned char* p, size_t n, TextSink& sink) {
  for (size_t i = 0; i < n; ++i)
    if (!sink.Put(Cp1252ToUnicode(p[i]))) return;
}

std::string_view TrimBelow33(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) < 33) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) < 33) --e;
  return s.substr(b, e - b);
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

const char* LangSectionName(int32_t section) {
  static constexpr const char* kNames[] = {
      "Language Info", "All",   "Main Form", "Load/Save Form", "Pocket", "Options",
      "Info",          nullptr, "Credits",   "About",          "Thumbnail", "Download",
      "Finish",        "Quick Help", "Color Picker", "Extra"};
  if (section < 0 || section >= static_cast<int32_t>(std::size(kNames))) return nullptr;
  return kNames[section];
}

std::vector<std::string> LangDecodeLines(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  TextSink sink(n + n / 2);
  if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
    DecodeUtf16(p + 2, n - 2, false, sink);
  } else if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF) {
    DecodeUtf16(p + 2, n - 2, true, sink);
  } else if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
    DecodeUtf8(p + 3, n - 3, sink);
  } else {
    // Eight-bit text. A NUL ends it, so only the part before one counts
    // when telling UTF-8 from the ANSI code page.
    size_t len = 0;
    while (len < n && p[len] != 0) ++len;
    if (IsValidUtf8(p, len))
      DecodeUtf8(p, len, sink);
    else
      DecodeCp1252(p, len, sink);
  }

  std::vector<std::string> lines;
  const std::string_view text = sink.text();
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(TrimBelow33(text.substr(start, i - start)));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

bool LangReadLines(const std::string& path, std::vector<std::string>& lines, std::string* error) {
  lines.clear();
  const auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  // Opened without waiting: a FIFO or a device under the name is refused.
  std::vector<uint8_t> raw;
  std::string why;
  if (!ReadRegularFile(path, kMaxLangFileBytes, raw, &why)) return fail(why);
  const std::string bytes(raw.begin(), raw.end());
  lines = LangDecodeLines(bytes);
  return true;
}

std::vector<LANG_ITEM> LangParseLines(const std::vector<std::string>& lines) {
  std::vector<LANG_ITEM> items;
  int32_t current = -1;  // no recognised header yet
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (line[0] == '[') {
      for (int32_t s = 0; s <= kLangExtra; ++s) {
        const char* name = LangSectionName(s);
        if (!name) continue;
        const std::string header = std::string("[") + name + "]";
        if (StartsWith(line, header)) {
          current = s;
          break;
        }
      }
      continue;
    }
    if (line[0] != '<' || current < 0) continue;
    const size_t close = line.find('>');
    if (close == std::string::npos) continue;
    const std::string_view view(line);
    items.push_back({current, std::string(TrimBelow33(view.substr(1, close - 1))),
                     std::string(TrimBelow33(view.substr(close + 1)))});
  }
  return items;
}

std::vector<LANG_ITEM> LangParse(std::string_view bytes) {
  return LangParseLines(LangDecodeLines(bytes));
}

}  // namespace varlo
