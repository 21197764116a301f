#pragma once

#include <string>

#include "platform/string_list.h"

namespace tolvaren {

struct Host;

// The BIOS identification texts: from the registry on the NT family, from the
// BIOS area itself on the other systems.
class TBIOS {
 public:
  explicit TBIOS(Host& host) : host_(host) {}
  virtual ~TBIOS() = default;

  void GetInfo();

  virtual void Report(StringList& lines) const;

  const std::string& ExtendedInfo() const { return extendedInfo_; }
  const std::string& Copyright() const { return copyright_; }
  const std::string& Name() const { return name_; }
  const std::string& Date() const { return date_; }

 private:
  void ReadFromRegistry();
  void ReadFromBiosArea();

  Host& host_;
  std::string extendedInfo_;
  std::string copyright_;
  std::string name_;
  std::string date_;
};

}  // namespace tolvaren
