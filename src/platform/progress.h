// Progress of long work (cutting, turning pictures, effects, saving).
//
// The engine announces how many steps a piece of work has and advances them;
// the game shows the progress panel and keeps the window painted, tests
// count the steps. NullProgress ignores everything.
#pragma once

#include <cstdint>
#include <string>

namespace varlo {

class Progress {
 public:
  virtual ~Progress() = default;
  // A new phase: caption text (already translated) and its number of steps.
  virtual void Begin(const std::string& caption, int32_t steps) = 0;
  virtual void Step() = 0;
  virtual void End() = 0;
};

class NullProgress final : public Progress {
 public:
  void Begin(const std::string&, int32_t) override {}
  void Step() override {}
  void End() override {}
};

}  // namespace varlo
