// Thin wrappers of the file calls of the save paths, with the test stop.
#include "raster/file_calls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>

namespace varlo::fcall {

namespace {

std::atomic<int64_t> gStopAt{0};
std::atomic<int64_t> gMade{0};

// True when this call is to fail; *half set when it is the call stopped
// itself (a write then puts half its bytes down first).
bool Stopped(bool* first = nullptr) {
  const int64_t n = ++gMade;
  const int64_t stop = gStopAt.load();
  if (stop <= 0 || n < stop) return false;
  if (first) *first = n == stop;
  errno = EIO;
  return true;
}

}  // namespace

void StopFileCallsAt(int64_t stopAt) {
  gMade = 0;
  gStopAt = stopAt;
}

int64_t FileCallsMade() { return gMade.load(); }

int Open(const char* path, int flags, mode_t mode) {
  const bool writes = (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
  if (writes && Stopped()) return -1;
  return ::open(path, flags, mode);
}

ssize_t Write(int fd, const void* data, size_t n) {
  bool first = false;
  if (Stopped(&first)) {
    if (first && n > 1) {
      [[maybe_unused]] const ssize_t torn = ::write(fd, data, n / 2);
      errno = EIO;
    }
    return -1;
  }
  return ::write(fd, data, n);
}

ssize_t PWrite(int fd, const void* data, size_t n, off_t offset) {
  bool first = false;
  if (Stopped(&first)) {
    if (first && n > 1) {
      [[maybe_unused]] const ssize_t torn = ::pwrite(fd, data, n / 2, offset);
      errno = EIO;
    }
    return -1;
  }
  return ::pwrite(fd, data, n, offset);
}

ssize_t CopyFileRange(int fdIn, loff_t* inOff, int fdOut, loff_t* outOff, size_t n) {
  if (Stopped()) return -1;
  return ::copy_file_range(fdIn, inOff, fdOut, outOff, n, 0);
}

int Fsync(int fd) {
  if (Stopped()) return -1;
  return ::fsync(fd);
}

int Rename(const char* from, const char* to) {
  if (Stopped()) return -1;
  return ::rename(from, to);
}

int Unlink(const char* path) {
  if (Stopped()) return -1;
  return ::unlink(path);
}

int Close(int fd) { return ::close(fd); }

}  // namespace varlo::fcall

namespace varlo {

int OpenRegularFile(const std::string& path, std::string* error, uint64_t* size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (error) *error = "Cannot open \"" + path + "\": " + std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    if (error) *error = "Cannot read \"" + path + "\": " + std::strerror(errno);
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    if (error)
      *error = "\"" + path + "\" is not a regular file (" +
               (S_ISFIFO(st.st_mode)  ? "a pipe"
                : S_ISDIR(st.st_mode) ? "a folder"
                : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
                : S_ISSOCK(st.st_mode) ? "a socket"
                                       : "not a file") +
               ") and is not read.";
    ::close(fd);
    return -1;
  }
  // Reads of a regular file never wait; the flag is dropped all the same so
  // that the descriptor behaves as an ordinary one.
  const int fl = ::fcntl(fd, F_GETFL);
  if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  if (size) *size = static_cast<uint64_t>(st.st_size);
  return fd;
}

namespace {

bool ReadAt(int fd, uint8_t* data, size_t n, size_t* got) {
  size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pread(fd, data + done, n - done, static_cast<off_t>(done));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return false;
    if (r == 0) break;
    done += static_cast<size_t>(r);
  }
  *got = done;
  return true;
}

}  // namespace

bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& out,
                     std::string* error) {
  uint64_t size = 0;
  const int fd = OpenRegularFile(path, error, &size);
  if (fd < 0) return false;
  if (size > maxBytes) {
    ::close(fd);
    if (error)
      *error = "\"" + path + "\" is too large (" + std::to_string(size) + " bytes; at most " +
               std::to_string(maxBytes) + ").";
    return false;
  }
  std::vector<uint8_t> bytes;
  size_t got = 0;
  bool ok = true;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  ok = ok && ReadAt(fd, bytes.data(), bytes.size(), &got) && got == bytes.size();
  ::close(fd);
  if (!ok) {
    if (error) *error = "Cannot read \"" + path + "\".";
    return false;
  }
  out = std::move(bytes);
  return true;
}

size_t ReadRegularFileStart(const std::string& path, uint8_t* buf, size_t n) {
  const int fd = OpenRegularFile(path, nullptr);
  if (fd < 0) return 0;
  size_t got = 0;
  if (!ReadAt(fd, buf, n, &got)) got = 0;
  ::close(fd);
  return got;
}

}  // namespace varlo
