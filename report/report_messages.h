#pragma once
// The texts with which opening and saving report failures (the GUI shows them in
// message boxes, the command line prints them).

#include <string>
#include <string_view>

namespace kavlo::report {

inline constexpr std::string_view kUnexpectedFileFormat = "Unexpected file format.";
inline constexpr std::string_view kFailedToOpenDocument = "Failed to open document.";
inline constexpr std::string_view kFailedToSaveDocument = "Failed to save document.";
inline constexpr std::string_view kDiskFull = "Destination disk drive is full.";

/// "%1\nCannot find this file.\nPlease verify that the correct path and file name are given."
std::string FileNotFoundMessage(std::string_view path);
/// "Unable to write to %1, it is read-only or opened by someone else."
std::string ReadOnlyMessage(std::string_view path);

}  // namespace kavlo::report
