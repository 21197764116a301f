#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ip_helper_record_writer.h"
#include "platform/ipv4_address.h"
#include "platform/platform.h"

namespace tolvaren::platform::fake {

class FakeWinsock final : public Winsock {
 public:
  std::optional<WinsockStartup> StartUp(std::uint16_t version) override {
    requestedVersions.push_back(version);
    if (startup) ++openStarts;
    return startup;
  }
  void CleanUp() override { --openStarts; }
  std::optional<std::string> HostName() override { return hostName; }
  std::optional<std::vector<Ipv4Bytes>> LookUpHost(const std::string& name) override {
    const auto it = hosts.find(name);
    if (it == hosts.end()) return std::nullopt;
    return it->second;
  }
  std::string DottedText(const Ipv4Bytes& a) override { return FormatIpv4(a); }

  std::optional<WinsockStartup> startup = WinsockStartup{"Fake Winsock", "Running", 0x0202};  // nothing: refused
  std::optional<std::string> hostName = "fakepc";
  std::map<std::string, std::vector<Ipv4Bytes>> hosts;  // what each name resolves to
  std::vector<std::uint16_t> requestedVersions;
  int openStarts = 0;  // starts not yet cleaned up
};

// Plays NetBIOS LAN adapters: enumeration, reset and adapter status.
class FakeNetbios final : public Netbios {
 public:
  struct Lana {
    std::uint8_t number = 0;
    std::array<std::uint8_t, adapter_status::kAddressSize> address{};
    std::uint8_t resetCode = 0;
    std::uint8_t statusCode = 0;
  };

  std::uint8_t Submit(NetbiosControlBlock& block) override;

  std::vector<Lana> lanas;
  std::uint8_t enumerateCode = 0;
  std::vector<NetbiosControlBlock> submitted;  // copies, buffers not kept
};

// Plays the IP Helper library. Each call is answered by its function when one
// is set (for hostile record chains); otherwise the records of `adapters` and
// `params` are laid out as the real library does (no adapter, no params:
// kNoData).
class FakeIpHelper final : public IpHelper {
 public:
  using Call = std::function<std::uint32_t(std::uint8_t* buffer, std::uint32_t& size)>;

  bool Bound() const override { return bound; }
  std::uint32_t GetAdaptersInfo(std::uint8_t* buffer, std::uint32_t& size) override {
    adapterBufferSizes.push_back(size);
    return adaptersInfo ? adaptersInfo(buffer, size) : ip_helper_records::WriteAdapters(adapters, buffer, size);
  }
  std::uint32_t GetNetworkParams(std::uint8_t* buffer, std::uint32_t& size) override {
    paramsBufferSizes.push_back(size);
    if (networkParams) return networkParams(buffer, size);
    return params ? ip_helper_records::WriteNetworkParams(*params, buffer, size) : kNoData;
  }

  bool bound = true;
  Call adaptersInfo;
  Call networkParams;
  std::vector<ip_helper_records::AdapterRecord> adapters;
  std::optional<ip_helper_records::NetworkParamsRecord> params;
  std::vector<std::uint32_t> adapterBufferSizes;  // the size passed on each call
  std::vector<std::uint32_t> paramsBufferSizes;
};

}  // namespace tolvaren::platform::fake
