#pragma once
// A kavlo command run in-process: its exit status and what it printed, and
// whole outputs compared with committed files in cli/tests/expected/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/testing/expected_output.h"
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

/// Compares `printed` with the committed file cli/tests/expected/NAME.
inline void ExpectSameAsFile(const std::string& printed, const std::string& name) {
    kavlo::testing::ExpectSameAsFile(printed, "cli/tests/expected/" + name);
}

}  // namespace kavlo::cli::testing
