// Fuzz target: self-relative descriptors. Whatever parses must survive a
// write and a second read unchanged, and its SIDs must convert to text and back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/security/access_evaluation.h"
#include "platform/security/security_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavlo::platform;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto parsed = ParseSecurityDescriptor(bytes);
    if (!parsed) return 0;
    auto again = ParseSecurityDescriptor(SerializeSecurityDescriptor(*parsed));
    if (!again || !(*again == *parsed)) std::abort();
    for (const SidBytes* sid : {&parsed->owner, &parsed->group}) {
        if (sid->empty()) continue;
        auto back = SidFromText(SidToText(*sid));
        if (!back || *back != *sid) std::abort();
    }
    (void)EffectiveRights(*parsed, {parsed->owner});
    (void)MaximumAllowedAccess(*parsed, {parsed->owner}, kFileGenericMapping);
    return 0;
}
