// A small jigsaw pack made with the game's own pack writer: a picture with
// hard-edged blocks (so pieces are told apart), its thumbnail and a text.
#pragma once

#include <cstdint>
#include <string>

namespace varlo::testing {

// Writes the pack to path and returns the picture size through w, h.
void WriteSmallPack(const std::string& path, int32_t w = 240, int32_t h = 180,
                    const std::string& info = "A small test jigsaw");

}  // namespace varlo::testing
