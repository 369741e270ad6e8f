// Knobs on the edges of the irregular cut.
//
// Every edge between two pieces gets a knob from the irregular template set,
// scaled to the edge's length and made shallower where a piece's centre is
// close. A knob is only drawn when its curve stays clear of the outlines
// already drawn (away from the edge's own ends) and inside the jigsaw
// rectangle; otherwise the other mirror and side are tried, then a fallback
// list of templates, and as a last resort the edge stays straight.
#pragma once

#include <cstdint>
#include <vector>

#include "cut/irregular_edges.h"
#include "cut/irregular_voronoi.h"
#include "cut/knob_templates.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "raster/random.h"
#include "raster/rect.h"

namespace varlo {

// Flags of the cut by shape style.
inline constexpr int32_t kKnobDepthFollowsLength = 1;    // depth and reach scale with the edge
inline constexpr int32_t kKnobSideFollowsDirection = 2;  // side and mirror from the edge's slope
inline constexpr int32_t kShortEdgesStraight = 4;        // no knob below TileS / 3

int32_t IrregularCutFlags(int32_t shapeStyle);
// The templates tried, in order, when none of an edge's own will fit.
std::vector<int32_t> FallbackTemplates(int32_t shapeStyle);

struct IrregularKnobContext {
  DIB_P* Mask = nullptr;
  int32_t ImageW = 0, ImageH = 0;
  JigsawRect Rect;
  int32_t TileS = 0;
  int32_t KnobS = 0;
  int32_t Clearance = 0;  // TileS div 10
  int32_t Flags = 0;
  int32_t ShapeStyle = 0;
  TemplateSlots Templates{};
  std::vector<int32_t> Fallback;
  RandomGenerator* Random = nullptr;
};

// Context for p's cut into mask, the irregular templates loaded.
IrregularKnobContext MakeKnobContext(const JIG_P& p, DIB_P& mask, RandomGenerator& random);

// Edges of 3 pixels or less, and (with kShortEdgesStraight) those shorter
// than TileS / 3, get no knob.
bool IsStraightEdge(double length, int32_t tileS, int32_t flags);

// The edge's own templates (ordered end points a, b).
std::vector<int32_t> EdgeTemplates(const IrregularKnobContext& ctx, PointI a, PointI b, double length);

// Distance from c to the line a-b, as twice the triangle's area (Heron's
// formula) over |ab|.
double DistanceToEdgeLine(PointI c, PointI a, PointI b);

// Draws edge e of a cell with centre own toward the neighbour with centre
// neighbour: template, mirror and the fallbacks drawn from the generator.
// True when a knob was drawn (curveBox then holds its box); false when the
// edge has to be drawn straight.
bool DrawKnobbedEdge(IrregularKnobContext& ctx, const IrregularEdge& e, PointI own, PointI neighbour,
                     uint32_t colour, XRECT& curveBox);

// One try: the template in `slot`, mirrored or not, on knob side `side`. d1
// is the distance of the centre on side 1 from the edge line, d0 that of
// the other. True when drawn.
bool DrawEdgeKnob(IrregularKnobContext& ctx, int32_t side, int32_t slot, PointI neighbour, PointI own,
                  XRECT& curveBox, double d0, double d1, uint32_t colour, PointI a, PointI b, bool mirror);

// Whether the chain (already in picture coordinates) may be drawn: every
// sample inside the jigsaw rectangle and, away from the end points a and b,
// not heading straight at either centre and with no drawn pixel within the
// clearance. The box takes in every sample looked at.
bool PassesClearance(const IrregularKnobContext& ctx, const PointD* points, int32_t count, PointI own,
                     PointI neighbour, PointI a, PointI b, XRECT& box);

}  // namespace varlo
