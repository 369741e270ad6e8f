// varlo-bake NAME OUT.png: draws one of the game's pictures.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "baker.h"

namespace varlo::bake {

std::map<std::string, BakeFn>& Bakers() {
  static std::map<std::string, BakeFn> bakers;
  return bakers;
}

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path target(path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      if (error) *error = "cannot write " + temp;
      fs::remove(temp, ec);
      return false;
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    if (error) *error = "cannot rename " + temp + ": " + ec.message();
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace varlo::bake

int main(int argc, char** argv) {
  auto& bakers = varlo::bake::Bakers();
  if (argc != 3 || bakers.find(argv[1]) == bakers.end()) {
    std::cerr << "usage: varlo-bake NAME OUT.png\npictures:";
    for (const auto& [name, fn] : bakers) std::cerr << " " << name;
    std::cerr << "\n";
    return 2;
  }
  std::string error;
  if (!bakers[argv[1]](argv[2], &error)) {
    std::cerr << "varlo-bake " << argv[1] << ": " << error << "\n";
    return 1;
  }
  return 0;
}
