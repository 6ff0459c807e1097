// Fuzz target: the PE resource walk and the VS_VERSIONINFO parser. The input
// is tried both as a whole image and as a bare version block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/pe_version.h"
#include "platform/version_info.h"

namespace {

void Query(const std::string& block) {
    auto info = kavlo::platform::VersionInfo::Parse(block, 1252);
    if (!info) return;
    (void)info->Translations();
    (void)info->Fixed();
    (void)info->BlockSize();
    for (const char* path : {"\\StringFileInfo\\040904b0\\FileVersion", "\\StringFileInfo\\040904E4\\CompanyName",
                             "\\VarFileInfo\\Translation", "\\StringFileInfo", "\\", "\\\\\\x\\\\y"})
        (void)info->QueryString(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kavlo::platform::MemoryBytes image(bytes);
    if (auto block = kavlo::platform::ReadVersionResource(image)) Query(*block);
    Query(std::string(bytes));
    return 0;
}
