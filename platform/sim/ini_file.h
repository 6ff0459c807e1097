#pragma once
// The plain INI syntax of machine.ini: "[section]" lines, "key = value" lines,
// comment lines starting with ";" or "#", blank lines.

#include <string>
#include <string_view>
#include <vector>

namespace kavlo::platform::sim {

struct IniEntry {
    std::string key;
    std::string value;  ///< trimmed; surrounding double quotes removed
    int line = 0;
};

struct IniSection {
    std::string name;  ///< text between the brackets, trimmed
    int line = 0;
    std::vector<IniEntry> entries;
};

struct IniParse {
    std::vector<IniSection> sections;
    std::string error;  ///< "file:line: what is wrong"; empty on success
};

/// Parses INI text already decoded to the ANSI code page; fileLabel names the file in errors.
IniParse ParseIni(std::string_view text, std::string_view fileLabel);

/// Why a section of machine.ini cannot be read: the line at fault and what is wrong.
struct SectionError {
    int line = 0;
    std::string message;
};

/// The error for a key that section `sectionName` does not know; `known` lists the keys it does.
SectionError UnknownKeyError(std::string_view sectionName, const IniEntry& entry, std::string_view known);

}  // namespace kavlo::platform::sim
