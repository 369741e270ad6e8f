// The settings store: the text format of varlo.ini.
//
// The file is a list of lines (CR LF) in three kinds, told apart by their
// trimmed beginning:
//
//   [Main]                      section
//      <DefJigP>                group with keys
//         Level=6               key line (written with six blanks)
//      <Sound> 1                group with a value of its own
//
// Every search compares lines with blanks and control characters (bytes up
// to 32) trimmed from both ends, case-sensitively, and the first match
// counts. A section runs to the next line starting with "["; a group is
// searched up to the next section line; a key up to the next line starting
// with "[" or "<". Writing merges into the loaded lines: unknown lines stay,
// new groups and keys go to the top of their section or group, and nothing
// is ever deleted. The text is kept as bytes (ANSI code page), untouched.
//
// Reading never fails: a missing file, section, group or key, or a value
// that does not convert, gives the caller's default.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varlo {

// Pass as the key to address the value on a group line itself.
inline constexpr std::string_view kNoKey{};

// Files larger than this are not settings files; they read as empty.
inline constexpr size_t kMaxSettingsFileBytes = 1u << 20;

// Line indexes of a search, -1 for what was not found (and for everything
// after the first part that was missing).
struct SetFindResult {
  int32_t Section = -1;
  int32_t Group = -1;
  int32_t Key = -1;
};

class SetEngine {
 public:
  // Clears the lines and loads the file when it exists and is not larger
  // than kMaxSettingsFileBytes. True when there is nothing to lose by
  // writing the lines back: the file was read whole, or there is no file.
  // False when a file is there that could not be read whole (too large, not
  // a regular file, a read error): the lines are then empty and must not be
  // saved over it.
  bool SetLoad(const std::string& path);
  // Writes the lines to path (through a temporary file and a rename, so the
  // old file survives any failure) and clears them. False when the file
  // could not be written; error says why.
  bool SetSave(const std::string& path, std::string* error = nullptr);

  // The same as SetLoad on bytes already in memory (CR, LF and CR LF all end
  // a line; a last line without an ending counts). A UTF-8 byte-order mark
  // at the start is not part of the first line; it is written back by Text.
  bool SetLoadText(std::string_view bytes);
  // The lines as they would be written: each followed by CR LF, after the
  // byte-order mark when the loaded text had one.
  std::string Text() const;
  const std::vector<std::string>& lines() const { return lines_; }
  void Clear() {
    lines_.clear();
    bom_ = false;
  }

  SetFindResult SetFind(std::string_view section, std::string_view group,
                        std::string_view key) const;

  std::string SetReadStr(std::string_view section, std::string_view group, std::string_view key,
                         std::string_view def) const;
  // Decimal (optionally signed) or hexadecimal with "$" or "0x"; a value
  // outside the 32-bit range or with anything else in it gives def.
  int32_t SetReadInt(std::string_view section, std::string_view group, std::string_view key,
                     int32_t def) const;
  // Only the integers 0 and 1 count; anything else gives def.
  bool SetReadBool(std::string_view section, std::string_view group, std::string_view key,
                   bool def) const;

  // Replaces the value, or inserts the missing section (after two empty
  // lines), group or key. CR and LF inside value are written as blanks.
  void SetWriteStr(std::string_view section, std::string_view group, std::string_view key,
                   std::string_view value);
  void SetWriteInt(std::string_view section, std::string_view group, std::string_view key,
                   int32_t value);
  void SetWriteBool(std::string_view section, std::string_view group, std::string_view key,
                    bool value);

 private:
  std::vector<std::string> lines_;
  bool bom_ = false;  // the loaded text began with a UTF-8 byte-order mark
};

inline constexpr std::string_view kUtf8Bom{"\xEF\xBB\xBF"};

// Helpers of the format, also used by the tests.
std::string_view SetTrim(std::string_view s);
// Parses the integer forms SetReadInt accepts; false when text is not one.
bool SetParseInt(std::string_view text, int32_t& out);

}  // namespace varlo
