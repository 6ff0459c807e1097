#include "engine/testing/backend_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "engine/testing/script_rig.h"
#include "engine/testing/sim_script_run.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/win32_machine.h"
#endif

namespace kavlo::testing {
namespace {

namespace fs = std::filesystem;

class SimBackend final : public TestBackend {
public:
    std::string Root() const override { return "C:\\T"; }
    void WriteFile(const std::string& relative, const std::string& bytes) override {
        image_.DriveFile("T/" + Slashed(relative), bytes);
    }
    void Mkdir(const std::string& relative) override { image_.DriveFolder("T/" + Slashed(relative)); }
    bool LinkToParent(const std::string& relative) override {
        std::error_code error;
        fs::create_directory_symlink("..", image_.HostPath("drives/c/T/" + Slashed(relative)), error);
        return !error;
    }
    void AddUserKey(const std::string& key) override { Section(key); }
    // Every value as bytes of its type number (below 16), which the image's reader takes for any type.
    void SetUserValue(const std::string& key, const std::string& name, std::uint32_t type,
                      const std::string& data) override {
        Section(key);
        static const char kHex[] = "0123456789abcdef";
        std::string line = (name.empty() ? "@" : "\"" + name + "\"") + "=hex(" + kHex[type & 15] + "):";
        for (std::size_t i = 0; i < data.size(); ++i) {
            const auto byte = static_cast<unsigned char>(data[i]);
            line += std::string(i ? "," : "") + kHex[byte >> 4] + kHex[byte & 15];
        }
        registry_ += line + "\n";
    }
    AppContext& Context() override {
        if (!context_) {
            if (!registry_.empty()) image_.Registry("test-keys", registry_);
            context_ = &image_.Load();
        }
        return *context_;
    }

private:
    static std::string Slashed(std::string path) {
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }
    void Section(const std::string& key) {
        if (key == section_) return;
        section_ = key;
        registry_ += "\n[HKEY_CURRENT_USER\\" + key + "]\n";
    }
    SimImage image_;
    AppContext* context_ = nullptr;
    std::string registry_, section_;
};

#ifdef _WIN32
// The computer itself: files below a folder of its temporary folder, keys below
// HKEY_CURRENT_USER; both are removed when the backend goes.
class RealBackend final : public TestBackend {
public:
    RealBackend() {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof temp, temp);
        root_ = std::string(temp, length < sizeof temp ? length : 0) + "KavloBackend-" +
                std::to_string(::GetCurrentProcessId());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    ~RealBackend() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
        for (const std::string& key : keys_) (void)machine_->DeleteKey(platform::RegRoot::CurrentUser, key);
    }
    std::string Root() const override { return root_; }
    void WriteFile(const std::string& relative, const std::string& bytes) override {
        fs::create_directories(fs::path(root_ + "\\" + relative).parent_path());
        std::ofstream(root_ + "\\" + relative, std::ios::binary) << bytes;
    }
    void Mkdir(const std::string& relative) override { fs::create_directories(root_ + "\\" + relative); }
    bool LinkToParent(const std::string& relative) override {
        const std::string link = root_ + "\\" + relative;
        if (!::CreateSymbolicLinkA(link.c_str(), fs::path(link).parent_path().string().c_str(),
                                   SYMBOLIC_LINK_FLAG_DIRECTORY))
            return false;
        auto entries = machine_->FindFiles(link);  // Wine does not report every link as a reparse point
        return entries.ok() && entries->front().IsReparsePoint();
    }
    void AddUserKey(const std::string& key) override { ::RegCloseKey(Create(key)); }
    void SetUserValue(const std::string& key, const std::string& name, std::uint32_t type,
                      const std::string& data) override {
        const HKEY handle = Create(key);
        const LONG rc = ::RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                         static_cast<DWORD>(data.size()));
        ::RegCloseKey(handle);
        if (rc != ERROR_SUCCESS) ADD_FAILURE() << "cannot set " << key << "\\" << name << ": " << rc;
    }
    AppContext& Context() override { return context_; }

private:
    // A key not related to one this backend made is removed first: a crashed
    // earlier run may have left it behind with other values.
    HKEY Create(const std::string& key) {
        const bool related = std::any_of(keys_.begin(), keys_.end(), [&](const std::string& known) {
            return (key + "\\").starts_with(known + "\\") || (known + "\\").starts_with(key + "\\");
        });
        if (!related) (void)machine_->DeleteKey(platform::RegRoot::CurrentUser, key);
        keys_.push_back(key);
        HKEY handle = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                              nullptr) != ERROR_SUCCESS)
            ADD_FAILURE() << "cannot create HKEY_CURRENT_USER\\" << key;
        return handle;
    }
    std::unique_ptr<platform::Machine> machine_ = platform::win32::MakeWin32Machine();
    AppContext context_{*machine_, Nt50(), "C:\\"};
    std::string root_;
    std::vector<std::string> keys_;
};
#endif

template <class Backend>
std::unique_ptr<TestBackend> Make() {
    return std::make_unique<Backend>();
}

}  // namespace

std::vector<BackendChoice> TestBackends() {
    return {
        {"Sim", &Make<SimBackend>},
#ifdef _WIN32
        {"Real", &Make<RealBackend>},
#endif
    };
}

}  // namespace kavlo::testing
