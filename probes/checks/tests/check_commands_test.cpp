// Check items and value maps of registry values and file bytes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/testing/script_rig.h"

namespace kavlo {
namespace {

using platform::RegRoot;
using testing::ChildTitles;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::ScriptRig;

struct CheckCase {
    const char* name;
    const char* type;
    std::uint32_t value;
    std::optional<std::uint32_t> lock;
    const char* expected;
};

class TIRCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(TIRCheck, StateCodeFollowsValueTypeAndLock) {
    const CheckCase& c = GetParam();
    ScriptRig rig;
    rig.machine.SetDword(RegRoot::LocalMachine, "Software\\Acme", "Opt", c.value);
    if (c.lock) rig.machine.SetDword(RegRoot::LocalMachine, "Software\\Acme", "Opt - L", *c.lock);
    const auto& title =
        rig.RunTree(std::string("TIRCheck:HKLM\\Software\\Acme\\Opt,,x,,") + c.type + ",,5,, Item,,unused");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre(c.expected));
}

// A missing lock value reads as zero, as every missing value does (CheckBodies).
INSTANTIATE_TEST_SUITE_P(Codes, TIRCheck,
                         ::testing::Values(CheckCase{"CheckEqual", "ChkBox", 5, {}, "||00 Item"},
                                           CheckCase{"CheckDiffer", "ChkBox", 4, {}, "||01 Item"},
                                           CheckCase{"ButtonEqual", "ButBox", 5, {}, "||02 Item"},
                                           CheckCase{"ButtonDiffer", "", 4, {}, "||03 Item"},
                                           CheckCase{"CheckEqualLocked", "ChkBox Lck", 5, 1, "||03 Item"},
                                           CheckCase{"CheckEqualUnlocked", "ChkBox Lck", 5, 0, "||04 Item"},
                                           CheckCase{"CheckDifferLocked", "ChkBox Lck", 4, 7, "||05 Item"},
                                           CheckCase{"CheckDifferUnlocked", "ChkBox Lck", 4, 0, "||06 Item"},
                                           CheckCase{"ButtonEqualLocked", "Lck", 5, 1, "||07 Item"},
                                           CheckCase{"ButtonEqualUnlocked", "Lck", 5, 0, "||08 Item"},
                                           CheckCase{"ButtonDifferUnlocked", "Lck", 4, 0, "||10 Item"},
                                           CheckCase{"ButtonDifferLocked", "Lck", 4, 2, "||11 Item"},
                                           CheckCase{"StrReadsNothing", "Str ChkBox", 5, {}, " Item"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A body on a machine with Software\Acme\Text = "5" and Software\Acme\Mode = 2,
// and C:\WINNT\flags.bin; the titles it adds and VARI1 after it (set to 9 before).
struct BodyCase {
    const char* name;
    const char* body;
    std::vector<std::string> titles;
    std::int32_t vari1;
};

class CheckBodies : public ::testing::TestWithParam<BodyCase> {};

TEST_P(CheckBodies, TitlesAndVari1) {
    ScriptRig rig;
    rig.machine.SetString(RegRoot::LocalMachine, "Software\\Acme", "Text", "5");
    rig.machine.SetDword(RegRoot::LocalMachine, "Software\\Acme", "Mode", 2);
    rig.machine.AddFile("C:\\WINNT\\flags.bin", std::string("\x01\xff\x00hello\x00tail", 13));
    rig.context.vari1.SetInt(9);
    rig.context.vars2.SetString("Acme");
    EXPECT_THAT(ChildTitles(rig.RunTree(GetParam().body).Root()), ElementsAreArray(GetParam().titles));
    EXPECT_EQ(rig.context.vari1.intValue, GetParam().vari1);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CheckBodies,
    ::testing::Values(
        // Missing or non-number values read as zero; the path goes through variable substitution
        // but not through wildcard resolution.
        BodyCase{"RegistryValuesReadAsNumbers",
                 "TIRCheck:HKLM\\Software\\Acme\\Text,,x,,ChkBox,,0,,a\n"
                 "TIRCheck:HKLM\\Software\\Acme\\Gone,,x,,ChkBox,,0,,b\n"
                 "TIRCheck:HKXX\\Software\\Acme\\Gone,,x,,ChkBox,,1,,c\n"
                 "TIRCheck:HKLM\\Software\\<VARS2>\\Mode,,x,,ChkBox,,2,,d\n"
                 "TIRCheck:HKLM\\Software\\Acm*\\Mode,,x,,ChkBox,,2,,e",  // no wildcards here
                 {"||00a", "||00b", "||01c", "||00d", "||01e"},
                 9},
        BodyCase{"FileByteIsSignedAndSetsVari1",
                 "TIFCheck:<WINDOWS>\\flags.bin,x,ChkBox,1,A,0,\nTIFCheck:<WINDOWS>\\flags.bin,x,ButBox,1,B,1,",
                 {"||00A", "||03B"},
                 -1},
        BodyCase{"OffsetAtOrPastTheEndOrNegativeReadsZero",
                 "TIFCheck:<WINDOWS>\\flags.bin,x,ChkBox,0,A,13,\nTIFCheck:<WINDOWS>\\flags.bin,x,ChkBox,0,B,99999,\n"
                 "TIFCheck:<WINDOWS>\\flags.bin,x,ButBox,0,C,-4,",
                 {"||00A", "||00B", "||02C"},
                 0},
        BodyCase{"TextTypeAppendsBytesUpToZero",
                 "TIFCheck:<WINDOWS>\\flags.bin,x,Text,0,Greeting: ,3,\n"
                 "TIFCheck:<WINDOWS>\\flags.bin,x,Text,0,End: ,99,",
                 {"Greeting: hello", "End: "},
                 9},
        BodyCase{"MissingFileGivesEmptyNodesAndKeepsVari1",
                 "TIFCheck:C:\\nope.bin,x,ChkBox,1,A,0,\nTIFCheck:C:\\nope.bin,x,Str,1,B,0,",
                 {"", ""},
                 9},
        BodyCase{"FirstMatchingNumberNamesTheNode",
                 "TIRTextValue:HKLM\\Software\\Acme\\Mode,,x,,Mode: {\n 1:One\n2:Two\n2:Again\n}\nTAddText:after",
                 {"Mode: Two", "after"},
                 9},
        BodyCase{"NoMatchAddsNothingAndTheBlockEndCountsForTheRun",
                 "TIRTextValue:HKLM\\Software\\Acme\\Missing,,x,,Mode: {\n1:One\n}\nTAddText:after",
                 {"after"},
                 9},
        // every "{" leaves the prefix
        BodyCase{"MissingValueMatchesZero",
                 "TIRTextValue:HKLM\\Software\\Acme\\Missing,,x,,{P: {\n0:zero\n}",
                 {"P: zero"},
                 9},
        BodyCase{"FileValueMapSetsVari1",
                 "TIFTextValue:<WINDOWS>\\flags.bin,x,State: ,1 {\n0:off\n-1:on\n}\nTAddText:after",
                 {"State: on", "after"},
                 -1},
        BodyCase{"FileValueMapOnAMissingFileLetsTheBlockRun",
                 "TIFTextValue:C:\\nope.bin,x,State: ,1 {\n0:off\nTAddText:inside\n}\nTAddText:after",
                 {"inside", "after"},
                 9}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kavlo
