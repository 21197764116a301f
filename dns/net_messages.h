#pragma once

#include <string>

namespace tolvaren::dns {

// Every text the DNS client and its UDP layer put into an error, in one place.
// Those with "%d" take one number.
namespace text {

inline constexpr char kRCodeNoError[] = "RCode NO Error";
inline constexpr char kRCodeFormatError[] = "DNS Server Reports Query Format Error";
inline constexpr char kRCodeServerError[] = "DNS Server Reports Query Server Error";
inline constexpr char kRCodeNameError[] = "DNS Server Reports Query Name Error";
inline constexpr char kRCodeNotImplemented[] = "DNS Server Reports Query Not Implemented Error";
inline constexpr char kRCodeRefused[] = "DNS Server Reports Query Refused Error";
inline constexpr char kRCodeUnknown[] = "Server Returned Unknown Error";

inline constexpr char kInvalidQueryCount[] = "Invalid Query Count %d";
inline constexpr char kInvalidHeaderId[] = "Invalid Header Id %d";
inline constexpr char kPacketTooSmall[] = "Received Packet is too small. Less than 12 bytes %d";
inline constexpr char kInvalidPacketSize[] = "Invalid Packet Size %d";
inline constexpr char kNamePointerLoop[] = "Name Pointer Loop at %d";
inline constexpr char kTimedOut[] = "TimedOut";

inline constexpr char kSocketError[] = "Socket Error # %d\r\n%s";
inline constexpr char kCannotAllocateSocket[] = "Cannot allocate socket.";
inline constexpr char kConnClosedGracefully[] = "Connection Closed Gracefully.";
inline constexpr char kStackInitializationFailed[] = "Winsock Initialization Error.";
inline constexpr char kSetSizeExceeded[] = "Set Size Exceeded.";
inline constexpr char kPackageSizeTooBig[] = "Package Size Too Big.";
inline constexpr char kNotAllBytesSent[] = "Not all bytes sent.";

}  // namespace text

// The codes that "Received Packet is too small" and "Invalid Packet Size"
// carry, telling which test failed.
namespace code {
inline constexpr int kShorterThanHeader = 29;
inline constexpr int kShorterThanQuery = 30;
inline constexpr int kLengthByteAtEnd = 2;
inline constexpr int kLabelPastEnd = 3;
inline constexpr int kFixedFieldsPastEnd = 4;
inline constexpr int kNameTooLong = 5;
inline constexpr int kReservedLabelType = 6;
}  // namespace code

// A message text with its one number filled in.
std::string WithNumber(const char* format, long long number);

}  // namespace tolvaren::dns
