// The Win32 backend's helpers: resource owners and buffers that grow until the
// system's answer fits.

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <gtest/gtest.h>

#include <cstring>
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

/// A fake system function that holds `text` and answers like GetCurrentDirectoryA:
/// the length on success, the size with the terminator when the buffer is too small.
struct LengthOrNeededSize {
    std::string text;
    int calls = 0;
    DWORD operator()(char* buffer, DWORD capacity) {
        ++calls;
        if (text.size() + 1 > capacity) return static_cast<DWORD>(text.size() + 1);
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return static_cast<DWORD>(text.size());
    }
};

TEST(ReadGrowingText, TextsAroundTheBufferSizeAreReadWhole) {
    for (std::size_t length : {0u, 1u, 258u, 259u, 260u, 261u, 262u, 5000u, 70000u}) {
        SCOPED_TRACE(length);
        LengthOrNeededSize fill{std::string(length, 'p')};
        auto text = ReadGrowingText(std::ref(fill), MAX_PATH + 1);
        ASSERT_TRUE(text.ok()) << "error " << text.error();
        EXPECT_EQ(*text, fill.text);
        EXPECT_LE(fill.calls, 2);
    }
}

TEST(ReadGrowingText, CountsThatIncludeTheTerminatorAreTrimmedAtTheFirstZero) {
    // ExpandEnvironmentStringsA counts the terminator even on success.
    const std::string expanded = "C:\\WINNT\\system32";
    auto text = ReadGrowingText([&](char* buffer, DWORD capacity) -> DWORD {
        const DWORD needed = static_cast<DWORD>(expanded.size() + 1);
        if (needed <= capacity) std::memcpy(buffer, expanded.c_str(), needed);
        return needed;
    });
    ASSERT_TRUE(text.ok());
    EXPECT_EQ(*text, expanded);
}

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
