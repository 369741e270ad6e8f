#include "cut/emf_records.h"

#include "raster/byte_io.h"

namespace varlo {

size_t EmfColourOffset(uint32_t type) {
  switch (type) {
    case kEmrSetPixelV: return 16;
    case kEmrSetTextColor: return 8;
    case kEmrSetBkColor: return 8;
    case kEmrCreatePen: return 24;
    case kEmrCreateBrushIndirect: return 16;
    case kEmrExtFloodFill: return 16;
    case kEmrExtCreatePen: return 40;
    default: return 0;
  }
}

bool EmfIsPointList32(uint32_t type) {
  return type == kEmrPolyBezier || type == kEmrPolygon || type == kEmrPolyline ||
         type == kEmrPolyBezierTo || type == kEmrPolylineTo;
}

bool EmfIsPointList16(uint32_t type) {
  return type == kEmrPolyBezier16 || type == kEmrPolygon16 || type == kEmrPolyline16 ||
         type == kEmrPolyBezierTo16 || type == kEmrPolylineTo16;
}

namespace {

// The smallest size of each record the game interprets; 8 for the others.
uint32_t MinimumSize(uint32_t type) {
  switch (type) {
    case kEmrHeader: return kEmfHeaderMinSize;
    case kEmrPolyBezier: case kEmrPolygon: case kEmrPolyline: case kEmrPolyBezierTo:
    case kEmrPolylineTo: case kEmrPolyBezier16: case kEmrPolygon16: case kEmrPolyline16:
    case kEmrPolyBezierTo16: case kEmrPolylineTo16:
      return kEmfPolyPoints;
    case kEmrPolyPolyline: case kEmrPolyPolygon: case kEmrPolyPolyline16: case kEmrPolyPolygon16:
      return kEmfPolyPolyCounts;
    case kEmrSetWindowExtEx: case kEmrSetWindowOrgEx: case kEmrSetViewportExtEx:
    case kEmrSetViewportOrgEx: case kEmrMoveToEx: case kEmrLineTo:
      return 16;
    case kEmrSetPixelV: return 20;
    case kEmrSetMapMode: case kEmrSetPolyFillMode: case kEmrSetTextColor: case kEmrSetBkColor:
    case kEmrRestoreDC: case kEmrSelectObject: case kEmrDeleteObject:
      return 12;
    case kEmrSetWorldTransform: return 32;
    case kEmrModifyWorldTransform: return 36;
    case kEmrCreatePen: return 28;
    case kEmrCreateBrushIndirect: return 24;
    case kEmrExtFloodFill: return 24;
    case kEmrExtCreatePen: return 52;
    default: return 8;
  }
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

// The point lists and poly-poly lists carry counts that must fit the record.
bool CountsFit(const uint8_t* r, uint32_t type, uint32_t size) {
  if (EmfIsPointList32(type) || EmfIsPointList16(type)) {
    const uint64_t bytesPerPoint = EmfIsPointList32(type) ? 8 : 4;
    const uint64_t count = GetU32(r + kEmfPolyCount);
    return kEmfPolyPoints + count * bytesPerPoint <= size;
  }
  if (type == kEmrPolyPolyline || type == kEmrPolyPolygon || type == kEmrPolyPolyline16 ||
      type == kEmrPolyPolygon16) {
    const uint64_t bytesPerPoint = (type == kEmrPolyPolyline || type == kEmrPolyPolygon) ? 8 : 4;
    const uint64_t figures = GetU32(r + kEmfPolyPolyCount);
    const uint64_t total = GetU32(r + kEmfPolyPolyTotal);
    if (kEmfPolyPolyCounts + figures * 4 + total * bytesPerPoint > size) return false;
    uint64_t sum = 0;
    for (uint64_t f = 0; f < figures; ++f) sum += GetU32(r + kEmfPolyPolyCounts + f * 4);
    return sum == total;
  }
  return true;
}

}  // namespace

bool EmfWalk(const uint8_t* data, size_t size, std::vector<EmfRecord>& records,
             EmfHeaderInfo* header, std::string* error) {
  records.clear();
  if (!data || size < kEmfHeaderMinSize) return Fail(error, "drawing shorter than its header");
  if (size > kEmfMaxBytes) return Fail(error, "drawing too large");
  size_t at = 0;
  bool ended = false;
  while (at < size && !ended) {
    if (size - at < 8) {
      records.clear();
      return Fail(error, "record cut short at byte " + std::to_string(at));
    }
    const uint8_t* r = data + at;
    const uint32_t type = GetU32(r);
    const uint32_t recordSize = GetU32(r + 4);
    if (recordSize < 8 || recordSize % 4 != 0 || recordSize > size - at) {
      records.clear();
      return Fail(error, "record at byte " + std::to_string(at) + " has a bad size");
    }
    if ((at == 0) != (type == kEmrHeader)) {
      records.clear();
      return Fail(error, at == 0 ? "drawing does not start with a header" : "second header record");
    }
    if (recordSize < MinimumSize(type) || !CountsFit(r, type, recordSize)) {
      records.clear();
      return Fail(error, "record of type " + std::to_string(type) + " at byte " + std::to_string(at) +
                             " does not fit its size");
    }
    if (type == kEmrHeader) {
      if (GetU32(r + kEmfHeaderSignature) != kEmfSignature)
        return Fail(error, "header without the EMF signature");
      EmfHeaderInfo h;
      h.Bounds = {GetI32(r + 8), GetI32(r + 12), GetI32(r + 16), GetI32(r + 20)};
      h.Frame = {GetI32(r + 24), GetI32(r + 28), GetI32(r + 32), GetI32(r + 36)};
      h.DeviceCx = GetI32(r + kEmfHeaderDevice);
      h.DeviceCy = GetI32(r + kEmfHeaderDevice + 4);
      h.MillimetersCx = GetI32(r + kEmfHeaderMillimeters);
      h.MillimetersCy = GetI32(r + kEmfHeaderMillimeters + 4);
      if (h.DeviceCx <= 0 || h.DeviceCy <= 0 || h.MillimetersCx <= 0 || h.MillimetersCy <= 0)
        return Fail(error, "header without a reference device");
      if (header) *header = h;
    }
    records.push_back({type, recordSize, at});
    ended = type == kEmrEof;
    at += recordSize;
  }
  if (!ended) {
    records.clear();
    return Fail(error, "drawing without its end record");
  }
  return true;
}

}  // namespace varlo
