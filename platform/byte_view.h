#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace tolvaren {

// The one gate through which bytes from outside are read: firmware images,
// DNS packets and the records a system call filled. Every read is checked
// against the length and answers "nothing" unless all of its bytes lie
// inside; a caller for whom missing bytes count as zero says so with
// value_or(0). Offsets are relative to the view's first byte.
class ByteView {
 public:
  ByteView() = default;
  explicit ByteView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  explicit ByteView(std::string_view bytes)
      : bytes_(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) {}
  // The view does not own its bytes; a temporary string would vanish under it.
  explicit ByteView(std::string&&) = delete;

  std::size_t Size() const { return bytes_.size(); }
  const std::uint8_t* Data() const { return bytes_.data(); }

  // True when `count` bytes from `offset` lie inside.
  bool Holds(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  std::optional<std::uint8_t> U8(std::size_t offset) const {
    if (!Holds(offset, 1)) return std::nullopt;
    return bytes_[offset];
  }
  std::optional<std::uint16_t> U16Le(std::size_t offset) const { return Little<std::uint16_t>(offset); }
  std::optional<std::uint32_t> U32Le(std::size_t offset) const { return Little<std::uint32_t>(offset); }
  std::optional<std::uint64_t> U64Le(std::size_t offset) const { return Little<std::uint64_t>(offset); }
  std::optional<std::uint16_t> U16Be(std::size_t offset) const { return Big<std::uint16_t>(offset); }
  std::optional<std::uint32_t> U32Be(std::size_t offset) const { return Big<std::uint32_t>(offset); }

  // A value stored in the machine's own byte order and layout, such as a
  // pointer inside a record the operating system wrote.
  template <typename T>
  std::optional<T> Native(std::size_t offset) const {
    static_assert(std::is_trivially_copyable_v<T>);
    if (!Holds(offset, sizeof(T))) return std::nullopt;
    T value;
    std::memcpy(&value, bytes_.data() + offset, sizeof(T));
    return value;
  }

  // Exactly `count` bytes from `offset` as text.
  std::optional<std::string> Text(std::size_t offset, std::size_t count) const {
    if (!Holds(offset, count)) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(bytes_.data() + offset), count);
  }

  // The whole view as characters.
  std::string_view Chars() const {
    return bytes_.empty() ? std::string_view{}
                          : std::string_view(reinterpret_cast<const char*>(bytes_.data()), bytes_.size());
  }

  // A fixed-size character field of `capacity` bytes: its bytes up to the
  // first zero, cut where the view ends.
  std::string ZeroTerminatedText(std::size_t offset, std::size_t capacity) const {
    const ByteView field = Sub(offset, capacity);
    if (field.Size() == 0) return {};
    const auto* begin = reinterpret_cast<const char*>(field.Data());
    const auto* zero = static_cast<const char*>(std::memchr(begin, 0, field.Size()));
    return std::string(begin, zero ? zero : begin + field.Size());
  }

  // True when the bytes at `offset` are `text`.
  bool Matches(std::size_t offset, std::string_view text) const {
    return Holds(offset, text.size()) && std::memcmp(bytes_.data() + offset, text.data(), text.size()) == 0;
  }

  // The bytes from `offset` on, at most `count` of them; empty past the end.
  ByteView Sub(std::size_t offset, std::size_t count = SIZE_MAX) const {
    if (offset >= bytes_.size()) return {};
    return ByteView(bytes_.subspan(offset, std::min(count, bytes_.size() - offset)));
  }

  std::span<const std::uint8_t> Span() const { return bytes_; }

 private:
  template <typename T>
  std::optional<T> Little(std::size_t offset) const {
    if (!Holds(offset, sizeof(T))) return std::nullopt;
    T value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) value = static_cast<T>(value << 8 | bytes_[offset + i]);
    return value;
  }
  template <typename T>
  std::optional<T> Big(std::size_t offset) const {
    if (!Holds(offset, sizeof(T))) return std::nullopt;
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>(value << 8 | bytes_[offset + i]);
    return value;
  }

  std::span<const std::uint8_t> bytes_;
};

}  // namespace tolvaren
