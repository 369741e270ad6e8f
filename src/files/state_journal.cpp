// The journal of in-place state rewrites.
#include "files/state_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>

#include "raster/byte_io.h"
#include "raster/output_file.h"
#include "files/saved_game.h"

namespace varlo {

namespace {

constexpr char kJournalMagic[4] = {'V', 'J', 'S', 'J'};
constexpr uint32_t kJournalVersion = 1;
// Far above any state block (4001 pieces take under 0.5 MiB).
constexpr uint64_t kMaxJournalBlock = uint64_t{16} << 20;

uint32_t Crc32(const std::vector<uint8_t>& bytes) {
  return static_cast<uint32_t>(::crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

bool WriteAllAt(int fd, const uint8_t* data, size_t n, uint64_t offset) {
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, data, n, static_cast<off_t>(offset));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= static_cast<size_t>(w);
    offset += static_cast<uint64_t>(w);
  }
  return true;
}

bool ReadAllAt(int fd, uint8_t* data, size_t n, uint64_t offset) {
  while (n > 0) {
    const ssize_t r = ::pread(fd, data, n, static_cast<off_t>(offset));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    data += r;
    n -= static_cast<size_t>(r);
    offset += static_cast<uint64_t>(r);
  }
  return true;
}

std::string Reason(const char* what, const std::string& path) {
  return std::string(what) + " \"" + path + "\": " + std::strerror(errno);
}

// The block into the game file at offset, flushed to the disk.
bool WriteIntoGame(const std::string& gamePath, uint64_t offset, const std::vector<uint8_t>& block,
                   std::string* error) {
  const int fd = ::open(gamePath.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = Reason("Cannot open", gamePath);
    return false;
  }
  bool ok = WriteAllAt(fd, block.data(), block.size(), offset);
  if (!ok && error) *error = Reason("Cannot write", gamePath);
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    if (error) *error = Reason("Cannot flush", gamePath);
  }
  ::close(fd);
  return ok;
}

struct Journal {
  int32_t Seed = 0;
  uint64_t Offset = 0;
  std::vector<uint8_t> Block;
};

// The journal's contents when it is complete and sound.
bool ReadJournal(int fd, uint64_t size, Journal& j) {
  if (size < kJournalHeaderBytes || size - kJournalHeaderBytes > kMaxJournalBlock) return false;
  uint8_t head[kJournalHeaderBytes];
  if (!ReadAllAt(fd, head, sizeof head, 0)) return false;
  if (std::memcmp(head, kJournalMagic, 4) != 0 || GetU32(head + 4) != kJournalVersion) return false;
  const uint32_t length = GetU32(head + 20);
  if (uint64_t{length} != size - kJournalHeaderBytes) return false;
  j.Seed = GetI32(head + 8);
  j.Offset = uint64_t{GetU32(head + 12)} | (uint64_t{GetU32(head + 16)} << 32);
  j.Block.resize(length);
  if (!ReadAllAt(fd, j.Block.data(), length, kJournalHeaderBytes)) return false;
  return Crc32(j.Block) == GetU32(head + 24);
}

// Whether the game file is the one the journal was written for: its
// header names the same seed and state offset, and the file reaches the
// block's start.
bool JournalFitsGame(const std::string& gamePath, const Journal& j) {
  const int fd = ::open(gamePath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  uint8_t head[kSolveMagicBytes + 8];
  struct stat st {};
  const bool ok = ::fstat(fd, &st) == 0 && ReadAllAt(fd, head, sizeof head, 0) &&
                  std::memcmp(head, kSolveMagic, kSolveMagicBytes) == 0 &&
                  GetI32(head + kSolveMagicBytes) == j.Seed &&
                  GetI32(head + kSolveMagicBytes + 4) >= 0 &&
                  static_cast<uint64_t>(GetI32(head + kSolveMagicBytes + 4)) == j.Offset &&
                  static_cast<uint64_t>(st.st_size) >= j.Offset;
  ::close(fd);
  return ok;
}

}  // namespace

std::string StateJournalPath(const std::string& gamePath) { return gamePath + "-journal"; }

bool RewriteStateThroughJournal(const std::string& gamePath, int32_t seed, uint64_t offset,
                                const std::vector<uint8_t>& block, std::string* error) {
  if (block.size() > kMaxJournalBlock) {
    if (error) *error = "The state block of \"" + gamePath + "\" is too large to rewrite.";
    return false;
  }
  uint8_t head[kJournalHeaderBytes];
  std::memcpy(head, kJournalMagic, 4);
  PutU32(head + 4, kJournalVersion);
  PutI32(head + 8, seed);
  PutU32(head + 12, static_cast<uint32_t>(offset));
  PutU32(head + 16, static_cast<uint32_t>(offset >> 32));
  PutU32(head + 20, static_cast<uint32_t>(block.size()));
  PutU32(head + 24, Crc32(block));
  const std::string journal = StateJournalPath(gamePath);
  // The journal appears whole or not at all, and durably, before the game
  // file is touched.
  SafeFileWriter writer(journal + ".new", journal);
  if (!writer.Begin(error)) return false;
  writer.out().Write(head, sizeof head);
  writer.out().Write(block.data(), block.size());
  if (!writer.Commit(error)) return false;
  if (!WriteIntoGame(gamePath, offset, block, error)) return false;  // the journal stays: finished on the next open
  ::unlink(journal.c_str());
  return true;
}

JournalRecovery RecoverStateJournal(const std::string& gamePath, std::string* error) {
  const std::string journal = StateJournalPath(gamePath);
  const int fd = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return JournalRecovery::None;
  struct stat st {};
  Journal j;
  const bool sound = ::fstat(fd, &st) == 0 && ReadJournal(fd, static_cast<uint64_t>(st.st_size), j);
  ::close(fd);
  if (!sound || !JournalFitsGame(gamePath, j)) {
    ::unlink(journal.c_str());
    return JournalRecovery::Dropped;
  }
  if (!WriteIntoGame(gamePath, j.Offset, j.Block, error)) return JournalRecovery::Failed;
  ::unlink(journal.c_str());
  return JournalRecovery::Finished;
}

void DropStateJournal(const std::string& gamePath) { ::unlink(StateJournalPath(gamePath).c_str()); }

}  // namespace varlo
