#pragma once

#include <string>
#include <string_view>

namespace tolvaren {

// Removes the characters a computer name may not hold (blank \ * + = | : ; "
// < > , and the pound sign 0xA3 of code page 1252) and turns "_" into "-".
// "?" survives, since it starts the macros.
std::string NameSanitizer(std::string_view text);

}  // namespace tolvaren
