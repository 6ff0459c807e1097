#include "probes/files/file_info.h"

#include <array>
#include <vector>

#include "engine/path_tokens.h"
#include "platform/time_format.h"
#include "probes/files/file_paths.h"
#include "probes/files/file_texts.h"

namespace kavlo {
namespace {

// Version resources larger than this are not read (the reader's buffer size).
constexpr std::uint32_t kVersionBufferBytes = 8000;

std::string ErrorWords(WinError error) { return "Error " + std::to_string(error); }

}  // namespace

void FileInfo::Clear() {
    for (std::string* field :
         {&name_, &path_, &nameAndPath_, &version_, &date_, &time_, &description_, &comments_, &manufacturer_,
          &productName_, &productVersion_, &attributes_, &driveType_, &mediaType_, &effectiveRights_, &size_})
        field->clear();
    missing_ = 1;
}

void FileInfo::Gather(AppContext& context, std::string_view requested, PathMode mode) {
    platform::Machine& machine = context.machine;
    std::string path;
    switch (mode) {
        case PathMode::Unchanged: path = std::string(requested); break;
        case PathMode::FolderToken: path = ExpandPathToken(context, requested); break;
        case PathMode::NtPath: path = NormalizeNtPath(machine, requested); break;
    }
    if (path.find('%') != std::string::npos) {
        path = machine.ExpandEnvironment(path);
        if (path.size() > kExpandedPathChars) path.resize(kExpandedPathChars);
    }

    // One lookup serves both the presence test and the entry: drive roots such
    // as "C:\" are not found by a search and still go on as drives.
    auto found = machine.FindFiles(path);
    const bool isFound = found.ok() && !found->empty();
    if (path.size() > 3 && !isFound) {
        name_ = path;
        missing_ = 1;
        return;
    }
    missing_ = 0;
    ReadVersionTexts(machine, path);

    if (!isFound) {
        if (path.size() != 3) {
            missing_ = 1;
            nameAndPath_ = path;
            const std::string error = ErrorWords(found.ok() ? err::kFileNotFound : found.error());
            driveType_ = mediaType_ = effectiveRights_ = size_ = error;
            return;
        }
        name_ = path_ = nameAndPath_ = path;
    } else {
        const platform::FindEntry& entry = found->front();
        date_ = FormatTime(entry.lastWrite, "%x");
        time_ = FormatTime(entry.lastWrite, "%I:%M:%S  %p");
        const bool walk = entry.IsDirectory() && !entry.IsReparsePoint();
        const std::uint64_t size = walk ? DirectorySize(machine, entry.fullPath) : entry.size;
        if (size != 0) size_ = SizeText(size);
        attributes_ = AttributeLetters(entry.attributes);
        name_ = entry.name;
        path_ = DirectoryPart(entry.fullPath);
        nameAndPath_ = path;
    }
    FillVolumeFields(machine);
    if (mediaType_.find("NTFS") != std::string::npos) effectiveRights_ = EffectiveRights(machine, nameAndPath_);
}

void FileInfo::ReadVersionTexts(platform::Machine& machine, const std::string& path) {
    auto resource = machine.FileVersion(path);
    if (!resource.ok() || !*resource || (*resource)->BlockSize() >= kVersionBufferBytes) return;
    const platform::VersionResource& version = **resource;

    std::string language = "0409";
    std::string codePage = "04e4";
    if (const auto translations = version.Translations(); translations && !translations->empty()) {
        language = TranslationHex(translations->front().first);
        codePage = TranslationHex(translations->front().second);
    }
    const std::string block = "\\StringFileInfo\\" + language + codePage;

    struct Value {
        std::string_view key;
        std::string* field;
        bool commasToPoints;
    };
    const std::array<Value, 6> values = {{{"\\FileVersion", &version_, true},
                                          {"\\FileDescription", &description_, false},
                                          {"\\Comments", &comments_, false},
                                          {"\\CompanyName", &manufacturer_, false},
                                          {"\\ProductName", &productName_, false},
                                          {"\\ProductVersion", &productVersion_, true}}};
    for (const Value& value : values) {
        if (const auto text = version.QueryString(block + std::string(value.key)))
            *value.field = VersionFieldText(*text, value.commasToPoints);
    }
}

void FileInfo::FillVolumeFields(platform::Machine& machine) {
    const std::string drive = path_.substr(0, 2);
    driveType_ = DriveTypeWord(machine.DriveType(drive));
    if (auto volume = machine.Volume(drive + "\\"); volume.ok()) {
        mediaType_ = volume->fileSystem.substr(0, kFileSystemNameChars);
    }
}

void FileInfo::GatherDrive(platform::Machine& machine, std::string_view root) {
    name_ = path_ = nameAndPath_ = std::string(root);
    FillVolumeFields(machine);
    auto space = machine.FreeSpace(root);
    size_ = space.ok() ? FormatSize64(space->freeBytesToCaller) + " Avail" : std::string();
}

const std::string* FileInfo::FieldNamedIn(std::string_view key) const {
    // The first key name that occurs anywhere in the key wins, so "FNAMEPATH"
    // is tested before "FNAME" and "XFNAMEX" still names the file name.
    const std::array<std::pair<std::string_view, const std::string*>, 16> keys = {{
        {"FNAMEPATH", &nameAndPath_},
        {"FNAME", &name_},
        {"FDATE", &date_},
        {"FTIME", &time_},
        {"FVERSION", &version_},
        {"FMANUFACTURE", &manufacturer_},
        {"FATTRIBUTE", &attributes_},
        {"FPATH", &path_},
        {"FSIZE", &size_},
        {"EFFECTIVERIGHTS", &effectiveRights_},
        {"DRVTYPE", &driveType_},
        {"MEDIATYPE", &mediaType_},
        {"FDESCRIPTION", &description_},
        {"FPRODNAME", &productName_},
        {"FPRODVERSION", &productVersion_},
        {"FCOMMENTS", &comments_},
    }};
    for (const auto& [keyName, field] : keys)
        if (key.find(keyName) != std::string_view::npos) return field;
    return nullptr;
}

void FileInfo::FieldForKey(std::string_view key, std::string_view separator, std::string& row) const {
    if (const std::string* field = FieldNamedIn(key)) {
        row += *field;
        row += separator;
    }
}

void FileInfo::BuildRow(std::string_view keyList, std::string_view separator, std::string& output) const {
    std::string row;
    while (true) {
        const auto comma = keyList.find(',');
        FieldForKey(keyList.substr(0, comma), separator, row);
        if (comma == std::string_view::npos) break;
        keyList.remove_prefix(comma + 1);
    }
    row += '\n';
    output += row;
}

std::uint64_t DirectorySize(platform::Machine& machine, std::string_view directory) {
    struct Pending {
        std::string directory;
        int depth;
    };
    std::uint64_t total = 0;
    std::vector<Pending> pending{{std::string(directory), 0}};
    while (!pending.empty()) {
        Pending current = std::move(pending.back());
        pending.pop_back();
        auto entries = machine.FindFiles(JoinPath(current.directory, "*.*"));
        if (!entries.ok()) continue;
        for (const platform::FindEntry& entry : *entries) {
            if (IsEnterableDirectory(entry)) {
                if (current.depth < kMaxWalkDepth) pending.push_back({entry.fullPath, current.depth + 1});
            } else {
                total += entry.size;
            }
        }
    }
    return total;
}

std::string EffectiveRights(platform::Machine& machine, std::string_view path) {
    // A descriptor that cannot be read or checked leaves the rights empty.
    const auto granted = machine.EffectiveAccess(path);
    return granted.ok() ? RightsLetters(*granted) : std::string();
}

std::string NormalizeNtPath(platform::Machine& machine, std::string_view path) {
    std::string out(path);
    if (out.empty() || out.front() != '\\') return out;
    auto removeAll = [&out](std::string_view text) {
        for (auto at = out.find(text); at != std::string::npos; at = out.find(text, at)) out.erase(at, text.size());
    };
    if (out.find("\\??\\") != std::string::npos) {
        removeAll("\\??\\");
    } else if (out.find("\\SystemRoot") != std::string::npos) {
        removeAll("\\SystemRoot");
        out.insert(0, machine.WindowsDirectory());
    } else if (out.find("\\WINNT") != std::string::npos) {
        removeAll("\\WINNT");
        out.insert(0, machine.WindowsDirectory());
    } else if (out.find("System32\\") != std::string::npos) {
        removeAll("System32");
        out.insert(0, machine.SystemDirectory());
    }
    return out;
}

}  // namespace kavlo
