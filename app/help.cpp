#include "app/help.h"

#include <string>

namespace tolvaren {
namespace {

const std::string kDashLine(76, '-');

constexpr const char* kHelpBeforePause[] = {
    "TOLVAREN [/c name | /d [template] | /s]",
    "",
    "  /c[hange]    Changes the computer name to the one specified.",
    "  /d[isplay]   Displays the computer name.",
    "  /s[mbios]    Displays the serial number information from SMBIOS.",
    "  name         New computer name.  Only valid with the /c option.",
    "               This may contain macros; see below.",
    "  template     When used in conjuction with /d, displays the evaluated name.",
    "               Templates will normally contain macros; see below.",
    "",
    "The following macros are valid in the name or template.",
    "?s = System serial number.              ?c = Chassis serial number.",
    "?b = Mainboard serial number.",
    "?a = The first populated number from system, chassis and mainboard numbers.",
};

constexpr const char* kHelpAfterPause[] = {
    "?u = System UUID                        ?U = Fake UUID (24 zeros plus MAC).",
    "?G = If System UUID is FFFF... or 0000... or null it uses ?U, otherwise ?u.",
    "?i, ?j, ?k, ?l            = 1st, 2nd, 3rd, 4th octets of IP (decimal).",
    "?I, ?J, ?K, ?L            = 1st, 2nd, 3rd, 4th octets of IP (hex).",
    "?d = Hostname found by reverse DNS lookup of IP address.",
    "?m = First MAC address.                 ?e = Existing NetBIOS computer name.",
    "?D = day    ?M = month    ?Y = year",
    "?1, ?2, ?3, ..., ?0       = 1, 2, 3, ..., 10 random alphanumeric characters.",
    "",
    "Examples:",
    "TOLVAREN /d           Displays the NetBIOS computer name.",
    "TOLVAREN /d ?s        Displays the system serial number.",
    "TOLVAREN /s           Displays system summary information.",
    "TOLVAREN /c jupiter   Changes computer name to \"jupiter\".",
    "TOLVAREN /c acme-?s   Changes computer name to \"acme-ABCDEF\" where",
    "                      ABCDEF is the system serial number.",
    "Notes:",
    "* You can simply replace a /c switch with a /d switch to check the name.",
    "* If the name (after macro expansion) is longer than 15 characters,",
    "  then the NetBIOS name will be truncated, but the DNS name (on Windows",
    "  2000 and above) will be the full length.  This may break some applications.",
    "* The following characters (and spaces) are invalid and removed automatically:",
    "  \\ * + = | : ; \" ? < > ,",
    "* The _ character gets translated to - to avoid DNS name problems.",
    "* This program does not rename the computer's domain account.",
};

constexpr const char* kDonationLines[] = {
    "If you find this program useful in a business environment, please consider",
    "making a small donation using PayPal.",
    "https://tolvaren.example.org/donate",
};

}  // namespace

void ShowBanner(platform::Console& console) {
  console.WriteLine(kDashLine);
  console.WriteLine(std::string("Tolvaren v") + kVersionString + "  " + TOLVAREN_COPYRIGHT);
  console.WriteLine("This is beta software.  Use at your own risk.");
  console.WriteLine("Thanks to everyone who tested it on their machines, to the authors of the");
  console.WriteLine("SMBIOS and DNS standards, and to the administrators who asked for");
  console.WriteLine("a tool that names ten thousand computers without a mistake.");
  console.WriteLine(kDashLine);
}

void ShowHelp(platform::Console& console) {
  console.WriteLine("Displays SMBIOS information and changes/displays the computer name.");
  console.WriteLine("");
  ShowBanner(console);
  console.WriteLine("");
  for (const char* line : kHelpBeforePause) console.WriteLine(line);

  // The pause: the echo of the Enter key ends the line on a console. A script
  // cannot answer it, so without a person at standard input the text runs
  // on and the next line follows the prompt directly.
  console.Write("Press [enter] for more...");
  console.Flush();
  if (console.InputIsInteractive()) console.ReadChar();

  for (const char* line : kHelpAfterPause) console.WriteLine(line);
  console.WriteLine(kDashLine);
  for (const char* line : kDonationLines) console.WriteLine(line);
}

}  // namespace tolvaren
