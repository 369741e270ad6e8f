#include "app/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace varlo {

namespace {

bool Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

// Pushes the file's data from the system's cache to the disk.
bool SyncFile(std::FILE* f) {
#if defined(_WIN32)
  return _commit(_fileno(f)) == 0;
#else
  return fsync(fileno(f)) == 0;
#endif
}

// Makes the rename itself durable; failures are harmless (the data is
// already on disk), so they are ignored.
void SyncFolder(const std::filesystem::path& folder) {
#if !defined(_WIN32)
  const std::string name = folder.empty() ? std::string(".") : folder.string();
  int fd = open(name.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
#else
  (void)folder;
#endif
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  const std::string temp = path + ".tmp~";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return Fail(error, "cannot create " + temp + ": " + std::strerror(errno));

  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = ok && std::fflush(f) == 0 && SyncFile(f);
  const int writeErrno = errno;
  ok = (std::fclose(f) == 0) && ok;
  std::error_code ec;
  if (!ok) {
    std::filesystem::remove(temp, ec);
    return Fail(error, "cannot write " + temp + ": " + std::strerror(writeErrno));
  }

  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return Fail(error, "cannot replace " + path + ": " + ec.message());
  }
  SyncFolder(std::filesystem::path(path).parent_path());
  return true;
}

}  // namespace varlo
