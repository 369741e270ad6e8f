// Rewriting the state block of a saved game in place without ever leaving
// a torn piece table behind.
//
// The new block goes into a journal beside the game first ("<game>-journal"),
// made durable, and only then over the old block; the journal is removed
// when the game file is on the disk. A rewrite interrupted before the
// journal was complete left the game untouched (the journal is dropped);
// one interrupted after it is finished from the journal the next time the
// game is opened or saved. A game file written whole removes any journal.
//
// A journal names the game it belongs to by the SHA-256 of every byte of
// the game file before its state block (name, parameter block, thumbnail,
// picture, mask and info): it only ever goes back into a file whose bytes
// before S are those, and whose piece count gives a state block of exactly
// the journal's length.
//
// Journal layout, little-endian (kJournalHeaderBytes, then the block):
//   0  4  magic "VJSJ"
//   4  4  layout version, 2
//   8  4  the game's seed, as its header holds it
//  12  8  offset S of the state block in the game file
//  20  4  length of the block
//  24  4  CRC-32 of the block
//  28 32  SHA-256 of the game file's bytes [0, S)
// A layout-1 journal (28 bytes of header, without the digest) is still
// finished, but only into a game whose piece table it fits.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varlo {

inline constexpr size_t kJournalHeaderBytes = 60;
inline constexpr size_t kJournalV1HeaderBytes = 28;

using GameDigest = std::array<uint8_t, 32>;

// SHA-256, fed in pieces.
class DigestBuilder {
 public:
  DigestBuilder();
  ~DigestBuilder();
  DigestBuilder(const DigestBuilder&) = delete;
  DigestBuilder& operator=(const DigestBuilder&) = delete;
  void Add(const uint8_t* data, size_t n);
  GameDigest Finish();

 private:
  void* ctx_;
};

std::string StateJournalPath(const std::string& gamePath);

class ByteSource;

// A journal read back.
struct StateJournal {
  uint32_t Version = 0;
  int32_t Seed = 0;
  uint64_t Offset = 0;
  GameDigest Digest{};  // layout 2
  std::vector<uint8_t> Block;
};
// True when in holds a complete, sound journal (layout 1 or 2).
bool ReadStateJournal(ByteSource& in, StateJournal& j);
// Whether the saved game in game is the one the journal was written for:
// the same seed and S, a state block of the journal's length for its piece
// count, and (layout 2) the same digest of its bytes before S; a layout-1
// journal's pieces must be playable with the game's parameter block.
bool JournalFitsGame(ByteSource& game, const StateJournal& j);

// Writes block at offset of the game file through the journal. seed is the
// game's header seed and digest the SHA-256 of the file's bytes before
// offset, as the caller found them. False with the reason when the journal
// or the game file could not be written; the game then holds either its old
// or its new state.
bool RewriteStateThroughJournal(const std::string& gamePath, int32_t seed, uint64_t offset,
                                const GameDigest& digest, const std::vector<uint8_t>& block,
                                std::string* error);

enum class JournalRecovery {
  None,      // no journal
  Finished,  // a complete journal was written into the game and removed
  Dropped,   // an incomplete journal, or one of another game, was removed
  Failed,    // a complete journal could not be written into the game; kept
};

// Finishes or drops a journal left beside the game by an interrupted
// rewrite, and removes a journal left half-built ("-journal.new").
JournalRecovery RecoverStateJournal(const std::string& gamePath, std::string* error);

// Removes a journal that no longer belongs to the game file (after the
// file was written whole).
void DropStateJournal(const std::string& gamePath);

}  // namespace varlo
