#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/linux/linux_services.h"

namespace tolvaren::platform::linux_backend {
namespace {

// Sets LC_ALL for one test and restores it afterwards.
class ScopedLcAll {
 public:
  explicit ScopedLcAll(const char* value) {
    if (const char* old = std::getenv("LC_ALL")) saved_ = old;
    setenv("LC_ALL", value, 1);
  }
  ~ScopedLcAll() {
    if (saved_) {
      setenv("LC_ALL", saved_->c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }

 private:
  std::optional<std::string> saved_;
};

TEST(LinuxLocale, DecimalSeparatorFromTheEnvironmentOrAFullStop) {
  LinuxLocale locale;
  {
    ScopedLcAll c("C");
    EXPECT_EQ(locale.DecimalSeparator(), ".");
  }
  {
    // A locale the system does not have.
    ScopedLcAll missing("xx_XX.NOT-A-CHARSET");
    EXPECT_EQ(locale.DecimalSeparator(), ".");
  }
}

}  // namespace
}  // namespace tolvaren::platform::linux_backend
