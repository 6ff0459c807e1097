#pragma once
// What the report subcommands share: loading a report with the GUI's messages,
// the navigation outline, a title's content as plain text, and output to a file
// or standard output. Text leaves the program as UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/records.h"
#include "document/navigation.h"
#include "report/report_archive.h"

namespace kavlo::cli {

/// Opens a report as the GUI does (keys renumbered, records re-paired); on
/// failure prints the GUI's message to stderr and returns false.
bool LoadReport(const std::string& path, report::ReportContents& out, std::uint32_t codePage = 1252);

/// True when a title holds any gathered text or tree node.
bool HasOutput(const TitleRecord& title);

/// The navigation tree, two blanks of indent per level, each title followed by
/// its kind and the size of its output, e.g. "    Services (treexp, 42 nodes)".
std::string Outline(const NavNode& model, const report::Catalog& catalog, const std::string& rootLabel);

/// A title's content: lists as aligned columns under their column names, trees
/// indented two blanks per level (markers and state fields removed), text as is.
std::string TitleAsText(const TitleRecord& title);

/// The code page's bytes as UTF-8.
std::string ToUtf8(std::string_view text, std::uint32_t codePage = 1252);

/// Writes to the file (replacing it) or, for an empty path, to standard output;
/// prints a message and returns false on failure.
bool WriteOutput(const std::string& path, std::string_view data);

/// True when standard error is a terminal (progress is then drawn as a bar).
bool StderrIsTerminal();

}  // namespace kavlo::cli
