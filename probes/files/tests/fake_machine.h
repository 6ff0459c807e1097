#pragma once
// An in-memory machine for the file-probe tests: files, directories, version
// resources, drives and environment variables set by each test, with exact
// control over things a folder image cannot express (a file that vanishes
// between a listing and a lookup, a version block above the reader's limit).

#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace kavlo::test {

struct FakeVersion {
    std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> translations;
    std::map<std::string, std::string> strings;  ///< full sub-block path -> value
    std::uint32_t blockSize = 1000;
};

class FakeVersionResource : public platform::VersionResource {
public:
    explicit FakeVersionResource(FakeVersion v) : v_(std::move(v)) {}
    std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> Translations() const override {
        return v_.translations;
    }
    std::optional<std::string> QueryString(std::string_view subBlock) const override {
        auto it = v_.strings.find(std::string(subBlock));
        if (it == v_.strings.end()) return std::nullopt;
        return it->second;
    }
    std::uint32_t BlockSize() const override { return v_.blockSize; }

private:
    FakeVersion v_;
};

class FakeInputFile : public platform::InputFile {
public:
    FakeInputFile(std::string content, std::size_t chunk) : content_(std::move(content)), chunk_(chunk) {}
    Result<std::size_t> Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, chunk_, content_.size() - std::min(pos_, content_.size())});
        std::copy_n(content_.data() + pos_, n, buffer);
        pos_ += n;
        return n;
    }
    Status Seek(std::uint64_t offset) override {
        pos_ = static_cast<std::size_t>(offset);
        return {};
    }
    std::uint64_t Size() const override { return content_.size(); }

private:
    std::string content_;
    std::size_t chunk_;
    std::size_t pos_ = 0;
};

class FakeMachine : public platform::Machine {
public:
    struct Node {
        std::string path;  ///< full path as created, e.g. "C:\dir\a.txt"
        std::uint32_t attributes = platform::attr::kArchive;
        std::uint64_t size = 0;
        platform::LocalTime lastWrite{2001, 6, 15, 14, 5, 9, 5};
        std::string content;
        std::optional<FakeVersion> version;
        std::string shortPath;
    };

    /// Adds a file (and its parent directories) in creation order.
    Node& AddFile(const std::string& path, std::uint64_t size = 0) {
        AddParents(path);
        Node& n = Put(path);
        n.size = size;
        return n;
    }
    Node& AddTextFile(const std::string& path, const std::string& content) {
        Node& n = AddFile(path, content.size());
        n.content = content;
        return n;
    }
    Node& AddDirectory(const std::string& path) {
        AddParents(path);
        Node& n = Put(path);
        n.attributes = platform::attr::kDirectory;
        return n;
    }
    /// A directory entry that is a junction: listed, and found, but never to be walked.
    Node& AddJunction(const std::string& path) {
        Node& n = AddDirectory(path);
        n.attributes = platform::attr::kDirectory | platform::attr::kReparsePoint;
        return n;
    }
    /// Listings still show the entry, but looking up its own path fails (it vanished).
    void Vanish(const std::string& path) { vanished_.insert(Fold(path)); }

    struct DriveSetup {
        std::uint32_t type = platform::drive::kFixed;
        std::string fileSystem = "NTFS";
        std::optional<std::uint64_t> freeBytes = 2'500'000'000ull;
    };
    std::map<char, DriveSetup> drives{{'C', {}}};
    std::map<std::string, std::string> environment;
    std::string windowsDirectory = "C:\\WINNT";
    std::string systemDirectory = "C:\\WINNT\\System32";
    std::size_t readChunk = 7;  ///< small reads exercise line assembly across chunks
    int findCalls = 0;
    /// The access mask every access check grants; none: the check fails with `accessError`.
    std::optional<std::uint32_t> grantedAccess;
    WinError accessError = err::kNotSupported;
    std::vector<std::string> accessChecked;  ///< paths given to EffectiveAccess, in order

    // ------------------------------------------------------------ Machine
    Result<std::unique_ptr<platform::RegistryKey>> OpenKey(platform::RegRoot, std::string_view,
                                                           std::uint32_t) override {
        return Result<std::unique_ptr<platform::RegistryKey>>::Failure(err::kFileNotFound);
    }
    Result<std::unique_ptr<platform::RegistryKey>> CreateKey(platform::RegRoot, std::string_view) override {
        return Result<std::unique_ptr<platform::RegistryKey>>::Failure(err::kAccessDenied);
    }

    Result<std::vector<platform::FindEntry>> FindFiles(std::string_view pattern) override {
        ++findCalls;
        const auto slash = pattern.rfind('\\');
        if (slash == std::string_view::npos) return Result<std::vector<platform::FindEntry>>::Failure(2);
        const std::string dir(pattern.substr(0, slash));
        const std::string namePattern(pattern.substr(slash + 1));
        const bool wild = namePattern.find_first_of("*?") != std::string::npos;
        const bool dirExists = dir.size() == 2 ? drives.count(Upper(dir[0])) != 0 : Find(dir) != nullptr;
        if (!dirExists || namePattern.empty()) return Result<std::vector<platform::FindEntry>>::Failure(3);
        std::vector<platform::FindEntry> out;
        if (wild && dir.size() > 2) {
            for (const char* dot : {".", ".."})
                if (Matches(namePattern, dot))
                    out.push_back(Entry(dir + "\\" + dot, dot, platform::attr::kDirectory, 0));
        }
        for (const Node& n : nodes_) {
            const auto s = n.path.rfind('\\');
            if (Fold(n.path.substr(0, s)) != Fold(dir)) continue;
            const std::string name = n.path.substr(s + 1);
            if (!Matches(namePattern, name)) continue;
            if (!wild && vanished_.count(Fold(n.path))) continue;
            out.push_back(Entry(dir + "\\" + name, name, n.attributes, n.size, n.lastWrite));
        }
        if (out.empty()) return Result<std::vector<platform::FindEntry>>::Failure(2);
        return out;
    }
    Result<std::unique_ptr<platform::InputFile>> OpenForRead(std::string_view path) override {
        const Node* n = Find(std::string(path));
        if (!n || (n->attributes & platform::attr::kDirectory))
            return Result<std::unique_ptr<platform::InputFile>>::Failure(n ? 5 : 2);
        return std::unique_ptr<platform::InputFile>(std::make_unique<FakeInputFile>(n->content, readChunk));
    }
    Result<std::unique_ptr<platform::VersionResource>> FileVersion(std::string_view path) override {
        const Node* n = Find(std::string(path));
        if (!n) return Result<std::unique_ptr<platform::VersionResource>>::Failure(2);
        if (!n->version) return Result<std::unique_ptr<platform::VersionResource>>::Failure(1813);
        return std::unique_ptr<platform::VersionResource>(std::make_unique<FakeVersionResource>(*n->version));
    }
    std::uint32_t DriveType(std::string_view root) override {
        if (root.size() < 2 || root[1] != ':') return platform::drive::kNoRootDir;
        auto it = drives.find(Upper(root[0]));
        return it == drives.end() ? platform::drive::kNoRootDir : it->second.type;
    }
    Result<platform::VolumeInfo> Volume(std::string_view root) override {
        auto it = root.size() >= 2 ? drives.find(Upper(root[0])) : drives.end();
        if (it == drives.end()) return Result<platform::VolumeInfo>::Failure(3);
        return platform::VolumeInfo{"DISK", it->second.fileSystem, 0x1234};
    }
    Result<platform::DiskSpace> FreeSpace(std::string_view root) override {
        auto it = root.size() >= 2 ? drives.find(Upper(root[0])) : drives.end();
        if (it == drives.end() || !it->second.freeBytes) return Result<platform::DiskSpace>::Failure(21);
        return platform::DiskSpace{*it->second.freeBytes, 0, 0};
    }
    std::vector<std::string> LogicalDrives() override { return {}; }
    Result<std::string> ShortPathName(std::string_view path) override {
        const Node* n = Find(std::string(path));
        if (!n) return Result<std::string>::Failure(2);
        return n->shortPath.empty() ? std::string(path) : n->shortPath;
    }
    Result<std::uint32_t> EffectiveAccess(std::string_view path) override {
        accessChecked.emplace_back(path);
        if (!grantedAccess) return Result<std::uint32_t>::Failure(accessError);
        return *grantedAccess;
    }
    platform::OsVersion Version() override { return {platform::os_platform::kNt, 5, 0, 2195, "Service Pack 2"}; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string SystemDirectory() override { return systemDirectory; }
    std::string ComputerName() override { return "FAKE"; }
    Result<std::string> HostName() override { return std::string("fake"); }
    std::string CurrentDirectory() override { return "C:\\"; }
    std::optional<std::string> Environment(std::string_view name) override {
        for (const auto& [k, v] : environment)
            if (Fold(k) == Fold(std::string(name))) return v;
        return std::nullopt;
    }
    std::string ExpandEnvironment(std::string_view text) override {
        std::string out;
        std::size_t i = 0;
        while (i < text.size()) {
            const auto open = text.find('%', i);
            const auto close = open == std::string_view::npos ? open : text.find('%', open + 1);
            if (close == std::string_view::npos) break;
            out.append(text.substr(i, open - i));
            const auto value = Environment(text.substr(open + 1, close - open - 1));
            out += value ? *value : std::string(text.substr(open, close - open + 1));
            i = close + 1;
        }
        out.append(text.substr(std::min(i, text.size())));
        return out;
    }
    platform::LocalTime Now() override { return {}; }
    std::uint32_t ProcessorCount() override { return 1; }
    platform::MemoryStatus Memory() override { return {}; }
    Result<std::string> ShellFolder(int) override { return Result<std::string>::Failure(2); }
    std::string ErrorText(WinError code) override {
        if (code == 2) return "The system cannot find the file specified.\r\n";
        return "Error text " + std::to_string(code) + "\r\n";
    }
    std::uint32_t AnsiCodePage() override { return 1252; }

    static bool Matches(std::string_view pattern, std::string_view name) {
        if (pattern == "*.*") return true;
        if (pattern.empty()) return name.empty();
        if (pattern[0] == '*') {
            for (std::size_t i = 0; i <= name.size(); ++i)
                if (Matches(pattern.substr(1), name.substr(i))) return true;
            return false;
        }
        if (name.empty()) return false;
        if (pattern[0] != '?' && Upper(pattern[0]) != Upper(name[0])) return false;
        return Matches(pattern.substr(1), name.substr(1));
    }

private:
    static char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
    static std::string Fold(std::string s) {
        for (char& c : s) c = Upper(c);
        return s;
    }
    static platform::FindEntry Entry(std::string fullPath, std::string name, std::uint32_t attributes,
                                     std::uint64_t size, platform::LocalTime time = {}) {
        platform::FindEntry e;
        e.name = std::move(name);
        e.fullPath = std::move(fullPath);
        e.attributes = attributes;
        e.size = size;
        e.lastWrite = time;
        return e;
    }
    static Node MakeNode(const std::string& path, std::uint32_t attributes) {
        Node n;
        n.path = path;
        n.attributes = attributes;
        return n;
    }
    const Node* Find(const std::string& path) const {
        auto it = index_.find(Fold(path));
        return it == index_.end() ? nullptr : &nodes_[it->second];
    }
    Node& Put(const std::string& path, std::uint32_t attributes = platform::attr::kArchive) {
        auto [it, added] = index_.emplace(Fold(path), nodes_.size());
        if (added) nodes_.push_back(MakeNode(path, attributes));
        return nodes_[it->second];
    }
    void AddParents(const std::string& path) {
        for (auto s = path.find('\\', 3); s != std::string::npos; s = path.find('\\', s + 1))
            Put(path.substr(0, s), platform::attr::kDirectory);
    }

    std::deque<Node> nodes_;                    // creation order is the listing order; references stay valid
    std::map<std::string, std::size_t> index_;  // folded path -> nodes_
    std::set<std::string> vanished_;
};

}  // namespace kavlo::test
