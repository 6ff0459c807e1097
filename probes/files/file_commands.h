#pragma once
// The script commands of the file probes. Each takes its arguments as the
// command table passes them and writes rows or lines into the title; a null
// title (a catalog check block) does nothing.

#include <string_view>

#include "engine/script_engine.h"

namespace kavlo {

/// "FileInfo:" path,keys — one tab-separated row of the file's record.
void FileInfoCommand(CommandCall& call);
/// "FileSearch:" pattern,keys — one tab-separated row per matching file.
void FileSearchCommand(CommandCall& call);
/// "CFileSearch:" pattern — one "0,"-prefixed list row per matching file, keys from header1.
void CFileSearchCommand(CommandCall& call);
/// "CDirSearch:" pattern — as "CFileSearch:" for matching directories.
void CDirSearchCommand(CommandCall& call);
/// "CFileSearchPath:" file name — "CFileSearch:" in every directory of the PATH variable, in order.
void CFileSearchPathCommand(CommandCall& call);
/// "TDirList:" directory,keys — the tree below the directory, rows separated by seven blanks.
void TDirListCommand(CommandCall& call);
/// "TEDirList:" directory,keys — as "TDirList:" with comma-separated rows.
void TEDirListCommand(CommandCall& call);
/// "CLFNtoSFN:" path — the path, ",", its short form (or the system's error text).
void CLFNtoSFNCommand(CommandCall& call);
/// "FileReadText:" path — every line of a text file.
void FileReadTextCommand(CommandCall& call);
/// "FileReadTextSection:" path,end marker,start marker — the sections that start and end at the markers.
void FileReadTextSectionCommand(CommandCall& call);

}  // namespace kavlo
