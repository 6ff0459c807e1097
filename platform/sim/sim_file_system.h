#pragma once
// The drives of a simulated machine: drives/<letter>/ host folders seen with
// Windows semantics (case-insensitive names, 8.3 short names, attributes,
// FindFirstFile patterns, reparse points for host symbolic links).

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/machine_config.h"
#include "platform/sim/machine_path.h"

namespace kavlo::platform::sim {

class SimFileSystem {
public:
    SimFileSystem(std::filesystem::path machineFolder, const MachineConfig& config);

    /// Checks drives/ (folders that cannot be read or lead outside the machine
    /// folder included) and the [file] sections against the host folders;
    /// returns "" or the first problem ("machine.ini:12: ...").
    std::string Validate(std::string_view iniLabel);

    Result<std::vector<FindEntry>> FindFiles(std::string_view pattern);
    /// A machine file that can be read: its host file and the size listed for it.
    struct HostFileRef {
        std::filesystem::path path;
        std::uint64_t size = 0;
    };
    /// The host file behind a machine file that can be read (5 for directories).
    Result<HostFileRef> HostFile(std::string_view path);
    Result<std::string> ShortPathName(std::string_view path);
    /// Success when the path is an existing directory.
    Status CheckDirectory(std::string_view path);

private:
    struct Entry {
        std::string name;
        std::string folded;
        std::string shortName;  // empty when the name is an 8.3 name
        std::string shortFolded;
        std::filesystem::path target;  // host path to read or list; empty for links leaving the machine
        bool isDirectory = false;
        std::uint64_t size = 0;
        std::uint32_t attributes = 0;
        LocalTime modified;
    };
    // One directory's entries in name order, with an index from every folded long
    // and short name to the entries that carry it (in listing order), so that an
    // exact name is found without scanning the directory.
    struct Listing {
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::vector<std::uint32_t>> byName;
        bool unreadable = false;  ///< the host folder could not be listed
        /// The entries named `folded` by their long or short name, in listing order.
        const std::vector<std::uint32_t>* Named(const std::string& folded) const;
    };
    struct Located {
        // One entry per path component. They point into cached listings, which
        // stay in cache_ for the life of the file system.
        std::vector<const Entry*> chain;
        std::string canonical;  // "C:\WINNT\system32" with the names as stored
        std::string folded;     // the same, folded: the key of its listing
        const std::filesystem::path* target =
            nullptr;  // host path (in a listing or driveFolders_); empty when unreachable
        bool isDirectory = true;
    };

    const DriveConfig* Drive(char letter) const;
    /// Fills driveFolders_ with the drive folders that lie inside the machine
    /// folder; the first problem goes to problem_.
    void FindDriveFolders();
    Result<Located> Locate(char drive, const std::vector<std::string>& components);
    std::shared_ptr<const Listing> List(const std::string& canonicalDir, const std::filesystem::path& hostDir,
                                        const DriveConfig& drive);
    /// List with the folded canonical path already at hand.
    std::shared_ptr<const Listing> List(const std::string& foldedDir, const std::string& canonicalDir,
                                        const std::filesystem::path& hostDir, const DriveConfig& drive);
    Entry RootEntry(char drive) const;
    /// The host folder of a drive; an empty path when it has none.
    const std::filesystem::path& DriveFolder(char drive) const;
    const FileMeta* Meta(const std::string& canonicalPath) const;

    std::filesystem::path machineRoot_;                             // canonical; links may not leave it
    std::unordered_map<char, std::filesystem::path> driveFolders_;  // canonical, inside machineRoot_
    std::string problem_;  // why the drive folders cannot be used; "" when they can
    std::vector<DriveConfig> drives_;
    std::vector<FileMeta> files_;
    std::unordered_map<std::string, std::size_t> fileIndex_;  // folded canonical path -> files_
    std::string currentDir_;
    std::uint32_t codePage_;
    LocalTime now_;

    std::mutex cacheMutex_;
    std::unordered_map<std::string, std::shared_ptr<const Listing>> cache_;  // by folded canonical directory
};

}  // namespace kavlo::platform::sim
