// The entry of jigsaw packs and saved games: a 32-bit payload length and the
// payload, XOR-scrambled with a running key byte.
//
// The key starts at the entry's start byte; a rotating entry turns the key
// right by one bit after every byte, a plain entry keeps it. The start bytes
// are fixed constants of the game, listed in docs/formats.md so that other
// tools can make packs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varlo {

class ByteSource;
class OutputFile;

// Start bytes of the entries. Pack: thumbnail (plain), info and picture
// (rotating, base + picture index). Saved game: all plain; the thumbnail
// shares the pack's byte.
inline constexpr uint8_t kThumbBaseByte = 0x5A;
inline constexpr uint8_t kInfoBaseByte = 0xA7;
inline constexpr uint8_t kPictureBaseByte = 0x3C;
inline constexpr uint8_t kSolvePictureByte = 0xC5;
inline constexpr uint8_t kSolveMaskByte = 0x6E;
inline constexpr uint8_t kSolveInfoByte = 0x93;

// Scrambling and unscrambling are the same operation. key runs on across
// calls, so a payload may be processed in blocks of any size.
void ScrambleBytes(uint8_t* data, size_t n, uint8_t& key, bool rotating);
// Appends n bytes to out, scrambled with the running key.
void WriteScrambled(OutputFile& out, const uint8_t* data, size_t n, uint8_t& key, bool rotating);

struct EntryRead {
  uint32_t Size = 0;     // payload bytes N
  uint64_t EndPos = 0;   // file offset just past the entry
};

// Reads the entry at the current position into payload (replacing it).
// Refuses, with a message and before allocating, a negative N, an N beyond
// the end of the input and an N above maxPayload. The position ends just
// past the entry on success and is unspecified on failure.
bool ReadEntry(ByteSource& in, uint8_t start, bool rotating, uint64_t maxPayload,
               std::vector<uint8_t>& payload, EntryRead* info, std::string* error);
// Moves past the entry at the current position without reading its payload.
bool SkipEntry(ByteSource& in, EntryRead* info, std::string* error);

// Writes N and the scrambled payload.
void WriteEntry(OutputFile& out, uint8_t start, bool rotating, const uint8_t* data, size_t n);
// In-memory form for builders of whole files.
void AppendEntry(std::vector<uint8_t>& out, uint8_t start, bool rotating, const uint8_t* data,
                 size_t n);

// Picture kinds by the first bytes: 2 JPEG (FF D8 FF), 1 Windows bitmap
// ("BM"), 0 anything else; JPEG is tested first.
int32_t PictureKind(const uint8_t* data, size_t size);
int32_t PictureKind(const std::string& path);  // 0 when the file cannot be read
// The exact JFIF start FF D8 FF E0 00 10 'J' 'F' 'I' 'F' 00 01.
bool IsJfif(const uint8_t* data, size_t size);
bool IsJfif(const std::string& path);

}  // namespace varlo
