#include "core/os_classification.h"
#include "core/host.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_machine.h"

namespace tolvaren {
namespace {

using platform::VersionRecord;

struct Case {
  VersionRecord version;
  OsKind kind;
};

TEST(OsClassification, TableOfVersions) {
  const Case cases[] = {
      {{3, 51, 1057, 2}, osNT3}, {{4, 0, 1381, 2}, osNT4},   {{5, 0, 2195, 2}, os2000},  {{5, 1, 2600, 2}, osXP},
      {{5, 2, 3790, 2}, os2000}, {{6, 0, 6000, 2}, osOther}, {{6, 1, 7601, 2}, osOther}, {{10, 0, 19045, 2}, osOther},
      {{4, 0, 950, 1}, os95},    {{4, 10, 1998, 1}, os98},   {{4, 90, 3000, 1}, osME},   {{4, 20, 0, 1}, osOther},
      {{5, 1, 0, 1}, osOther},   {{0, 0, 0, 0}, osOther},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyOs(c.version).kind, c.kind)
        << c.version.majorVersion << "." << c.version.minorVersion << " platform " << c.version.platformId;
  }
}

TEST(OsClassification, NtFlagAndClassKeyFollowTheKind) {
  for (const VersionRecord v :
       {platform::fake::kWindowsNT4, platform::fake::kWindows2000, platform::fake::kWindowsXp}) {
    const OsClassification os = ClassifyOs(v);
    EXPECT_TRUE(os.isNT);
    EXPECT_EQ(os.classKey, "SYSTEM\\CurrentControlSet\\Control\\Class");
  }
  // Later NT versions and a failed query are not marked as NT.
  for (const VersionRecord v : {platform::fake::kWindows7, platform::fake::kWindows98, VersionRecord{}}) {
    const OsClassification os = ClassifyOs(v);
    EXPECT_FALSE(os.isNT);
    EXPECT_EQ(os.classKey, "SYSTEM\\CurrentControlSet\\Services\\Class");
  }
}

TEST(OsClassification, HostClassifiesOnceFromTheVersionRecord) {
  platform::fake::FakeMachine machine;
  machine.system.version = platform::fake::kWindowsXp;
  const Host host = Host::StartUp(machine.platform());
  EXPECT_EQ(host.os.kind, osXP);
  EXPECT_TRUE(host.os.isNT);
}

}  // namespace
}  // namespace tolvaren
