// The value readers against every registry backend, where no command shows
// what they give: wildcard resolution and numbers.
#include <gtest/gtest.h>

#include "probes/registry/registry_readers.h"
#include "probes/registry/tests/backend_test.h"

namespace kavlo::test {
namespace {

using platform::RegRoot;

class Readers : public OnEveryBackend {};
KAVLO_ON_EVERY_REGISTRY_BACKEND(Readers);

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

}  // namespace
}  // namespace kavlo::test
