#include "platform/sim/sim_file_system.h"

#include <algorithm>
#include <chrono>

#include "platform/codepage.h"
#include "platform/sim/civil_time.h"
#include "platform/sim/contained_path.h"
#include "platform/sim/name_fold.h"
#include "platform/sim/short_names.h"
#include "platform/sim/wildcard.h"

namespace kavlo::platform::sim {
namespace fs = std::filesystem;
namespace {

// Host files that only exist to keep empty folders in version control.
bool IsPlaceholder(const std::string& hostName) { return hostName == ".gitkeep"; }

std::string HostName(const fs::path& path) {
    const std::u8string name = path.filename().u8string();
    return std::string(reinterpret_cast<const char*>(name.data()), name.size());
}

// A host name as a row shows it: Windows names hold no control characters,
// and a line feed would split the row in two.
std::string MachineName(const std::string& hostName, std::uint32_t codePage) {
    std::string name = Utf8ToAnsi(hostName, codePage);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return name;
}

// Why a folder of the machine is refused; "" when it may be used.
std::string FolderProblem(const fs::path& root, const fs::path& path, const ContainedPath& resolved) {
    const std::string shown = ShownPath(root, path);
    switch (resolved.state) {
        case ContainedPath::State::kOutside: return shown + ": a symbolic link leading outside the machine folder";
        case ContainedPath::State::kUnreadable: return shown + ": cannot be read (" + resolved.reason + ")";
        case ContainedPath::State::kMissing: return shown + ": missing";
        case ContainedPath::State::kInside: break;
    }
    std::error_code ec;
    if (!fs::is_directory(resolved.path, ec)) return shown + ": not a folder";
    fs::directory_iterator probe(resolved.path, ec);
    if (ec) return shown + ": cannot be read (" + ec.message() + ")";
    return {};
}

std::optional<LocalTime> HostTime(const fs::path& path) {
    std::error_code ec;
    const fs::file_time_type written = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    const auto system = std::chrono::file_clock::to_sys(written);
    const auto seconds = std::chrono::floor<std::chrono::seconds>(system).time_since_epoch().count();
    return CivilFromUnixSeconds(static_cast<std::int64_t>(seconds));
}

std::string ChildPath(const std::string& dir, const std::string& name) {
    return dir.back() == '\\' ? dir + name : dir + "\\" + name;
}

// A search name that matches exactly the entries whose long or short name it is,
// without regard to case. A trailing dot is left to the pattern matcher: "name."
// also finds "name".
bool IsExactName(std::string_view name) { return !HasWildcards(name) && !name.empty() && name.back() != '.'; }

std::string JoinFound(const std::string& directoryText, const std::string& name) {
    if (directoryText.empty()) return name;
    const char last = directoryText.back();
    return (last == '\\' || last == '/' || last == ':') ? directoryText + name : directoryText + "\\" + name;
}

}  // namespace

SimFileSystem::SimFileSystem(fs::path machineFolder, const MachineConfig& config)
    : drives_(config.drives),
      files_(config.files),
      currentDir_(config.currentDir),
      codePage_(config.codePage),
      now_(config.now) {
    std::error_code ec;
    machineRoot_ = fs::canonical(machineFolder, ec);
    if (ec) machineRoot_ = fs::absolute(machineFolder, ec);
    FindDriveFolders();
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const auto parsed = ParseMachinePath(files_[i].path, "C:\\", false);
        if (parsed) fileIndex_[FoldName(JoinMachinePath(parsed->drive, parsed->components))] = i;
    }
}

const DriveConfig* SimFileSystem::Drive(char letter) const {
    for (const DriveConfig& d : drives_)
        if (d.letter == letter) return &d;
    return nullptr;
}

const FileMeta* SimFileSystem::Meta(const std::string& canonicalPath) const {
    const auto found = fileIndex_.find(FoldName(canonicalPath));
    return found == fileIndex_.end() ? nullptr : &files_[found->second];
}

const fs::path& SimFileSystem::DriveFolder(char drive) const {
    static const fs::path kNone;
    const auto folder = driveFolders_.find(drive);
    return folder == driveFolders_.end() ? kNone : folder->second;
}

SimFileSystem::Entry SimFileSystem::RootEntry(char drive) const {
    Entry root;
    root.name = std::string{drive, ':'};
    root.isDirectory = true;
    root.attributes = attr::kDirectory;
    root.target = DriveFolder(drive);
    const auto time = root.target.empty() ? std::nullopt : HostTime(root.target);
    root.modified = time ? *time : now_;
    return root;
}

const std::vector<std::uint32_t>* SimFileSystem::Listing::Named(const std::string& folded) const {
    const auto found = byName.find(folded);
    return found == byName.end() ? nullptr : &found->second;
}

std::shared_ptr<const SimFileSystem::Listing> SimFileSystem::List(const std::string& canonicalDir,
                                                                  const fs::path& hostDir, const DriveConfig& drive) {
    return List(FoldName(canonicalDir), canonicalDir, hostDir, drive);
}

std::shared_ptr<const SimFileSystem::Listing> SimFileSystem::List(const std::string& key,
                                                                  const std::string& canonicalDir,
                                                                  const fs::path& hostDir, const DriveConfig& drive) {
    {
        std::lock_guard lock(cacheMutex_);
        const auto cached = cache_.find(key);
        if (cached != cache_.end()) return cached->second;
    }
    auto owner = std::make_shared<Listing>();
    std::vector<Entry>* listing = &owner->entries;
    const bool cdfs = SameName(drive.fileSystem, "CDFS");
    std::error_code ec;
    if (!hostDir.empty()) {
        fs::directory_iterator items(hostDir, ec);
        if (ec) owner->unreadable = true;
        for (fs::directory_iterator end; !ec && items != end; items.increment(ec)) {
            const fs::directory_entry& item = *items;
            const std::string hostName = HostName(item.path());
            if (IsPlaceholder(hostName)) continue;
            std::error_code itemError;
            const fs::file_status linkStatus = item.symlink_status(itemError);
            if (itemError) continue;
            Entry entry;
            entry.name = MachineName(hostName, codePage_);
            entry.folded = FoldName(entry.name);
            const bool isLink = fs::is_symlink(linkStatus);
            std::optional<LocalTime> time;
            if (isLink) {
                // Followed only while it stays inside the machine folder.
                // Only folders and regular files are opened: a FIFO or a device
                // behind a link would block or never end.
                const ContainedPath target = ResolveInside(machineRoot_, item.path());
                const fs::file_status status = target.state == ContainedPath::State::kInside
                                                   ? fs::status(target.path, itemError)
                                                   : fs::file_status();
                if (fs::is_directory(status) || fs::is_regular_file(status)) {
                    entry.target = target.path;
                    entry.isDirectory = fs::is_directory(status);
                    time = HostTime(target.path);
                }
            } else if (fs::is_directory(linkStatus) || fs::is_regular_file(linkStatus)) {
                entry.target = item.path();
                entry.isDirectory = fs::is_directory(linkStatus);
                if (!entry.isDirectory) entry.size = fs::file_size(item.path(), itemError);
                if (itemError) entry.size = 0;
                time = HostTime(item.path());
            } else {
                continue;  // sockets, devices and the like are not files of the machine
            }
            const FileMeta* meta = Meta(ChildPath(canonicalDir, entry.name));
            if (meta && meta->modified) time = meta->modified;
            entry.modified = time ? *time : now_;
            std::uint32_t bits = cdfs ? attr::kReadOnly : (entry.isDirectory ? 0 : attr::kArchive);
            if (meta && meta->attributes) bits = *meta->attributes;
            if (entry.isDirectory) bits |= attr::kDirectory;
            if (isLink) bits |= attr::kReparsePoint;
            entry.attributes = bits == 0 ? attr::kNormal : bits;
            listing->push_back(std::move(entry));
        }
    }
    std::sort(listing->begin(), listing->end(),
              [](const Entry& a, const Entry& b) { return NameLess(a.name, b.name); });

    // Given short names are reserved first; generated ones follow in name order.
    ShortNameAllocator shortNames;
    for (Entry& entry : *listing) {
        if (IsShortName(entry.name)) shortNames.Reserve(entry.folded);
        const FileMeta* meta = Meta(ChildPath(canonicalDir, entry.name));
        if (meta && meta->shortName) {
            entry.shortName = *meta->shortName;
            shortNames.Reserve(entry.shortName);
        }
    }
    for (Entry& entry : *listing) {
        if (entry.shortName.empty()) entry.shortName = shortNames.Generate(entry.name);
        entry.shortFolded = FoldName(entry.shortName);
    }
    for (std::uint32_t i = 0; i < listing->size(); ++i) {
        const Entry& entry = (*listing)[i];
        owner->byName[entry.folded].push_back(i);
        if (!entry.shortFolded.empty() && entry.shortFolded != entry.folded) {
            std::vector<std::uint32_t>& named = owner->byName[entry.shortFolded];
            if (named.empty() || named.back() != i) named.push_back(i);
        }
    }

    std::lock_guard lock(cacheMutex_);
    return cache_.emplace(key, std::move(owner)).first->second;
}

Result<SimFileSystem::Located> SimFileSystem::Locate(char drive, const std::vector<std::string>& components) {
    const DriveConfig* config = Drive(drive);
    if (!config) return Result<Located>::Failure(err::kPathNotFound);
    if (!config->ready) return Result<Located>::Failure(err::kNotReady);
    Located out;
    out.canonical = std::string{drive, ':', '\\'};
    out.folded = out.canonical;
    out.chain.reserve(components.size());
    const fs::path* host = &DriveFolder(drive);
    for (std::size_t i = 0; i < components.size(); ++i) {
        const bool last = i + 1 == components.size();
        const std::shared_ptr<const Listing> listing = List(out.folded, out.canonical, *host, *config);
        // The first entry in listing order whose long or short name it is.
        const std::vector<std::uint32_t>* named = listing->Named(FoldName(components[i]));
        if (!named) return Result<Located>::Failure(last ? err::kFileNotFound : err::kPathNotFound);
        const Entry& found = listing->entries[named->front()];
        if (!last && (!found.isDirectory || found.target.empty())) return Result<Located>::Failure(err::kPathNotFound);
        out.chain.push_back(&found);
        out.canonical = ChildPath(out.canonical, found.name);
        // Long names of short-name components can make a path longer than its text.
        if (out.canonical.size() > kMaxMachinePathChars) return Result<Located>::Failure(kFileNameTooLong);
        out.folded = ChildPath(out.folded, found.folded);
        host = &found.target;
    }
    out.target = host;
    out.isDirectory = out.chain.empty() || out.chain.back()->isDirectory;
    return out;
}

Result<std::vector<FindEntry>> SimFileSystem::FindFiles(std::string_view pattern) {
    using R = Result<std::vector<FindEntry>>;
    auto parsed = ParseMachinePath(pattern, currentDir_, true);
    if (!parsed) return R::Failure(parsed.error());
    std::vector<std::string> dir = parsed->components;
    if (parsed->trailingSeparator || dir.empty()) {
        // A directory itself (or a root) is no search result.
        auto located = Locate(parsed->drive, dir);
        if (!located) return R::Failure(located.error() == err::kFileNotFound ? err::kPathNotFound : located.error());
        return R::Failure(located->isDirectory ? err::kFileNotFound : err::kPathNotFound);
    }
    const std::string name = dir.back();
    dir.pop_back();
    auto located = Locate(parsed->drive, dir);
    if (!located) return R::Failure(located.error() == err::kFileNotFound ? err::kPathNotFound : located.error());
    // A drive without a host folder has an empty root.
    if (!located->isDirectory || (located->target->empty() && !located->chain.empty()))
        return R::Failure(err::kPathNotFound);

    std::vector<FindEntry> found;
    auto add = [&](const Entry& e, const std::string& shownName) {
        FindEntry f;
        f.name = shownName;
        f.shortName = shownName == e.name ? e.shortName : std::string();
        f.fullPath = JoinFound(parsed->directoryText, shownName);
        f.attributes = e.attributes;
        f.size = e.isDirectory ? 0 : e.size;
        f.lastWrite = e.modified;
        found.push_back(std::move(f));
    };
    if (!located->chain.empty()) {
        // Every directory but a root lists itself as "." and its parent as "..".
        if (MatchesPattern(name, ".")) add(*located->chain.back(), ".");
        if (MatchesPattern(name, ".."))
            add(located->chain.size() >= 2 ? *located->chain[located->chain.size() - 2] : RootEntry(parsed->drive),
                "..");
    }
    const std::shared_ptr<const Listing> listing =
        List(located->folded, located->canonical, *located->target, *Drive(parsed->drive));
    if (listing->unreadable) return R::Failure(err::kAccessDenied);
    if (IsExactName(name)) {
        if (const std::vector<std::uint32_t>* named = listing->Named(FoldName(name)))
            for (const std::uint32_t i : *named) add(listing->entries[i], listing->entries[i].name);
    } else {
        for (const Entry& e : listing->entries)
            if (MatchesPattern(name, e.name) || (!e.shortName.empty() && MatchesPattern(name, e.shortName)))
                add(e, e.name);
    }
    if (found.empty()) return R::Failure(err::kFileNotFound);
    return found;
}

Result<SimFileSystem::HostFileRef> SimFileSystem::HostFile(std::string_view path) {
    using R = Result<HostFileRef>;
    auto parsed = ParseMachinePath(path, currentDir_, false);
    if (!parsed) return R::Failure(parsed.error());
    if (parsed->components.empty()) return R::Failure(err::kAccessDenied);
    auto located = Locate(parsed->drive, parsed->components);
    if (!located) return R::Failure(located.error());
    if (located->isDirectory) return R::Failure(err::kAccessDenied);
    if (located->target->empty()) return R::Failure(err::kFileNotFound);
    if (parsed->trailingSeparator) return R::Failure(err::kInvalidName);
    return HostFileRef{*located->target, located->chain.back()->size};
}

Status SimFileSystem::CheckDirectory(std::string_view path) {
    auto parsed = ParseMachinePath(path, currentDir_, false);
    if (!parsed) return Status(parsed.error());
    auto located = Locate(parsed->drive, parsed->components);
    if (!located) return Status(located.error() == err::kFileNotFound ? err::kPathNotFound : located.error());
    if (!located->isDirectory || (located->target->empty() && !located->chain.empty()))
        return Status(err::kPathNotFound);
    return {};
}

Result<std::string> SimFileSystem::ShortPathName(std::string_view path) {
    using R = Result<std::string>;
    auto parsed = ParseMachinePath(path, currentDir_, false);
    if (!parsed) return R::Failure(parsed.error());
    auto located = Locate(parsed->drive, parsed->components);
    if (!located) return R::Failure(located.error());
    // The drive as the caller wrote it; each component by its short name when it has one.
    std::string out =
        (path.size() >= 2 && path[1] == ':') ? std::string(path.substr(0, 2)) : std::string{parsed->drive, ':'};
    out += '\\';
    for (std::size_t i = 0; i < parsed->components.size(); ++i) {
        if (i) out += '\\';
        const Entry& e = *located->chain[i];
        out += e.shortName.empty() ? parsed->components[i] : e.shortName;
    }
    if (parsed->trailingSeparator && !parsed->components.empty()) out += '\\';
    return out;
}

void SimFileSystem::FindDriveFolders() {
    const fs::path drivesFolder = machineRoot_ / "drives";
    const ContainedPath drives = ResolveInside(machineRoot_, drivesFolder);
    if (drives.state == ContainedPath::State::kMissing) return;  // a machine without files
    if (std::string problem = FolderProblem(machineRoot_, drivesFolder, drives); !problem.empty()) {
        problem_ = std::move(problem);
        return;
    }
    std::error_code ec;
    for (fs::directory_iterator it(drives.path, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = HostName(it->path());
        if (!name.empty() && name[0] == '.') continue;
        const std::string shown = "drives/" + name;
        const bool letter =
            name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
        std::error_code itemError;
        if (!letter || !it->is_directory(itemError)) {
            problem_ = shown + ": drives/ holds one folder per drive letter (drives/c is C:)";
            return;
        }
        const char upper = static_cast<char>(name[0] & ~0x20);
        if (driveFolders_.count(upper)) {
            problem_ = shown + ": drive " + std::string{upper} + ": has two folders";
            return;
        }
        if (!Drive(upper)) {
            problem_ =
                shown + ": there is no [drive " + std::string{upper} + ":] section in machine.ini for this folder";
            return;
        }
        const fs::path folder = drivesFolder / name;
        const ContainedPath resolved = ResolveInside(machineRoot_, folder);
        if (std::string problem = FolderProblem(machineRoot_, folder, resolved); !problem.empty()) {
            problem_ = std::move(problem);
            return;
        }
        driveFolders_[upper] = resolved.path;
    }
    if (ec) problem_ = "drives: cannot be read (" + ec.message() + ")";
}

std::string SimFileSystem::Validate(std::string_view iniLabel) {
    if (!problem_.empty()) return problem_;
    auto fail = [&](const FileMeta& meta, const std::string& what) {
        return std::string(iniLabel) + ":" + std::to_string(meta.line) + ": " + what;
    };
    for (const FileMeta& meta : files_) {
        const auto parsed = ParseMachinePath(meta.path, "C:\\", false);
        if (!parsed || parsed->components.empty()) return fail(meta, "\"" + meta.path + "\" is not a valid file path");
        if (!Drive(parsed->drive))
            return fail(meta, "no [drive " + std::string{parsed->drive, ':'} + "] section for " + meta.path);
        if (!Drive(parsed->drive)->ready) continue;
        const auto located = Locate(parsed->drive, parsed->components);
        if (!located) return fail(meta, "no such file or directory under drives/: " + meta.path);
        if (!SameName(located->canonical, JoinMachinePath(parsed->drive, parsed->components)))
            return fail(meta, "name the file by its long names: " + located->canonical);
        if (meta.shortName) {
            std::vector<std::string> dir = parsed->components;
            dir.pop_back();
            const auto parent = Locate(parsed->drive, dir);
            if (!parent) return fail(meta, "no parent directory for " + meta.path);
            const auto listing = List(parent->folded, parent->canonical, *parent->target, *Drive(parsed->drive));
            if (const std::vector<std::uint32_t>* named = listing->Named(*meta.shortName)) {
                for (const std::uint32_t i : *named) {
                    const Entry& other = listing->entries[i];
                    if (&other != located->chain.back())
                        return fail(meta, "short name " + *meta.shortName + " is already used by " + other.name);
                }
            }
        }
    }
    return {};
}

}  // namespace kavlo::platform::sim
