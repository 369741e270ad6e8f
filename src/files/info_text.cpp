// Encodings of the jigsaw's info text.
#include "files/info_text.h"

#include <algorithm>

#include "ui/text_encoding.h"

namespace varlo {

namespace {

std::string DecodeUtf16(const uint8_t* p, size_t n, bool bigEndian) {
  std::string out;
  out.reserve(n);
  size_t i = 0;
  while (i + 1 < n) AppendUtf8(out, NextUtf16(p, n, bigEndian, i));
  if (i < n) AppendUtf8(out, kReplacementChar);  // an odd last byte
  return out;
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
    AppendUtf8(out, Cp1252ToUnicode(data[i]));
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
