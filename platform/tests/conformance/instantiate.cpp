#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {

INSTANTIATE_TEST_SUITE_P(Backends, Conformance, ::testing::ValuesIn(AvailableBackends()),
                         [](const ::testing::TestParamInfo<BackendKind>& info) { return info.param.name; });

}  // namespace kavlo::platform::conformance
