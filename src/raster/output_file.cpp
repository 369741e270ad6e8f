// Buffered, checked file output and the temp-file-and-rename replacement.
#include "raster/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "raster/byte_io.h"
#include "raster/file_calls.h"

namespace varlo {

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}
}  // namespace

OutputFile::~OutputFile() { Abandon(); }

bool OutputFile::Create(const std::string& path, std::string* error) {
  Abandon();
  path_ = path;
  failed_ = false;
  failure_.clear();
  written_ = 0;
  fd_ = fcall::Open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    if (error) *error = "Cannot create \"" + path + "\": " + std::strerror(errno);
    return false;
  }
  buffer_.clear();
  buffer_.reserve(kBufferBytes);
  return true;
}

void OutputFile::Fail(const char* what) {
  if (!failed_) failure_ = std::string(what) + " \"" + path_ + "\": " + std::strerror(errno);
  failed_ = true;
}

bool OutputFile::CreateSink(const std::string& name, Sink sink) {
  Abandon();
  path_ = name;
  failed_ = false;
  failure_.clear();
  written_ = 0;
  sink_ = std::move(sink);
  buffer_.clear();
  buffer_.reserve(kBufferBytes);
  return true;
}

bool OutputFile::Flush() {
  if (!IsOpen()) return false;
  if (sink_) {
    if (!failed_ && !buffer_.empty() && !sink_(buffer_.data(), buffer_.size(), written_)) {
      failed_ = true;
      failure_ = "\"" + path_ + "\" differs";
    }
    if (!failed_) written_ += buffer_.size();
    buffer_.clear();
    return !failed_;
  }
  size_t done = 0;
  while (!failed_ && done < buffer_.size()) {
    const ssize_t n = fcall::Write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      Fail("Cannot write");
      break;
    }
    done += static_cast<size_t>(n);
  }
  written_ += done;
  buffer_.clear();
  return !failed_;
}

void OutputFile::Write(const void* data, size_t n) {
  if (!IsOpen() || failed_) return;
  const auto* p = static_cast<const uint8_t*>(data);
  while (n > 0) {
    const size_t room = kBufferBytes - buffer_.size();
    const size_t take = n < room ? n : room;
    buffer_.insert(buffer_.end(), p, p + take);
    p += take;
    n -= take;
    if (buffer_.size() == kBufferBytes && !Flush()) return;
  }
}

void OutputFile::WriteI32(int32_t v) {
  uint8_t b[4];
  PutI32(b, v);
  Write(b, 4);
}

void OutputFile::PatchI32(uint64_t offset, int32_t v) {
  if (!IsOpen() || failed_) return;
  uint8_t b[4];
  PutI32(b, v);
  if (sink_ && offset < written_) {  // what went to the sink stays as it went
    errno = EINVAL;
    Fail("Cannot patch");
  } else if (offset + 4 <= written_) {
    if (fcall::PWrite(fd_, b, 4, static_cast<off_t>(offset)) != 4) Fail("Cannot write");
  } else if (offset >= written_ && offset + 4 <= Pos()) {
    std::memcpy(buffer_.data() + (offset - written_), b, 4);
  } else {  // straddles the flushed part and the buffer
    if (!Flush()) return;
    if (fcall::PWrite(fd_, b, 4, static_cast<off_t>(offset)) != 4) Fail("Cannot write");
  }
}

bool OutputFile::Finish(std::string* error) {
  if (sink_) {
    const bool ok = Flush();
    sink_ = nullptr;
    if (!ok && error) *error = failure_;
    return ok;
  }
  bool ok = fd_ >= 0 && Flush();
  if (ok && fcall::Fsync(fd_) != 0) {
    Fail("Cannot flush");
    ok = false;
  }
  if (fd_ >= 0 && fcall::Close(fd_) != 0 && ok) {
    Fail("Cannot close");
    ok = false;
  }
  fd_ = -1;
  buffer_.clear();
  if (!ok && error) *error = failure_.empty() ? "Cannot write \"" + path_ + "\"" : failure_;
  return ok;
}

void OutputFile::Abandon() {
  if (fd_ >= 0) fcall::Close(fd_);
  fd_ = -1;
  sink_ = nullptr;
  buffer_.clear();
}

bool RenameDurably(const std::string& from, const std::string& to, std::string* error) {
  if (fcall::Rename(from.c_str(), to.c_str()) != 0) {
    if (error) *error = "Cannot replace \"" + to + "\": " + std::strerror(errno);
    return false;
  }
  const int dir = ::open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fcall::Fsync(dir);  // best effort: the data itself is already on the disk
    fcall::Close(dir);
  }
  return true;
}

SafeFileWriter::~SafeFileWriter() {
  if (!done_) Discard();
}

bool SafeFileWriter::Commit(std::string* error) {
  done_ = true;
  if (!out_.Finish(error)) {
    fcall::Unlink(temp_.c_str());
    return false;
  }
  if (!RenameDurably(temp_, target_, error)) {
    fcall::Unlink(temp_.c_str());
    return false;
  }
  return true;
}

void SafeFileWriter::Discard() {
  done_ = true;
  const bool wasOpen = out_.IsOpen();
  out_.Abandon();
  if (wasOpen) fcall::Unlink(temp_.c_str());
}

}  // namespace varlo
