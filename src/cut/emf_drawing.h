// A working drawing of the shape library: one EMF's bytes with its walked
// records and its size, edited in place for a placement.
//
// The drawing's pixel size is its header's bounds (Right - Left by Bottom -
// Top); the library's drawings put their points on a grid of that size,
// 0..Width-1 by 0..Height-1. Flipping, turning and recolouring change values
// inside the records (the point lists, MOVETOEX and LINETO; the colours of
// pens, brushes and pixels) and the header's bounds and frame; no record is
// added or removed, so a copy of a library entry can be edited and played
// without any allocation beyond the copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cut/emf_records.h"

namespace varlo {

struct EmfDrawing {
  std::vector<uint8_t> Bytes;
  std::vector<EmfRecord> Records;  // walked, so every record fits its layout
  EmfHeaderInfo Header;
  int32_t Width = 0, Height = 0;      // pixel size
  int32_t MmWidth = 0, MmHeight = 0;  // size in hundredths of millimetres
};

// Copies and walks the bytes; false (drawing emptied) when the walk refuses
// them or the header's bounds or frame give no positive size.
bool EmfLoadDrawing(const uint8_t* data, size_t size, EmfDrawing& d, std::string* error);

// Mirrors the points: x -> Width - x - 1 (left to right), y -> Height - y - 1
// (top to bottom). The header's bounds become right = Width, bottom =
// Height, its frame right and bottom the size in hundredths of millimetres.
void EmfFlip(EmfDrawing& d, bool leftRight, bool topBottom);

// Turns the points by degrees about the drawing's middle and moves them into
// the box around the turned drawing, which becomes the new pixel size (and
// likewise the size in hundredths of millimetres); bounds and frame follow.
// 16-bit points are kept inside the int16 range.
void EmfTurn(EmfDrawing& d, double degrees);

// Every colour the drawing paints with (pens, brushes, pixels, text and
// background, flood fills) becomes colour (red + green * 256 + blue * 65536).
void EmfRecolour(EmfDrawing& d, uint32_t colour);

// The size of the box around the corners (0, 0) .. (w - 1, h - 1) turned by
// degrees, as the turn computes it.
void EmfTurnedSize(int32_t w, int32_t h, double degrees, int32_t& outW, int32_t& outH);

}  // namespace varlo
