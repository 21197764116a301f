#include "platform/fake/fake_registry.h"

#include <cctype>
#include <stdexcept>

#include "platform/ascii_case.h"

namespace tolvaren::platform::fake {

struct FakeRegistry::Node {
  std::string name;
  std::vector<std::unique_ptr<Node>> subkeys;
  std::vector<std::pair<std::string, RegistryValue>> values;
};

namespace {

using Node = FakeRegistry::Node;

bool SameName(std::string_view a, std::string_view b) { return EqualIgnoringAsciiCase(a, b); }

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (const char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

Node* Child(Node& node, const std::string& name) {
  for (auto& sub : node.subkeys) {
    if (SameName(sub->name, name)) return sub.get();
  }
  return nullptr;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::vector<std::uint8_t> StringBytes(std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

std::vector<std::uint8_t> HexBytes(std::string_view text, const std::string& line) {
  std::vector<std::uint8_t> bytes;
  text = Trim(text);
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string item(Trim(text.substr(0, comma)));
    if (item.empty() || item.size() > 2) throw std::invalid_argument("bad byte in: " + line);
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(item, nullptr, 16)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return bytes;
}

RegistryValue ParseValue(std::string_view typed, const std::string& line) {
  const std::size_t colon = typed.find(':');
  if (colon == std::string_view::npos) throw std::invalid_argument("value without type: " + line);
  const std::string_view kind = Trim(typed.substr(0, colon));
  const std::string_view data = typed.substr(colon + 1);
  if (kind == "sz") return {kRegSz, StringBytes(data)};
  if (kind == "expand") return {kRegExpandSz, StringBytes(data)};
  if (kind == "multi") {
    RegistryValue value{kRegMultiSz, {}};
    std::string_view rest = data;
    for (;;) {
      const std::size_t bar = rest.find('|');
      const auto item = StringBytes(rest.substr(0, bar));
      value.data.insert(value.data.end(), item.begin(), item.end());
      if (bar == std::string_view::npos) break;
      rest.remove_prefix(bar + 1);
    }
    value.data.push_back(0);
    return value;
  }
  if (kind == "dword") {
    const std::uint32_t n = static_cast<std::uint32_t>(std::stoul(std::string(Trim(data)), nullptr, 0));
    return {kRegDword,
            {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
             static_cast<std::uint8_t>(n >> 24)}};
  }
  if (kind == "hex") return {kRegBinary, HexBytes(data, line)};
  if (kind.substr(0, 4) == "hex(" && kind.back() == ')') {
    const std::string number(kind.substr(4, kind.size() - 5));
    return {static_cast<std::uint32_t>(std::stoul(number, nullptr, 0)), HexBytes(data, line)};
  }
  throw std::invalid_argument("unknown value type: " + line);
}

class FakeKey final : public RegistryKey {
 public:
  FakeKey(Node& node, int& openKeys) : node_(node), openKeys_(openKeys) { ++openKeys_; }
  ~FakeKey() override { --openKeys_; }
  FakeKey(const FakeKey&) = delete;
  FakeKey& operator=(const FakeKey&) = delete;

  std::vector<std::string> SubkeyNames() override {
    std::vector<std::string> names;
    for (const auto& sub : node_.subkeys) names.push_back(sub->name);
    return names;
  }
  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    for (const auto& [name, value] : node_.values) names.push_back(name);
    return names;
  }
  std::optional<RegistryValue> QueryValue(const std::string& name) override {
    for (const auto& [valueName, value] : node_.values) {
      if (SameName(valueName, name)) return value;
    }
    return std::nullopt;
  }

 private:
  Node& node_;
  int& openKeys_;
};

}  // namespace

FakeRegistry::FakeRegistry() : localMachine_(std::make_unique<Node>()), dynData_(std::make_unique<Node>()) {}
FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Node* FakeRegistry::Find(RegistryRoot root, const std::string& path) {
  Node* node = root == RegistryRoot::DynData ? dynData_.get() : localMachine_.get();
  for (const std::string& part : SplitPath(path)) {
    node = Child(*node, part);
    if (node == nullptr) return nullptr;
  }
  return node;
}

FakeRegistry::Node* FakeRegistry::Create(RegistryRoot root, const std::string& path) {
  Node* node = root == RegistryRoot::DynData ? dynData_.get() : localMachine_.get();
  for (const std::string& part : SplitPath(path)) {
    Node* child = Child(*node, part);
    if (child == nullptr) {
      node->subkeys.push_back(std::make_unique<Node>());
      child = node->subkeys.back().get();
      child->name = part;
    }
    node = child;
  }
  return node;
}

void FakeRegistry::CreateKey(RegistryRoot root, const std::string& path) { Create(root, path); }

void FakeRegistry::SetValue(RegistryRoot root, const std::string& path, const std::string& name, RegistryValue value) {
  Node* node = Create(root, path);
  for (auto& [valueName, existing] : node->values) {
    if (SameName(valueName, name)) {
      existing = std::move(value);
      return;
    }
  }
  node->values.emplace_back(name, std::move(value));
}

void FakeRegistry::Load(std::string_view text) {
  RegistryRoot root = RegistryRoot::LocalMachine;
  std::string path;
  bool inKey = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string line(Trim(text.substr(0, end)));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;

    if (line.front() == '[') {
      if (line.back() != ']') throw std::invalid_argument("unclosed key: " + line);
      const std::string full = line.substr(1, line.size() - 2);
      const std::size_t slash = full.find('\\');
      const std::string rootName = full.substr(0, slash);
      if (rootName == "HKLM") {
        root = RegistryRoot::LocalMachine;
      } else if (rootName == "HKDD") {
        root = RegistryRoot::DynData;
      } else {
        throw std::invalid_argument("unknown root: " + line);
      }
      path = slash == std::string::npos ? "" : full.substr(slash + 1);
      Create(root, path);
      inKey = true;
      continue;
    }

    const std::size_t equals = line.find(" = ");
    if (!inKey || equals == std::string::npos) throw std::invalid_argument("cannot read: " + line);
    std::string name(Trim(std::string_view(line).substr(0, equals)));
    if (name == "@") name.clear();
    SetValue(root, path, name, ParseValue(std::string_view(line).substr(equals + 3), line));
  }
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(RegistryRoot root, const std::string& path, bool /*writeAccess*/) {
  ++opensTried;
  Node* node = Find(root, path);
  if (node == nullptr) return nullptr;
  return std::make_unique<FakeKey>(*node, openKeys);
}

}  // namespace tolvaren::platform::fake
