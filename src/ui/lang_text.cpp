// Text helpers of the interface texts: templates, replacing, hints.
#include <cstdio>

#include "ui/lang.h"

namespace varlo {

namespace {

constexpr int32_t kMaxTemplateWidth = 64;

// One character of a UTF-8 text: its place in the bytes and a value to
// compare by. Bytes that are no well-formed UTF-8 get a value of their own
// above the Unicode range, so they only ever match themselves.
struct Char {
  size_t pos, len;
  uint32_t value;
};

std::vector<Char> SplitChars(std::string_view s) {
  std::vector<Char> out;
  out.reserve(s.size());
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  for (size_t i = 0; i < s.size();) {
    const unsigned char b = p[i];
    size_t need = b < 0x80 ? 1 : (b >= 0xC2 && b <= 0xDF) ? 2 : (b >= 0xE0 && b <= 0xEF) ? 3
                                                          : (b >= 0xF0 && b <= 0xF4) ? 4 : 0;
    uint32_t cp = need == 1 ? b : need == 2 ? (b & 0x1Fu) : need == 3 ? (b & 0x0Fu) : (b & 0x07u);
    bool ok = need > 0 && i + need <= s.size();
    for (size_t k = 1; ok && k < need; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (p[i + k] & 0x3Fu);
    }
    if (ok) {
      out.push_back({i, need, cp});
      i += need;
    } else {
      out.push_back({i, 1, 0x110000u + b});
      ++i;
    }
  }
  return out;
}

// Simple (one character to one character) upper-casing for the scripts of
// the game's languages: Latin with its first extensions, Greek, Cyrillic.
uint32_t SimpleUpper(uint32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c < 0xB5) return c;
  if (c == 0xB5) return 0x39C;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x131) return 'I';
    if (c == 0x17F) return 'S';
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
      return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x138 || c == 0x149) return c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? 0x3A3 : c - 32;
  if (c == 0x3AC) return 0x386;
  if (c >= 0x3AD && c <= 0x3AF) return c - 37;
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

int32_t CodePointCount(std::string_view s) {
  int32_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string Hex(int64_t v, bool upper) {
  char buf[16];
  std::snprintf(buf, sizeof buf, upper ? "%X" : "%x", static_cast<unsigned>(static_cast<uint32_t>(v)));
  return buf;
}

}  // namespace

std::string LangFormat(std::string_view t, std::initializer_list<LangArg> args) {
  std::string out;
  out.reserve(t.size() + 16);
  const LangArg* next = args.begin();
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] != '%') {
      out += t[i];
      continue;
    }
    if (i + 1 < t.size() && t[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    const bool leftAlign = j < t.size() && t[j] == '-';
    if (leftAlign) ++j;
    int32_t width = 0;
    while (j < t.size() && t[j] >= '0' && t[j] <= '9' && width <= kMaxTemplateWidth)
      width = width * 10 + (t[j++] - '0');
    const char conv = j < t.size() ? t[j] : '\0';
    const bool known = conv == 'd' || conv == 'u' || conv == 's' || conv == 'x' || conv == 'X';
    if (!known || width > kMaxTemplateWidth || next == args.end()) {
      out += '%';  // kept as written; the rest follows as plain text
      continue;
    }
    const LangArg& arg = *next++;
    std::string value =
        ((conv == 'x' || conv == 'X') && arg.isNumber) ? Hex(arg.number, conv == 'X') : arg.text;
    const int32_t pad = width - CodePointCount(value);
    if (pad > 0) {
      if (leftAlign)
        value.append(static_cast<size_t>(pad), ' ');
      else
        value.insert(0, static_cast<size_t>(pad), ' ');
    }
    out += value;
    i = j;
  }
  return out;
}

std::string WideReplace(std::string_view source, std::string_view pattern,
                        std::string_view replacement, int32_t flags) {
  if (pattern.empty()) return std::string(source);
  const bool all = (flags & kReplaceAll) != 0;
  const bool ignoreCase = (flags & kIgnoreCase) != 0;
  const std::vector<Char> src = SplitChars(source);
  std::vector<Char> pat = SplitChars(pattern);
  const auto key = [&](uint32_t v) { return ignoreCase ? SimpleUpper(v) : v; };
  for (Char& c : pat) c.value = key(c.value);

  std::string out;
  out.reserve(source.size());
  size_t i = 0;
  bool replaced = false;
  while (i < src.size()) {
    bool match = !(replaced && !all) && i + pat.size() <= src.size();
    for (size_t k = 0; match && k < pat.size(); ++k)
      if (key(src[i + k].value) != pat[k].value) match = false;
    if (match) {
      out += replacement;
      i += pat.size();
      replaced = true;
    } else {
      out.append(source.substr(src[i].pos, src[i].len));
      ++i;
    }
  }
  return out;
}

std::string MenuHintText(std::string_view caption) {
  std::string s(caption);
  if (size_t p = s.find("..."); p != std::string::npos) s.erase(p, 3);
  if (size_t p = s.find("\xE2\x80\xA6"); p != std::string::npos) s.erase(p, 3);
  return s;
}

std::string ToolbarHintText(std::string_view caption, std::string_view shortcutName) {
  std::string hint = MenuHintText(caption);
  if (!shortcutName.empty()) {
    hint += " (";
    hint += shortcutName;
    hint += ')';
  }
  return hint;
}

}  // namespace varlo
