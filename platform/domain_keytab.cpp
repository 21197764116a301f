#include "platform/domain_keytab.h"

#include <bit>
#include <cstdint>

#include "platform/ascii_case.h"

namespace tolvaren::platform {
namespace {

constexpr std::uint16_t kVersion1 = 0x0501;
constexpr std::uint16_t kVersion2 = 0x0502;
constexpr std::size_t kNetBiosNameBytes = 15;

// Reads the fields of a keytab in order, each from the bytes of the read
// itself; a read past the end answers nothing and leaves the place as it was.
class KeytabCursor {
 public:
  KeytabCursor(ByteView bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

  std::size_t Left() const { return bytes_.Size() - at_; }
  std::size_t Place() const { return at_; }

  std::optional<std::uint8_t> U8() { return Advance(bytes_.U8(at_), 1); }
  std::optional<std::uint16_t> U16() { return Advance(bigEndian_ ? bytes_.U16Be(at_) : bytes_.U16Le(at_), 2); }
  std::optional<std::uint32_t> U32() { return Advance(bigEndian_ ? bytes_.U32Be(at_) : bytes_.U32Le(at_), 4); }
  // A 16-bit length and that many bytes.
  std::optional<std::string> CountedText() {
    const std::optional<std::uint16_t> length = U16();
    if (!length) return std::nullopt;
    std::optional<std::string> text = bytes_.Text(at_, *length);
    if (!text) {
      at_ -= 2;
      return std::nullopt;
    }
    at_ += *length;
    return text;
  }
  bool Skip(std::size_t count) {
    if (!bytes_.Holds(at_, count)) return false;
    at_ += count;
    return true;
  }

 private:
  template <typename T>
  std::optional<T> Advance(std::optional<T> value, std::size_t size) {
    if (value) at_ += size;
    return value;
  }

  ByteView bytes_;
  bool bigEndian_;
  std::size_t at_ = 0;
};

// The principal of one entry, checking that its key lies inside the entry too.
std::optional<KeytabPrincipal> ReadEntry(ByteView entry, std::uint16_t version, bool bigEndian) {
  KeytabCursor cursor(entry, bigEndian);
  std::optional<std::uint16_t> count = cursor.U16();
  if (!count) return std::nullopt;
  if (version == kVersion1) {
    if (*count == 0) return std::nullopt;
    --*count;
  }
  KeytabPrincipal principal;
  std::optional<std::string> realm = cursor.CountedText();
  if (!realm) return std::nullopt;
  principal.realm = std::move(*realm);
  for (std::uint16_t i = 0; i < *count; ++i) {
    std::optional<std::string> component = cursor.CountedText();
    if (!component) return std::nullopt;
    principal.components.push_back(std::move(*component));
  }
  if (version == kVersion2 && !cursor.U32()) return std::nullopt;  // name type
  // Time stamp, 8-bit key version, key type and the key itself; what follows
  // (a 32-bit key version, flags) is optional.
  if (!cursor.U32() || !cursor.U8() || !cursor.U16()) return std::nullopt;
  const std::optional<std::uint16_t> keyLength = cursor.U16();
  if (!keyLength || !cursor.Skip(*keyLength)) return std::nullopt;
  return principal;
}

std::string_view FirstLabel(std::string_view name) { return name.substr(0, name.find('.')); }

bool NamesHost(const KeytabPrincipal& principal, std::string_view label) {
  const std::vector<std::string>& parts = principal.components;
  if (parts.size() == 2 && EqualIgnoringAsciiCase(parts[0], "host")) {
    return EqualIgnoringAsciiCase(FirstLabel(parts[1]), label);
  }
  if (parts.size() == 1 && parts[0].size() > 1 && parts[0].back() == '$') {
    const std::string_view account = std::string_view(parts[0]).substr(0, parts[0].size() - 1);
    return EqualIgnoringAsciiCase(account, label) ||
           EqualIgnoringAsciiCase(account, label.substr(0, kNetBiosNameBytes));
  }
  return false;
}

}  // namespace

std::optional<std::vector<KeytabPrincipal>> ReadKeytabPrincipals(ByteView bytes) {
  const std::optional<std::uint16_t> version = bytes.U16Be(0);
  if (version != kVersion2 && version != kVersion1) return std::nullopt;
  const bool bigEndian = *version == kVersion2 || std::endian::native == std::endian::big;
  KeytabCursor cursor(bytes, bigEndian);
  cursor.Skip(2);
  std::vector<KeytabPrincipal> principals;
  while (cursor.Left() > 0) {
    const std::optional<std::uint32_t> word = cursor.U32();
    if (!word) return std::nullopt;
    const auto length = static_cast<std::int32_t>(*word);
    if (length == 0) break;
    // A hole's length is the magnitude of a negative 32-bit number, taken
    // wide so that the most negative one does not overflow.
    const std::size_t size =
        length < 0 ? static_cast<std::size_t>(-static_cast<std::int64_t>(length)) : static_cast<std::size_t>(length);
    const std::size_t start = cursor.Place();
    if (!cursor.Skip(size)) return std::nullopt;
    if (length < 0) continue;
    std::optional<KeytabPrincipal> principal = ReadEntry(bytes.Sub(start, size), *version, bigEndian);
    if (!principal) return std::nullopt;
    principals.push_back(std::move(*principal));
  }
  return principals;
}

std::optional<std::string> RealmOfHostPrincipal(const std::vector<KeytabPrincipal>& principals, std::string_view name) {
  const std::string_view label = FirstLabel(name);
  if (label.empty()) return std::nullopt;
  for (const KeytabPrincipal& principal : principals) {
    if (NamesHost(principal, label)) return principal.realm;
  }
  return std::nullopt;
}

}  // namespace tolvaren::platform
