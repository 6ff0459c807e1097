#include "platform/sim/tests/temp_machine.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <atomic>
#include <fstream>
#include <random>

namespace kavlo::platform::sim::testing {
namespace fs = std::filesystem;

bool MakeHostFifo(const fs::path& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    return ::mkfifo(path.c_str(), 0600) == 0;
#endif
}

bool PermissionsCanHideFolders() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() != 0;
#endif
}

TempMachine::TempMachine() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("kavlo-sim-" + std::to_string(random()) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(root_);
}

TempMachine::~TempMachine() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

fs::path TempMachine::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path path = root_ / fs::path(std::u8string(relative.begin(), relative.end()));
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

fs::path TempMachine::Mkdir(std::string_view relative) const {
    const fs::path path = root_ / fs::path(std::u8string(relative.begin(), relative.end()));
    fs::create_directories(path);
    return path;
}

}  // namespace kavlo::platform::sim::testing
