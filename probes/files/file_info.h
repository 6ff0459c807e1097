#pragma once
// The file information record that every file-oriented probe fills and prints:
// one file's, directory's or drive's name, place, version texts, date, size,
// attributes, drive type, file system and the current user's effective rights.
// Probes print it as one row by naming the fields they want with column keys.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/app_context.h"
#include "platform/machine.h"

namespace kavlo {

/// How `Gather` treats the path before looking it up.
enum class PathMode {
    Unchanged = 0,    ///< the path as given
    FolderToken = 1,  ///< a leading "<WINDOWS>", "<SYSTEM32>", "<CSIDL_...>" ... token expanded first
    NtPath = 2,       ///< NT forms such as "\??\C:\x.sys" or "\SystemRoot\..." normalised first
};

class FileInfo {
public:
    FileInfo() { Clear(); }

    /// Empties every text field and marks the record missing.
    void Clear();
    /// Fills the record from a file or directory path (see PathMode).
    void Gather(AppContext& context, std::string_view path, PathMode mode);
    /// Fills name, place, drive type, file system and free space from a root such as "C:\".
    void GatherDrive(platform::Machine& machine, std::string_view root);

    /// Appends the field that `key` names, then the separator; nothing for an unknown key.
    void FieldForKey(std::string_view key, std::string_view separator, std::string& row) const;
    /// Appends one row: the fields of the comma-separated keys, each followed by the separator, then "\n".
    void BuildRow(std::string_view keyList, std::string_view separator, std::string& output) const;

    const std::string& Name() const { return name_; }
    const std::string& Path() const { return path_; }
    const std::string& NameAndPath() const { return nameAndPath_; }
    const std::string& Version() const { return version_; }
    const std::string& Date() const { return date_; }
    const std::string& Time() const { return time_; }
    const std::string& Description() const { return description_; }
    const std::string& Comments() const { return comments_; }
    const std::string& Manufacturer() const { return manufacturer_; }
    const std::string& ProductName() const { return productName_; }
    const std::string& ProductVersion() const { return productVersion_; }
    const std::string& Attributes() const { return attributes_; }
    const std::string& DriveType() const { return driveType_; }
    const std::string& MediaType() const { return mediaType_; }
    const std::string& EffectiveRightsText() const { return effectiveRights_; }
    const std::string& Size() const { return size_; }
    /// 1 after Clear and when the path was not found or gave an error, 0 when found.
    std::int32_t Missing() const { return missing_; }

private:
    void ReadVersionTexts(platform::Machine& machine, const std::string& path);
    void FillVolumeFields(platform::Machine& machine);
    const std::string* FieldNamedIn(std::string_view key) const;

    std::string name_;
    std::string path_;
    std::string nameAndPath_;
    std::string version_;
    std::string date_;
    std::string time_;
    std::string description_;
    std::string comments_;
    std::string manufacturer_;
    std::string productName_;
    std::string productVersion_;
    std::string attributes_;
    std::string driveType_;
    std::string mediaType_;
    std::string effectiveRights_;
    std::string size_;
    std::int32_t missing_ = 1;
};

/// Total size of every file below a directory, at every depth; reparse points are
/// counted as entries and never entered, and the walk stops at kMaxWalkDepth levels.
std::uint64_t DirectorySize(platform::Machine& machine, std::string_view directory);

/// The current user's rights letters on a file ("+R-W+X-D-P-O"); empty when the
/// security descriptor or the access check is not available.
std::string EffectiveRights(platform::Machine& machine, std::string_view path);

/// "\??\", "\SystemRoot", "\WINNT" and "System32\" forms of a path beginning with
/// "\" turned into a Win32 path; any other path unchanged.
std::string NormalizeNtPath(platform::Machine& machine, std::string_view path);

}  // namespace kavlo
