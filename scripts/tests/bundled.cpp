#include "probes/registration.h"
#include "scripts/tests/bundled.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "engine/os_detection.h"
#include "engine/script_catalog.h"
#include "document/report_document.h"

namespace kavlo::scripts_test {

std::string ScriptsDir() { return std::string(KAVLO_TEST_SOURCE_DIR) + "/scripts"; }

std::string SampleMachineDir() { return std::string(KAVLO_TEST_SOURCE_DIR) + "/samples/office7"; }

std::vector<std::string> BundledScriptNames() { return ScriptCatalog::ListScripts(ScriptsDir()); }

std::vector<std::string> ScriptLines(const std::string& fileName) {
    std::ifstream in(ScriptsDir() + "/" + fileName, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

const ScriptRecord* Catalog::File(std::string_view name) const {
    for (const auto& file : files)
        if (file->fileName == name) return file.get();
    return nullptr;
}

const TitleRecord* Catalog::Title(std::string_view script, std::string_view title) const {
    const ScriptRecord* file = File(script);
    if (!file) return nullptr;
    for (const auto& t : file->titles)
        if (t->name == title) return t.get();
    return nullptr;
}

Catalog SavedReportOf(std::unique_ptr<platform::Machine> machine, std::string& error) {
    Catalog catalog;
    catalog.machine = std::move(machine);
    catalog.context = std::make_unique<AppContext>(*catalog.machine, DetectOs(*catalog.machine), ScriptsDir());
    namespace fs = std::filesystem;
    const fs::path path =
        fs::temp_directory_path() / ("kavlo-script-test-" + std::to_string(std::random_device{}()) + ".IFO");
    {
        ReportDocument fresh(*catalog.context, StandardCommandTable());
        fresh.NewDocument(ScriptsDir());
        const report::FileOutcome saved = fresh.Save(path.string());
        if (!saved.ok) {
            error = "saving " + path.string() + ": " + saved.message;
            return catalog;
        }
    }
    ReportDocument opened(*catalog.context, StandardCommandTable());
    const report::FileOutcome read = opened.Open(path.string());
    std::error_code ec;
    fs::remove(path, ec);
    if (!read.ok) {
        error = "opening " + path.string() + ": " + read.message;
        return catalog;
    }
    catalog.files = std::move(opened.catalog());
    return catalog;
}

}  // namespace kavlo::scripts_test
