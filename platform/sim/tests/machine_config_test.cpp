// machine.ini: the errors that name file and line. What a valid file gives is
// checked on the loaded machine (sim_machine_test.cpp).
#include <gtest/gtest.h>

#include "platform/sim/machine_config.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::platform::sim {
namespace {

using kavlo::testing::kMinimalSystem;

// Each text is appended to kMinimalSystem, whose 19 lines put it at line 20; a
// text starting with "!" is the whole file instead.
TEST(MachineConfig, ErrorsNameFileAndLine) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"[bogus]\n", "20: unknown section [bogus] (known: system, memory, ..."},
        {"[service Spooler]\non_start = crashes\n",
         "21: \"on_start\" is runs, hangs, fails CODE or exits CODE, not \"crashes\""},
        {"[resolver]\naddresses = 10.0.0.1 10.0.0.300\n",
         "21: \"10.0.0.300\" is not an IPv4 address like 192.168.10.37"},
        {"[tcp]\nweb = ESTABLISHED 10.0.0.1:80 10.0.0.2:1025\n",
         "21: a [tcp] row is \"state local-address:port remote-address:port\" with the state as a number, like \"2 "
         "0.0.0.0:4911 0.0.0.0:0\", not \"ESTABLISHED 10.0.0.1:80 10.0.0.2:1025\""},
        {"[udp]\nnames = 0.0.0.0:65536\n",
         "21: a [udp] row is \"local-address:port\", like \"0.0.0.0:137\", not \"0.0.0.0:65536\""},
        {"[locale]\nutc_offset = -14:01\n",
         "21: \"utc_offset\" is written like +01:00 or -05:00 (at most 14 hours), not \"-14:01\""},
        {"[swap file]\nsize = 1G\n", "21: \"size\" is a number of bytes, not \"1G\""},
        {"[security C:\\x]\nsddl = D:(A;;FA;;;ZZ)\n",
         "21: sddl: the account is a two-letter alias such as BA or a SID such as S-1-5-32-545 in (A;;FA;;;ZZ)"},
        {"[security LPT1]\nsddl = D:\n",
         "20: a security section names a file path (C:\\x), a registry key (HKLM\\x) or \"service NAME\", not "
         "\"LPT1\""},
        {"[security HKLM\\A]\nsddl = D:\n[security HKEY_LOCAL_MACHINE\\a\\]\nsddl = D:\n",
         "22: \"HKEY_LOCAL_MACHINE\\a\\\" is described twice"},
        {"[logon]\nuser = x\n", "20: [logon] needs the key \"sid\""},
        {"[account X\\y]\nsid = S-1-5-21-x\n", "21: \"sid\" is a SID such as S-1-5-21-1-2-3-1004, not \"S-1-5-21-x\""},
        {"[memory]\nmemory_load = 101\n", "21: \"memory_load\" needs a number from 0 to 100, not \"101\""},
        {"[memory]\ntotal_phys = 1\navail_phys = 2\n", "20: avail_phys is larger than total_phys"},
        {"[memory]\nspeed = 1\n", "21: unknown key \"speed\" in [memory] (known: memory_load, ..."},
        {"[drive C:]\ntype = fixed\n", "20: section [drive C:] appears twice (first at line 13)"},
        {"[drive 1:]\ntype = fixed\n", "20: a drive section is named like [drive C:], not [drive 1:]"},
        {"[drive E:]\ntype = floppy\n",
         "21: drive \"type\" is fixed, removable, cdrom, remote or ramdisk, not \"floppy\""},
        {"[drive E:]\nfile_system = FAT\n",
         "20: drive \"type\" is fixed, removable, cdrom, remote or ramdisk, not \"\""},
        {"[drive E:]\ntype = fixed\nserial = 12345-678\n",
         "22: \"serial\" is written like 1A2B-3C4D, not \"12345-678\""},
        {"[drive E:]\ntype = fixed\nfree_bytes = 5\ntotal_bytes = 4\n", "20: free_bytes is larger than total_bytes"},
        {"[drive E:]\ntype = fixed\nready = maybe\n", "22: \"ready\" is yes or no, not \"maybe\""},
        {"[folders]\nCSIDL_DRIVES = C:\\\n", "21: \"CSIDL_DRIVES\" is a virtual folder without a path"},
        {"[folders]\nCSIDL_NOTHING = C:\\\n",
         "21: unknown shell folder \"CSIDL_NOTHING\" (use CSIDL names such as CSIDL_APPDATA)"},
        {"[folders]\nCSIDL_APPDATA = Application Data\n",
         "21: shell folder paths are full paths such as C:\\x, not \"Application Data\""},
        {"[file C:\\a.txt]\nattributes = RX\n", "21: \"attributes\" are letters from R, H, S, A, C, not \"RX\""},
        {"[file C:\\a.txt]\nshort_name = toolongname.txt\n", "21: \"toolongname.txt\" is not an 8.3 name"},
        {"[file C:\\a.txt]\nmodified = 2001-02-29 00:00:00\n",
         "21: \"modified\" is a local time \"YYYY-MM-DD HH:MM:SS\", not \"2001-02-29 00:00:00\""},
        {"[file C:\\]\n", "20: a file section names a full path below a drive root, like [file C:\\boot.ini]"},
        {"[file C:\\a.txt]\n[file c:\\A.TXT]\n", "21: section [file c:\\A.TXT] appears twice (first at line 20)"},
        {"[file C:\\x\\a.txt]\n[file C:\\x\\..\\x\\a.txt.]\n",
         "21: file C:\\x\\..\\x\\a.txt. is described twice (first at line 20)"},
        {"[file C:\\a|b]\n", "20: \"C:\\a|b\" is not a valid file path"},
        {"[environment]\nA = 1\na = 2\n", "22: key \"a\" appears twice in [environment] (first at line 21)"},
        {"[environment]\njust text\n", "21: expected \"key = value\", \"[section]\" or a comment"},
        {"[environment\n", "20: section header without a closing \"]\""},
        {"!x = 1\n[system]\n", "1: \"key = value\" before the first [section]"},
        {"!; nothing\n", "1: the [system] section is missing"},
        {"![system]\nplatform = NT\n", "1: [system] needs the key \"major\""},
        {"!\xFF\xFE[\0", "1: UTF-16 text with an odd number of bytes (truncated file?)"},
    };
    for (const auto& [text, error] : cases) {
        const std::string ini =
            text[0] == '!' ? std::string(text.substr(1)) : std::string(kMinimalSystem) + std::string(text);
        // An error written ending in "..." is compared up to there, without the list of known names.
        const std::string expected = "machine.ini:" + std::string(error.substr(0, error.find("...")));
        const std::string got = ParseMachineConfig(ini, "machine.ini").error;
        EXPECT_EQ(error.ends_with("...") ? got.substr(0, expected.size()) : got, expected) << text;
    }
}

TEST(MachineConfig, SystemValuesAreChecked) {
    const std::pair<std::string, std::string> cases[] = {
        {"platform = OS/2", "m.ini:2: \"platform\" is NT or 9x, not \"OS/2\""},
        {"windows_dir = WINNT", "m.ini:9: \"windows_dir\" must be a full path such as C:\\WINNT, not \"WINNT\""},
        {"computer_name =", "m.ini:7: \"computer_name\" is empty"},
    };
    for (const auto& [line, error] : cases) {
        std::string ini(kMinimalSystem);
        const std::size_t at = ini.find(line.substr(0, line.find(" =") + 2));
        ini.replace(at, ini.find('\n', at) - at, line);
        EXPECT_EQ(ParseMachineConfig(ini, "m.ini").error, error);
    }
}

}  // namespace
}  // namespace kavlo::platform::sim
