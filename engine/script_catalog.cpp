#include "engine/script_catalog.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <unordered_map>

#include "engine/script_engine.h"
#include "engine/script_file.h"
#include "engine/text_util.h"

namespace kavlo {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kConfigurationName = "DBGList.cfg";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                   [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
    return less || (!greater && a < b);  // names equal but for case: fixed byte order
}

bool HasScriptExtension(const std::string& fileName) {
    if (fileName.size() < 4) return false;
    std::string ext = fileName.substr(fileName.size() - 4);
    for (char& c : ext) c = LowerAscii(c);
    return ext == ".dbg";
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    return (fs::path(directory) / fs::path(name)).string();
}

// "[ALL]": names up to the line that contains "}".
void ReadAllBlock(ScriptFile& file, std::vector<std::string>& loadList) {
    while (const auto line = file.ReadLine()) {
        if (Contains(*line, '}')) return;
        loadList.emplace_back(TrimTrailing(*line));
    }
}

// Header keywords take the text after the keyword itself, untrimmed, so that
// "Text:VERSION: 2" inside a body also sets the version to " 2".
void ApplyHeaderValue(std::string_view line, std::string_view keyword, std::string& field) {
    const auto pos = line.find(keyword);
    if (pos != std::string_view::npos) field = std::string(line.substr(pos + keyword.size()));
}

// FindTitle by hash: the first title of each name, as FindTitle gives it, without
// a linear search per body (scripts may list many titles).
using TitleIndex = std::unordered_map<std::string, TitleRecord*>;

void AddListedTitle(ScriptRecord& script, std::string_view name, TitleIndex& index) {
    TitleRecord& title = script.AddTitle(std::string(name));
    index.emplace(title.name, &title);
}

void ReadTitleList(ScriptFile& file, ScriptRecord& script, const std::string& osShortName, TitleIndex& index) {
    while (const auto line = file.ReadLine()) {
        if (Contains(*line, '}')) return;
        if (!Contains(*line, "[OS:")) {
            AddListedTitle(script, *line, index);
        } else if (Contains(*line, osShortName)) {
            AddListedTitle(script, AfterFirst(*line, ']'), index);
        }
    }
}

void ReadTitleBody(ScriptFile& file, const TitleIndex& index) {
    const auto nameLine = file.ReadLine();
    if (!nameLine) return;
    const auto found = index.find(std::string(*nameLine));
    TitleRecord* title = found == index.end() ? nullptr : found->second;
    if (!title) return;  // a body for a title that is not listed (or not for this system)
    const auto kindLine = file.ReadLine();
    title->ParseKindLine(file, kindLine.value_or(std::string_view()));
    // The engine's offsets are 32-bit, as stored titles are; a body beyond 4 GB is not runnable.
    const std::uint64_t offset = file.Tell();
    title->hasBody = offset <= UINT32_MAX;
    title->startOffset = title->hasBody ? static_cast<std::uint32_t>(offset) : 0;
}

}  // namespace

std::vector<std::string> ScriptCatalog::ListScripts(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(directory), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (HasScriptExtension(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

std::vector<std::unique_ptr<ScriptRecord>> ScriptCatalog::Scan(const std::string& directory) {
    std::vector<std::unique_ptr<ScriptRecord>> files;
    const std::optional<std::vector<std::string>> loadList =
        ReadConfiguration(JoinPath(directory, std::string(kConfigurationName)));
    for (const std::string& fileName : ListScripts(directory)) {
        // The configuration names files exactly: "system.dbg" does not select "System.dbg".
        if (loadList && std::find(loadList->begin(), loadList->end(), fileName) == loadList->end()) continue;
        const std::string stem = fileName.substr(0, fileName.size() - 4);
        if (auto file = LoadScript(JoinPath(directory, fileName), stem)) files.push_back(std::move(file));
    }
    return files;
}

std::optional<std::vector<std::string>> ScriptCatalog::ReadConfiguration(const std::string& path) {
    std::optional<ScriptFile> file = ScriptFile::Open(path);
    if (!file) return std::nullopt;
    return ReadConfiguration(*file);
}

std::vector<std::string> ScriptCatalog::ReadConfiguration(ScriptFile& configuration) {
    ScriptFile* file = &configuration;
    std::vector<std::string> loadList;
    while (const auto line = file->ReadLine()) {
        if (Contains(*line, "[ALL]")) {
            ReadAllBlock(*file, loadList);
            continue;
        }
        if (!Contains(*line, "[CHECK]")) continue;
        // "[CHECK]" entries: "name {", script lines, a line that begins with "}".
        while (const auto entry = file->ReadLine()) {
            if (!Contains(*entry, '{')) {
                if (StartsWith(*entry, "}")) break;
                continue;
            }
            const std::string name(TrimTrailing(ReplaceAll(*entry, "{", " ")));
            ScriptEngine engine(context_, table_);
            while (const auto scriptLine = file->ReadLine()) {
                if (StartsWith(*scriptLine, "}")) break;
                if (!Contains(*scriptLine, '}')) engine.Dispatch(*file, *scriptLine, nullptr);
            }
            // presentFlag is not reset: an entry that tests nothing inherits the last result.
            if (context_.presentFlag == 1) loadList.push_back(name);
        }
    }
    return loadList;
}

std::unique_ptr<ScriptRecord> ScriptCatalog::LoadScript(const std::string& path, const std::string& name) {
    std::optional<ScriptFile> file = ScriptFile::Open(path);
    if (!file) return nullptr;
    return LoadScript(*file, path, name);
}

std::unique_ptr<ScriptRecord> ScriptCatalog::LoadScript(ScriptFile& file, const std::string& path,
                                                        const std::string& name) {
    auto script = std::make_unique<ScriptRecord>(path, name);
    TitleIndex index;
    const std::string& osShortName = context_.os.shortName;
    file.Seek(0);
    while (const auto line = file.ReadLine()) {
        // Each keyword is tested on every line, independently of the others.
        ApplyHeaderValue(*line, "ENGINE:", script->engine);
        ApplyHeaderValue(*line, "VERSION:", script->version);
        ApplyHeaderValue(*line, "DATE:", script->date);
        if (Contains(*line, "[TITLE LIST]")) ReadTitleList(file, *script, osShortName, index);
        if (Contains(*line, "[TITLE]")) ReadTitleBody(file, index);
    }
    return script;
}

}  // namespace kavlo
