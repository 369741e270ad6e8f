#include "app/setengine.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "raster/output_file.h"

namespace varlo {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

std::string Bracketed(char open, std::string_view name, char close) {
  std::string s;
  s.reserve(name.size() + 2);
  s += open;
  s += name;
  s += close;
  return s;
}

std::string KeyText(std::string_view key) {
  std::string s(key);
  s += '=';
  return s;
}

// "   <group> value"
std::string GroupValueLine(const std::string& groupText, std::string_view value) {
  std::string s = "   " + groupText + " ";
  s += value;
  return s;
}

// "      key=value"
std::string KeyLine(const std::string& keyText, std::string_view value) {
  std::string s = "      " + keyText;
  s += value;
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string_view SetTrim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

bool SetParseInt(std::string_view t, int32_t& out) {
  bool negative = false;
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i >= t.size()) return false;

  bool hex = false;
  if (t[i] == '$') {
    hex = true;
    ++i;
  } else if (t.size() - i > 2 && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= t.size()) return false;

  uint64_t v = 0;
  if (hex) {
    // Hexadecimal spells the 32 bits themselves, so $FFFFFFFF is -1.
    for (; i < t.size(); ++i) {
      const int d = HexDigit(t[i]);
      if (d < 0) return false;
      v = v * 16 + static_cast<uint64_t>(d);
      if (v > 0xFFFFFFFFull) return false;
    }
    uint32_t bits = static_cast<uint32_t>(v);
    if (negative) bits = 0u - bits;
    out = static_cast<int32_t>(bits);
    return true;
  }
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    v = v * 10 + static_cast<uint64_t>(t[i] - '0');
    if (v > 0x80000000ull) return false;
  }
  if (!negative && v > 0x7FFFFFFFull) return false;
  out = negative ? static_cast<int32_t>(-static_cast<int64_t>(v)) : static_cast<int32_t>(v);
  return true;
}

bool SetEngine::SetLoad(const std::string& path) {
  Clear();
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (ec || !std::filesystem::is_regular_file(status)) return false;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxSettingsFileBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string bytes(static_cast<size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  // A file that shrank while it was read is read as far as it goes; one
  // that could not be read at all, or grew past the limit, is not whole.
  if (in.bad()) return false;
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.peek() != std::char_traits<char>::eof()) return false;
  return SetLoadText(bytes);
}

bool SetEngine::SetLoadText(std::string_view bytes) {
  Clear();
  if (bytes.size() > kMaxSettingsFileBytes) return false;
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    bom_ = true;
    bytes.remove_prefix(kUtf8Bom.size());
  }
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines_.emplace_back(bytes.substr(start, i - start));
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines_.emplace_back(bytes.substr(start));
  return true;
}

std::string SetEngine::Text() const {
  size_t total = 0;
  for (const auto& l : lines_) total += l.size() + 2;
  std::string out;
  out.reserve(total + kUtf8Bom.size());
  if (bom_) out += kUtf8Bom;
  for (const auto& l : lines_) {
    out += l;
    out += "\r\n";
  }
  return out;
}

bool SetEngine::SetSave(const std::string& path, std::string* error) {
  const std::string text = Text();
  Clear();
  SafeFileWriter writer(path + ".tmp~", path);
  if (!writer.Begin(error)) return false;
  writer.out().Write(text.data(), text.size());
  return writer.Commit(error);
}

SetFindResult SetEngine::SetFind(std::string_view section, std::string_view group,
                                 std::string_view key) const {
  SetFindResult r;
  const int32_t n = static_cast<int32_t>(lines_.size());

  const std::string sectionText = Bracketed('[', section, ']');
  for (int32_t i = 0; i < n; ++i) {
    if (StartsWith(SetTrim(lines_[i]), sectionText)) {
      r.Section = i;
      break;
    }
  }
  if (r.Section < 0) return r;

  const std::string groupText = Bracketed('<', group, '>');
  for (int32_t i = r.Section + 1; i < n; ++i) {
    const std::string_view t = SetTrim(lines_[i]);
    if (StartsWith(t, "[")) break;
    if (StartsWith(t, groupText)) {
      r.Group = i;
      break;
    }
  }
  if (r.Group < 0 || key.empty()) return r;

  const std::string keyText = KeyText(key);
  for (int32_t i = r.Group + 1; i < n; ++i) {
    const std::string_view t = SetTrim(lines_[i]);
    if (StartsWith(t, "[") || StartsWith(t, "<")) break;
    if (StartsWith(t, keyText)) {
      r.Key = i;
      break;
    }
  }
  return r;
}

std::string SetEngine::SetReadStr(std::string_view section, std::string_view group,
                                  std::string_view key, std::string_view def) const {
  const SetFindResult r = SetFind(section, group, key);
  if (r.Group < 0) return std::string(def);
  // The trimmed line begins with the group or key text, so the value is what
  // follows that text.
  if (key.empty()) {
    const std::string_view t = SetTrim(lines_[r.Group]);
    return std::string(SetTrim(t.substr(group.size() + 2)));
  }
  if (r.Key < 0) return std::string(def);
  const std::string_view t = SetTrim(lines_[r.Key]);
  return std::string(SetTrim(t.substr(key.size() + 1)));
}

int32_t SetEngine::SetReadInt(std::string_view section, std::string_view group,
                              std::string_view key, int32_t def) const {
  const std::string text = SetReadStr(section, group, key, std::to_string(def));
  int32_t v = 0;
  return SetParseInt(text, v) ? v : def;
}

bool SetEngine::SetReadBool(std::string_view section, std::string_view group,
                            std::string_view key, bool def) const {
  const std::string text = SetReadStr(section, group, key, def ? "1" : "0");
  int32_t v = 0;
  if (!SetParseInt(text, v) || (v != 0 && v != 1)) return def;
  return v == 1;
}

void SetEngine::SetWriteStr(std::string_view section, std::string_view group,
                            std::string_view key, std::string_view rawValue) {
  // A line break inside a value would split its line and could forge other
  // lines; it is written as a blank.
  std::string value(rawValue);
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  SetFindResult r = SetFind(section, group, key);
  const std::string groupText = Bracketed('<', group, '>');

  if (r.Section < 0) {
    if (!lines_.empty()) {
      lines_.emplace_back();
      lines_.emplace_back();
    }
    lines_.push_back(Bracketed('[', section, ']'));
    r.Section = static_cast<int32_t>(lines_.size()) - 1;
  }

  const auto at = [this](int32_t index) { return lines_.begin() + index; };
  if (r.Group < 0) {
    if (key.empty()) {
      lines_.insert(at(r.Section + 1), GroupValueLine(groupText, value));
    } else {
      lines_.insert(at(r.Section + 1), "   " + groupText);
      lines_.insert(at(r.Section + 2), KeyLine(KeyText(key), value));
    }
    return;
  }
  if (key.empty()) {
    lines_[r.Group] = GroupValueLine(groupText, value);
  } else if (r.Key >= 0) {
    lines_[r.Key] = KeyLine(KeyText(key), value);
  } else {
    lines_.insert(at(r.Group + 1), KeyLine(KeyText(key), value));
  }
}

void SetEngine::SetWriteInt(std::string_view section, std::string_view group,
                            std::string_view key, int32_t value) {
  SetWriteStr(section, group, key, std::to_string(value));
}

void SetEngine::SetWriteBool(std::string_view section, std::string_view group,
                             std::string_view key, bool value) {
  SetWriteStr(section, group, key, value ? "1" : "0");
}

}  // namespace varlo
