// The journal of in-place state rewrites.
#include "files/state_journal.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "files/byte_source.h"
#include "files/saved_game.h"
#include "raster/byte_io.h"
#include "raster/file_calls.h"
#include "raster/file_limits.h"
#include "raster/output_file.h"

namespace varlo {

namespace {

constexpr char kJournalMagic[4] = {'V', 'J', 'S', 'J'};
constexpr uint32_t kJournalVersion = 2;

uint32_t Crc32(const std::vector<uint8_t>& bytes) {
  return static_cast<uint32_t>(::crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

bool WriteAllAt(int fd, const uint8_t* data, size_t n, uint64_t offset) {
  while (n > 0) {
    const ssize_t w = fcall::PWrite(fd, data, n, static_cast<off_t>(offset));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= static_cast<size_t>(w);
    offset += static_cast<uint64_t>(w);
  }
  return true;
}

std::string Reason(const char* what, const std::string& path) {
  return std::string(what) + " \"" + path + "\": " + std::strerror(errno);
}

// The block into the game file at offset, flushed to the disk.
bool WriteIntoGame(const std::string& gamePath, uint64_t offset, const std::vector<uint8_t>& block,
                   std::string* error) {
  // The game file was checked to be a regular file before; O_NONBLOCK keeps
  // a FIFO put in its place since then from holding the game.
  const int fd = fcall::Open(gamePath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = Reason("Cannot open", gamePath);
    return false;
  }
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!ok && error) *error = "\"" + gamePath + "\" is not a regular file.";
  if (ok) {
    ok = WriteAllAt(fd, block.data(), block.size(), offset);
    if (!ok && error) *error = Reason("Cannot write", gamePath);
  }
  if (ok && fcall::Fsync(fd) != 0) {
    ok = false;
    if (error) *error = Reason("Cannot flush", gamePath);
  }
  fcall::Close(fd);
  return ok;
}

}  // namespace

bool ReadStateJournal(ByteSource& in, StateJournal& j) {
  const uint64_t size = in.Size();
  uint8_t head[kJournalHeaderBytes];
  if (size < kJournalV1HeaderBytes || !in.Seek(0) || !in.Read(head, kJournalV1HeaderBytes)) return false;
  if (std::memcmp(head, kJournalMagic, 4) != 0) return false;
  j.Version = GetU32(head + 4);
  size_t headBytes = 0;
  if (j.Version == 1) {
    headBytes = kJournalV1HeaderBytes;
  } else if (j.Version == kJournalVersion) {
    headBytes = kJournalHeaderBytes;
    if (!in.Read(head + kJournalV1HeaderBytes, headBytes - kJournalV1HeaderBytes)) return false;
    std::memcpy(j.Digest.data(), head + kJournalV1HeaderBytes, j.Digest.size());
  } else {
    return false;
  }
  const uint32_t length = GetU32(head + 20);
  if (uint64_t{length} != size - headBytes || length > SolveStateBytes(kMaxPieces)) return false;
  j.Seed = GetI32(head + 8);
  j.Offset = uint64_t{GetU32(head + 12)} | (uint64_t{GetU32(head + 16)} << 32);
  j.Block.resize(length);
  if (!in.Read(j.Block.data(), length)) return false;
  return Crc32(j.Block) == GetU32(head + 24);
}

namespace {

// A layout-1 journal names its game only by seed and S: its pieces must at
// least be playable with the game's parameter block.
bool PiecesFit(const JIG_P& jig, const std::vector<uint8_t>& block) {
  std::vector<TILE_P> pieces(static_cast<size_t>(jig.TotalTileNum));
  const uint8_t* p = block.data() + kBackgroundBlockBytes + kStateOptionBytes;
  for (TILE_P& t : pieces) {
    t = DecodeTile(p);
    p += kTileBytes;
  }
  return CheckPieces(jig, pieces).empty();
}

}  // namespace

bool JournalFitsGame(ByteSource& in, const StateJournal& j) {
  uint8_t head[kSolveMagicBytes + 12];
  if (!in.Seek(0) || !in.Read(head, sizeof head) || std::memcmp(head, kSolveMagic, kSolveMagicBytes) != 0 ||
      GetI32(head + 11) != j.Seed)
    return false;
  const int32_t s = GetI32(head + 15), nameLen = GetI32(head + 19);
  uint8_t params[kJigParamsBytes];
  if (s < 0 || static_cast<uint64_t>(s) != j.Offset || nameLen < 1 ||
      nameLen > static_cast<int32_t>(kMaxJigNameBytes) + 1 || !in.Skip(static_cast<uint64_t>(nameLen)) ||
      !in.Read(params, sizeof params))
    return false;
  const JIG_P jig = DecodeJigParams(params);
  if (jig.TotalTileNum < 1 || jig.TotalTileNum > kMaxPieces || !PictureSizeAllowed(jig.ImageW, jig.ImageH) ||
      j.Block.size() != SolveStateBytes(jig.TotalTileNum))
    return false;
  // The file ends after the old block, which may lack its trailer.
  const uint64_t end = in.Size();
  if (end < j.Offset + j.Block.size() - kTrailerBytes || end > j.Offset + j.Block.size()) return false;
  if (j.Version == 1) return PiecesFit(jig, j.Block);
  DigestBuilder digest;
  std::vector<uint8_t> chunk(static_cast<size_t>(std::min<uint64_t>(j.Offset, uint64_t{1} << 20)));
  if (!in.Seek(0)) return false;
  for (uint64_t done = 0; done < j.Offset;) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), j.Offset - done));
    if (!in.Read(chunk.data(), n)) return false;
    digest.Add(chunk.data(), n);
    done += n;
  }
  return digest.Finish() == j.Digest;
}

namespace {

void RemoveIfRegular(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) fcall::Unlink(path.c_str());
}

}  // namespace

DigestBuilder::DigestBuilder() : ctx_(EVP_MD_CTX_new()) {
  if (!ctx_ || EVP_DigestInit_ex(static_cast<EVP_MD_CTX*>(ctx_), EVP_sha256(), nullptr) != 1)
    throw std::bad_alloc();
}

DigestBuilder::~DigestBuilder() { EVP_MD_CTX_free(static_cast<EVP_MD_CTX*>(ctx_)); }

void DigestBuilder::Add(const uint8_t* data, size_t n) {
  EVP_DigestUpdate(static_cast<EVP_MD_CTX*>(ctx_), data, n);
}

GameDigest DigestBuilder::Finish() {
  GameDigest d{};
  unsigned int len = 0;
  EVP_DigestFinal_ex(static_cast<EVP_MD_CTX*>(ctx_), d.data(), &len);
  return d;
}

std::string StateJournalPath(const std::string& gamePath) { return gamePath + "-journal"; }

bool RewriteStateThroughJournal(const std::string& gamePath, int32_t seed, uint64_t offset,
                                const GameDigest& digest, const std::vector<uint8_t>& block,
                                std::string* error) {
  if (block.size() > SolveStateBytes(kMaxPieces)) {
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
  std::memcpy(head + kJournalV1HeaderBytes, digest.data(), digest.size());
  const std::string journal = StateJournalPath(gamePath);
  // The journal appears whole or not at all, and durably, before the game
  // file is touched.
  SafeFileWriter writer(journal + ".new", journal);
  if (!writer.Begin(error)) return false;
  writer.out().Write(head, sizeof head);
  writer.out().Write(block.data(), block.size());
  if (!writer.Commit(error)) return false;
  if (!WriteIntoGame(gamePath, offset, block, error)) return false;  // the journal stays: finished on the next open
  fcall::Unlink(journal.c_str());
  return true;
}

JournalRecovery RecoverStateJournal(const std::string& gamePath, std::string* error) {
  const std::string journal = StateJournalPath(gamePath);
  RemoveIfRegular(journal + ".new");  // a journal never finished: the game was not touched
  struct stat st {};
  // Anything but a regular file under the journal's name is not one the
  // game wrote: it is neither read nor removed.
  if (::lstat(journal.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return JournalRecovery::None;
  StateJournal j;
  bool sound = false;
  {
    FileSource in;
    if (!in.Open(journal, nullptr)) return JournalRecovery::None;
    sound = ReadStateJournal(in, j);
  }
  FileSource game;
  if (!sound || !game.Open(gamePath, nullptr) || !JournalFitsGame(game, j)) {
    fcall::Unlink(journal.c_str());
    return JournalRecovery::Dropped;
  }
  game.Close();
  if (!WriteIntoGame(gamePath, j.Offset, j.Block, error)) return JournalRecovery::Failed;
  fcall::Unlink(journal.c_str());
  return JournalRecovery::Finished;
}

void DropStateJournal(const std::string& gamePath) {
  RemoveIfRegular(StateJournalPath(gamePath));
  RemoveIfRegular(StateJournalPath(gamePath) + ".new");
}

}  // namespace varlo
