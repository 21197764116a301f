#include "templates/name_sanitizer.h"

#include <gtest/gtest.h>

namespace tolvaren {
namespace {

TEST(NameSanitizer, RemovesForbiddenCharactersAndTranslatesUnderscore) {
  EXPECT_EQ(NameSanitizer("my_pc box"), "my-pcbox");
  EXPECT_EQ(NameSanitizer("a*b+c=d|e:f;g<h>i,j"), "abcdefghij");
  EXPECT_EQ(NameSanitizer("back\\slash\"quote"), "backslashquote");
  EXPECT_EQ(NameSanitizer("pound\xA3sign"), "poundsign");
  EXPECT_EQ(NameSanitizer("***"), "");
  EXPECT_EQ(NameSanitizer(""), "");
}

TEST(NameSanitizer, KeepsEverythingElse) {
  EXPECT_EQ(NameSanitizer("what?"), "what?");
  EXPECT_EQ(NameSanitizer("a.b/c\td-e"), "a.b/c\td-e");
  EXPECT_EQ(NameSanitizer("caf\xE9\x01"), "caf\xE9\x01");
}

}  // namespace
}  // namespace tolvaren
