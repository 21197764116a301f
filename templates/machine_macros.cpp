#include "templates/machine_macros.h"

namespace tolvaren {
namespace {

struct FieldName {
  std::string_view key;
  std::string_view what;
};

FieldName NameOf(MacroField field) {
  switch (field) {
    case MacroField::kChassisSerial:
      return {"chassis.serial", "the chassis serial number"};
    case MacroField::kBoardSerial:
      return {"board.serial", "the main-board serial number"};
    case MacroField::kSystemSerial:
      return {"system.serial", "the system serial number"};
    case MacroField::kUuid:
      return {"uuid", "the system UUID"};
    case MacroField::kIp:
      return {"network.ip", "the first IP address"};
    case MacroField::kDnsName:
      return {"network.dns_name", "the reverse DNS name"};
    case MacroField::kMac:
    case MacroField::kChosen:
      break;
  }
  return {"network.mac", "the first MAC address"};
}

std::optional<TakenValue> NetworkValueTaken(const MacroValues& values, MacroField field) {
  if (!values.network) return std::nullopt;
  const NetworkValues& n = *values.network;
  if (n.firstIp.empty())
    field = MacroField::kIp;
  else if (n.firstMac.empty())
    field = MacroField::kMac;
  const FieldName name = NameOf(field);
  std::string text;
  if (!n.firstIp.empty() && !n.firstMac.empty()) {
    text = field == MacroField::kIp ? n.firstIp : field == MacroField::kMac ? n.firstMac : n.dnsName.value_or("");
  }
  return TakenValue{name.key, name.what, std::move(text), false};
}

}  // namespace

const MachineMacro* FindMachineMacro(char letter) {
  for (const MachineMacro& macro : kMachineMacros) {
    if (macro.letter == letter) return &macro;
  }
  return nullptr;
}

bool IsPlaceholderUuid(std::string_view uuid) {
  return uuid.empty() || uuid == std::string(32, 'F') || uuid == std::string(32, '0');
}

char StandsFor(const SmbiosSerials& serials, char letter) {
  if (letter == 'G') return IsPlaceholderUuid(serials.uuid) ? 'U' : 'u';
  if (letter != 'a') return letter;
  if (!serials.system.empty()) return 's';
  if (!serials.chassis.empty()) return 'c';
  if (!serials.mainBoard.empty()) return 'b';
  return 's';
}

const std::string& SerialOf(const SmbiosSerials& serials, MacroField field) {
  switch (field) {
    case MacroField::kChassisSerial:
      return serials.chassis;
    case MacroField::kBoardSerial:
      return serials.mainBoard;
    case MacroField::kUuid:
      return serials.uuid;
    default:
      return serials.system;
  }
}

std::optional<TakenValue> ValueTaken(const MacroValues& values, char letter) {
  const MachineMacro* macro = FindMachineMacro(letter);
  if (macro == nullptr) return std::nullopt;
  if (macro->group == MacroGroup::kNetwork) return NetworkValueTaken(values, macro->field);
  if (!values.serials) return std::nullopt;
  if (macro->field == MacroField::kChosen) return ValueTaken(values, StandsFor(*values.serials, letter));
  const FieldName name = NameOf(macro->field);
  return TakenValue{name.key, name.what, SerialOf(*values.serials, macro->field), macro->identifies};
}

}  // namespace tolvaren
