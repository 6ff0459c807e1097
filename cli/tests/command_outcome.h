#pragma once
// A kavlo command run in-process: its exit status and what it printed.
#include <gtest/gtest.h>

#include <string>

#include "cli/commands.h"

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

}  // namespace kavlo::cli::testing
