#pragma once
// Runs script bodies against a simulated machine that a test writes into a
// temporary folder (machine.ini, registry/*.reg, drives/...), so that probe
// tests state the machine beside their exact expectations.

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/os_detection.h"
#include "engine/testing/script_runner.h"
#include "platform/sim/sim_machine.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::testing {

/// A machine folder: the minimal NT 5.0 system plus what a test adds.
class SimImage {
public:
    explicit SimImage(std::string_view ini = kavlo::testing::kMinimalSystem) { folder_.Write("machine.ini", ini); }
    /// A REGEDIT4 file of registry lines (the header is added).
    void Registry(std::string_view name, std::string_view lines) const {
        folder_.Write("registry/" + std::string(name) + ".reg", "REGEDIT4\n\n" + std::string(lines));
    }
    /// A file of drive C: by its path below the root ("WINNT/x.log").
    void DriveFile(std::string_view path, std::string_view bytes) const {
        folder_.Write("drives/c/" + std::string(path), bytes);
    }

    /// A wide tree for benchmarks: `top` folders below `path` of drive C:, each with
    /// `sub` folders, every one of them holding `files` files of `bytes` bytes.
    void WideTree(std::string_view path, int top, int sub, int files, std::size_t bytes) const {
        const std::string content(bytes, 'x');
        for (int t = 0; t < top; ++t) {
            for (int s = -1; s < sub; ++s) {
                std::string dir = std::string(path) + "/dir" + std::to_string(t);
                if (s >= 0) dir += "/sub" + std::to_string(s);
                for (int f = 0; f < files; ++f) DriveFile(dir + "/file" + std::to_string(f) + ".txt", content);
            }
        }
    }
    /// A folder of drive C: by its path below the root ("T/Empty").
    void DriveFolder(std::string_view path) const { folder_.Mkdir("drives/c/" + std::string(path)); }
    /// Where an entry of the image lies on the host ("drives/c/T").
    std::string HostPath(std::string_view relative) const { return folder_.File(relative); }

    /// Loads the folder; the machine and its context live as long as the image.
    AppContext& Load() {
        auto loaded = platform::sim::LoadMachine(folder_.folder());
        if (!loaded.machine) throw std::runtime_error(loaded.error);
        machine_ = std::move(loaded.machine);
        context_ = std::make_unique<AppContext>(*machine_, DetectOs(*machine_), "C:\\");
        runner_ = std::make_unique<ScriptRunner>(*context_);
        return *context_;
    }
    /// The loaded machine (loading it first).
    platform::Machine& machine() {
        if (!machine_) Load();
        return *machine_;
    }
    /// Runs a title of the given kind line ("col", "filelist,...\nKEYS\nSORTS") and body.
    TitleRecord& Run(std::string_view kind, std::string_view body) {
        if (!runner_) Load();
        return runner_->RunBody(kind, body);
    }
    /// Catalogues a whole script and runs one of its titles.
    TitleRecord& RunTitle(std::string_view script, std::string_view title) {
        if (!runner_) Load();
        return runner_->Run(script, title);
    }

private:
    TempFolder folder_;
    std::unique_ptr<platform::Machine> machine_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<ScriptRunner> runner_;
};

}  // namespace kavlo::testing
