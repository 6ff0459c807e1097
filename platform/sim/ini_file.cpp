#include "platform/sim/ini_file.h"

#include <unordered_map>

#include "platform/sim/name_fold.h"
#include "platform/sim/text_decode.h"

namespace kavlo::platform::sim {

IniParse ParseIni(std::string_view text, std::string_view fileLabel) {
    IniParse out;
    auto fail = [&](int line, std::string_view what) {
        out.sections.clear();
        out.error = std::string(fileLabel) + ":" + std::to_string(line) + ": " + std::string(what);
        return out;
    };
    const std::vector<std::string_view> lines = SplitLines(text);
    // Folded names to the line that first gave them, so that files of many
    // sections and keys are checked for repeats in linear time.
    std::unordered_map<std::string, int> sectionLines;
    std::unordered_map<std::string, int> keyLines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i) + 1;
        const std::string_view line = Trim(lines[i]);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return fail(lineNo, "section header without a closing \"]\"");
            IniSection section;
            section.name = std::string(Trim(line.substr(1, line.size() - 2)));
            section.line = lineNo;
            if (section.name.empty()) return fail(lineNo, "empty section name");
            const auto [seen, added] = sectionLines.emplace(FoldName(section.name), lineNo);
            if (!added)
                return fail(lineNo, "section [" + section.name + "] appears twice (first at line " +
                                        std::to_string(seen->second) + ")");
            keyLines.clear();
            out.sections.push_back(std::move(section));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return fail(lineNo, "expected \"key = value\", \"[section]\" or a comment");
        if (out.sections.empty()) return fail(lineNo, "\"key = value\" before the first [section]");
        IniEntry entry;
        entry.key = std::string(Trim(line.substr(0, equals)));
        std::string_view value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        entry.value = std::string(value);
        entry.line = lineNo;
        if (entry.key.empty()) return fail(lineNo, "empty key before \"=\"");
        IniSection& section = out.sections.back();
        const auto [seen, added] = keyLines.emplace(FoldName(entry.key), lineNo);
        if (!added)
            return fail(lineNo, "key \"" + entry.key + "\" appears twice in [" + section.name + "] (first at line " +
                                    std::to_string(seen->second) + ")");
        section.entries.push_back(std::move(entry));
    }
    return out;
}

SectionError UnknownKeyError(std::string_view sectionName, const IniEntry& entry, std::string_view known) {
    return {entry.line, "unknown key \"" + entry.key + "\" in [" + std::string(sectionName) +
                            "] (known: " + std::string(known) + ")"};
}

}  // namespace kavlo::platform::sim
