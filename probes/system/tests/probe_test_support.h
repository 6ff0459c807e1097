#pragma once
// Helpers shared by the probe tests of every area: those of line_runner.h,
// committed machine folders, and whole outputs compared with committed files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "engine/os_detection.h"
#include "engine/testing/script_runner.h"
#include "platform/sim/sim_machine.h"
#include "platform/testing/expected_output.h"
#include "platform/testing/temp_folder.h"
#include "probes/system/tests/line_runner.h"

namespace kavlo::probe_test {

/// A committed machine folder (a path below the source tree, e.g.
/// "probes/services/tests/data/machine"), loaded afresh: runs change its state
/// in memory only.
class MachineFolder {
public:
    explicit MachineFolder(const std::string& relative) {
        auto loaded = platform::sim::LoadMachine(std::string(KAVLO_TEST_SOURCE_DIR) + "/" + relative);
        if (!loaded.machine) throw std::runtime_error(loaded.error);
        machine_ = std::move(loaded.machine);
        context_ = std::make_unique<AppContext>(*machine_, DetectOs(*machine_), "C:\\");
        runner_ = std::make_unique<kavlo::testing::ScriptRunner>(*context_);
    }
    platform::Machine& machine() { return *machine_; }
    /// Runs a title of the given kind line and body, as SimImage::Run does.
    TitleRecord& Run(std::string_view kind, std::string_view body) { return runner_->RunBody(kind, body); }
    /// Catalogues a whole script and runs one of its titles.
    TitleRecord& RunTitle(std::string_view script, std::string_view title) { return runner_->Run(script, title); }

private:
    std::unique_ptr<platform::Machine> machine_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<kavlo::testing::ScriptRunner> runner_;
};

using kavlo::testing::ExpectSameAsFile;

}  // namespace kavlo::probe_test
