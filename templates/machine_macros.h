#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tolvaren {

// The two macro groups that read the machine, each run by the expander only
// when the text holds one of its macros.
enum class MacroGroup { kSmbios, kNetwork };

// The value of the machine a macro stands for. kChosen: the macro stands for
// another macro of the table, chosen by the values (StandsFor).
enum class MacroField { kChassisSerial, kBoardSerial, kSystemSerial, kUuid, kIp, kDnsName, kMac, kChosen };

// One macro that reads the machine.
struct MachineMacro {
  char letter;
  MacroGroup group;
  MacroField field;
  // A serial number or UUID: a maker's placeholder text in it gives every
  // machine of a model the same name.
  bool identifies;
};

// Every macro of the two groups; the expander's triggers, the warnings and
// the JSON report's field keys all come from here. A network group without
// addresses removes its macros in table order.
inline constexpr MachineMacro kMachineMacros[] = {
    {'c', MacroGroup::kSmbios, MacroField::kChassisSerial, true},
    {'b', MacroGroup::kSmbios, MacroField::kBoardSerial, true},
    {'s', MacroGroup::kSmbios, MacroField::kSystemSerial, true},
    {'u', MacroGroup::kSmbios, MacroField::kUuid, true},
    {'a', MacroGroup::kSmbios, MacroField::kChosen, true},  // ?s, ?c or ?b
    {'G', MacroGroup::kSmbios, MacroField::kChosen, true},  // ?u or ?U
    {'i', MacroGroup::kNetwork, MacroField::kIp, false},
    {'j', MacroGroup::kNetwork, MacroField::kIp, false},
    {'k', MacroGroup::kNetwork, MacroField::kIp, false},
    {'l', MacroGroup::kNetwork, MacroField::kIp, false},
    {'I', MacroGroup::kNetwork, MacroField::kIp, false},
    {'J', MacroGroup::kNetwork, MacroField::kIp, false},
    {'K', MacroGroup::kNetwork, MacroField::kIp, false},
    {'L', MacroGroup::kNetwork, MacroField::kIp, false},
    {'m', MacroGroup::kNetwork, MacroField::kMac, false},
    {'U', MacroGroup::kNetwork, MacroField::kMac, false},
    {'d', MacroGroup::kNetwork, MacroField::kDnsName, false},
};

namespace machine_macros_detail {

struct Letters {
  std::array<char, std::size(kMachineMacros)> letters{};
  std::size_t count = 0;
};

constexpr Letters LettersOf(MacroGroup group) {
  Letters result;
  for (const MachineMacro& macro : kMachineMacros) {
    if (macro.group == group) result.letters[result.count++] = macro.letter;
  }
  return result;
}

inline constexpr Letters kSmbios = LettersOf(MacroGroup::kSmbios);
inline constexpr Letters kNetwork = LettersOf(MacroGroup::kNetwork);

}  // namespace machine_macros_detail

// The letters of each group, in table order.
inline constexpr std::string_view kSmbiosMacroLetters(machine_macros_detail::kSmbios.letters.data(),
                                                      machine_macros_detail::kSmbios.count);
inline constexpr std::string_view kNetworkMacroLetters(machine_macros_detail::kNetwork.letters.data(),
                                                       machine_macros_detail::kNetwork.count);

// The row of a letter; nullptr for a macro that reads nothing of the machine.
const MachineMacro* FindMachineMacro(char letter);

// The identification strings the SMBIOS macros stand for.
struct SmbiosSerials {
  std::string system;
  std::string chassis;
  std::string mainBoard;
  std::string uuid;
};

// The network values the network macros stand for.
struct NetworkValues {
  std::string firstIp;                 // "" when there is none
  std::string firstMac;                // as the network object lists it; "" when there is none
  std::optional<std::string> dnsName;  // when the reverse lookup ran
};

// What the macro groups of one expansion read; a group that did not run
// leaves its part unset.
struct MacroValues {
  std::optional<SmbiosSerials> serials;
  std::optional<NetworkValues> network;
};

// UUIDs that firmware writes when it has none to give: empty, 32 "F" or 32
// "0", compared exactly. "?G" stands for "?U" then, else for "?u".
bool IsPlaceholderUuid(std::string_view uuid);

// The macro "?a" or "?G" stands for with these serials ("?a": the first
// non-empty of the system, chassis and main-board serials, "?s" when all are
// empty); any other letter stands for itself.
char StandsFor(const SmbiosSerials& serials, char letter);

// The serial number or UUID a field of the SMBIOS group names.
const std::string& SerialOf(const SmbiosSerials& serials, MacroField field);

// The value one macro took in an expansion, once its group ran.
struct TakenValue {
  std::string_view field;  // its dotted key in the JSON report: "system.serial", "network.ip", ...
  std::string_view what;   // the value's name in a sentence
  std::string text;
  bool identifies;
};

// The value a macro of the table took; nothing when its group did not run
// or the letter reads nothing of the machine. A network macro expands to
// nothing unless the machine has both a MAC and an IP address; which one is
// missing is then the field it names.
std::optional<TakenValue> ValueTaken(const MacroValues& values, char letter);

}  // namespace tolvaren
