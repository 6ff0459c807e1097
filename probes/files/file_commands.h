#pragma once
// The script commands of the file probes. Each takes its arguments as the
// command table passes them and writes rows or lines into the title; a null
// title (a catalog check block) does nothing.

#include <string_view>

#include "engine/script_engine.h"

namespace kavlo {

/// "FileInfo:" path,keys — one tab-separated row of the file's record.
void FileInfoCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "FileSearch:" pattern,keys — one tab-separated row per matching file.
void FileSearchCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "CFileSearch:" pattern — one "0,"-prefixed list row per matching file, keys from header1.
void CFileSearchCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "CDirSearch:" pattern — as "CFileSearch:" for matching directories.
void CDirSearchCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "CFileSearchPath:" file name — "CFileSearch:" in every directory of the PATH variable, in order.
void CFileSearchPathCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "TDirList:" directory,keys — the tree below the directory, rows separated by seven blanks.
void TDirListCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "TEDirList:" directory,keys — as "TDirList:" with comma-separated rows.
void TEDirListCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "CLFNtoSFN:" path — the path, ",", its short form (or the system's error text).
void CLFNtoSFNCommand(ScriptEngine& engine, std::string_view argument, TitleRecord* title);
/// "FileReadText:" path — every line of a text file.
void FileReadTextCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
/// "FileReadTextSection:" path,end marker,start marker — the sections that start and end at the markers.
void FileReadTextSectionCommand(ScriptEngine& engine, std::string_view name, std::string_view line,
                                TitleRecord* title);

}  // namespace kavlo
