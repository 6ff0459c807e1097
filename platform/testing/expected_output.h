#pragma once
// Whole outputs compared with committed files below the source tree, so that a
// change shows as a diff of the file. Running a test with KAVLO_UPDATE_EXPECTED=1
// writes the files from the outputs instead, to be reviewed with git diff.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/testing/temp_folder.h"

namespace kavlo::testing {

/// `relative` is the file's path below the source tree.
inline void ExpectSameAsFile(const std::string& actual, const std::string& relative) {
    const std::string path = std::string(KAVLO_TEST_SOURCE_DIR) + "/" + relative;
    if (const char* update = std::getenv("KAVLO_UPDATE_EXPECTED"); update && std::string_view(update) == "1")
        WriteAll(path, actual);
    EXPECT_EQ(actual, ReadAll(path)) << "the output differs from " << relative
                                     << " (KAVLO_UPDATE_EXPECTED=1 rewrites it if the change is intended)";
}

}  // namespace kavlo::testing
