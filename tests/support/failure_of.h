#pragma once

#include <gtest/gtest.h>

#include <exception>
#include <optional>
#include <string>

namespace tolvaren::testing {

// The message of the E that f raises, so a test states the expected failure
// in one comparison; any other outcome gives a text that names it.
template <typename E, typename F>
std::string FailureOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return std::string("other exception: ") + e.what();
  }
  return "no exception";
}

// The E that f raises, for tests that look at more than its message; records
// a test failure and gives nothing when f raises something else or nothing.
template <typename E, typename F>
std::optional<E> CaughtOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e;
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other exception: " << e.what();
    return std::nullopt;
  }
  ADD_FAILURE() << "no exception";
  return std::nullopt;
}

}  // namespace tolvaren::testing
