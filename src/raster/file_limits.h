// The sizes the game's files may have: every reader refuses what lies
// beyond them before it allocates or decodes anything, and every writer
// (the saved games, the pack tool) refuses to make such a file, so that
// nothing the game writes is a file it would not open again.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varlo {

// Pictures of packs and saved games, and photographs made into packs:
// either side and the whole. 100 Mi pixels hold the largest camera
// pictures (about 11600 x 8700); the picture, its mask and the turned
// copies of a game then stay within a few gigabytes of memory.
inline constexpr int32_t kMaxPictureSide = 20000;
inline constexpr int64_t kMaxPicturePixels = int64_t{100} << 20;
// The smallest picture every cut, level and border can serve (a 71 x 71
// picture cannot be cut with a border at the coarsest level).
inline constexpr int32_t kMinPictureSide = 72;

// A thumbnail as the open dialog shows it (about 240 x 180). A saved game
// stores it as a 24-bit bitmap, which must fit its entry.
inline constexpr int32_t kMaxThumbnailSide = 2048;
inline constexpr uint64_t kMaxThumbnailEntry = uint64_t{16} << 20;

// A pack's info text, in any of its encodings; a saved game stores it as
// UTF-16, at most two bytes for each byte of the pack's text, and a mark.
inline constexpr uint64_t kMaxInfoEntry = uint64_t{4} << 20;
inline constexpr uint64_t kMaxSavedInfoEntry = 2 * kMaxInfoEntry + 2;

// A picture's file (a pack's picture entry, a photograph given to the pack
// tool, a background): a 32-bit bitmap of the largest picture with its
// headers; a JPEG or PNG of it is smaller.
inline constexpr uint64_t kMaxPictureFileBytes = 4 * static_cast<uint64_t>(kMaxPicturePixels) + 2048;

// A whole pack: header, thumbnail, info and picture entries.
inline constexpr uint64_t kMaxPackBytes = 27 + 3 * 4 + kMaxThumbnailEntry + kMaxInfoEntry + kMaxPictureFileBytes;

// True when a picture of w x h pixels is within the limits above.
constexpr bool PictureSizeAllowed(int64_t w, int64_t h) {
  return w >= 1 && h >= 1 && w <= kMaxPictureSide && h <= kMaxPictureSide && w * h <= kMaxPicturePixels;
}
constexpr bool ThumbnailSizeAllowed(int64_t w, int64_t h) {
  return w >= 1 && h >= 1 && w <= kMaxThumbnailSide && h <= kMaxThumbnailSide;
}

}  // namespace varlo
