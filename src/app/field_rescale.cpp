#include "app/field_rescale.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "jigsaw/pieces.h"

namespace varlo {
namespace {

// Halves to even, whatever rounding mode the process runs in.
int32_t RoundEven(double v) {
  const double f = std::floor(v);
  const double diff = v - f;
  double r = f;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0.0)) r = f + 1.0;
  return static_cast<int32_t>(r);
}

}  // namespace

void GroupShift(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w0, int32_t h0,
                int32_t w1, int32_t h1, int32_t& dx, int32_t& dy) {
  dx = dy = 0;
  if (w0 == 0 || h0 == 0) return;
  const double cx = (static_cast<double>(left) + right) / 2.0;
  const double cy = (static_cast<double>(top) + bottom) / 2.0;
  dx = RoundEven(static_cast<double>(w1) * cx / w0 - cx);
  dy = RoundEven(static_cast<double>(h1) * cy / h0 - cy);
}

void MoveGroupsToFieldSize(Jigsaw& jig, int32_t win, int32_t w0, int32_t h0, int32_t w1, int32_t h1) {
  struct Box {
    int32_t L, T, R, B;
  };
  std::map<int32_t, Box> groups;
  const int32_t n = PieceCount(jig);
  for (int32_t i = 0; i < n; ++i) {
    const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    if (t.Win != win) continue;
    const Box b{t.X, t.Y, t.X + t.RotW - 1, t.Y + t.RotH - 1};
    auto [it, fresh] = groups.try_emplace(t.Group, b);
    if (!fresh) {
      Box& g = it->second;
      g.L = std::min(g.L, b.L);
      g.T = std::min(g.T, b.T);
      g.R = std::max(g.R, b.R);
      g.B = std::max(g.B, b.B);
    }
  }
  std::map<int32_t, std::pair<int32_t, int32_t>> shifts;
  for (const auto& [key, b] : groups) {
    int32_t dx = 0, dy = 0;
    GroupShift(b.L, b.T, b.R, b.B, w0, h0, w1, h1, dx, dy);
    shifts[key] = {dx, dy};
  }
  for (int32_t i = 0; i < n; ++i) {
    TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    if (t.Win != win) continue;
    const auto& s = shifts[t.Group];
    t.X += s.first;
    t.Y += s.second;
  }
}

}  // namespace varlo
