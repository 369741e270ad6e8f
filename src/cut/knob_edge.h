// One straight edge of the rectangular cut, drawn with a knob.
//
// The knob's template is drawn at random from the cut's candidate list and
// mirrored at random. Short horizontal and vertical edges of the grid
// templates 0..5 are copied from the knob atlas; every other edge is
// sampled from its curve.
#pragma once

#include <array>
#include <cstdint>

#include "cut/knob_atlas.h"
#include "cut/knob_templates.h"
#include "raster/dib.h"
#include "raster/random.h"

namespace varlo {

inline constexpr int32_t kMaxCandidates = 50;

// Working state of a cut that edges are drawn with.
struct KnobEdgeContext {
  DIB_P* Mask = nullptr;
  int32_t ImageW = 0;
  int32_t ImageH = 0;
  int32_t KnobS = 0;  // knob depth
  TemplateSlots Templates{};
  std::array<int32_t, kMaxCandidates> Candidates{};
  int32_t CandidateCount = 0;
  const DIB_P* Atlas = nullptr;
  AtlasInfo AtlasData;
  RandomGenerator* Random = nullptr;
};

// Mode bit: depth from the edge's length (length / width x baseline)
// instead of KnobS. The rectangular cut never sets it.
inline constexpr int32_t kKnobDepthFromLength = 1;

// Which way an edge's knob points: side 1 away from the piece the edge's
// colour belongs to in curve terms (up for a horizontal edge drawn as a
// curve, right for a vertical one), side 0 the other way.
// Draws the edge from a to b in colour; the two random draws (template,
// then mirror) come first, always.
void DrawKnobEdge(KnobEdgeContext& ctx, int32_t mode, int32_t side, PointI a, PointI b,
                  uint32_t colour);

}  // namespace varlo
