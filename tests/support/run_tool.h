// Runs the built varlo-tool as a player or a script would.
#pragma once

#include <string>

namespace varlo::testing {

// build/bin/varlo-tool of this build tree.
std::string ToolPath();
// Runs "varlo-tool <args>" through the shell; out receives what it printed
// on stdout and stderr. Returns its exit code, or -1 when it did not exit.
int RunTool(const std::string& args, std::string& out);

}  // namespace varlo::testing
