#pragma once
// Compares a whole output (text or bytes) with a committed expected file below
// the source tree. To regenerate after an intended change, run the test with
// KAVLO_UPDATE_EXPECTED=1 in the environment: the file is written instead of
// compared; review its difference before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/testing/temp_folder.h"

namespace kavlo::testing {

inline void ExpectSameAsFile(const std::string& actual, const std::string& relative) {
    const std::string path = std::string(KAVLO_TEST_SOURCE_DIR) + "/" + relative;
    if (std::getenv("KAVLO_UPDATE_EXPECTED")) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return WriteAll(path, actual);
    }
    const std::string expected = ReadAll(path);
    if (actual == expected) return;
    // The first difference, from the start of its line on both sides.
    const std::size_t shorter = std::min(actual.size(), expected.size());
    const std::size_t at =
        std::mismatch(actual.begin(), actual.begin() + shorter, expected.begin()).first - actual.begin();
    const std::size_t from = at == 0 ? 0 : actual.find_last_of('\n', at - 1) + 1;  // npos + 1 is 0
    const std::size_t line = std::count(actual.begin(), actual.begin() + at, '\n') + 1;
    ADD_FAILURE() << relative << " differs at line " << line << " (byte " << at
                  << ")\n  expected: " << ::testing::PrintToString(expected.substr(from, at - from + 60))
                  << "\n  actual:   " << ::testing::PrintToString(actual.substr(from, at - from + 60))
                  << "\n(rerun with KAVLO_UPDATE_EXPECTED=1 to rewrite the file)";
}

}  // namespace kavlo::testing
