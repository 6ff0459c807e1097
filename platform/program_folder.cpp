#include "platform/program_folder.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kavlo::platform {

namespace fs = std::filesystem;

std::string ProgramFolder() {
#ifdef _WIN32
    // Long paths exceed MAX_PATH; the name is cut (and the buffer full) until it fits.
    std::string name(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        if (name.size() >= 32768) return {};
        name.resize(name.size() * 2);
    }
    // Cut at the last separator rather than through fs::path, which would convert
    // the ANSI name to UTF-16 and back.
    const std::size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : name.substr(0, slash);
#else
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return program.parent_path().string();
#endif
}

std::string InstalledDataFolder() {
    const std::string program = ProgramFolder();
    if (program.empty()) return {};
    // KAVLO_INSTALLED_DATA_FROM_PROGRAM is the relative path from the installed
    // program to its data, set by cmake/Packaging.cmake with the install layout.
    std::error_code ec;
    const fs::path data = fs::path(program) / KAVLO_INSTALLED_DATA_FROM_PROGRAM;
    if (!fs::is_directory(data, ec)) return {};
    return data.lexically_normal().string();
}

}  // namespace kavlo::platform
