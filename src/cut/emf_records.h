// Enhanced Metafile records: the record types the game reads, edits or
// writes, and the walk that checks a drawing's bytes before anything else
// looks at them.
//
// An EMF is a list of records, each starting with its type and its size in
// bytes (both uint32, little-endian); the first is the header, the last the
// end-of-file record. The walk checks every record's size against the bytes
// that are left and every record the game interprets against the fixed part
// and the point counts of its layout, so that the editors and the player,
// which only see walked records, never read outside a record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varlo {

enum EmfRecordType : uint32_t {
  kEmrHeader = 1,
  kEmrPolyBezier = 2,
  kEmrPolygon = 3,
  kEmrPolyline = 4,
  kEmrPolyBezierTo = 5,
  kEmrPolylineTo = 6,
  kEmrPolyPolyline = 7,
  kEmrPolyPolygon = 8,
  kEmrSetWindowExtEx = 9,
  kEmrSetWindowOrgEx = 10,
  kEmrSetViewportExtEx = 11,
  kEmrSetViewportOrgEx = 12,
  kEmrEof = 14,
  kEmrSetPixelV = 15,
  kEmrSetMapMode = 17,
  kEmrSetPolyFillMode = 19,
  kEmrSetTextColor = 24,
  kEmrSetBkColor = 25,
  kEmrMoveToEx = 27,
  kEmrSaveDC = 33,
  kEmrRestoreDC = 34,
  kEmrSetWorldTransform = 35,
  kEmrModifyWorldTransform = 36,
  kEmrSelectObject = 37,
  kEmrCreatePen = 38,
  kEmrCreateBrushIndirect = 39,
  kEmrDeleteObject = 40,
  kEmrExtFloodFill = 53,
  kEmrLineTo = 54,
  kEmrBeginPath = 59,
  kEmrEndPath = 60,
  kEmrCloseFigure = 61,
  kEmrFillPath = 62,
  kEmrStrokeAndFillPath = 63,
  kEmrStrokePath = 64,
  kEmrAbortPath = 68,
  kEmrPolyBezier16 = 85,
  kEmrPolygon16 = 86,
  kEmrPolyline16 = 87,
  kEmrPolyBezierTo16 = 88,
  kEmrPolylineTo16 = 89,
  kEmrPolyPolyline16 = 90,
  kEmrPolyPolygon16 = 91,
  kEmrExtCreatePen = 95,
};

inline constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
inline constexpr uint32_t kEmfHeaderMinSize = 88;
// Far above any drawing of the library, far below what would exhaust memory.
inline constexpr size_t kEmfMaxBytes = size_t{16} << 20;

// Fixed byte offsets inside records.
inline constexpr size_t kEmfHeaderBounds = 8;     // RECTL left, top, right, bottom
inline constexpr size_t kEmfHeaderFrame = 24;     // RECTL in hundredths of millimetres
inline constexpr size_t kEmfHeaderSignature = 40;
inline constexpr size_t kEmfHeaderBytes = 48;
inline constexpr size_t kEmfHeaderRecords = 52;
inline constexpr size_t kEmfHeaderHandles = 56;
inline constexpr size_t kEmfHeaderDevice = 72;    // SIZEL of the reference device in pixels
inline constexpr size_t kEmfHeaderMillimeters = 80;
inline constexpr size_t kEmfPolyCount = 24;       // point lists: bounds, count, points
inline constexpr size_t kEmfPolyPoints = 28;
inline constexpr size_t kEmfPolyPolyCount = 24;   // poly-poly lists: bounds, figures, points, counts
inline constexpr size_t kEmfPolyPolyTotal = 28;
inline constexpr size_t kEmfPolyPolyCounts = 32;

// Where the colour of a recolourable record sits; 0 for other records.
size_t EmfColourOffset(uint32_t type);
// True for the point lists with 32-bit points (POLYBEZIER, POLYGON, POLYLINE,
// POLYBEZIERTO, POLYLINETO), false for every other type.
bool EmfIsPointList32(uint32_t type);
// The same for 16-bit points (POLYBEZIER16 ... POLYLINETO16).
bool EmfIsPointList16(uint32_t type);

// One walked record: its place in the drawing's bytes.
struct EmfRecord {
  uint32_t Type = 0;
  uint32_t Size = 0;
  size_t Offset = 0;
};

struct EmfRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct EmfHeaderInfo {
  EmfRect Bounds;  // in device pixels, inclusive
  EmfRect Frame;   // in hundredths of millimetres, inclusive
  int32_t DeviceCx = 0, DeviceCy = 0;            // reference device, pixels
  int32_t MillimetersCx = 0, MillimetersCy = 0;  // reference device, millimetres
};

// Walks size bytes of data: a header first (with the EMF signature, sizes
// that make sense), every record at least 8 bytes, a multiple of 4 and
// inside the data, every known record long enough for its layout (point
// counts included), and an end-of-file record last. Bytes after the
// end-of-file record are ignored. False with a message in *error (when
// given) for anything else; records is then cleared.
bool EmfWalk(const uint8_t* data, size_t size, std::vector<EmfRecord>& records,
             EmfHeaderInfo* header, std::string* error);

}  // namespace varlo
