#include "platform/sim/sim_remote_control.h"

#include <algorithm>

#include "platform/caller_file.h"

namespace kavlo::platform::sim {
namespace {

constexpr std::string_view kServerProgId = "MIRROLETSVR.RemoteDataManager";
// Caller files are a few hundred bytes; more than this is not a caller file.
constexpr std::size_t kMaxCallerFileBytes = 64 * 1024;

std::optional<std::string> ReadSmallFile(Machine& machine, const std::string& path) {
    auto file = machine.OpenForRead(path);
    if (!file || (*file)->Size() > kMaxCallerFileBytes) return std::nullopt;
    std::string bytes(static_cast<std::size_t>((*file)->Size()), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        auto got = (*file)->Read(bytes.data() + filled, bytes.size() - filled);
        if (!got) return std::nullopt;
        if (*got == 0) break;
        filled += *got;
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace

Result<std::vector<RemoteCallerFile>> SimRemoteCallerFiles(Machine& machine, std::string_view filesDirectory) {
    if (!machine.OpenKey(RegRoot::ClassesRoot, kServerProgId))
        return Result<std::vector<RemoteCallerFile>>::Failure(err::kFileNotFound);
    std::vector<RemoteCallerFile> callers;
    std::string folder(filesDirectory);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    // A folder that does not exist or holds no caller file lists nothing.
    auto entries = machine.FindFiles(folder + "*.CHF");
    if (!entries) return callers;
    for (const FindEntry& entry : *entries) {
        if (entry.IsDirectory()) continue;
        const auto bytes = ReadSmallFile(machine, entry.fullPath);
        auto caller = bytes ? ParseCallerFile(*bytes) : std::nullopt;
        if (!caller) continue;  // its caller object cannot be opened
        caller->fileName = entry.fullPath;
        callers.push_back(std::move(*caller));
    }
    return callers;
}

}  // namespace kavlo::platform::sim
