#pragma once
// A fixture that runs each test on every registry backend of the build.

#include <gtest/gtest.h>

#include "engine/app_context.h"
#include "probes/registry/tests/registry_backend.h"

namespace kavlo::test {

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
