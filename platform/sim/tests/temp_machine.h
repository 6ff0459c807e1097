#pragma once
// A machine folder built in a temporary directory for one test and removed after it.

#include <filesystem>
#include <string>
#include <string_view>

namespace kavlo::platform::sim::testing {

/// The [system] section that every test machine starts from.
inline constexpr std::string_view kMinimalSystem =
    "[system]\n"
    "platform = NT\nmajor = 5\nminor = 0\nbuild = 2195\nservice_pack = Service Pack 2\n"
    "computer_name = TESTPC\nhost_name = testpc\nwindows_dir = C:\\WINNT\nsystem_dir = C:\\WINNT\\system32\n"
    "current_dir = C:\\WINNT\nnow = 2002-05-14 10:32:05\n"
    "[drive C:]\ntype = fixed\nfile_system = NTFS\nlabel = SYSTEM\nserial = 2C41-8E07\n"
    "free_bytes = 1000\ntotal_bytes = 5000\n";

/// Makes a FIFO (named pipe) on the host; false where the host has none.
bool MakeHostFifo(const std::filesystem::path& path);
/// True when taking the read permission away makes a folder unreadable: not for
/// root, who reads everything, nor on Windows, whose permissions are access lists.
bool PermissionsCanHideFolders();

class TempMachine {
public:
    TempMachine();
    ~TempMachine();
    TempMachine(const TempMachine&) = delete;
    TempMachine& operator=(const TempMachine&) = delete;

    const std::filesystem::path& root() const { return root_; }
    /// Writes a file below the machine folder (parents created), bytes as given.
    std::filesystem::path Write(std::string_view relative, std::string_view bytes) const;
    /// Creates a directory below the machine folder.
    std::filesystem::path Mkdir(std::string_view relative) const;
    std::string folder() const { return root_.string(); }

private:
    std::filesystem::path root_;
};

}  // namespace kavlo::platform::sim::testing
