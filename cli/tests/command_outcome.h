#pragma once
// A kavlo command run in-process: its exit status and what it printed, and
// whole outputs compared with committed files in cli/tests/expected/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli/commands.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::cli::testing {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome Kavlo(int (*command)(const Args&), Args args) {
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = command(args);
    Outcome outcome{status, ::testing::internal::GetCapturedStdout(), ::testing::internal::GetCapturedStderr()};
    return outcome;
}

/// Compares `printed` with the committed file cli/tests/expected/NAME. Run with
/// KAVLO_UPDATE_EXPECTED=1 to write the file from the output instead, then
/// review the change with git diff.
inline void ExpectSameAsFile(const std::string& printed, const std::string& name) {
    const std::string file = std::string(KAVLO_TEST_SOURCE_DIR) + "/cli/tests/expected/" + name;
    const char* update = std::getenv("KAVLO_UPDATE_EXPECTED");
    if (update && std::string(update) == "1") kavlo::testing::WriteAll(file, printed);
    EXPECT_EQ(printed, kavlo::testing::ReadAll(file)) << "the output differs from " << file;
}

}  // namespace kavlo::cli::testing
