#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvaren::platform::linux_backend {

// What cloud-init's configuration says about the host name at boot, read
// one configuration text at a time in the order cloud-init merges them
// (cloud.cfg first, then cloud.cfg.d/*.cfg by name); for each key the last
// top-level setting counts.
struct CloudInitSettings {
  // "preserve_hostname:" read as cloud-init reads a flag ("true", "yes",
  // "on", "1", any case, quoted or not); without it cloud-init sets the name
  // again at boot.
  bool preservesHostname = false;
  // "manage_etc_hosts:" true (as above), "template" or "localhost": cloud-init
  // writes /etc/hosts itself at every boot.
  bool rewritesEtcHosts = false;
};

// Reads one configuration text into the settings. The text is read only as
// far as its settings can be told with certainty: top-level "key: value"
// lines with plain keys, the values of the two keys plain or quoted on their
// own line. When the text holds anything that could change them unseen (a
// byte-order mark, a quoted or complex key, an anchor, alias or tag on one of
// the keys, a flow mapping, a second document, lines that are not YAML) the
// settings stay as they were and the answer says why it could not tell.
std::optional<std::string> ReadCloudConfig(std::string_view text, CloudInitSettings& settings);

}  // namespace tolvaren::platform::linux_backend
