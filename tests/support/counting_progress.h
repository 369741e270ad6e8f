// A progress display that counts what the work announced and did.
#pragma once

#include <cstdint>
#include <string>

#include "platform/progress.h"

namespace varlo::testing {

class CountingProgress final : public Progress {
 public:
  void Begin(const std::string&, int32_t n) override {
    ++begins;
    announced = n;
  }
  void Step() override { ++steps; }
  void End() override { ++ends; }

  int32_t begins = 0;
  int32_t ends = 0;
  int32_t steps = 0;
  int32_t announced = 0;
};

}  // namespace varlo::testing
