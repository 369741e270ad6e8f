// Fuzzing the state journal's reader and its check against the game it
// names. The input is a 4-byte little-endian journal length, the journal,
// then the saved game it is checked against.
#include <cstddef>
#include <cstdint>

#include "files/byte_source.h"
#include "files/state_journal.h"
#include "raster/byte_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varlo;
  if (size < 4) return 0;
  const uint32_t journalBytes = GetU32(data);
  data += 4;
  size -= 4;
  const size_t split = journalBytes < size ? journalBytes : size;
  MemorySource journal(data, split);
  StateJournal j;
  if (!ReadStateJournal(journal, j)) return 0;
  MemorySource game(data + split, size - split);
  JournalFitsGame(game, j);
  return 0;
}
