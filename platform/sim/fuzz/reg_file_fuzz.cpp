// Fuzz target: a .reg file applied to an empty registry, then walked.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/sim/reg_file.h"
#include "platform/sim/sim_registry.h"

namespace {

// Reads every key and value back so that whatever the parser stored is touched.
void Walk(const std::shared_ptr<kavlo::platform::sim::RegistryStore>& store, kavlo::platform::RegRoot root) {
    auto key = kavlo::platform::sim::OpenSimKey(store, root, "", kavlo::platform::kKeyRead);
    if (!key) return;
    for (std::uint32_t i = 0; i < 64; ++i) {
        auto value = (*key)->EnumValue(i, 1 << 16, 1 << 20);
        if (!value) break;
    }
    for (std::uint32_t i = 0; i < 64; ++i) {
        auto name = (*key)->EnumSubkey(i, 255);
        if (!name) break;
        auto sub = kavlo::platform::sim::OpenSimKey(store, root, *name, kavlo::platform::kKeyRead);
        if (sub) (void)(*sub)->QueryValue("", 1 << 20);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto store = std::make_shared<kavlo::platform::sim::RegistryStore>();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)kavlo::platform::sim::ApplyRegFile(bytes, "fuzz.reg", 1252, *store);
    for (auto root : {kavlo::platform::RegRoot::LocalMachine, kavlo::platform::RegRoot::CurrentUser,
                      kavlo::platform::RegRoot::ClassesRoot, kavlo::platform::RegRoot::Users})
        Walk(store, root);
    return 0;
}
