// Knob templates: the curves that give pieces their tabs and blanks.
//
// A template is an open cubic Bezier chain in a box 128 units wide: points
// 0, 3, 6, ... lie on the curve, the two between each pair are control
// points, 3n + 1 points in all. It starts on the baseline at x = 0 and ends
// on it at x = 127; y grows downward, so points above the baseline make the
// knob and points below it the shoulders on the other side.
//
// Two sets exist: the irregular cut loads the first, the rectangular cut the
// second (the "grid" set), into the same 16 slots at the start of a cut.
#pragma once

#include <array>
#include <cstdint>

namespace varlo {

inline constexpr int32_t kMaxTemplatePoints = 40;
inline constexpr int32_t kTemplateSlots = 16;
inline constexpr int32_t kGridTemplateCount = 7;

struct PointI {
  int32_t x = 0, y = 0;
  friend bool operator==(const PointI&, const PointI&) = default;
};

struct KnobTemplate {
  int32_t Count = 0;  // points in use
  std::array<PointI, kMaxTemplatePoints> Points{};
  // Derived when the set is loaded.
  int32_t Baseline = 0;    // y of the first point
  int32_t Width = 0;       // x of the last point (127 for all)
  int32_t ReachAbove = 0;  // how far the knob rises above the baseline
  int32_t ReachBelow = 0;  // how far the shoulders drop below it
};

using TemplateSlots = std::array<KnobTemplate, kTemplateSlots>;

enum class TemplateSet { Irregular, Grid };

// Copies a set into the slots (unused slots emptied) and derives each
// template's values. The irregular set counts both reaches with the row of
// the curve itself; the grid set keeps the reach above without it and no
// reach below, as its users never ask for them.
void LoadTemplateSet(TemplateSlots& slots, TemplateSet set);

// One template of a set, with derived values.
KnobTemplate MakeTemplate(TemplateSet set, int32_t slot);

// Number of templates in a set: 16 irregular, 7 grid.
int32_t TemplateSetSize(TemplateSet set);

}  // namespace varlo
