#pragma once
// Test support: a fresh folder on the host for one test, removed with everything in it afterwards,
// and the pieces every simulated test machine starts from.

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace kavlo::testing {

/// The [system] and [drive C:] sections that every simulated test machine starts from.
inline constexpr std::string_view kMinimalSystem =
    "[system]\n"
    "platform = NT\nmajor = 5\nminor = 0\nbuild = 2195\nservice_pack = Service Pack 2\n"
    "computer_name = TESTPC\nhost_name = testpc\nwindows_dir = C:\\WINNT\nsystem_dir = C:\\WINNT\\system32\n"
    "current_dir = C:\\WINNT\nnow = 2002-05-14 10:32:05\n"
    "[drive C:]\ntype = fixed\nfile_system = NTFS\nlabel = SYSTEM\nserial = 2C41-8E07\n"
    "free_bytes = 1000\ntotal_bytes = 5000\n";

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::string folder() const { return root_.string(); }
    /// Full path of an entry below the folder, as the functions under test take it.
    std::string File(std::string_view relative) const;
    /// Writes a file below the folder (parents created), bytes as given; returns its full path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    /// Creates a folder below the folder (parents created); returns its full path.
    std::string Mkdir(std::string_view relative) const;
    /// The names of the entries directly in the folder.
    std::set<std::string> Names() const;

private:
    std::filesystem::path root_;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, std::string_view bytes);

/// Makes a FIFO (named pipe) on the host; false where the host has none.
bool MakeHostFifo(const std::filesystem::path& path);
/// True when taking the read permission away makes a folder unreadable: not for
/// root, who reads everything, nor on Windows, whose permissions are access lists.
bool PermissionsCanHideFolders();

}  // namespace kavlo::testing
