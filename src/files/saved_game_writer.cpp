// Writing saved games.
#include "files/saved_game_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/product.h"
#include "raster/byte_io.h"
#include "files/byte_source.h"
#include "files/entry_coding.h"
#include "files/info_text.h"
#include "raster/file_calls.h"
#include "raster/output_file.h"
#include "files/picture_size.h"
#include "files/state_journal.h"
#include "platform/platform.h"
#include "platform/progress.h"
#include "raster/picture_codecs.h"
#include "raster/path_ascii.h"

namespace varlo {

namespace {

constexpr size_t kBmpHeaderBytes = 54;

// The 24-bit bottom-up bitmap of a DIB_P written straight into an entry:
// the DIB's rows already have the bitmap's layout, so no copy is made.
void WriteBitmapEntry(OutputFile& out, uint8_t start, const DIB_P& d) {
  const uint32_t row = (static_cast<uint32_t>(d.Width) * 3 + 3) & ~3u;
  const uint32_t image = row * static_cast<uint32_t>(d.Height);
  uint8_t h[kBmpHeaderBytes] = {};
  h[0] = 'B';
  h[1] = 'M';
  PutU32(h + 2, static_cast<uint32_t>(kBmpHeaderBytes) + image);
  PutU32(h + 10, kBmpHeaderBytes);
  PutU32(h + 14, 40);
  PutI32(h + 18, d.Width);
  PutI32(h + 22, d.Height);
  PutU16(h + 26, 1);
  PutU16(h + 28, 24);
  PutU32(h + 34, image);
  PutI32(h + 38, 2835);  // 72 dpi
  PutI32(h + 42, 2835);
  out.WriteI32(static_cast<int32_t>(kBmpHeaderBytes + image));
  uint8_t key = start;
  WriteScrambled(out, h, sizeof h, key, false);
  if (d.BytesPerPixel == 3 && static_cast<uint32_t>(d.Stride) == row) {
    WriteScrambled(out, d.Bits, image, key, false);
    return;
  }
  std::vector<uint8_t> line(row, 0);
  for (int32_t y = d.Height - 1; y >= 0; --y) {  // bottom row first
    const uint8_t* s = DibRow(d, y);
    for (int32_t x = 0; x < d.Width; ++x, s += d.BytesPerPixel) std::memcpy(&line[x * 3], s, 3);
    WriteScrambled(out, line.data(), row, key, false);
  }
}

// Copies [0, n) of the file behind fdIn to out, in the kernel where it can.
bool CopyPrefix(int fdIn, OutputFile& out, uint64_t n, std::string* error) {
  if (!out.Flush()) {
    if (error) *error = out.failure();
    return false;
  }
  loff_t inOff = 0;
  loff_t outOff = static_cast<loff_t>(out.Pos());
  uint64_t done = 0;
  while (done < n) {
    const ssize_t got = fcall::CopyFileRange(fdIn, &inOff, out.fd(), &outOff, n - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<uint64_t>(got);
  }
  if (done < n) {  // a file system without in-kernel copies: copy by hand
    std::vector<uint8_t> buf(1 << 20);
    while (done < n) {
      const size_t want = static_cast<size_t>(std::min<uint64_t>(buf.size(), n - done));
      const ssize_t got = ::pread(fdIn, buf.data(), want, static_cast<off_t>(done));
      if (got <= 0) {
        if (error) *error = std::string("Cannot read the saved game: ") + std::strerror(errno);
        return false;
      }
      if (fcall::PWrite(out.fd(), buf.data(), static_cast<size_t>(got), static_cast<off_t>(done)) != got) {
        if (error) *error = std::string("Cannot write the saved game: ") + std::strerror(errno);
        return false;
      }
      done += static_cast<uint64_t>(got);
    }
  }
  if (::lseek(out.fd(), static_cast<off_t>(n), SEEK_SET) < 0) {
    if (error) *error = std::string("Cannot write the saved game: ") + std::strerror(errno);
    return false;
  }
  out.CountExternalBytes(n);
  return true;
}

// The file's own copy is made through the temporary save file too, so an
// interruption leaves the previous file whole.
bool CopyFileSafely(const std::string& from, const std::string& to, const std::string& temp,
                    std::string* error) {
  uint64_t size = 0;
  const int fd = OpenRegularFile(from, error, &size);
  if (fd < 0) return false;
  SafeFileWriter writer(temp, to);
  bool ok = writer.Begin(error) && CopyPrefix(fd, writer.out(), size, error);
  ::close(fd);
  if (ok) ok = writer.Commit(error);
  return ok;
}

std::string Caption(SaveContext& ctx, const char* key) { return ctx.Text ? ctx.Text(key) : key; }

void Report(SaveContext& ctx, SaveOutcome& outcome, const std::string& error) {
  outcome.Error = error;
  if (ctx.Messages) ctx.Messages->ShowMessage(error, kProductTitle, kMsgExclamationOk);
}

}  // namespace

std::string CheckSaveGame(const SaveGameView& g) {
  if (!g.Name || !g.Jig || !g.Thumbnail || !g.Picture || !g.Mask || !g.Info)
    return "The game is not complete enough to be saved.";
  const JIG_P& j = *g.Jig;
  if (g.Name->size() > kMaxJigNameBytes)
    return "The jigsaw's name is longer than " + std::to_string(kMaxJigNameBytes) + " bytes.";
  if (j.TotalTileNum < 1 || j.TotalTileNum > kMaxPieces ||
      g.State.Pieces.size() != static_cast<size_t>(j.TotalTileNum))
    return "The game's piece table does not match its piece count.";
  if (!PictureSizeAllowed(j.ImageW, j.ImageH) || g.Picture->Width != j.ImageW || g.Picture->Height != j.ImageH)
    return "The game's picture does not match its size.";
  if (g.Mask->Width != j.ImageW + 5 || g.Mask->Height != j.ImageH + 5)
    return "The game's piece mask does not match the picture.";
  if (g.Thumbnail->Width < 1 || g.Thumbnail->Height < 1) return "The game has no thumbnail.";
  // What the reader takes back: the thumbnail as a 24-bit bitmap and the
  // info text as UTF-16 within their entries.
  const uint64_t thumbRow = (static_cast<uint64_t>(g.Thumbnail->Width) * 3 + 3) & ~uint64_t{3};
  if (54 + thumbRow * static_cast<uint64_t>(g.Thumbnail->Height) > kMaxThumbnailEntry ||
      int64_t{g.Thumbnail->Width} * g.Thumbnail->Height * 3 > static_cast<int64_t>(kMaxThumbnailEntry))
    return "The game's thumbnail (" + std::to_string(g.Thumbnail->Width) + " x " +
           std::to_string(g.Thumbnail->Height) + " pixels) is too large to be saved.";
  if (2 * static_cast<uint64_t>(g.Info->size()) + 2 > kMaxSavedInfoEntry &&
      EncodeInfoUtf16Le(*g.Info).size() > kMaxSavedInfoEntry)
    return "The game's info text is too long to be saved.";
  if (g.State.Weighted < -1 || g.State.Weighted >= j.TotalTileNum)
    return "The game's weighted piece does not exist.";
  return CheckPieces(j, g.State.Pieces);
}

namespace {

// Everything before the state block: header, name, parameter block and the
// four entries. stateOffset is written as S (a full save patches it once
// it is known). False when the game cannot be written.
bool WritePrefix(OutputFile& out, const SaveGameView& g, int32_t stateOffset,
                 const std::function<void()>& step, std::string* error) {
  const JIG_P& j = *g.Jig;
  out.Write(kSolveMagic, kSolveMagicBytes);
  out.WriteI32(j.GameSeed);
  out.WriteI32(stateOffset);
  out.WriteI32(static_cast<int32_t>(g.Name->size() + 1));
  out.Write(g.Name->data(), g.Name->size());
  out.Write("", 1);
  uint8_t block[kJigParamsBytes];
  EncodeJigParams(j, block);
  out.Write(block, sizeof block);

  std::vector<uint8_t> thumb;
  std::string why;
  if (!DibSaveBmp(*g.Thumbnail, thumb, &why)) {
    if (error) *error = "The thumbnail cannot be stored: " + why;
    return false;
  }
  WriteEntry(out, kThumbBaseByte, false, thumb.data(), thumb.size());
  if (step) step();
  WriteBitmapEntry(out, kSolvePictureByte, *g.Picture);
  if (step) step();
  WriteBitmapEntry(out, kSolveMaskByte, *g.Mask);
  if (step) step();
  const std::vector<uint8_t> info = EncodeInfoUtf16Le(*g.Info);
  WriteEntry(out, kSolveInfoByte, false, info.data(), info.size());
  return true;
}

// Whether the saved game at path holds exactly the game in memory apart
// from its state block: its bytes before S are compared with the bytes a
// full save would write there, and its state block must have the length
// of this game's. The digest of those bytes names the game in the journal.
struct SameGame {
  bool Same = false;
  int32_t Seed = 0;
  uint64_t StateOffset = 0;
  GameDigest Digest{};
};

SameGame CompareWithFile(const std::string& path, const SaveGameView& g) {
  SameGame r;
  FileSource in;
  uint8_t head[kSolveMagicBytes + 12];
  if (!in.Open(path, nullptr) || !in.Read(head, sizeof head) ||
      std::memcmp(head, kSolveMagic, kSolveMagicBytes) != 0)
    return r;
  const int32_t s = GetI32(head + kSolveMagicBytes + 4);
  const uint64_t stateBytes = SolveStateBytes(g.Jig->TotalTileNum);
  // The old block may lack its trailer; the new one always has it.
  if (s < 0 || in.Size() < static_cast<uint64_t>(s) + stateBytes - kTrailerBytes ||
      in.Size() > static_cast<uint64_t>(s) + stateBytes)
    return r;
  // The reader sets SideNum, SideInd and ThumbEnd[1] of the game it reads
  // to this file's own values: a game resumed from the file is still its
  // game when its parameter block differs from the file's in these alone,
  // and the file's block is then left as it is.
  const int32_t nameLen = GetI32(head + kSolveMagicBytes + 8);
  uint64_t jigAt = 0;
  bool resumed = false;
  if (nameLen >= 1 && nameLen <= static_cast<int32_t>(kMaxJigNameBytes) + 1) {
    jigAt = kSolveMagicBytes + 12 + static_cast<uint64_t>(nameLen);
    uint8_t block[kJigParamsBytes + 4];
    if (in.Seek(jigAt) && in.Read(block, sizeof block)) {
      JIG_P asRead = DecodeJigParams(block);
      asRead.SideNum = 1;
      asRead.SideInd = 0;
      asRead.ThumbEnd[1] = static_cast<int32_t>(jigAt + kJigParamsBytes + 4 + GetU32(block + kJigParamsBytes));
      resumed = asRead == *g.Jig;
    }
  }
  const uint64_t jigEnd = jigAt + kJigParamsBytes;
  auto same = [&](const uint8_t* disk, const uint8_t* bytes, size_t n, uint64_t at) {
    if (!resumed || at >= jigEnd || at + n <= jigAt) return std::memcmp(disk, bytes, n) == 0;
    const size_t from = static_cast<size_t>(std::max(at, jigAt) - at);
    const size_t to = static_cast<size_t>(std::min(at + n, jigEnd) - at);
    return std::memcmp(disk, bytes, from) == 0 && std::memcmp(disk + to, bytes + to, n - to) == 0;
  };
  DigestBuilder digest;
  std::vector<uint8_t> disk;
  OutputFile compare;
  compare.CreateSink(path, [&](const uint8_t* bytes, size_t n, uint64_t at) {
    if (at + n > static_cast<uint64_t>(s)) return false;  // the game would be longer
    disk.resize(n);
    if (!in.Seek(at) || !in.Read(disk.data(), n) || !same(disk.data(), bytes, n, at)) return false;
    digest.Add(disk.data(), n);
    return true;
  });
  if (!WritePrefix(compare, g, s, nullptr, nullptr)) return r;
  const uint64_t end = compare.Pos();
  if (!compare.Finish(nullptr) || end != static_cast<uint64_t>(s)) return r;
  r.Same = true;
  r.Seed = GetI32(head + kSolveMagicBytes);
  r.StateOffset = end;
  r.Digest = digest.Finish();
  return r;
}

}  // namespace

bool WriteSavedGame(OutputFile& out, const SaveGameView& g, const std::function<void()>& step,
                    std::string* error) {
  const std::string bad = CheckSaveGame(g);
  if (!bad.empty()) {
    if (error) *error = bad;
    return false;
  }
  constexpr uint64_t stateAt = kSolveMagicBytes + 4;
  if (!WritePrefix(out, g, 0, step, error)) return false;  // S filled in below
  const uint64_t s = out.Pos();
  if (s > static_cast<uint64_t>(INT32_MAX)) {
    if (error) *error = "The saved game would be larger than 2 GB.";
    return false;
  }
  out.PatchI32(stateAt, static_cast<int32_t>(s));
  if (!WriteSolveState(out, g.State, error)) return false;
  if (step) step();
  if (out.failed()) {
    if (error) *error = out.failure();
    return false;
  }
  return true;
}

UpdateResult UpdateSolve(const std::string& path, const SaveGameView& game, std::string* error) {
  if (!CheckSaveGame(game).empty()) return UpdateResult::NotSameGame;
  // A rewrite interrupted earlier is finished first: the file is compared
  // as it was last saved.
  if (RecoverStateJournal(path, error) == JournalRecovery::Failed) return UpdateResult::Failed;
  // Seeds are the player's to type, so the same seed may come with another
  // level, turn rule, shape style, border or picture: only a file whose
  // every byte before the state block is what this game would write there
  // gets its state block rewritten; anything else is written whole.
  const SameGame same = CompareWithFile(path, game);
  if (!same.Same) return UpdateResult::NotSameGame;
  // Written over the old block in place, through the journal: an
  // interruption never leaves a torn piece table behind.
  if (!RewriteStateThroughJournal(path, same.Seed, same.StateOffset, same.Digest,
                                  EncodeSolveState(game.State), error))
    return UpdateResult::Failed;
  return UpdateResult::Updated;
}

void RemoveSaveLeftovers(const std::string& path) {
  for (const std::string& leftover : {path + ".svt", StateJournalPath(path) + ".new"}) {
    struct stat st {};
    if (::lstat(leftover.c_str(), &st) == 0 && S_ISREG(st.st_mode)) fcall::Unlink(leftover.c_str());
  }
}

SaveOutcome SaveSolve(const std::string& path, bool autosave, const SaveGameView& game,
                      SaveContext& ctx) {
  SaveOutcome outcome;
  NullProgress noPanel;
  Progress& panel = ctx.Panel ? *ctx.Panel : noPanel;
  GameFlags noFlags;
  GameFlags& flags = ctx.Flags ? *ctx.Flags : noFlags;
  const BusyScope busy(flags);  // a save inside a command leaves it running
  panel.Begin(Caption(ctx, autosave ? "Prog_AutoSaveSolve" : "Prog_SaveSolve"), 1);

  auto finish = [&](bool saved) {
    panel.End();
    if (saved) {
      flags.bAutoDirty = 0;
      if (!autosave) flags.bDirty = 0;
    }
    outcome.Saved = saved;
    return outcome;
  };

  const std::string bad = CheckSaveGame(game);
  if (!bad.empty()) {
    Report(ctx, outcome, bad);
    return finish(false);
  }

  if (ctx.SaveTemp != path + ".svt") RemoveSaveLeftovers(path);
  std::string error;
  const UpdateResult quick = UpdateSolve(path, game, &error);
  if (quick == UpdateResult::Updated) {
    outcome.StateOnly = true;
    return finish(true);
  }
  if (quick == UpdateResult::Failed) Report(ctx, outcome, error);  // then write it whole

  SafeFileWriter writer(ctx.SaveTemp, path);
  if (!writer.Begin(&error)) {
    Report(ctx, outcome, error);
    return finish(false);
  }
  panel.Begin(Caption(ctx, "Prog_SaveSolve"), 4);
  if (!WriteSavedGame(writer.out(), game, [&] { panel.Step(); }, &error) ||
      !writer.Commit(&error)) {
    writer.Discard();
    Report(ctx, outcome, error);
    return finish(false);
  }
  DropStateJournal(path);  // it belonged to the file just replaced
  outcome.Error.clear();

  // A save by the player brings the autosave file up to date as well, so
  // that it never holds an older state of the same game.
  if (!autosave && !ctx.AutoSave.empty() && !EqualsIgnoreAsciiCase(path, ctx.AutoSave)) {
    std::string autoError;
    const UpdateResult r = UpdateSolve(ctx.AutoSave, game, &autoError);
    if (r == UpdateResult::Updated) {
      outcome.AutosaveRefreshed = true;
    } else if (CopyFileSafely(path, ctx.AutoSave, ctx.SaveTemp, &autoError)) {
      DropStateJournal(ctx.AutoSave);
      outcome.AutosaveRefreshed = outcome.AutosaveReplaced = true;
    } else {
      Report(ctx, outcome, autoError);  // the player's own file is saved all the same
    }
  }
  return finish(true);
}

}  // namespace varlo
