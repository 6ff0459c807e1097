#pragma once
// The script commands of the file probes. Each takes its arguments as the
// command table passes them and writes rows or lines into the title; a null
// title (a catalog check block) does nothing.

#include <string_view>

#include "engine/rd_DBGData.h"

namespace kavlo {

/// "FileInfo:" path,keys — one tab-separated row of the file's record.
void FileInfoCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "FileSearch:" pattern,keys — one tab-separated row per matching file.
void FileSearchCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "CFileSearch:" pattern — one "0,"-prefixed list row per matching file, keys from header1.
void CFileSearchCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "CDirSearch:" pattern — as "CFileSearch:" for matching directories.
void CDirSearchCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "CFileSearchPath:" file name — "CFileSearch:" in every directory of the PATH variable, in order.
void CFileSearchPathCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "TDirList:" directory,keys — the tree below the directory, rows separated by seven blanks.
void TDirListCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "TEDirList:" directory,keys — as "TDirList:" with comma-separated rows.
void TEDirListCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "CLFNtoSFN:" path — the path, ",", its short form (or the system's error text).
void CLFNtoSFNCommand(rd_DBGData& engine, std::string_view argument, data_DBGTitle* title);
/// "FileReadText:" path — every line of a text file.
void FileReadTextCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
/// "FileReadTextSection:" path,end marker,start marker — the sections that start and end at the markers.
void FileReadTextSectionCommand(rd_DBGData& engine, std::string_view name, std::string_view line,
                                data_DBGTitle* title);

}  // namespace kavlo
