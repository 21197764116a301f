#include <windows.h>

#include <nb30.h>

#include <algorithm>
#include <cstddef>

#include "platform/win32/win32_network.h"

namespace tolvaren::platform::win32_backend {

#ifndef _WIN64
static_assert(sizeof(NCB) == 64, "the 32-bit NCB is 64 bytes");
#endif
static_assert(sizeof(NetbiosControlBlock::callName) == NCBNAMSZ);

// The commands, codes and answer layouts the tool uses must be the SDK's own.
static_assert(kNcbReset == NCBRESET && kNcbAdapterStatus == NCBASTAT && kNcbEnumerate == NCBENUM);
static_assert(kNrcGood == NRC_GOODRET && kNrcBufferLength == NRC_BUFLEN && kNrcIllegalCommand == NRC_ILLCMD);
static_assert(kNrcBadAddress == NRC_BADDR && kNrcBridge == NRC_BRIDGE);
static_assert(sizeof(LANA_ENUM) == kLanaEnumSize);
static_assert(sizeof(ADAPTER_STATUS) == adapter_status::kSize);
static_assert(sizeof(ADAPTER_STATUS::adapter_address) == adapter_status::kAddressSize);
static_assert(offsetof(ADAPTER_STATUS, adapter_address) == 0);
static_assert(offsetof(ADAPTER_STATUS, adapter_type) == adapter_status::kAdapterType);
static_assert(sizeof(NAME_BUFFER) == adapter_status::kNameBufferSize);

std::uint8_t Win32Netbios::Submit(NetbiosControlBlock& block) {
  NCB ncb;
  ZeroMemory(&ncb, sizeof ncb);
  ncb.ncb_command = block.command;
  ncb.ncb_lana_num = block.lanaNumber;
  ncb.ncb_buffer = block.buffer;
  ncb.ncb_length = block.length;
  std::copy(block.callName.begin(), block.callName.end(), ncb.ncb_callname);
  return ::Netbios(&ncb);
}

}  // namespace tolvaren::platform::win32_backend
