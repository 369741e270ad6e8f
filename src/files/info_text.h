// The descriptive text of a jigsaw: how it is stored in packs (any of four
// encodings, told by the byte-order mark) and in saved games (UTF-16LE with
// its mark). In the game it is UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varlo {

// UTF-16LE (FF FE), UTF-16BE (FE FF), UTF-8 (EF BB BF), else Windows-1252.
// Malformed sequences become U+FFFD; the mark is dropped.
std::string DecodeInfoText(const uint8_t* data, size_t size);
// The saved-game form: FF FE and the text in UTF-16LE.
std::vector<uint8_t> EncodeInfoUtf16Le(const std::string& utf8);
// The pack form made by the tool: EF BB BF and the UTF-8 bytes.
std::vector<uint8_t> EncodeInfoUtf8(const std::string& utf8);

}  // namespace varlo
