#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_view.h"

namespace tolvaren::dns {

// Label bytes of a dotted name, without the terminating zero byte. Pieces are
// cut at each "."; a trailing "." adds nothing, an empty piece elsewhere gives
// a zero length byte. Lengths are not limited (a length is taken modulo 256).
std::string EncodeName(std::string_view dotted);

// The labels of a dotted name in reverse order, followed by "in-addr" and
// "arpa", without the terminating zero byte.
std::string EncodeReverseName(std::string_view dotted);

// The name at offset as dotted text, following compression pointers; offset
// moves past the bytes of the name that stand at offset. A name longer than
// 255 bytes in label form raises "Invalid Packet Size" with kNameTooLong, a
// length byte from 0x40 to 0xBF (a reserved label type) the same with
// kReservedLabelType.
// When labels is given it receives the labels one by one (a label may hold a
// "." of its own, which the dotted text hides).
std::string ReadName(const ByteView& packet, std::size_t& offset, std::vector<std::string>* labels = nullptr);

// One character-string at offset (a length byte and as many of its bytes as
// the packet holds); offset moves past it. Empty, without moving, when offset
// is the packet's last byte or past it.
std::string ReadCharString(const ByteView& packet, std::size_t& offset);

}  // namespace tolvaren::dns
