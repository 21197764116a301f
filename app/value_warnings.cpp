#include "app/value_warnings.h"

#include "hwinfo/placeholder_values.h"

namespace tolvaren {

std::vector<ValueWarning> TemplateValueWarnings(std::string_view cleanedTemplate, const MacroValues& values) {
  std::vector<ValueWarning> warnings;
  std::string seen;
  for (std::size_t i = 0; i + 1 < cleanedTemplate.size(); ++i) {
    const char letter = cleanedTemplate[i + 1];
    if (cleanedTemplate[i] != '?' || seen.find(letter) != std::string::npos) continue;
    const auto value = ValueTaken(values, letter);
    if (!value) continue;
    seen += letter;
    const std::string macro = {'?', letter};
    const std::string what(value->what);
    if (value->text.empty()) {
      warnings.push_back({"empty", macro, std::string(value->field), "",
                          macro + " took " + what + ", which is empty, so it adds nothing to the name"});
    } else if (value->identifies && IsPlaceholderValue(value->text)) {
      warnings.push_back({"placeholder", macro, std::string(value->field), value->text,
                          macro + " took " + what + " \"" + value->text +
                              "\", a text makers leave in fields they did not fill: machines of this model get "
                              "the same name"});
    }
  }
  return warnings;
}

}  // namespace tolvaren
