// Files for the UI tests: an installation tree with starter packs made by
// the game's own pack writer, saved games written by the game's writer, and
// a message box stand-in that answers from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace varlo::uitest {

// A pack of a w x h gradient picture with a thumbnail of tw x th.
std::vector<uint8_t> PackBytes(int32_t w, int32_t h, int32_t tw = 160, int32_t th = 120,
                               uint32_t seed = 1);
void WritePack(const std::string& path, int32_t w, int32_t h, uint32_t seed = 1);
// A saved game of a small synthetic jigsaw named name; cols x rows pieces,
// the first `joined` of them joined into one group; thumbColour (00BBGGRR,
// -1 for the usual orange) fills its thumbnail.
void WriteSavedGame(const std::string& path, const std::string& name, int32_t cols = 6,
                    int32_t rows = 4, int32_t joined = 0, int32_t thumbColour = -1);

// An installation folder with the given packs in jigsaws/, listed in
// distjiglist.txt and thumb/jiglist.txt, and the language files.
struct StarterPack {
  std::string Name;  // without extension
  int32_t W = 640, H = 480;
};
void MakeInstallation(const std::string& dir, const std::vector<StarterPack>& packs);

class ScriptedBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::string Text;
    int32_t Style;
  };
  std::vector<Shown> shown;
  std::deque<int32_t> answers;
  int32_t ShowMessage(const std::string& text, const std::string& caption,
                      int32_t style) override;
};

}  // namespace varlo::uitest
