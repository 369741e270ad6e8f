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
// Journal layout, little-endian (kJournalHeaderBytes, then the block):
//   0  4  magic "VJSJ"
//   4  4  layout version, 1
//   8  4  the game's seed, as its header holds it
//  12  8  offset of the state block in the game file
//  20  4  length of the block
//  24  4  CRC-32 of the block
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varlo {

inline constexpr size_t kJournalHeaderBytes = 28;

std::string StateJournalPath(const std::string& gamePath);

// Writes block at offset of the game file through the journal. seed is the
// game's header seed (a journal only ever goes back into the same game).
// False with the reason when the journal or the game file could not be
// written; the game then holds either its old or its new state.
bool RewriteStateThroughJournal(const std::string& gamePath, int32_t seed, uint64_t offset,
                                const std::vector<uint8_t>& block, std::string* error);

enum class JournalRecovery {
  None,      // no journal
  Finished,  // a complete journal was written into the game and removed
  Dropped,   // an incomplete journal, or one of another game, was removed
  Failed,    // a complete journal could not be written into the game; kept
};

// Finishes or drops a journal left beside the game by an interrupted
// rewrite.
JournalRecovery RecoverStateJournal(const std::string& gamePath, std::string* error);

// Removes a journal that no longer belongs to the game file (after the
// file was written whole).
void DropStateJournal(const std::string& gamePath);

}  // namespace varlo
