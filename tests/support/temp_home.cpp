#include "support/temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace varlo::testing {

namespace {
std::string MakeTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/varlo-test-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  return pattern + "/";
}
}  // namespace

TempHome::TempHome() : root_(MakeTempFolder()) {
  const std::pair<const char*, std::string> vars[] = {
      {"HOME", root_ + "home"},
      {"XDG_CONFIG_HOME", root_ + "home/.config"},
      {"XDG_DATA_HOME", root_ + "home/.local/share"},
      {"TMPDIR", root_ + "tmp"},
  };
  for (const auto& [name, value] : vars) {
    const char* old = std::getenv(name);
    saved_.push_back({name, {old != nullptr, old ? old : ""}});
    fs::create_directories(value);
    setenv(name, value.c_str(), 1);
  }
}

TempHome::~TempHome() {
  for (const auto& [name, old] : saved_) {
    if (old.first)
      setenv(name.c_str(), old.second.c_str(), 1);
    else
      unsetenv(name.c_str());
  }
  std::error_code ec;
  fs::remove_all(root_, ec);
}

TempDir::TempDir() : root_(MakeTempFolder()) {}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::path p(path);
  if (p.has_parent_path()) fs::create_directories(p.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string FixturePath(const std::string& name) { return std::string(VARLO_FIXTURE_DIR) + "/" + name; }

}  // namespace varlo::testing
