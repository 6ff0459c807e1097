#include "engine/testing/fake_machine.h"

#include <algorithm>
#include <cctype>

#include "platform/codepage.h"
#include "platform/sim/name_fold.h"
#include "platform/sim/wildcard.h"

namespace kavlo::testing {

namespace {

using platform::sim::FoldName;
using platform::sim::SameName;

class FakeKey : public platform::RegistryKey {
public:
    explicit FakeKey(platform::sim::RegistryNode& node) : node_(node) {}

    Result<platform::RegValue> QueryValue(std::string_view name, std::size_t bufferSize) const override {
        const platform::sim::StoredValue* value = node_.FindValue(AnsiToUtf16(name));
        if (!value) return Result<platform::RegValue>::Failure(err::kFileNotFound);
        if (value->value.data.size() > bufferSize) return Result<platform::RegValue>::Failure(err::kMoreData);
        return value->value;
    }
    Result<std::string> EnumSubkey(std::uint32_t index, std::size_t maxNameChars) const override {
        if (index >= node_.ChildCount()) return Result<std::string>::Failure(err::kNoMoreItems);
        std::string name = Utf16ToAnsi(node_.ChildAt(index).name());
        if (name.size() > maxNameChars) return Result<std::string>::Failure(err::kMoreData);
        return name;
    }
    Result<platform::NamedRegValue> EnumValue(std::uint32_t index, std::size_t maxNameChars,
                                              std::size_t maxDataBytes) const override {
        using R = Result<platform::NamedRegValue>;
        if (index >= node_.ValueCount()) return R::Failure(err::kNoMoreItems);
        const platform::sim::StoredValue& value = node_.ValueAt(index);
        std::string name = Utf16ToAnsi(value.name);
        if (name.size() > maxNameChars || value.value.data.size() > maxDataBytes) return R::Failure(err::kMoreData);
        return platform::NamedRegValue{std::move(name), value.value};
    }
    Result<std::string> SecurityDescriptor() const override { return Result<std::string>::Failure(err::kNotSupported); }
    Status SetString(std::string_view name, std::string_view value) override {
        node_.SetValue(AnsiToUtf16(name), {platform::regtype::kSz, std::string(value)});
        return {};
    }

private:
    platform::sim::RegistryNode& node_;
};

class ChunkedFile : public platform::InputFile {
public:
    ChunkedFile(std::string content, std::size_t chunk) : content_(std::move(content)), chunk_(chunk) {}
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

/// The drive of a path beginning with "X:", or the map's end.
template <typename Drives>
auto DriveOf(Drives& drives, std::string_view path) {
    if (path.size() < 2 || path[1] != ':') return drives.end();
    return drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
}

}  // namespace

FakeMachine::FakeMachine() { version_ = {platform::os_platform::kNt, 5, 0, 2195, "Service Pack 2"}; }

FakeMachine::~FakeMachine() = default;

void FakeMachine::AddKey(platform::RegRoot root, std::string_view path) { registry_.Create(root, AnsiToUtf16(path)); }

void FakeMachine::SetValue(platform::RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                           std::string data) {
    registry_.Create(root, AnsiToUtf16(path)).SetValue(AnsiToUtf16(name), {type, std::move(data)});
}

void FakeMachine::SetString(platform::RegRoot root, std::string_view path, std::string_view name,
                            std::string_view text) {
    std::string data(text);
    data.push_back('\0');
    SetValue(root, path, name, platform::regtype::kSz, std::move(data));
}

void FakeMachine::SetDword(platform::RegRoot root, std::string_view path, std::string_view name, std::uint32_t value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    SetValue(root, path, name, platform::regtype::kDword, std::move(data));
}

void FakeMachine::DenyKey(platform::RegRoot root, std::string_view path, WinError error) {
    AddKey(root, path);
    deniedKeys_[{root, FoldName(path)}] = error;
}

const FakeMachine::Node* FakeMachine::FindNode(std::string_view path) const {
    auto it = index_.find(FoldName(path));
    return it == index_.end() ? nullptr : &nodes_[it->second];
}

FakeMachine::Node& FakeMachine::Put(std::string_view path, std::uint32_t attributes, bool withParents) {
    if (withParents)
        for (auto s = path.find('\\', 3); s != std::string_view::npos; s = path.find('\\', s + 1))
            Put(path.substr(0, s), platform::attr::kDirectory, false);
    auto [it, added] = index_.emplace(FoldName(path), nodes_.size());
    if (added) {
        nodes_.emplace_back();
        nodes_.back().path = std::string(path);
        nodes_.back().attributes = attributes;
    }
    return nodes_[it->second];
}

FakeMachine::Node& FakeMachine::AddFile(std::string_view path, std::uint64_t size) {
    Node& n = Put(path, platform::attr::kArchive);
    n.size = size;
    return n;
}

FakeMachine::Node& FakeMachine::AddFile(std::string_view path, std::string contents) {
    Node& n = AddFile(path, std::uint64_t{contents.size()});
    n.content = std::move(contents);
    return n;
}

FakeMachine::Node& FakeMachine::AddDirectory(std::string_view path) {
    Node& n = Put(path, platform::attr::kDirectory);
    n.attributes = platform::attr::kDirectory;
    return n;
}

FakeMachine::Node& FakeMachine::AddJunction(std::string_view path) {
    Node& n = AddDirectory(path);
    n.attributes = platform::attr::kDirectory | platform::attr::kReparsePoint;
    return n;
}

void FakeMachine::Vanish(std::string_view path) { vanished_.insert(FoldName(path)); }

Result<std::unique_ptr<platform::RegistryKey>> FakeMachine::OpenKey(platform::RegRoot root, std::string_view path,
                                                                    std::uint32_t) {
    using R = Result<std::unique_ptr<platform::RegistryKey>>;
    platform::sim::RegistryNode* key = registry_.Find(root, AnsiToUtf16(path));
    if (!key) return R::Failure(err::kFileNotFound);
    if (auto denied = deniedKeys_.find({root, FoldName(path)}); denied != deniedKeys_.end())
        return R::Failure(denied->second);
    return std::unique_ptr<platform::RegistryKey>(std::make_unique<FakeKey>(*key));
}

Result<std::unique_ptr<platform::RegistryKey>> FakeMachine::CreateKey(platform::RegRoot root, std::string_view path) {
    return std::unique_ptr<platform::RegistryKey>(std::make_unique<FakeKey>(registry_.Create(root, AnsiToUtf16(path))));
}

Result<std::vector<platform::FindEntry>> FakeMachine::FindFiles(std::string_view pattern) {
    using R = Result<std::vector<platform::FindEntry>>;
    const auto slash = pattern.rfind('\\');
    if (slash == std::string_view::npos) return R::Failure(err::kFileNotFound);
    const std::string dir(pattern.substr(0, slash));
    const std::string_view namePattern = pattern.substr(slash + 1);
    const bool wild = namePattern.find_first_of("*?") != std::string::npos;
    const bool dirExists = dir.size() == 2 ? DriveOf(drives, dir) != drives.end() : FindNode(dir) != nullptr;
    if (!dirExists || namePattern.empty()) return R::Failure(err::kPathNotFound);
    std::vector<platform::FindEntry> out;
    if (wild && dir.size() > 2) {
        for (const char* dot : {".", ".."})
            if (platform::sim::MatchesPattern(namePattern, dot))
                out.push_back({dot, "", dir + "\\" + dot, platform::attr::kDirectory, 0, {}});
    }
    for (const Node& n : nodes_) {
        const auto s = n.path.rfind('\\');
        if (FoldName(n.path.substr(0, s)) != FoldName(dir)) continue;
        const std::string name = n.path.substr(s + 1);
        if (!platform::sim::MatchesPattern(namePattern, name) || (!wild && vanished_.count(FoldName(n.path)))) continue;
        out.push_back({name, "", dir + "\\" + name, n.attributes, n.size, n.lastWrite});
    }
    if (out.empty()) return R::Failure(err::kFileNotFound);
    return out;
}

Result<std::unique_ptr<platform::InputFile>> FakeMachine::OpenForRead(std::string_view path) {
    const Node* n = FindNode(path);
    if (!n || (n->attributes & platform::attr::kDirectory))
        return Result<std::unique_ptr<platform::InputFile>>::Failure(n ? err::kAccessDenied : err::kFileNotFound);
    return std::unique_ptr<platform::InputFile>(std::make_unique<ChunkedFile>(n->content, readChunk));
}

Result<std::unique_ptr<platform::VersionResource>> FakeMachine::FileVersion(std::string_view path) {
    using R = Result<std::unique_ptr<platform::VersionResource>>;
    const Node* n = FindNode(path);
    if (!n) return R::Failure(err::kFileNotFound);
    if (!n->version) return R::Failure(1813);  // ERROR_RESOURCE_TYPE_NOT_FOUND
    return std::unique_ptr<platform::VersionResource>(std::make_unique<FakeVersionResource>(*n->version));
}

std::uint32_t FakeMachine::DriveType(std::string_view root) {
    auto it = DriveOf(drives, root);
    return it == drives.end() ? platform::drive::kNoRootDir : it->second.type;
}

Result<platform::VolumeInfo> FakeMachine::Volume(std::string_view root) {
    auto it = DriveOf(drives, root);
    if (it == drives.end()) return Result<platform::VolumeInfo>::Failure(err::kPathNotFound);
    return platform::VolumeInfo{"DISK", it->second.fileSystem, 0x1234};
}

Result<platform::DiskSpace> FakeMachine::FreeSpace(std::string_view root) {
    auto it = DriveOf(drives, root);
    if (it == drives.end() || !it->second.freeBytes) return Result<platform::DiskSpace>::Failure(21);  // not ready
    return platform::DiskSpace{*it->second.freeBytes, 0, 0};
}

std::vector<std::string> FakeMachine::LogicalDrives() {
    std::vector<std::string> roots;
    for (const auto& [letter, drive] : drives) roots.push_back(std::string(1, letter) + ":\\");
    return roots;
}

Result<std::string> FakeMachine::ShortPathName(std::string_view path) {
    const Node* n = FindNode(path);
    if (!n) return Result<std::string>::Failure(err::kFileNotFound);
    return n->shortPath.empty() ? std::string(path) : n->shortPath;
}

Result<std::uint32_t> FakeMachine::EffectiveAccess(std::string_view) {
    if (!grantedAccess) return Result<std::uint32_t>::Failure(err::kNotSupported);
    return *grantedAccess;
}

std::optional<std::string> FakeMachine::Environment(std::string_view name) {
    for (const auto& [k, v] : environment)
        if (SameName(k, name)) return v;
    return std::nullopt;
}

std::string FakeMachine::ExpandEnvironment(std::string_view text) {
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

Result<std::string> FakeMachine::ShellFolder(int csidl) {
    auto it = folders_.find(csidl);
    if (it == folders_.end()) return Result<std::string>::Failure(err::kFileNotFound);
    return it->second;
}

std::string FakeMachine::ErrorText(WinError code) { return "Error " + std::to_string(code) + ".\r\n"; }

}  // namespace kavlo::testing
