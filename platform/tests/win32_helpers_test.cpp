// The Win32 backend's helpers: resource owners and buffers that grow until the
// system's answer fits.

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/growing_buffer.h"

namespace kavlo::platform::win32 {
namespace {

std::vector<int> released;

struct CountingTraits {
    using Value = int;
    static Value Empty() { return 0; }
    static void Release(Value value) { released.push_back(value); }
};
using UniqueCounted = Unique<CountingTraits>;

TEST(UniqueResource, ReleasesOnceWhetherDestroyedMovedOrReplaced) {
    released.clear();
    {
        UniqueCounted first(1);
        UniqueCounted second(std::move(first));
        EXPECT_FALSE(first.valid());
        EXPECT_EQ(second.get(), 1);
        UniqueCounted third(3);
        third = std::move(second);  // releases 3, takes 1
        EXPECT_EQ(released, std::vector<int>{3});
        *third.Receive() = 4;  // releases 1 before the new value is written
        EXPECT_EQ(released, (std::vector<int>{3, 1}));
        UniqueCounted empty;
        EXPECT_FALSE(empty);
    }
    EXPECT_EQ(released, (std::vector<int>{3, 1, 4})) << "the empty owner releases nothing";
}

// Texts around the buffer size and counts that include the terminator are read
// through the real calls in win32_only_test.cpp and the conformance tests.
TEST(ReadGrowingText, AnswerThatKeepsGrowingGives122AndZeroTheLastErrorOrAnEmptyText) {
    auto growing = ReadGrowingText([](char*, DWORD capacity) -> DWORD { return capacity + 10; }, 16);
    EXPECT_EQ(growing.error(), static_cast<WinError>(ERROR_INSUFFICIENT_BUFFER));
    auto failed = ReadGrowingText([](char*, DWORD) -> DWORD {
        ::SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    });
    EXPECT_EQ(failed.error(), static_cast<WinError>(ERROR_ENVVAR_NOT_FOUND));
    auto empty = ReadGrowingText([](char* buffer, DWORD) -> DWORD {
        buffer[0] = '\0';
        return 0;
    });
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(*empty, "");
}

}  // namespace
}  // namespace kavlo::platform::win32
