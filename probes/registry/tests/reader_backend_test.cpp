// The value readers against every registry backend.
#include <gtest/gtest.h>

#include "probes/registry/registry_readers.h"
#include "probes/registry/tests/backend_test.h"

namespace kavlo::test {
namespace {

using platform::RegRoot;

class Readers : public OnEveryBackend {};
KAVLO_ON_EVERY_REGISTRY_BACKEND(Readers);

TEST_P(Readers, ReadValueTextFormatsByType) {
    const std::string base = "HKCU\\Software\\KavloEngineTest\\";
    EXPECT_EQ(ReadValueText(context(), base), "default text");
    EXPECT_EQ(ReadValueText(context(), base + "Str"), "hello");
    EXPECT_EQ(ReadValueText(context(), base + "Dword5"), "5");
    EXPECT_EQ(ReadValueText(context(), base + "Neg"), "-1");
    EXPECT_EQ(ReadValueText(context(), base + "Bin"), "0x01 ab ff");
    EXPECT_EQ(ReadValueText(context(), base + "Multi"), "one");  // the first string only
}

TEST_P(Readers, ReadValueTextFailures) {
    const std::string base = "HKCU\\Software\\KavloEngineTest\\";
    EXPECT_EQ(ReadValueText(context(), base + "Missing"), "Not Present");
    EXPECT_EQ(ReadValueText(context(), base + "NoKey\\Value"), "Not Present");
    // 500 bytes do not fit the reader's 400: the system's more-data text
    EXPECT_EQ(ReadValueText(context(), base + "Big"), machine().ErrorText(err::kMoreData));
    EXPECT_EQ(ReadValueText(context(), "HKXX\\Software\\KavloEngineTest\\Str"),
              machine().ErrorText(err::kInvalidHandle));
}

TEST_P(Readers, ReadValueTextResolvesWildcards) {
    EXPECT_EQ(ReadValueText(context(), "HKCU\\Software\\KavloEngineTest\\Prod*\\Ver"), "1.0");
    EXPECT_EQ(ReadValueText(context(), "HKCU\\Software\\KavloEngineTest\\Prod2*\\Ver"), "2.0");
    EXPECT_EQ(ReadValueText(context(), "HKCU\\Software\\KavloEngineTest\\Nope*\\Ver"), "Not Present");
}

TEST_P(Readers, ResolveWildcard) {
    platform::Machine& m = machine();
    const auto hkcu = std::optional<RegRoot>(RegRoot::CurrentUser);
    EXPECT_EQ(ResolveWildcard(m, hkcu, "Software\\KavloEngineTest\\Prod*\\Sub"),
              "Software\\KavloEngineTest\\Prod10\\Sub");
    // the star ends the name: what follows it up to the next separator is dropped
    EXPECT_EQ(ResolveWildcard(m, hkcu, "Software\\KavloEngineTest\\Prod*x"), "Software\\KavloEngineTest\\Prod10");
    EXPECT_EQ(ResolveWildcard(m, hkcu, "Software\\KavloEngineTest\\Tr*"), "Software\\KavloEngineTest\\Tree");
    EXPECT_EQ(ResolveWildcard(m, hkcu, "Software\\KavloEngineTest\\Q*\\x"), "Software\\KavloEngineTest\\Q*\\x");
    EXPECT_EQ(ResolveWildcard(m, hkcu, "Software\\NoSuchParent\\Q*"), "Software\\NoSuchParent\\Q*");
    EXPECT_EQ(ResolveWildcard(m, std::nullopt, "Software\\KavloEngineTest\\Prod*"), "Software\\KavloEngineTest\\Prod*");
    EXPECT_EQ(ResolveWildcard(m, hkcu, "Software\\KavloEngineTest\\Prod10"), "Software\\KavloEngineTest\\Prod10");
}

TEST_P(Readers, ReadValueNumber) {
    context().vars2.SetString("KavloEngineTest");
    EXPECT_EQ(ReadValueNumber(context(), "HKCU\\Software\\KavloEngineTest\\Dword5"), 5u);
    EXPECT_EQ(ReadValueNumber(context(), "HKCU\\Software\\<VARS2>\\Neg"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadValueNumber(context(), "HKCU\\Software\\KavloEngineTest\\Str"), 0u);
    EXPECT_EQ(ReadValueNumber(context(), "HKCU\\Software\\KavloEngineTest\\Bin"), 0u);
    EXPECT_EQ(ReadValueNumber(context(), "HKCU\\Software\\KavloEngineTest\\Missing"), 0u);
    EXPECT_EQ(ReadValueNumber(context(), "HKCU\\Software\\KavloEngineTest\\Tr*\\Count"), 0u);  // no wildcard here
}

TEST_P(Readers, Presence) {
    platform::Machine& m = machine();
    const auto hkcu = std::optional<RegRoot>(RegRoot::CurrentUser);
    EXPECT_EQ(ValueExists(m, hkcu, "Software\\KavloEngineTest", "Str"), 1);
    EXPECT_EQ(ValueExists(m, hkcu, "Software\\KavloEngineTest", ""), 1);
    EXPECT_EQ(ValueExists(m, hkcu, "Software\\KavloEngineTest", "Big"), 0);  // over 400 bytes
    EXPECT_EQ(ValueExists(m, hkcu, "Software\\KavloEngineTest", "Missing"), 0);
    EXPECT_EQ(ValueExists(m, std::nullopt, "Software\\KavloEngineTest", "Str"), 0);
    EXPECT_EQ(KeyExists(m, hkcu, "Software\\KavloEngineTest\\Empty"), 1);
    EXPECT_EQ(KeyExists(m, hkcu, "Software\\KavloEngineTest\\Gone"), 0);
    EXPECT_EQ(KeyExists(m, std::nullopt, "Software\\KavloEngineTest"), 0);
}

}  // namespace
}  // namespace kavlo::test
