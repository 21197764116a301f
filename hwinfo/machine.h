#pragma once

#include <memory>
#include <string>

#include "core/exception_mode.h"
#include "hwinfo/bios.h"
#include "hwinfo/smbios.h"
#include "platform/string_list.h"

namespace tolvaren {

struct Host;

// The machine's identification: the SMBIOS reader, the BIOS texts, the
// computer and user names, the boot and up times and the keyboard locks.
class TMachine {
 public:
  // Creates the sub-objects and looks up the "Computer" class device.
  explicit TMachine(Host& host);
  virtual ~TMachine();
  TMachine(const TMachine&) = delete;
  TMachine& operator=(const TMachine&) = delete;

  // Gathers everything; 1 includes the SMBIOS read, any other value leaves
  // it out.
  void GetInfo(int n);

  virtual void Report(StringList& lines) const;

  const std::string& Name() const { return name_; }
  // Days since 30 December 1899, local time; 0 when the clock or the tick
  // count fails. Worked out when asked, so that a run which never reads it
  // never loads the local time zone.
  double LastBoot() const;
  const std::string& User() const { return user_; }
  long double SystemUpTime() const { return systemUpTime_; }  // seconds
  bool ScrollLock() const { return scrollLock_; }
  bool NumLock() const { return numLock_; }
  bool CapsLock() const { return capsLock_; }
  const std::string& Computer() const { return computer_; }
  TSMBIOS& SMBIOS() { return *smbios_; }
  const TSMBIOS& SMBIOS() const { return *smbios_; }
  TExceptionMode ExceptionMode() const { return kSubStepMode; }
  TBIOS& BIOS() { return *bios_; }
  const TBIOS& BIOS() const { return *bios_; }

 private:
  void FindComputerDevice();

  Host& host_;
  std::string name_;
  std::string user_;
  long double systemUpTime_ = 0;
  bool scrollLock_ = false;
  bool numLock_ = false;
  bool capsLock_ = false;
  std::string computer_;
  // Declared before the BIOS object so that it is released after it.
  std::unique_ptr<TSMBIOS> smbios_;
  std::unique_ptr<TBIOS> bios_;
};

}  // namespace tolvaren
