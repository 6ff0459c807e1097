#include "platform/tests/conformance/backend.h"

namespace kavlo::platform::conformance {

std::vector<BackendKind> AvailableBackends() {
    std::vector<BackendKind> kinds = {{"Sim", &MakeSimBackend}};
#ifdef _WIN32
    kinds.push_back({"Win32", &MakeWin32Backend});
#endif
    return kinds;
}

}  // namespace kavlo::platform::conformance
