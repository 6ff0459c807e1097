#include "platform/testing/temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

namespace kavlo::testing {
namespace fs = std::filesystem;

namespace {
// Relative names are UTF-8, so that a test can name a file the host spells in Unicode.
fs::path Below(const fs::path& root, std::string_view relative) {
    return root / fs::path(std::u8string(relative.begin(), relative.end()));
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
}  // namespace

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("kavlo-test-" + std::to_string(random()) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(root_);
}

TempFolder::~TempFolder() {
    // Tests leave read-only files and unreadable folders behind, which would survive remove_all.
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(root_, ignored);
         !ignored && it != fs::recursive_directory_iterator(); it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

std::string TempFolder::File(std::string_view relative) const { return Below(root_, relative).string(); }

std::string TempFolder::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path path = Below(root_, relative);
    fs::create_directories(path.parent_path());
    WriteFile(path, bytes);
    return path.string();
}

std::string TempFolder::Mkdir(std::string_view relative) const {
    const fs::path path = Below(root_, relative);
    fs::create_directories(path);
    return path.string();
}

std::set<std::string> TempFolder::Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_)) names.insert(entry.path().filename().string());
    return names;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(fs::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, std::string_view bytes) { WriteFile(path, bytes); }

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

}  // namespace kavlo::testing
