// The remote-control product on the computer the tests run on. Wine has no such
// product: its automation server is not registered there.

#include <gtest/gtest.h>

#include "platform/win32/win32_machine.h"

namespace kavlo {
namespace {

TEST(Win32RemoteControl, AnUnregisteredServerIsReportedAsMissing) {
    const auto machine = platform::win32::MakeWin32Machine();
    const auto callers = machine->RemoteCallerFiles("C:\\windows");
    EXPECT_EQ(callers.error(), err::kFileNotFound);
    // A second call on the same thread finds COM as the first left it.
    EXPECT_EQ(machine->RemoteCallerFiles("C:\\windows").error(), err::kFileNotFound);
}

}  // namespace
}  // namespace kavlo
