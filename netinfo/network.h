#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/exception_mode.h"
#include "netinfo/tcpip.h"
#include "platform/string_list.h"

namespace tolvaren {

struct Host;

// What the Winsock 1.1 library says about itself.
class TWinsock {
 public:
  explicit TWinsock(Host& host) : host_(host) {}
  virtual ~TWinsock() = default;

  void GetInfo();

  const std::string& Description() const { return description_; }
  const std::string& Status() const { return status_; }
  std::uint16_t MajorVersion() const { return majorVersion_; }
  std::uint16_t MinorVersion() const { return minorVersion_; }

 private:
  Host& host_;
  std::string description_;
  std::string status_;
  std::uint16_t majorVersion_ = 0;
  std::uint16_t minorVersion_ = 0;
};

// The machine's network identity: its IPv4 addresses (Winsock), the MAC
// addresses of its NetBIOS adapters, the adapter and network component names
// of the registry, and the TCP/IP parameters.
class TNetwork {
 public:
  static constexpr char kUnknownMac[] = "??:??:??:??:??:??";
  static constexpr char kNotDetected[] = "<not detected>";

  // Lists the network-class devices as the first adapters.
  explicit TNetwork(Host& host);
  virtual ~TNetwork();
  TNetwork(const TNetwork&) = delete;
  TNetwork& operator=(const TNetwork&) = delete;

  void GetInfo();

  virtual void Report(StringList& lines) const;

  const StringList& Adapters() const { return adapters_; }
  const TWinsock& WinSock() const { return *winsock_; }
  const StringList& IPAddresses() const { return ipAddresses_; }
  const StringList& MACAddresses() const { return macAddresses_; }
  const StringList& Clients() const { return clients_; }
  const StringList& Services() const { return services_; }
  const StringList& Protocols() const { return protocols_; }
  std::int32_t CardAdapterIndex() const { return cardAdapterIndex_; }
  TExceptionMode ExceptionMode() const { return kSubStepMode; }
  const std::string& CardAdapterName() const { return cardAdapterName_; }
  const TTCPIP& TCPIP() const { return *tcpip_; }

 private:
  // The host's addresses as dotted text, in the resolver's order. Each is
  // one item of IPAddresses as it stands: a dotted quad holds nothing that
  // the comma-list rules would split or unquote.
  std::vector<std::string> GetLocalIPs();

  // A count byte followed by the LANA numbers; the count is 0 when the
  // enumeration fails.
  std::vector<std::uint8_t> GetLanaEnum();
  std::uint8_t ResetLana(std::uint8_t lana);
  // The adapter address of the LANA as "00:0C:29:AB:0D:EF", or kUnknownMac.
  std::string GetMACAddress(std::uint8_t lana);

  // Fills the list with the names (value valueName) of the network
  // components of one class (componentClass) below the class key.
  void GetClassDevices(const std::string& classKey, const std::string& componentClass, const std::string& valueName,
                       StringList& list);

  void ReadNetworkCards();
  void ReadMacAddresses();

  Host& host_;
  StringList adapters_;
  std::unique_ptr<TWinsock> winsock_;
  StringList ipAddresses_;
  StringList macAddresses_;
  StringList clients_;
  StringList services_;
  StringList protocols_;
  std::int32_t cardAdapterIndex_ = -1;
  std::string cardAdapterName_;
  std::unique_ptr<TTCPIP> tcpip_;
};

}  // namespace tolvaren
