#include "netinfo/network.h"

#include <span>

#include "core/device_classes.h"
#include "core/devices.h"
#include "core/host.h"
#include "core/info_gather.h"
#include "netinfo/hardware_address_text.h"
#include "platform/ascii_case.h"
#include "platform/tregistry.h"

namespace tolvaren {
namespace {

constexpr std::uint16_t kWinsockVersion11 = 0x0101;
constexpr char kWinsockUnavailable[] = "Winsock cannot be initialized.";

constexpr char kNetworkCardsKey[] = "\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr char kWin2000NetworkKey[] = "\\SYSTEM\\CurrentControlSet\\Control\\Network";

// One successful Winsock 1.1 start, released when the scope ends.
class WinsockSession {
 public:
  explicit WinsockSession(platform::Winsock& winsock)
      : winsock_(winsock), startup_(winsock.StartUp(kWinsockVersion11)) {}
  ~WinsockSession() {
    if (startup_) winsock_.CleanUp();
  }
  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;

  const std::optional<platform::WinsockStartup>& Startup() const { return startup_; }

 private:
  platform::Winsock& winsock_;
  std::optional<platform::WinsockStartup> startup_;
};

// The class key of the classification has no leading "\"; every path here is
// taken from the root.
std::string FromRoot(const std::string& path) { return !path.empty() && path[0] == '\\' ? path : "\\" + path; }

void AddOnce(StringList& list, const std::string& text) {
  if (list.IndexOf(text) < 0) list.Add(text);
}

// Adds the value of every subkey of key to the list, once per text.
void AddSubkeyValues(platform::Registry& registry, const std::string& key, const StringList& subkeys,
                     const std::string& valueName, StringList& list, bool readOnly) {
  for (const std::string& name : subkeys.Items()) {
    TRegistry reg(registry);
    const std::string path = key + "\\" + name;
    if (!(readOnly ? reg.OpenKeyReadOnly(path) : reg.OpenKey(path, false))) continue;
    if (reg.ValueExists(valueName)) AddOnce(list, reg.ReadString(valueName));
  }
}

}  // namespace

void TWinsock::GetInfo() {
  const WinsockSession session(host_.platform.winsock);
  const auto& startup = session.Startup();
  if (!startup) {
    status_ = kWinsockUnavailable;
    return;
  }
  description_ = startup->description;
  status_ = startup->systemStatus;
  majorVersion_ = static_cast<std::uint16_t>(startup->highVersion & 0xFF);
  minorVersion_ = static_cast<std::uint16_t>(startup->highVersion >> 8);
}

TNetwork::TNetwork(Host& host)
    : host_(host), winsock_(std::make_unique<TWinsock>(host)), tcpip_(std::make_unique<TTCPIP>(host)) {
  TDevices devices(host_);
  InfoGather(host_.platform.console, "TDevices.GetInfo", kSubStepMode, [&] { devices.GetInfo(); });
  std::int32_t position = -1;
  for (int i = 0; i < devices.DeviceCount(); ++i) {
    TDevice device;
    devices.GetDevice(i, device);
    if (device.DeviceClass != kNetClass) continue;
    adapters_.Add(!device.FriendlyName.empty() ? device.FriendlyName : device.Description);
    ++position;
    if (!device.Location.empty() && cardAdapterIndex_ == -1) cardAdapterIndex_ = position;
  }
}

TNetwork::~TNetwork() = default;

void TNetwork::GetInfo() {
  platform::Console& console = host_.platform.console;
  InfoGather(console, "TWinsock.GetInfo", kSubStepMode, [&] { winsock_->GetInfo(); });
  InfoGather(console, "TTCPIP.GetInfo", kSubStepMode, [&] { tcpip_->GetInfo(); });

  const OsKind kind = host_.os.kind;
  if (kind == osNT4 || (kind == os2000 && (adapters_.Count() == 0 || cardAdapterIndex_ == -1))) {
    ReadNetworkCards();
  }

  if (cardAdapterIndex_ >= 0 && cardAdapterIndex_ < adapters_.Count()) {
    cardAdapterName_ = adapters_[cardAdapterIndex_];
  } else if (adapters_.Count() > 0) {
    cardAdapterName_ = adapters_[0];
  } else {
    cardAdapterName_ = kNotDetected;
  }

  ipAddresses_.Clear();
  for (std::string& address : GetLocalIPs()) ipAddresses_.Add(std::move(address));

  const bool win2000 = kind == os2000;
  const std::string classKey = win2000 ? kWin2000NetworkKey : host_.os.classKey;
  const std::string valueName = win2000 ? "Description" : "DriverDesc";
  GetClassDevices(classKey, "NetTrans", valueName, protocols_);
  GetClassDevices(classKey, "NetService", valueName, services_);
  GetClassDevices(classKey, "NetClient", valueName, clients_);

  ReadMacAddresses();
}

void TNetwork::ReadNetworkCards() {
  platform::Registry& registry = host_.platform.registry;
  StringList cards;
  {
    TRegistry reg(registry);
    if (!reg.OpenKeyReadOnly(kNetworkCardsKey)) return;
    reg.GetKeyNames(cards);
  }
  for (const std::string& card : cards.Items()) {
    TRegistry reg(registry);
    if (!reg.OpenKeyReadOnly(std::string(kNetworkCardsKey) + "\\" + card)) continue;
    adapters_.Add(reg.ReadString("Description"));
    if (cardAdapterIndex_ == -1) cardAdapterIndex_ = adapters_.Count() - 1;
  }
}

void TNetwork::ReadMacAddresses() {
  macAddresses_.Clear();
  const std::vector<std::uint8_t> lanas = GetLanaEnum();
  const std::size_t count = lanas.empty() ? 0 : lanas[0];
  // The count byte is the platform's: numbers past the buffer are not there.
  for (std::size_t i = 1; i <= count && i < lanas.size(); ++i) {
    if (ResetLana(lanas[i]) != 0) continue;
    AddOnce(macAddresses_, GetMACAddress(lanas[i]));
  }
}

std::vector<std::string> TNetwork::GetLocalIPs() {
  platform::Winsock& winsock = host_.platform.winsock;
  const WinsockSession session(winsock);
  if (!session.Startup()) return {};
  const auto name = winsock.HostName();
  if (!name) return {};
  const auto addresses = winsock.LookUpHost(*name);
  if (!addresses) return {};
  std::vector<std::string> texts;
  texts.reserve(addresses->size());
  for (const platform::Ipv4Bytes& address : *addresses) texts.push_back(winsock.DottedText(address));
  return texts;
}

std::vector<std::uint8_t> TNetwork::GetLanaEnum() {
  std::vector<std::uint8_t> buffer(platform::kLanaEnumSize, 0);
  platform::NetbiosControlBlock block;
  block.command = platform::kNcbEnumerate;
  block.buffer = buffer.data();
  block.length = platform::kLanaEnumSize;
  if (host_.platform.netbios.Submit(block) != 0) buffer[0] = 0;
  return buffer;
}

std::uint8_t TNetwork::ResetLana(std::uint8_t lana) {
  platform::NetbiosControlBlock block;
  block.command = platform::kNcbReset;
  block.lanaNumber = lana;
  return host_.platform.netbios.Submit(block);
}

std::string TNetwork::GetMACAddress(std::uint8_t lana) {
  // Room for the status and the names that follow it.
  std::vector<std::uint8_t> status(platform::adapter_status::kSizeWithNames, 0);
  platform::NetbiosControlBlock block;
  block.command = platform::kNcbAdapterStatus;
  block.buffer = status.data();
  block.length = platform::adapter_status::kSizeWithNames;
  block.callName.fill(' ');
  block.callName[0] = '*';
  block.lanaNumber = lana;
  if (host_.platform.netbios.Submit(block) != 0) return kUnknownMac;
  return HardwareAddressText(std::span(status).first(platform::adapter_status::kAddressSize));
}

void TNetwork::GetClassDevices(const std::string& classKey, const std::string& componentClass,
                               const std::string& valueName, StringList& list) {
  list.Clear();
  platform::Registry& registry = host_.platform.registry;
  const std::string key = FromRoot(classKey);
  StringList names;

  if (!host_.os.isNT) {
    // The 95 family keeps one key per class name.
    const std::string classPath = key + "\\" + componentClass;
    {
      TRegistry reg(registry);
      if (!reg.OpenKey(classPath, false)) return;
      reg.GetKeyNames(names);
    }
    AddSubkeyValues(registry, classPath, names, valueName, list, false);
    return;
  }

  {
    TRegistry reg(registry);
    if (!reg.OpenKeyReadOnly(key)) return;
    reg.GetKeyNames(names);
  }
  // NT keeps the classes under GUIDs; the first whose "Class" names the
  // component class holds the components.
  for (const std::string& guid : names.Items()) {
    const std::string classPath = key + "\\" + guid;
    StringList components;
    {
      TRegistry reg(registry);
      if (!reg.OpenKeyReadOnly(classPath)) continue;
      if (!reg.ValueExists("Class") || !EqualIgnoringAsciiCase(reg.ReadString("Class"), componentClass)) continue;
      reg.GetKeyNames(components);
    }
    AddSubkeyValues(registry, classPath, components, valueName, list, true);
    return;
  }
}

}  // namespace tolvaren
