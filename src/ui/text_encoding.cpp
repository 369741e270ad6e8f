#include "ui/text_encoding.h"

#include <array>

namespace varlo {

namespace {

constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

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

char32_t Cp1252ToUnicode(uint8_t b) { return (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b; }

char32_t DecodeUtf8At(const uint8_t* p, size_t left, size_t& len) {
  len = 0;
  const uint8_t b0 = p[0];
  if (b0 < 0x80) {
    len = 1;
    return b0;
  }
  size_t need;
  char32_t cp, min;
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

char32_t NextUtf8(const uint8_t* s, size_t n, size_t& i) {
  size_t len;
  const char32_t c = DecodeUtf8At(s + i, n - i, len);
  if (len > 0) {
    i += len;
    return c;
  }
  // Skip the lead byte and the continuation bytes that may still follow it
  // in a well-formed sequence (the second byte's range depends on the lead).
  const uint8_t b0 = s[i++];
  size_t need = 0;
  uint8_t lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) need = 1;
  else if (b0 >= 0xE0 && b0 <= 0xEF) need = 2, lo = b0 == 0xE0 ? 0xA0 : 0x80, hi = b0 == 0xED ? 0x9F : 0xBF;
  else if (b0 >= 0xF0 && b0 <= 0xF4) need = 3, lo = b0 == 0xF0 ? 0x90 : 0x80, hi = b0 == 0xF4 ? 0x8F : 0xBF;
  for (size_t k = 0; k < need && i < n; ++k) {
    if (s[i] < lo || s[i] > hi) break;
    ++i;
    lo = 0x80, hi = 0xBF;
  }
  return kReplacementChar;
}

char32_t NextUtf16(const uint8_t* p, size_t n, bool bigEndian, size_t& i) {
  const auto unit = [&](size_t at) -> char32_t {
    return bigEndian ? (char32_t{p[at]} << 8) | p[at + 1] : (char32_t{p[at + 1]} << 8) | p[at];
  };
  const char32_t u = unit(i);
  i += 2;
  if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
    const char32_t low = unit(i);
    if (low >= 0xDC00 && low <= 0xDFFF) {
      i += 2;
      return 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return (u >= 0xD800 && u <= 0xDFFF) ? kReplacementChar : u;
}

}  // namespace varlo
