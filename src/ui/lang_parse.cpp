// Reading language files: encodings, lines and items.
#include <array>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "raster/file_calls.h"
#include "ui/lang.h"

namespace varlo {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;
constexpr uint32_t kLineSeparator = 0x2028;

// Windows-1252 for the bytes 80..9F; the five bytes the code page leaves
// undefined map to the control characters of the same number, as Windows
// itself does. The bytes A0..FF are ISO-8859-1.
constexpr std::array<uint16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

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

// Decodes one UTF-8 sequence at p; the length is 0 when the bytes there are
// not a well-formed sequence (overlong forms, surrogates and values above
// U+10FFFF included).
uint32_t DecodeUtf8At(const unsigned char* p, size_t left, size_t& len) {
  len = 0;
  const unsigned char b0 = p[0];
  if (b0 < 0x80) {
    len = 1;
    return b0;
  }
  size_t need;
  uint32_t cp, min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 2, cp = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 3, cp = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (left < need) return 0;
  for (size_t i = 1; i < need; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  len = need;
  return cp;
}

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
  for (size_t i = 0; i < n;) {
    size_t len;
    uint32_t cp = DecodeUtf8At(p + i, n - i, len);
    if (len == 0) {
      cp = kReplacement;
      len = 1;
    }
    if (!sink.Put(cp)) return;
    i += len;
  }
}

void DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian, TextSink& sink) {
  const auto unit = [&](size_t i) -> uint32_t {
    return bigEndian ? (uint32_t{p[i]} << 8) | p[i + 1] : (uint32_t{p[i + 1]} << 8) | p[i];
  };
  // An odd last byte is no character and is dropped.
  const size_t end = n - n % 2;
  for (size_t i = 0; i < end; i += 2) {
    uint32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 2 < end) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      } else {
        cp = kReplacement;
      }
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (!sink.Put(cp)) return;
  }
}

void DecodeCp1252(const unsigned char* p, size_t n, TextSink& sink) {
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = p[i];
    const uint32_t cp = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
    if (!sink.Put(cp)) return;
  }
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
