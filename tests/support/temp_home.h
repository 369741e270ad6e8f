// A throw-away home folder: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and TMPDIR
// point into a fresh temporary folder for the lifetime of the object, and
// the previous values come back afterwards.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace varlo::testing {

class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  // The folder, with a trailing slash.
  const std::string& path() const { return root_; }

 private:
  std::string root_;
  std::vector<std::pair<std::string, std::pair<bool, std::string>>> saved_;
};

// A fresh empty folder that is removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return root_; }  // with a trailing slash

 private:
  std::string root_;
};

// Writes bytes to a file, creating parent folders.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
std::string FixturePath(const std::string& name);

}  // namespace varlo::testing
