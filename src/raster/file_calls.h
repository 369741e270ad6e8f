// The system calls through which the save paths change files (saved games,
// the state journal, the autosave copy, packs written by the tool), in one
// place, so that a test can stop them at any one call and check what an
// interruption there leaves on the disk.
//
// Each call behaves as the system call of the same name. Outside the tests
// nothing is ever stopped.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace varlo::fcall {

int Open(const char* path, int flags, mode_t mode = 0);
ssize_t Write(int fd, const void* data, size_t n);
ssize_t PWrite(int fd, const void* data, size_t n, off_t offset);
ssize_t CopyFileRange(int fdIn, loff_t* inOff, int fdOut, loff_t* outOff, size_t n);
int Fsync(int fd);
int Rename(const char* from, const char* to);
int Unlink(const char* path);
int Close(int fd);

// ---- for tests only ----
// Counts the calls that change something on the disk (an open for writing,
// write, pwrite, copy_file_range, fsync, rename, unlink). With a stop set,
// call number stopAt (from 1) and every call after it fail with EIO as if
// the game had been killed there: a write stopped that way puts the first
// half of its bytes into the file, as a write torn by the stop would.
// stopAt 0 lets every call through; the count restarts at each setting.
void StopFileCallsAt(int64_t stopAt);
int64_t FileCallsMade();

}  // namespace varlo::fcall

namespace varlo {

// Opens a file the game did not make itself for reading, without waiting
// on it: a FIFO, a device or a folder is refused before anything is read
// (an open FIFO would hold the game until someone writes into it). Returns
// the descriptor, or -1 with a message naming the path in *error.
int OpenRegularFile(const std::string& path, std::string* error, uint64_t* size = nullptr);

// The whole of a regular file of at most maxBytes, opened as above; false
// with a message naming the path otherwise.
bool ReadRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& out,
                     std::string* error);
// Up to n bytes from the start of a regular file; 0 when it cannot be read.
size_t ReadRegularFileStart(const std::string& path, uint8_t* buf, size_t n);

}  // namespace varlo
