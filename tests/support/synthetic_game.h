// A game made up for the file tests: a picture with a gradient, a piece
// mask with one key per grid cell, and a piece table whose pieces lie in
// all windows and turns, so that every field of a saved game is exercised.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/saved_game.h"

namespace varlo::testing {

struct SyntheticGameSpec {
  int32_t ImageW = 96;
  int32_t ImageH = 64;
  int32_t Cols = 6;
  int32_t Rows = 4;
  bool Rotate = true;
  int32_t Seed = 777;
  std::string Name = "Harbour at Dawn";
};

// Fills g as the open game; the mask keeps only keys (red 128, green 0), as
// a resumed game has it.
void MakeSyntheticGame(SavedGame& g, const SyntheticGameSpec& spec = {});

// Moves some pieces and pockets, as a few minutes of play would.
void PlayALittle(SavedGame& g, uint32_t seed);

// Raw saved-game bytes from given payloads, for files the game's own writer
// would refuse to make.
struct RawSavedGame {
  std::string Name;
  int32_t NameLength = -1;  // L as written; -1: name size + 1
  JIG_P Jig;
  std::vector<uint8_t> Thumbnail, Picture, Mask, Info;
  SolveStateView State;
  int32_t StateOffset = -1;  // S as written; -1: the true offset
};
std::vector<uint8_t> BuildRawSavedGame(const RawSavedGame& raw);

// 24-bit bitmap file of a DIB_P.
std::vector<uint8_t> BmpBytes(const DIB_P& d);

}  // namespace varlo::testing
