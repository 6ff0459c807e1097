#pragma once
// A fixture that runs each test on every registry backend of the build. Each
// backend holds the same test keys under HKCU\Software\KavloEngineTest (see
// backends.cpp): an in-memory machine, a simulated machine image, and in Windows
// builds the real registry (under Wine).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/app_context.h"
#include "platform/machine.h"

namespace kavlo::test {

struct RegistryBackend {
    std::unique_ptr<platform::Machine> machine;
    std::function<void()> cleanup;  ///< removes what the backend created; may be empty
    std::string error;              ///< why the backend could not be made
};

struct BackendChoice {
    const char* name;
    RegistryBackend (*make)();
};

/// Every backend of this build.
std::vector<BackendChoice> RegistryBackends();

class OnEveryBackend : public ::testing::TestWithParam<BackendChoice> {
protected:
    void SetUp() override {
        backend_ = GetParam().make();
        ASSERT_TRUE(backend_.machine) << backend_.error;
        context_ = std::make_unique<AppContext>(*backend_.machine, OsInfo{"NT5.0", "", 50, true}, "C:\\");
    }
    void TearDown() override {
        context_.reset();
        if (backend_.cleanup) backend_.cleanup();
    }
    AppContext& context() { return *context_; }
    platform::Machine& machine() { return *backend_.machine; }

private:
    RegistryBackend backend_;
    std::unique_ptr<AppContext> context_;
};

#define KAVLO_ON_EVERY_REGISTRY_BACKEND(Suite)                                         \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite, ::testing::ValuesIn(RegistryBackends()), \
                             [](const auto& info) { return std::string(info.param.name); })

}  // namespace kavlo::test
