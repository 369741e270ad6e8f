// varlo-tool: the command-line companion of the game, for players and
// developers: build packs, look inside packs and saved games, cut pictures
// and play games headlessly.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "command.h"

namespace varlo::tool {

std::map<std::string, Command>& Registry() {
  static std::map<std::string, Command> commands;
  return commands;
}

Registrar::Registrar(std::string name, std::string usage, CommandFn fn) {
  Registry()[name] = Command{name, std::move(usage), std::move(fn)};
}

std::optional<Args> Args::Parse(const std::vector<std::string>& argv,
                                const std::vector<std::string>& flags, std::string* error) {
  Args args;
  for (size_t i = 0; i < argv.size(); ++i) {
    const std::string& a = argv[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      std::string name = a.substr(2);
      std::string value;
      const size_t eq = name.find('=');
      const bool isFlag = std::find(flags.begin(), flags.end(), name) != flags.end();
      if (eq != std::string::npos) {
        value = name.substr(eq + 1);
        name = name.substr(0, eq);
      } else if (!isFlag) {
        if (i + 1 >= argv.size()) {
          if (error) *error = "option --" + name + " needs a value";
          return std::nullopt;
        }
        value = argv[++i];
      } else {
        value = "1";
      }
      args.values_[name] = value;
    } else {
      args.positional_.push_back(a);
    }
  }
  return args;
}

std::string Args::Get(const std::string& name, const std::string& fallback) const {
  auto it = values_.find(name);
  return it == values_.end() ? fallback : it->second;
}

bool Args::GetInt(const std::string& name, long long fallback, long long& out,
                  std::string* error) const {
  auto it = values_.find(name);
  if (it == values_.end()) {
    out = fallback;
    return true;
  }
  const std::string& s = it->second;
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (s.empty() || *end != '\0' || errno == ERANGE) {
    if (error) *error = "--" + name + " takes a whole number, not \"" + s + "\"";
    return false;
  }
  out = v;
  return true;
}

bool Args::GetSize(const std::string& name, int& w, int& h, std::string* error) const {
  auto it = values_.find(name);
  if (it == values_.end()) return true;
  int a = 0, b = 0;
  char x = 0, rest = 0;
  if (std::sscanf(it->second.c_str(), "%d%c%d%c", &a, &x, &b, &rest) != 3 || (x != 'x' && x != 'X') ||
      a <= 0 || b <= 0) {
    if (error) *error = "--" + name + " takes a size such as 1920x1080, not \"" + it->second + "\"";
    return false;
  }
  w = a;
  h = b;
  return true;
}

std::vector<std::string> Args::Names() const {
  std::vector<std::string> names;
  for (const auto& [k, v] : values_) names.push_back(k);
  return names;
}

int Fail(const std::string& command, const std::string& message) {
  std::cerr << "varlo-tool " << command << ": " << message << "\n";
  return 2;
}

std::string JsonString(const std::string& s) {
  std::ostringstream o;
  o << '"';
  for (unsigned char c : s) {
    switch (c) {
      case '"': o << "\\\""; break;
      case '\\': o << "\\\\"; break;
      case '\n': o << "\\n"; break;
      case '\r': o << "\\r"; break;
      case '\t': o << "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          o << buf;
        } else {
          o << c;
        }
    }
  }
  o << '"';
  return o.str();
}

}  // namespace varlo::tool

namespace {
void PrintHelp() {
  std::cout << "varlo-tool: the command-line companion of Varlo Jigsaw USA Edition\n\n"
               "usage: varlo-tool <command> [options]\n\ncommands:\n";
  for (const auto& [name, cmd] : varlo::tool::Registry()) std::cout << cmd.usage << "\n";
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h" ||
      std::string(argv[1]) == "help") {
    PrintHelp();
    return argc < 2 ? 2 : 0;
  }
  auto& reg = varlo::tool::Registry();
  auto it = reg.find(argv[1]);
  if (it == reg.end()) {
    std::cerr << "varlo-tool: unknown command \"" << argv[1] << "\" (see varlo-tool --help)\n";
    return 2;
  }
  std::vector<std::string> rest(argv + 2, argv + argc);
  try {
    return it->second.run(rest);
  } catch (const std::exception& e) {
    return varlo::tool::Fail(it->first, e.what());
  }
}
