#pragma once
// The parameterised fixture: every TEST_P runs once per backend of the build.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/tests/conformance/backend.h"
#include "platform/tests/conformance/fixture_data.h"

namespace kavlo::platform::conformance {

class Conformance : public ::testing::TestWithParam<BackendKind> {
protected:
    void SetUp() override {
        backend_ = GetParam().make();
        ASSERT_NE(backend_, nullptr) << "the " << GetParam().name << " backend could not be set up";
    }

    Machine& machine() { return backend_->machine(); }
    Backend& backend() { return *backend_; }

    /// A key of the fixture, opened for reading; fails the test when it cannot.
    std::unique_ptr<RegistryKey> OpenFixed(const std::string& subkey = {}) {
        const std::string path = std::string(kFixedKey) + (subkey.empty() ? "" : "\\" + subkey);
        auto key = machine().OpenKey(RegRoot::CurrentUser, path, kKeyRead);
        EXPECT_TRUE(key.ok()) << path << ": error " << key.error();
        return key.ok() ? std::move(key).value() : nullptr;
    }

    /// A path in the backend's test folder.
    std::string InFolder(const std::string& name) const { return backend_->FileFolder() + "\\" + name; }

private:
    std::unique_ptr<Backend> backend_;
};

/// The names of a key's subkeys and of its values, in the registry's order; the
/// enumeration must end with 259.
inline std::vector<std::string> SubkeysOf(const RegistryKey& key) {
    std::vector<std::string> names;
    for (std::uint32_t i = 0;; ++i) {
        auto name = key.EnumSubkey(i, 255);
        if (!name || i == 100) {
            EXPECT_EQ(name.error(), err::kNoMoreItems);
            return names;
        }
        names.push_back(*name);
    }
}
inline std::vector<std::string> ValueNamesOf(const RegistryKey& key) {
    std::vector<std::string> names;
    for (std::uint32_t i = 0;; ++i) {
        auto value = key.EnumValue(i, 255, 1024);
        if (!value || i == 100) {
            EXPECT_EQ(value.error(), err::kNoMoreItems);
            return names;
        }
        names.push_back(value->name);
    }
}

}  // namespace kavlo::platform::conformance
