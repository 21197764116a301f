#include "app/value_warnings.h"

#include <algorithm>
#include <optional>

#include "hwinfo/placeholder_values.h"

namespace tolvaren {
namespace {

struct UsedValue {
  std::string field;
  std::string what;  // the value's name in a sentence
  std::string text;
  bool identification;  // a serial number or UUID, where placeholders live
};

UsedValue Serial(const char* field, const char* what, const std::string& text) { return {field, what, text, true}; }

// A network macro expands to nothing unless the machine has both a MAC and an
// IP address; which one is missing is the field to name.
std::optional<UsedValue> MissingAddress(const ExpansionRecord& r) {
  if (r.firstIp.empty()) return UsedValue{"network.ip", "the first IP address", "", false};
  if (r.firstMac.empty()) return UsedValue{"network.mac", "the first MAC address", "", false};
  return std::nullopt;
}

std::optional<UsedValue> NetworkValue(const ExpansionRecord& r, char letter) {
  if (!r.networkRan) return std::nullopt;
  if (auto missing = MissingAddress(r)) return missing;
  if (letter == 'd') return UsedValue{"network.dns_name", "the reverse DNS name", r.dnsName.value_or(""), false};
  if (letter == 'm' || letter == 'U') return UsedValue{"network.mac", "the first MAC address", r.firstMac, false};
  return UsedValue{"network.ip", "the first IP address", r.firstIp, false};
}

bool IsFillerUuid(const std::string& uuid) {
  return uuid.empty() || uuid == std::string(32, 'F') || uuid == std::string(32, '0');
}

// The value one macro stood for, when its group ran.
std::optional<UsedValue> ValueOf(const ExpansionRecord& r, char letter) {
  static constexpr std::string_view kNetworkLetters = "ijklIJKLmUd";
  if (kNetworkLetters.find(letter) != std::string_view::npos) return NetworkValue(r, letter);
  if (!r.serials) return std::nullopt;
  const SmbiosSerials& s = *r.serials;
  switch (letter) {
    case 's':
      return Serial("system.serial", "the system serial number", s.system);
    case 'c':
      return Serial("chassis.serial", "the chassis serial number", s.chassis);
    case 'b':
      return Serial("board.serial", "the main-board serial number", s.mainBoard);
    case 'a':
      if (!s.system.empty() || (s.chassis.empty() && s.mainBoard.empty())) {
        return Serial("system.serial", "the system serial number", s.system);
      }
      if (!s.chassis.empty()) return Serial("chassis.serial", "the chassis serial number", s.chassis);
      return Serial("board.serial", "the main-board serial number", s.mainBoard);
    case 'u':
      return Serial("uuid", "the system UUID", s.uuid);
    case 'G':
      // A filler UUID hands over to the MAC address.
      if (IsFillerUuid(s.uuid)) return NetworkValue(r, 'U');
      return Serial("uuid", "the system UUID", s.uuid);
    default:
      return std::nullopt;
  }
}

}  // namespace

std::vector<ValueWarning> TemplateValueWarnings(std::string_view cleanedTemplate, const ExpansionRecord& record) {
  static constexpr std::string_view kLetters = "cbsuaGijklIJKLdmU";
  std::vector<ValueWarning> warnings;
  std::string seen;
  for (std::size_t i = 0; i + 1 < cleanedTemplate.size(); ++i) {
    const char letter = cleanedTemplate[i + 1];
    if (cleanedTemplate[i] != '?' || kLetters.find(letter) == std::string_view::npos) continue;
    if (seen.find(letter) != std::string::npos) continue;
    seen += letter;
    const auto value = ValueOf(record, letter);
    if (!value) continue;
    const std::string macro = {'?', letter};
    if (value->text.empty()) {
      warnings.push_back({"empty", macro, value->field, "",
                          macro + " took " + value->what + ", which is empty, so it adds nothing to the name"});
    } else if (value->identification && IsPlaceholderValue(value->text)) {
      warnings.push_back({"placeholder", macro, value->field, value->text,
                          macro + " took " + value->what + " \"" + value->text +
                              "\", a text makers leave in fields they did not fill: machines of this model get "
                              "the same name"});
    }
  }
  return warnings;
}

}  // namespace tolvaren
