#include "dns/udp_base.h"

#include <memory>

namespace tolvaren::dns {
namespace {
constexpr int kDatagramProtocol = 0;
}  // namespace

UdpBase::~UdpBase() { socket_.reset(); }

void UdpBase::SetActive(bool active) {
  if (active == Active()) return;
  if (active) {
    OpenSocket();
  } else {
    socket_.reset();
  }
}

void UdpBase::OpenSocket() {
  if (!socket_) socket_ = std::make_unique<SocketHandle>(Stack());
  socket_->OpenSocket(kDatagramProtocol);
  socketFailed_ = false;
  ApplyBroadcast();
}

void UdpBase::ApplyBroadcast() {
  Stack().FailOnSocketError(Stack().Api().SetBroadcast(socket_->Handle, kBroadcastEnabled));
}

std::string UdpBase::ReceivePacket(int timeoutMs) {
  if (timeoutMs == kUseReceiveTimeout) timeoutMs = receiveTimeout_;
  if (!socket_) socket_ = std::make_unique<SocketHandle>(Stack());  // not open: the wait raises
  if (!socket_->WaitReadable(timeoutMs)) {
    socket_->PeerIP.clear();
    socket_->PeerPort = 0;
    return {};
  }
  // Not zero-filled: only the bytes the datagram wrote are taken.
  const std::size_t size = static_cast<std::size_t>(BufferSize > 0 ? BufferSize : 0);
  const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
  const int result = socket_->ReadDatagram(buffer.get(), size);
  if (result == -1 && Stack().Api().LastError() != platform::kMessageTooLong) socketFailed_ = true;
  const int count = Stack().FailOnSocketError(result);
  return std::string(reinterpret_cast<const char*>(buffer.get()), static_cast<std::size_t>(count));
}

std::string UdpClient::SendPacket(std::string_view bytes) {
  std::string address = Stack().ResolveAddress(host_);
  if (!Active() || socketFailed_) OpenSocket();
  Socket()->Connect(address, port_);
  Socket()->WriteDatagram(address, port_, bytes);
  return address;
}

}  // namespace tolvaren::dns
