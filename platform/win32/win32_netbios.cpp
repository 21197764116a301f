#include <windows.h>

#include <nb30.h>

#include <algorithm>

#include "platform/win32/win32_network.h"

namespace tolvaren::platform::win32_backend {

#ifndef _WIN64
static_assert(sizeof(NCB) == 64, "the 32-bit NCB is 64 bytes");
#endif
static_assert(sizeof(NetbiosControlBlock::callName) == NCBNAMSZ);

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
