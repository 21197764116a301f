// Expands a template on a fake machine built from the input: the template,
// the system, board and chassis serial numbers, the NetBIOS name and the
// first label of the PTR answer are strings taken in turn; the UUID bytes
// follow; the IP address, the MAC address and which of them exist come from
// the input's end. Firmware and network values that hold macros are expanded
// again by later steps, so this is where a runaway expansion shows.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/host.h"
#include "platform/fake/fake_machine.h"
#include "templates/macro_expander.h"
#include "templates/replace_all.h"
#include "tests/hwinfo/smbios_table_builder.h"

namespace {

using tolvaren::testing::Bytes;

// String number `n` for a value, or 0 (no string) for an empty one, which
// would otherwise end the string set early.
std::uint8_t Listed(const std::string& value, std::vector<std::string>& strings) {
  if (value.empty()) return 0;
  strings.push_back(value);
  return static_cast<std::uint8_t>(strings.size());
}

// The table Windows' firmware-table call returns: System Information (with
// the UUID), Base Board, Chassis and End-of-Table.
Bytes RawSmbios(const std::string& system, const std::string& board, const std::string& chassis, const Bytes& uuid) {
  tolvaren::testing::TableBuilder table;
  std::vector<std::string> strings = {"Maker", "Model"};
  Bytes fields = {1, 2, 0, Listed(system, strings)};
  fields.insert(fields.end(), uuid.begin(), uuid.end());
  fields.resize(4 + 16 + 1, 0);
  table.Add(1, fields, strings);
  strings = {"Maker", "Board"};
  table.Add(2, {1, 2, 0, Listed(board, strings)}, strings);
  strings = {"Maker"};
  table.Add(3, {1, 3, 0, Listed(chassis, strings)}, strings);
  return tolvaren::testing::RawSmbiosBlob(2, 8, table.End().bytes());
}

// A reply to the query: its identifier and question, then one PTR answer
// whose name is the label followed by "example".
std::string PtrReply(const std::string& query, const std::string& label) {
  if (query.size() < 12) return {};
  std::string reply = query.substr(0, 2) + std::string("\x81\x80\x00\x01\x00\x01\x00\x00\x00\x00", 10);
  reply += query.substr(12);
  std::string name(1, static_cast<char>(label.size()));
  name += label + std::string(
                      "\x07"
                      "example\x00",
                      9);
  reply += std::string("\xC0\x0C\x00\x0C\x00\x01\x00\x00\x0E\x10", 10);
  reply += static_cast<char>(name.size() >> 8);
  reply += static_cast<char>(name.size() & 0xFF);
  return reply + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tolvaren;
  FuzzedDataProvider in(data, size);
  const std::string nameTemplate = in.ConsumeRandomLengthString(300);
  const std::string system = in.ConsumeRandomLengthString(300);
  const std::string board = in.ConsumeRandomLengthString(300);
  const std::string chassis = in.ConsumeRandomLengthString(300);
  const std::string netBiosName = in.ConsumeRandomLengthString(20);
  const std::string label = in.ConsumeRandomLengthString(63);
  const Bytes uuid = in.ConsumeBytes<std::uint8_t>(16);
  const std::uint8_t presence = in.ConsumeIntegral<std::uint8_t>();
  const std::uint32_t ip = in.ConsumeIntegral<std::uint32_t>();
  const std::uint64_t mac = in.ConsumeIntegral<std::uint64_t>();

  platform::fake::FakeMachine machine;
  machine.environment.variables["TOLVAREN_BIOS_IMAGE"] = "firmware.bin";
  machine.files.files["firmware.bin"] = RawSmbios(system, board, chassis, uuid);
  machine.system.netBiosName = netBiosName;
  if (presence & 1) {
    machine.winsock.hosts["fakepc"] = {{static_cast<std::uint8_t>(ip >> 24), static_cast<std::uint8_t>(ip >> 16),
                                        static_cast<std::uint8_t>(ip >> 8), static_cast<std::uint8_t>(ip)}};
  }
  if (presence & 2) {
    platform::fake::FakeNetbios::Lana lana;
    for (int i = 0; i < 6; ++i) lana.address[i] = static_cast<std::uint8_t>(mac >> (8 * i));
    machine.netbios.lanas = {lana};
  }
  platform::ip_helper_records::NetworkParamsRecord params;
  params.dnsServers = {"192.0.2.53"};
  machine.ipHelper.params = params;
  if (presence & 4) {
    machine.sockets.onSend = [&](const platform::fake::FakeSocketApi::Datagram& query) {
      machine.sockets.incoming.push_back({query.address, 53, PtrReply(query.bytes, label)});
    };
  }

  Host host(machine.platform(), ClassifyOs(platform::fake::kWindowsXp));
  try {
    const std::string name = MacroExpander(host, nameTemplate);
    if (name.size() > kMaxExpandedText) __builtin_trap();
  } catch (const EExpansionTooLong&) {
    // the bound was hit: the run ends with one error line
  }
  return 0;
}
