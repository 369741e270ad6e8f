// Encodings of the jigsaw's info text.
#include "files/info_text.h"

#include <algorithm>

namespace varlo {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; 0 marks the five unassigned codes, which map to
// the C1 control of the same number as other decoders do.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string DecodeUtf16(const uint8_t* p, size_t n, bool bigEndian) {
  std::string out;
  out.reserve(n);
  auto unit = [&](size_t i) -> char16_t {
    return bigEndian ? static_cast<char16_t>((p[i] << 8) | p[i + 1])
                     : static_cast<char16_t>(p[i] | (p[i + 1] << 8));
  };
  size_t i = 0;
  for (; i + 1 < n; i += 2) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u < 0xDC00 && i + 3 < n) {
      const char16_t v = unit(i + 2);
      if (v >= 0xDC00 && v < 0xE000) {
        AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u - 0xD800) << 10) | (v - 0xDC00)));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u < 0xE000) ? kReplacement : static_cast<char32_t>(u));
  }
  if (i < n) AppendUtf8(out, kReplacement);  // an odd last byte
  return out;
}

// Decodes one UTF-8 sequence at s[i]; advances i; U+FFFD for malformed input.
char32_t NextUtf8(const uint8_t* s, size_t n, size_t& i) {
  const uint8_t b = s[i++];
  if (b < 0x80) return b;
  int more = 0;
  char32_t c = 0;
  char32_t min = 0;
  if ((b & 0xE0) == 0xC0) more = 1, c = b & 0x1F, min = 0x80;
  else if ((b & 0xF0) == 0xE0) more = 2, c = b & 0x0F, min = 0x800;
  else if ((b & 0xF8) == 0xF0) more = 3, c = b & 0x07, min = 0x10000;
  else return kReplacement;
  for (int k = 0; k < more; ++k) {
    if (i >= n || (s[i] & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (s[i++] & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return kReplacement;
  return c;
}

std::string CleanUtf8(const uint8_t* p, size_t n) {
  std::string out;
  out.reserve(n);
  for (size_t i = 0; i < n;) AppendUtf8(out, NextUtf8(p, n, i));
  return out;
}

}  // namespace

std::string DecodeInfoText(const uint8_t* data, size_t size) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return DecodeUtf16(data + 2, size - 2, false);
  if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return DecodeUtf16(data + 2, size - 2, true);
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
    return CleanUtf8(data + 3, size - 3);
  std::string out;
  out.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    const uint8_t b = data[i];
    char32_t c = b;
    if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0) c = kCp1252High[b - 0x80];
    AppendUtf8(out, c);
  }
  return out;
}

std::vector<uint8_t> EncodeInfoUtf16Le(const std::string& utf8) {
  std::vector<uint8_t> out{0xFF, 0xFE};
  out.reserve(2 + utf8.size() * 2);
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  auto put = [&](char16_t u) {
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
  };
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = NextUtf8(s, utf8.size(), i);
    if (c >= 0x10000) {
      put(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      put(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      put(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::vector<uint8_t> EncodeInfoUtf8(const std::string& utf8) {
  std::vector<uint8_t> out(3 + utf8.size());
  out[0] = 0xEF;
  out[1] = 0xBB;
  out[2] = 0xBF;
  std::copy(utf8.begin(), utf8.end(), out.begin() + 3);
  return out;
}

}  // namespace varlo
