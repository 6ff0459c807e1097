#pragma once
// One machine per production backend of the build that a test fills the same
// way: a simulated machine image and, in Windows builds, the computer the tests
// run on (Wine), whose test folder and registry keys are removed again. Probe
// tests parameterised over TestBackends() state their files and values once and
// expect the same output everywhere. (The in-memory machine is the tests' own
// and is not among them: the probes run the same code on every machine.)

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/app_context.h"

namespace kavlo::testing {

class TestBackend {
public:
    virtual ~TestBackend() = default;
    /// The folder test files go below, as the probes see it.
    virtual std::string Root() const = 0;
    /// Writes a file below Root() (parents created); `relative` uses "\".
    virtual void WriteFile(const std::string& relative, const std::string& bytes) = 0;
    virtual void Mkdir(const std::string& relative) = 0;
    /// Makes `relative` a link to its parent folder; false where the backend cannot.
    virtual bool LinkToParent(const std::string& relative) = 0;
    /// Creates HKEY_CURRENT_USER\`key` (and its parents).
    virtual void AddUserKey(const std::string& key) = 0;
    /// A value of HKEY_CURRENT_USER\`key` ("" names the default value), bytes as stored.
    virtual void SetUserValue(const std::string& key, const std::string& name, std::uint32_t type,
                              const std::string& data) = 0;
    /// The context, once the files and values are written (nothing is written after).
    virtual AppContext& Context() = 0;
};

struct BackendChoice {
    const char* name;
    std::unique_ptr<TestBackend> (*make)();
};

/// Every backend of this build.
std::vector<BackendChoice> TestBackends();

/// A test case name per backend for INSTANTIATE_TEST_SUITE_P.
inline std::string BackendName(const ::testing::TestParamInfo<BackendChoice>& info) { return info.param.name; }

}  // namespace kavlo::testing
