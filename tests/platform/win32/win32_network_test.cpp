#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/ip_helper_records.h"
#include "platform/win32/win32_network.h"

namespace tolvaren::platform::win32_backend {
namespace {

namespace records = ip_helper_records;

TEST(Win32Network, WinsockStartsAndResolvesTheOwnName) {
  Win32Winsock winsock;
  const auto startup = winsock.StartUp(0x0101);
  ASSERT_TRUE(startup.has_value());
  EXPECT_FALSE(startup->description.empty());
  EXPECT_EQ(startup->systemStatus, "Running");
  EXPECT_NE(startup->highVersion, 0);
  const auto name = winsock.HostName();
  ASSERT_TRUE(name.has_value());
  ASSERT_FALSE(name->empty());
  const auto addresses = winsock.LookUpHost(*name);
  ASSERT_TRUE(addresses.has_value());
  EXPECT_FALSE(addresses->empty());
  EXPECT_FALSE(winsock.LookUpHost("no-such-host.invalid").has_value());
  EXPECT_EQ(winsock.DottedText({192, 168, 1, 10}), "192.168.1.10");
  winsock.CleanUp();
}

TEST(Win32Network, NetbiosEnumeratesResetsAndReadsStatus) {
  Win32Netbios netbios;
  std::vector<std::uint8_t> lanas(kLanaEnumSize);
  NetbiosControlBlock enumerate;
  enumerate.command = kNcbEnumerate;
  enumerate.buffer = lanas.data();
  // Wine's enumeration wants room for a whole LANA_ENUM and refuses one
  // byte less.
  enumerate.length = kLanaEnumSize - 1;
  EXPECT_EQ(netbios.Submit(enumerate), kNrcBufferLength);
  enumerate.length = kLanaEnumSize;
  ASSERT_EQ(netbios.Submit(enumerate), kNrcGood);
  ASSERT_LT(lanas[0], 255);
  if (lanas[0] == 0) GTEST_SKIP() << "no LAN adapter";
  NetbiosControlBlock reset;
  reset.command = kNcbReset;
  reset.lanaNumber = lanas[1];
  EXPECT_EQ(netbios.Submit(reset), kNrcGood);
  std::vector<std::uint8_t> status(adapter_status::kSizeWithNames);
  NetbiosControlBlock query;
  query.command = kNcbAdapterStatus;
  query.lanaNumber = lanas[1];
  query.buffer = status.data();
  query.length = adapter_status::kSizeWithNames;
  query.callName.fill(' ');
  query.callName[0] = '*';
  EXPECT_EQ(netbios.Submit(query), kNrcGood);
}

// The library's records, read with this build's layouts.
TEST(Win32Network, IpHelperFillsRecordsOfTheDeclaredLayout) {
  Win32IpHelper ipHelper;
  ASSERT_TRUE(ipHelper.Bound());

  std::uint32_t size = 0;
  ASSERT_EQ(ipHelper.GetNetworkParams(nullptr, size), IpHelper::kBufferOverflow);
  ASSERT_GE(size, records::network_params::kSize);
  std::vector<std::uint8_t> params(size);
  ASSERT_EQ(ipHelper.GetNetworkParams(params.data(), size), 0u);
  const char* host = reinterpret_cast<const char*>(params.data() + records::network_params::kHostName);
  EXPECT_GT(strnlen(host, records::kHostNameSize), 0u);
  std::uint32_t nodeType = 0;
  std::memcpy(&nodeType, params.data() + records::network_params::kNodeType, 4);
  EXPECT_EQ(nodeType & (nodeType - 1), 0u) << "one node-type bit";

  size = 0;
  const std::uint32_t code = ipHelper.GetAdaptersInfo(nullptr, size);
  if (code == IpHelper::kNoData) GTEST_SKIP() << "no adapter";
  ASSERT_EQ(code, IpHelper::kBufferOverflow);
  std::vector<std::uint8_t> adapters(size);
  ASSERT_EQ(ipHelper.GetAdaptersInfo(adapters.data(), size), 0u);
  std::uint32_t addressLength = 0;
  std::memcpy(&addressLength, adapters.data() + records::adapter::kAddressLength, 4);
  EXPECT_LE(addressLength, records::kHardwareAddressSize);
  const char* address = reinterpret_cast<const char*>(adapters.data() + records::adapter::kIpAddressList +
                                                      records::address_string::kAddress);
  EXPECT_NE(std::strchr(address, '.'), nullptr) << "a dotted address text: " << address;
}

}  // namespace
}  // namespace tolvaren::platform::win32_backend
