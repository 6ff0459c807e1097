#include "engine/testing/fake_machine.h"

#include <algorithm>

namespace kavlo::testing {

struct FakeMachine::Key {
    std::string name;
    std::vector<std::unique_ptr<Key>> subkeys;
    std::vector<platform::NamedRegValue> values;
    WinError openError = err::kSuccess;
};

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

std::vector<std::string_view> Components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

class FakeKey : public platform::RegistryKey {
public:
    explicit FakeKey(FakeMachine::Key& key) : key_(key) {}

    Result<platform::RegValue> QueryValue(std::string_view name, std::size_t bufferSize) const override;
    Result<std::string> EnumSubkey(std::uint32_t index, std::size_t maxNameChars) const override {
        if (index >= key_.subkeys.size()) return Result<std::string>::Failure(err::kNoMoreItems);
        const std::string& name = key_.subkeys[index]->name;
        if (name.size() > maxNameChars) return Result<std::string>::Failure(err::kMoreData);
        return name;
    }
    Result<platform::NamedRegValue> EnumValue(std::uint32_t index, std::size_t maxNameChars,
                                              std::size_t maxDataBytes) const override {
        using R = Result<platform::NamedRegValue>;
        if (index >= key_.values.size()) return R::Failure(err::kNoMoreItems);
        const platform::NamedRegValue& value = key_.values[index];
        if (value.name.size() > maxNameChars || value.value.data.size() > maxDataBytes)
            return R::Failure(err::kMoreData);
        return value;
    }
    Result<std::string> SecurityDescriptor() const override { return Result<std::string>::Failure(err::kNotSupported); }
    Status SetString(std::string_view name, std::string_view value) override {
        for (auto& v : key_.values) {
            if (SameName(v.name, name)) {
                v.value = {platform::regtype::kSz, std::string(value)};
                return {};
            }
        }
        key_.values.push_back({std::string(name), {platform::regtype::kSz, std::string(value)}});
        return {};
    }

private:
    FakeMachine::Key& key_;
};

Result<platform::RegValue> FakeKey::QueryValue(std::string_view name, std::size_t bufferSize) const {
    for (const auto& v : key_.values) {
        if (!SameName(v.name, name)) continue;
        if (v.value.data.size() > bufferSize) return Result<platform::RegValue>::Failure(err::kMoreData);
        return v.value;
    }
    return Result<platform::RegValue>::Failure(err::kFileNotFound);
}

class StringFile : public platform::InputFile {
public:
    explicit StringFile(const std::string& data) : data_(data) {}
    Result<std::size_t> Read(char* buffer, std::size_t size) override {
        if (pos_ >= data_.size()) return std::size_t{0};
        const std::size_t n = std::min<std::size_t>(size, data_.size() - static_cast<std::size_t>(pos_));
        std::copy_n(data_.data() + pos_, n, buffer);
        pos_ += n;
        return n;
    }
    Status Seek(std::uint64_t offset) override {
        pos_ = offset;
        return {};
    }
    std::uint64_t Size() const override { return data_.size(); }

private:
    const std::string& data_;
    std::uint64_t pos_ = 0;
};

}  // namespace

FakeMachine::FakeMachine() {
    version_ = {platform::os_platform::kNt, 5, 0, 2195, "Service Pack 2"};
    for (auto root : {platform::RegRoot::LocalMachine, platform::RegRoot::CurrentUser, platform::RegRoot::ClassesRoot,
                      platform::RegRoot::Users})
        roots_[root] = std::make_unique<Key>();
}

FakeMachine::~FakeMachine() = default;

FakeMachine::Key* FakeMachine::FindKey(platform::RegRoot root, std::string_view path, bool create) {
    Key* key = roots_[root].get();
    for (std::string_view part : Components(path)) {
        Key* next = nullptr;
        for (auto& sub : key->subkeys)
            if (SameName(sub->name, part)) next = sub.get();
        if (!next) {
            if (!create) return nullptr;
            key->subkeys.push_back(std::make_unique<Key>());
            key->subkeys.back()->name = std::string(part);
            next = key->subkeys.back().get();
        }
        key = next;
    }
    return key;
}

void FakeMachine::AddKey(platform::RegRoot root, std::string_view path) { FindKey(root, path, true); }

void FakeMachine::SetValue(platform::RegRoot root, std::string_view path, std::string_view name, std::uint32_t type,
                           std::string data) {
    Key* key = FindKey(root, path, true);
    for (auto& v : key->values) {
        if (SameName(v.name, name)) {
            v.value = {type, std::move(data)};
            return;
        }
    }
    key->values.push_back({std::string(name), {type, std::move(data)}});
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
    FindKey(root, path, true)->openError = error;
}

void FakeMachine::AddFile(std::string_view path, std::string contents) { files_[Lower(path)] = std::move(contents); }

Result<std::unique_ptr<platform::RegistryKey>> FakeMachine::OpenKey(platform::RegRoot root, std::string_view path,
                                                                    std::uint32_t) {
    using R = Result<std::unique_ptr<platform::RegistryKey>>;
    Key* key = FindKey(root, path, false);
    if (!key) return R::Failure(err::kFileNotFound);
    if (key->openError != err::kSuccess) return R::Failure(key->openError);
    return std::unique_ptr<platform::RegistryKey>(std::make_unique<FakeKey>(*key));
}

Result<std::unique_ptr<platform::RegistryKey>> FakeMachine::CreateKey(platform::RegRoot root, std::string_view path) {
    return std::unique_ptr<platform::RegistryKey>(std::make_unique<FakeKey>(*FindKey(root, path, true)));
}

Result<std::vector<platform::FindEntry>> FakeMachine::FindFiles(std::string_view) {
    return Result<std::vector<platform::FindEntry>>::Failure(err::kFileNotFound);
}

Result<std::unique_ptr<platform::InputFile>> FakeMachine::OpenForRead(std::string_view path) {
    auto it = files_.find(Lower(path));
    if (it == files_.end()) return Result<std::unique_ptr<platform::InputFile>>::Failure(err::kFileNotFound);
    return std::unique_ptr<platform::InputFile>(std::make_unique<StringFile>(it->second));
}

Result<std::unique_ptr<platform::VersionResource>> FakeMachine::FileVersion(std::string_view) {
    return Result<std::unique_ptr<platform::VersionResource>>::Failure(err::kFileNotFound);
}

std::uint32_t FakeMachine::DriveType(std::string_view) { return platform::drive::kFixed; }
Result<platform::VolumeInfo> FakeMachine::Volume(std::string_view) { return platform::VolumeInfo{"", "NTFS", 0}; }
Result<platform::DiskSpace> FakeMachine::FreeSpace(std::string_view) { return platform::DiskSpace{}; }
std::vector<std::string> FakeMachine::LogicalDrives() { return {"C:\\"}; }
Result<std::string> FakeMachine::ShortPathName(std::string_view path) { return std::string(path); }

Result<std::string> FakeMachine::ShellFolder(int csidl) {
    auto it = folders_.find(csidl);
    if (it == folders_.end()) return Result<std::string>::Failure(err::kFileNotFound);
    return it->second;
}

std::string FakeMachine::ErrorText(WinError code) {
    switch (code) {
        case 2: return "The system cannot find the file specified.\r\n";
        case 5: return "Access is denied.\r\n";
        case 6: return "The handle is invalid.\r\n";
        case 234: return "More data is available.\r\n";
        case 259: return "No more data is available.\r\n";
        default: return "Error " + std::to_string(code) + ".\r\n";
    }
}

}  // namespace kavlo::testing
