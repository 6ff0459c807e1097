#pragma once
// A fixture that runs each test on every backend of the build (see
// engine/testing/backend_fixture.h), each holding the same test keys under
// HKCU\Software\KavloEngineTest (see backends.cpp).

#include <gtest/gtest.h>

#include "engine/testing/backend_fixture.h"

namespace kavlo::test {

/// Writes the test keys into a backend.
void WriteTestKeys(testing::TestBackend& backend);

class OnEveryBackend : public ::testing::TestWithParam<testing::BackendChoice> {
protected:
    void SetUp() override {
        backend_ = GetParam().make();
        WriteTestKeys(*backend_);
    }
    AppContext& context() { return backend_->Context(); }
    platform::Machine& machine() { return context().machine; }

private:
    std::unique_ptr<testing::TestBackend> backend_;
};

#define KAVLO_ON_EVERY_REGISTRY_BACKEND(Suite) \
    INSTANTIATE_TEST_SUITE_P(Backends, Suite, ::testing::ValuesIn(testing::TestBackends()), testing::BackendName)

}  // namespace kavlo::test
