// The character encodings of the game's text files (language files, the
// info texts of jigsaw packs): UTF-8, UTF-16 in both byte orders and the
// Windows-1252 code page of older files. Everything decodes to UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace varlo {

inline constexpr char32_t kReplacementChar = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c);

// The character of a Windows-1252 byte. The five bytes the code page leaves
// undefined (81, 8D, 8F, 90, 9D) map to the control characters of the same
// number, as Windows itself does; A0..FF are ISO-8859-1.
char32_t Cp1252ToUnicode(uint8_t b);

// Decodes one UTF-8 sequence at p (left > 0 bytes there). len is 0 when the
// bytes are not a well-formed sequence: overlong forms, surrogates, values
// above U+10FFFF and cut-off sequences included.
char32_t DecodeUtf8At(const uint8_t* p, size_t left, size_t& len);

// The next character of s[i..n); a malformed sequence gives one U+FFFD and
// is skipped as far as it is a valid beginning of a sequence (at least one
// byte), as Unicode recommends.
char32_t NextUtf8(const uint8_t* s, size_t n, size_t& i);

// The next character of UTF-16 text in p[i..n) (at least two bytes left):
// a surrogate pair joins, a lone surrogate gives U+FFFD.
char32_t NextUtf16(const uint8_t* p, size_t n, bool bigEndian, size_t& i);

}  // namespace varlo
