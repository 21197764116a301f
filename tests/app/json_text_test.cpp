#include "app/json_text.h"

#include <gtest/gtest.h>

namespace tolvaren {
namespace {

TEST(JsonText, EveryByteSequenceGivesValidJson) {
  const std::pair<std::string, std::string> cases[] = {
      {"", R"("")"},
      {"plain-01", R"("plain-01")"},
      {"a\"b\\c", R"("a\"b\\c")"},
      {"\n\r\t", R"("\n\r\t")"},
      {std::string("\0\x01\x1b\x7f", 4), R"("\u0000\u0001\u001b\u007f")"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},  // UTF-8 kept
      {"caf\xE9", R"("caf\u00e9")"},                                                                   // Latin-1 byte
      {"\xC3", R"("\u00c3")"},                                // cut short at the end
      {"\xC3(", R"("\u00c3(")"},                              // cut short by ASCII
      {"\x80\xBF", R"("\u0080\u00bf")"},                      // stray continuation bytes
      {"\xC0\xAF", R"("\u00c0\u00af")"},                      // overlong "/"
      {"\xE0\x80\xAF", R"("\u00e0\u0080\u00af")"},            // overlong, three bytes
      {"\xED\xA0\x80", R"("\u00ed\u00a0\u0080")"},            // a surrogate
      {"\xF4\x90\x80\x80", R"("\u00f4\u0090\u0080\u0080")"},  // past U+10FFFF
      {"\xFF\xFE", R"("\u00ff\u00fe")"},
  };
  for (const auto& [bytes, json] : cases) EXPECT_EQ(JsonString(bytes), json) << json;
}

}  // namespace
}  // namespace tolvaren
