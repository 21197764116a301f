#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace tolvaren::platform::fake {

// An in-memory registry that tests fill from a short text in the spirit of
// .reg files:
//
//   [HKLM\HARDWARE\DESCRIPTION\System]
//   Identifier = sz:AT/AT COMPATIBLE
//   SystemBiosVersion = multi:A|B
//   Type = dword:0x20
//   Data = hex:01,02,ff
//   Odd = hex(9):41,00          raw bytes of any numbered type
//   @ = sz:the default value
//
// Roots are HKLM and HKDD (HKEY_DYN_DATA). Strings get their terminating zero
// bytes as the real registry stores them; "multi:" items are separated by
// "|". Blank lines and lines starting with "#" are ignored. Key and value
// names match ignoring case; subkeys and values enumerate in the order they
// were first written.
class FakeRegistry final : public Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  // Adds the keys and values of the text; raises std::invalid_argument on a
  // line it cannot read.
  void Load(std::string_view text);
  // Sets one value, creating the key and its parents.
  void SetValue(RegistryRoot root, const std::string& path, const std::string& name, RegistryValue value);
  void CreateKey(RegistryRoot root, const std::string& path);

  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path, bool writeAccess) override;

  int openKeys = 0;    // keys open right now
  int opensTried = 0;  // every OpenKey call, also failed ones

  struct Node;

 private:
  Node* Find(RegistryRoot root, const std::string& path);
  Node* Create(RegistryRoot root, const std::string& path);

  std::unique_ptr<Node> localMachine_;
  std::unique_ptr<Node> dynData_;
};

}  // namespace tolvaren::platform::fake
