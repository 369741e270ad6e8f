// Memory and file inputs of the file readers.
#include "files/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "raster/byte_io.h"
#include "raster/file_calls.h"

namespace varlo {

bool ByteSource::ReadI32(int32_t& v) {
  uint8_t b[4];
  if (!Read(b, 4)) return false;
  v = GetI32(b);
  return true;
}

bool MemorySource::Seek(uint64_t pos) {
  if (pos > size_) return false;
  pos_ = static_cast<size_t>(pos);
  return true;
}

bool MemorySource::Read(void* dst, size_t n) {
  if (n > size_ - pos_) return false;
  if (n > 0) std::memcpy(dst, data_ + pos_, n);
  pos_ += n;
  return true;
}

FileSource::~FileSource() { Close(); }

bool FileSource::Open(const std::string& path, std::string* error) {
  Close();
  uint64_t size = 0;
  const int fd = OpenRegularFile(path, error, &size);
  if (fd < 0) return false;
  fd_ = fd;
  size_ = size;
  pos_ = 0;
  return true;
}

void FileSource::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = pos_ = 0;
}

bool FileSource::Seek(uint64_t pos) {
  if (fd_ < 0 || pos > size_) return false;
  pos_ = pos;
  return true;
}

bool FileSource::Read(void* dst, size_t n) {
  if (fd_ < 0 || n > size_ - pos_) return false;
  auto* out = static_cast<uint8_t*>(dst);
  size_t done = 0;
  while (done < n) {
    const ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(pos_ + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;  // error, or the file shrank under us
    done += static_cast<size_t>(got);
  }
  pos_ += n;
  return true;
}

}  // namespace varlo
