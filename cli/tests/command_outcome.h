#pragma once
// A kavlo command run in-process: its exit status and what it printed, and
// whole outputs compared with committed files in cli/tests/expected/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

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

/// A command that must fail: its exit status and a part of what it writes
/// to stderr (all of it where the case gives the whole message).
struct Failure {
    int (*run)(const Args&);
    Args args;
    int status;  // 2: the command line is wrong
    std::string message;
};

/// Runs each failing command: the status, the message, and nothing on stdout.
inline void ExpectFailures(const std::vector<Failure>& failures) {
    for (const Failure& failure : failures) {
        const Outcome outcome = Kavlo(failure.run, failure.args);
        EXPECT_EQ(outcome.status, failure.status) << outcome.err;
        EXPECT_NE(outcome.err.find(failure.message), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
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
