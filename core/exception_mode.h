#pragma once

#include <cstdint>

namespace tolvaren {

// What InfoGather does with a failure of a gathering step.
enum TExceptionMode : std::uint8_t {
  emRaise = 0,    // raise it again, with the step's label in front
  emMessage = 1,  // print it as one line and go on
  emSilent = 2,   // swallow it and go on
};

// The mode the information objects run their own sub-steps under: each
// failure is shown and the rest is still gathered.
inline constexpr TExceptionMode kSubStepMode = emMessage;

}  // namespace tolvaren
