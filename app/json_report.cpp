#include "app/json_report.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/json_text.h"
#include "app/value_warnings.h"
#include "app/version.h"
#include "core/host.h"
#include "core/info_gather.h"
#include "hwinfo/machine.h"
#include "netinfo/network.h"
#include "platform/ascii_case.h"
#include "platform/exception.h"
#include "templates/macro_expander.h"

namespace tolvaren {
namespace {

constexpr std::size_t kNetBiosNameBytes = 15;

// Raised only when a key is removed or changes its meaning or type; new keys
// and new warning kinds or problem codes keep the version.
constexpr int kReportSchemaVersion = 1;

// Takes what the information objects print, so that standard output carries
// the JSON object alone.
class LineCollector final : public platform::Console {
 public:
  explicit LineCollector(std::string_view lineEnd) : lineEnd_(lineEnd) {}
  void Write(std::string_view bytes) override { text_ += bytes; }
  void Flush() override {}
  int ReadChar() override { return -1; }
  bool InputIsInteractive() override { return false; }
  std::optional<std::string> FinishOutput() override { return std::nullopt; }
  void WriteErrorLine(std::string_view text) override { WriteLine(text); }
  std::string_view LineEnd() const override { return lineEnd_; }

  // Each line once, in the order they first came.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text_.size()) {
      std::size_t end = text_.find(lineEnd_, start);
      if (end == std::string::npos) end = text_.size();
      std::string line = text_.substr(start, end - start);
      if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(std::move(line));
      start = end + lineEnd_.size();
    }
    return lines;
  }

 private:
  std::string lineEnd_;
  std::string text_;
};

// The NetBIOS name Windows derives from a DNS host name: its first 15 bytes,
// letters in upper case.
std::string NetBiosNameOf(const std::string& name) { return AsciiUpperCase(name.substr(0, kNetBiosNameBytes)); }

// Builds one JSON object, keys in the order they are added.
class JsonObject {
 public:
  JsonObject& Text(std::string_view key, std::string_view value) { return Raw(key, JsonString(value)); }
  JsonObject& Texts(std::string_view key, const std::vector<std::string>& values) {
    std::string list = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) list += ',';
      list += JsonString(values[i]);
    }
    list += ']';
    return Raw(key, list);
  }
  JsonObject& Raw(std::string_view key, std::string_view json) {
    if (!body_.empty()) body_ += ',';
    body_ += JsonString(key);
    body_ += ':';
    body_ += json;
    return *this;
  }
  std::string Json() const {
    std::string json = "{";
    json += body_;
    json += '}';
    return json;
  }

 private:
  std::string body_;
};

std::vector<std::string> Items(const StringList& list, bool skipEmpty = false) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) {
    if (!skipEmpty || !list[i].empty()) items.push_back(list[i]);
  }
  return items;
}

std::string Identification(const std::string& manufacturer, const std::string& model, const std::string& serial) {
  return JsonObject().Text("manufacturer", manufacturer).Text("model", model).Text("serial", serial).Json();
}

std::string ProblemsJson(const std::vector<platform::NameProblem>& problems) {
  std::string list = "[";
  for (std::size_t i = 0; i < problems.size(); ++i) {
    if (i > 0) list += ',';
    list += JsonObject().Text("code", problems[i].code).Text("message", problems[i].message).Json();
  }
  list += ']';
  return list;
}

std::string WarningsJson(const std::vector<ValueWarning>& warnings) {
  std::string list = "[";
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    const ValueWarning& w = warnings[i];
    if (i > 0) list += ',';
    list += JsonObject()
                .Text("kind", w.kind)
                .Text("macro", w.macro)
                .Text("field", w.field)
                .Text("text", w.text)
                .Text("message", w.message)
                .Json();
  }
  list += ']';
  return list;
}

}  // namespace

int RunJsonReport(Host& host, const std::string& nameTemplate) {
  platform::Platform& real = host.platform;
  LineCollector collector(real.console.LineEnd());
  platform::Platform quiet{collector,     real.system,  real.clock,    real.names,     real.environment,
                           real.firmware, real.locale,  real.files,    real.processes, real.registry,
                           real.winsock,  real.netbios, real.ipHelper, real.sockets};
  Host quietHost(quiet, host.os);

  // What /s shows, gathered as /s gathers it.
  JsonObject report;
  report.Text("version", TOLVAREN_VERSION).Raw("schema_version", std::to_string(kReportSchemaVersion));
  {
    auto machine = std::make_unique<TMachine>(quietHost);
    auto network = std::make_unique<TNetwork>(quietHost);
    InfoGather(
        collector, "TMachine.GetInfo", emSilent, [&](int n) { machine->GetInfo(n); }, 1);
    InfoGather(collector, "TNetwork.GetInfo", emSilent, [&] { network->GetInfo(); });
    const TSMBIOS& s = machine->SMBIOS();
    const std::vector<std::string> macs = Items(network->MACAddresses());
    const std::vector<std::string> ips = Items(network->IPAddresses());
    report.Raw("system", Identification(s.SystemManufacturer(), s.SystemModel(), s.SystemSerial()))
        .Raw("board", Identification(s.MainBoardManufacturer(), s.MainBoardModel(), s.MainBoardSerial()))
        .Raw("chassis", Identification(s.ChassisManufacturer(), s.ChassisModel(), s.ChassisSerial()))
        .Text("uuid", s.SystemUUID())
        .Raw("network", JsonObject()
                            .Text("mac", macs.empty() ? "" : macs[0])
                            .Text("ip", ips.empty() ? "" : ips[0])
                            .Texts("mac_addresses", macs)
                            .Texts("ip_addresses", ips)
                            .Text("netbios_name", real.system.NetBiosName())
                            .Text("dns_host_name", network->TCPIP().HostName())
                            // The list holds one empty entry when no server is set.
                            .Texts("dns_servers", Items(network->TCPIP().DNSServers(), true))
                            .Json());
  }
  report.Text("current_name", real.system.NetBiosName()).Text("static_name", real.names.StaticName());

  std::vector<ValueWarning> warnings;
  std::optional<std::string> error;
  if (!nameTemplate.empty()) {
    MacroValues used;
    std::string name;
    try {
      name = MacroExpander(quietHost, nameTemplate, ReverseLookupRule::kOnlyForReverseName, used);
    } catch (const Exception& e) {
      error = std::string(e.ClassName()) + ": " + e.Message();
    } catch (const std::exception& e) {
      error = std::string("Exception: ") + e.what();
    }
    warnings = TemplateValueWarnings(nameTemplate, used);
    const std::string netbios = NetBiosNameOf(name);
    if (netbios.size() < name.size()) {
      warnings.push_back({"netbios_truncated", "", "netbios_name", netbios,
                          "the name is " + std::to_string(name.size()) +
                              " bytes long; Windows keeps only its first 15 as the NetBIOS name"});
    }
    report.Text("template", nameTemplate)
        .Text("name", name)
        .Text("netbios_name", netbios)
        .Raw("problems", ProblemsJson(real.names.NameProblems(name)));
  }
  report.Raw("warnings", WarningsJson(warnings)).Texts("messages", collector.Lines());
  if (error) report.Text("error", *error);
  real.console.WriteLine(report.Json());
  return error ? kExitFailure : kExitSuccess;
}

int RunJsonErrorReport(Host& host, const std::string& error) {
  platform::Platform& real = host.platform;
  JsonObject report;
  report.Text("version", TOLVAREN_VERSION)
      .Raw("schema_version", std::to_string(kReportSchemaVersion))
      .Text("current_name", real.system.NetBiosName())
      .Text("static_name", real.names.StaticName())
      .Text("error", error);
  real.console.WriteLine(report.Json());
  return kExitFailure;
}

}  // namespace tolvaren
