// varlo-bake: draws the game's pictures (knob atlas, skins, ...) at build
// time. Each picture has its own bake_<name>.cpp that registers itself with
// VARLO_BAKER; main only dispatches.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>
#include <cstdint>

namespace varlo::bake {

// Writes the picture to outPath; on failure returns false with a message.
using BakeFn = std::function<bool(const std::string& outPath, std::string* error)>;

std::map<std::string, BakeFn>& Bakers();

struct BakerRegistrar {
  BakerRegistrar(const std::string& name, BakeFn fn) { Bakers()[name] = std::move(fn); }
};

#define VARLO_BAKE_CONCAT2(a, b) a##b
#define VARLO_BAKE_CONCAT(a, b) VARLO_BAKE_CONCAT2(a, b)
#define VARLO_BAKER(name, fn) \
  static ::varlo::bake::BakerRegistrar VARLO_BAKE_CONCAT(varlo_baker_, __LINE__)(name, fn)

// Writes bytes to path through a temporary file renamed over it, so that a
// failed bake never leaves a half-written picture for the build to ship.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

}  // namespace varlo::bake
