#pragma once
// Test rig: a fake machine, an application context, and scripts written to a
// temporary host directory, catalogued and run as the program does.

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "engine/app_context.h"
#include "engine/rd_DBGData.h"
#include "engine/rd_titles.h"
#include "engine/testing/fake_machine.h"

namespace kavlo::test {

inline OsInfo Nt50() { return {"NT5.0", "Windows 2000 Professional", 50, true}; }
inline OsInfo Nt40() { return {"NT4.0", "NT ", 40, true}; }
inline OsInfo Win95() { return {"Win95", "Windows 95", 95, false}; }
inline OsInfo Win98() { return {"Win98", "Windows 98", 98, false}; }

/// A directory under the system's temporary folder, removed with its contents.
class TempDir {
public:
    TempDir() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("kavlo-engine-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(counter++) + "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Write(const std::string& name, std::string_view contents) const {
        const auto file = path_ / name;
        std::ofstream out(file, std::ios::binary);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        return file.string();
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

class ScriptRig {
public:
    explicit ScriptRig(OsInfo os = Nt50()) : context(machine, std::move(os), "C:\\") {}

    /// Writes and catalogues one script.
    std::unique_ptr<data_DBGFile> Load(std::string_view script, const std::string& name = "test") {
        const std::string path = dir.Write(name + ".dbg", script);
        return rd_titles(context).LoadScript(path, name);
    }

    /// Catalogues a script and runs one of its titles; the title must exist.
    data_DBGTitle& Run(std::string_view script, std::string_view title) {
        file_ = Load(script);
        data_DBGTitle* found = file_ ? file_->FindTitle(title) : nullptr;
        if (!found) throw std::runtime_error("no title " + std::string(title));
        rd_DBGData(context).RunTitle(*found);
        return *found;
    }

    /// A "text" title whose body is `body` (lines joined by "\n").
    data_DBGTitle& RunText(std::string_view body) {
        return Run(std::string("[TITLE LIST] {\nT\n}\n[TITLE]\nT\ntext\n") + std::string(body) + "\n}\n", "T");
    }
    /// A "tree" title whose body is `body`.
    data_DBGTitle& RunTree(std::string_view body, std::string_view kind = "tree") {
        return Run(std::string("[TITLE LIST] {\nT\n}\n[TITLE]\nT\n") + std::string(kind) + "\n" + std::string(body) +
                       "\n}\n",
                   "T");
    }

    testing::FakeMachine machine;
    AppContext context;
    TempDir dir;

private:
    std::unique_ptr<data_DBGFile> file_;
};

/// The titles of a node's children, in order.
inline std::vector<std::string> ChildTitles(const data_TView& node) {
    std::vector<std::string> titles;
    for (const auto& child : node.children()) titles.push_back(child->title());
    return titles;
}

}  // namespace kavlo::test
