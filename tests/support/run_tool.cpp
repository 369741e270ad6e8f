#include "support/run_tool.h"

#include <sys/wait.h>

#include <cstdio>

namespace varlo::testing {

std::string ToolPath() { return std::string(VARLO_BINARY_DIR) + "/bin/varlo-tool"; }

int RunTool(const std::string& args, std::string& out) {
  out.clear();
  FILE* p = popen((ToolPath() + " " + args + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace varlo::testing
