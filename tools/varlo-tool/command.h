// varlo-tool's commands. Each command lives in its own cmd_<name>.cpp and
// registers itself with VARLO_TOOL_COMMAND, so adding a command touches no
// other file.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varlo::tool {

// Parsed "--name value" / "--flag" options and plain arguments.
class Args {
 public:
  // flags: option names that take no value (without the leading dashes).
  static std::optional<Args> Parse(const std::vector<std::string>& argv,
                                   const std::vector<std::string>& flags, std::string* error);

  bool Has(const std::string& name) const { return values_.count(name) > 0; }
  std::string Get(const std::string& name, const std::string& fallback = "") const;
  // Integer option; false with a message when present but not a whole number.
  bool GetInt(const std::string& name, long long fallback, long long& out, std::string* error) const;
  // "WxH" option.
  bool GetSize(const std::string& name, int& w, int& h, std::string* error) const;
  const std::vector<std::string>& positional() const { return positional_; }
  // Names of every option given, to reject unknown ones.
  std::vector<std::string> Names() const;

 private:
  std::map<std::string, std::string> values_;
  std::vector<std::string> positional_;
};

using CommandFn = std::function<int(const std::vector<std::string>& argv)>;

struct Command {
  std::string name;
  std::string usage;  // one or more lines shown by --help
  CommandFn run;
};

std::map<std::string, Command>& Registry();

struct Registrar {
  Registrar(std::string name, std::string usage, CommandFn fn);
};

#define VARLO_TOOL_CONCAT2(a, b) a##b
#define VARLO_TOOL_CONCAT(a, b) VARLO_TOOL_CONCAT2(a, b)
#define VARLO_TOOL_COMMAND(name, usage, fn) \
  static ::varlo::tool::Registrar VARLO_TOOL_CONCAT(varlo_tool_reg_, __LINE__)(name, usage, fn)

// Prints "varlo-tool <command>: message" on stderr and returns the exit code 2.
int Fail(const std::string& command, const std::string& message);

// JSON text of a string, quoted and escaped.
std::string JsonString(const std::string& s);

}  // namespace varlo::tool
