#pragma once
// Helpers shared by the probe tests of every area: those of line_runner.h, and
// whole outputs compared with committed files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/testing/temp_folder.h"
#include "probes/system/tests/line_runner.h"

namespace kavlo::probe_test {

/// Checks a whole output against a committed file (a path below the source
/// tree, in a tests/expected folder); a failure shows the line diff. Running the
/// test with KAVLO_UPDATE_EXPECTED=1 rewrites the file from the output instead,
/// to be reviewed with git diff.
inline void ExpectSameAsFile(const std::string& actual, const std::string& relative) {
    const std::string path = std::string(KAVLO_TEST_SOURCE_DIR) + "/" + relative;
    if (const char* update = std::getenv("KAVLO_UPDATE_EXPECTED"); update && std::string_view(update) == "1")
        kavlo::testing::WriteAll(path, actual);
    EXPECT_EQ(actual, kavlo::testing::ReadAll(path)) << "expected output in " << relative;
}

}  // namespace kavlo::probe_test
