#include "probes/registration.h"
#include "scripts/tests/bundled.h"

#include <fstream>

#include "engine/os_detection.h"
#include "engine/script_catalog.h"
#include "document/report_document.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::scripts_test {

std::string ScriptsDir() { return std::string(KAVLO_TEST_SOURCE_DIR) + "/scripts"; }

std::string SampleMachineDir() { return std::string(KAVLO_TEST_SOURCE_DIR) + "/samples/office7"; }

std::vector<std::string> BundledScriptNames() { return ScriptCatalog::ListScripts(ScriptsDir()); }

std::vector<std::string> ScriptLines(const std::string& fileName) {
    std::ifstream in(ScriptsDir() + "/" + fileName, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

Catalog SavedReportOf(std::unique_ptr<platform::Machine> machine, std::string& error) {
    Catalog catalog;
    catalog.machine = std::move(machine);
    catalog.context = std::make_unique<AppContext>(*catalog.machine, DetectOs(*catalog.machine), ScriptsDir());
    const testing::TempFolder folder;
    const std::string path = folder.File("report.IFO");
    ReportDocument fresh(*catalog.context, StandardCommandTable());
    fresh.NewDocument(ScriptsDir());
    if (const report::FileOutcome saved = fresh.Save(path); !saved.ok) {
        error = "saving " + path + ": " + saved.message;
        return catalog;
    }
    ReportDocument opened(*catalog.context, StandardCommandTable());
    if (const report::FileOutcome read = opened.Open(path); !read.ok) {
        error = "opening " + path + ": " + read.message;
        return catalog;
    }
    catalog.files = std::move(opened.catalog());
    return catalog;
}

}  // namespace kavlo::scripts_test
