#pragma once
// What every backend under test holds: the registry keys of the simulated
// machine's image (platform/tests/data/conformance), which the Win32 backend
// imports at run time (it copies the image's files too). The tests compare
// against these tables.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::conformance {

/// The key (below HKEY_CURRENT_USER) that holds the fixed registry data.
inline constexpr std::string_view kFixedKey = "Software\\KavloConformanceTest\\Fixed";
/// A key the tests may create keys and values under.
inline constexpr std::string_view kScratchKey = "Software\\KavloConformanceTest\\Scratch";

/// Keys of registry/answers.reg, imported once into both backends: what Windows
/// answers for key order, odd paths, names outside the code page and best fit.
inline constexpr std::string_view kAnswersKey = "Software\\KavloConformanceAnswers";
/// The same file's key below HKEY_CLASSES_ROOT.
inline constexpr std::string_view kAnswersClassesKey = "KavloConformanceAnswers";

struct FixtureValue {
    std::string name;
    std::uint32_t type;
    std::string data;  ///< exactly the stored bytes
};

/// Values of kFixedKey in the order they were written (names in alphabetical
/// order too, so that every registry's enumeration order agrees).
inline const std::vector<FixtureValue>& FixedValues() {
    using namespace std::string_literals;
    static const std::vector<FixtureValue> values = {
        {"", regtype::kSz, "default text\0"s},
        {"Alpha", regtype::kSz, "first\0"s},
        {"Blob", regtype::kBinary, "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a"s},
        {"Multi", regtype::kMultiSz, "one\0two\0\0"s},
        {"Number", regtype::kDword, "\x2a\x00\x00\x00"s},
        {"Path", regtype::kExpandSz, "%SystemRoot%\\x\0"s},
        {"Zeta", regtype::kSz, "last\0"s},
    };
    return values;
}

/// Subkeys of kFixedKey, in alphabetical order; none has a default value.
inline const std::vector<std::string>& FixedSubkeys() {
    static const std::vector<std::string> names = {"Apple", "Banana", "Cherry"};
    return names;
}

}  // namespace kavlo::platform::conformance
