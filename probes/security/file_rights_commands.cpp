// "ListAllFileRights:", "TDirRightsList:", "TFilRightsList:", "TDrvRightsList:":
// who may do what on files, directories and whole fixed drives.

#include <string>
#include <vector>

#include "engine/path_tokens.h"
#include "engine/script_engine.h"
#include "probes/files/file_paths.h"
#include "probes/security/access_listing.h"
#include "probes/security/security_commands.h"
#include "probes/security/security_texts.h"

namespace kavlo {
namespace {

std::string FileSystemOf(platform::Machine& machine, std::string_view root) {
    auto volume = machine.Volume(root);
    return volume ? volume->fileSystem : std::string();
}

std::string NotListedLine(std::string_view fileSystem) {
    return "No access rights to list as drive is " + std::string(fileSystem) + "\n";
}

std::vector<platform::FindEntry> Subdirectories(platform::Machine& machine, std::string_view directory) {
    std::vector<platform::FindEntry> out;
    auto entries = machine.FindFiles(JoinPath(directory, "*.*"));
    if (!entries) return out;
    for (platform::FindEntry& entry : *entries)
        if (entry.IsDirectory() && !IsDotEntry(entry)) out.push_back(std::move(entry));
    return out;
}

struct WalkFrame {
    std::vector<platform::FindEntry> subdirectories;
    std::size_t next = 0;
    ResultNode* node = nullptr;
    std::string path;
};

// A directory's subdirectories, each walked beneath its item, then the
// directory's own "Rights". Reparse points and directories past the depth
// bound are shown with their rights but not entered.
void WalkPostOrder(platform::Machine& machine, ResultNode& top, const std::string& path) {
    std::vector<WalkFrame> stack;
    stack.push_back({Subdirectories(machine, path), 0, &top, path});
    while (!stack.empty()) {
        WalkFrame& frame = stack.back();
        if (frame.next == frame.subdirectories.size()) {
            AddRightsBlock(machine, *frame.node, frame.path);
            stack.pop_back();
            continue;
        }
        const platform::FindEntry& entry = frame.subdirectories[frame.next++];
        ResultNode& child = frame.node->AddChild(std::string(kFolderMarker) + entry.name);
        if (IsEnterableDirectory(entry) && static_cast<int>(stack.size()) <= kMaxWalkDepth) {
            WalkFrame inner{Subdirectories(machine, entry.fullPath), 0, &child, entry.fullPath};
            stack.push_back(std::move(inner));  // `frame` is not used after this
        } else {
            AddRightsBlock(machine, child, entry.fullPath);
        }
    }
}

// Each directory's item and "Rights" first, then its subdirectories.
void WalkPreOrder(platform::Machine& machine, ResultNode& top, const std::string& path) {
    std::vector<WalkFrame> stack;
    stack.push_back({Subdirectories(machine, path), 0, &top, path});
    while (!stack.empty()) {
        WalkFrame& frame = stack.back();
        if (frame.next == frame.subdirectories.size()) {
            stack.pop_back();
            continue;
        }
        const platform::FindEntry& entry = frame.subdirectories[frame.next++];
        ResultNode& child = frame.node->AddChild(std::string(kFolderMarker) + entry.name);
        AddRightsBlock(machine, child, entry.fullPath);
        if (IsEnterableDirectory(entry) && static_cast<int>(stack.size()) <= kMaxWalkDepth) {
            WalkFrame inner{Subdirectories(machine, entry.fullPath), 0, &child, entry.fullPath};
            stack.push_back(std::move(inner));
        }
    }
}

// Steps shared by the two tree listings of a path: the item of the path, or
// the reason there is none. Returns the path item when the walk may follow.
ResultNode* PathItem(platform::Machine& machine, TitleRecord& title, const std::string& path) {
    const std::string root = path.substr(0, 3);
    if (machine.DriveType(root) != platform::drive::kFixed) {
        title.Root().AddChild(root + " is not a fixed drive.");
        return nullptr;
    }
    ResultNode& item = title.Root().AddChild(path);
    const std::string fileSystem = FileSystemOf(machine, root);
    if (fileSystem.find("NTFS") == std::string::npos) {
        item.AddChild(NotListedLine(fileSystem));
        return nullptr;
    }
    return &item;
}

}  // namespace

void ListAllFileRightsCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    const std::string path = ExpandPathToken(context, call.argument);
    const std::string fileSystem = FileSystemOf(context.machine, path.substr(0, 2) + "\\");
    std::string out;
    if (fileSystem.find("NTFS") != std::string::npos)
        ListAccess(context.machine, context.machine.FileSecurity(path), ListingMode::Text, &out, nullptr);
    else out = NotListedLine(fileSystem);
    call.title->AppendText(out);
}

void TDirRightsListCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    const std::string path = ExpandPathToken(context, call.argument);
    if (ResultNode* item = PathItem(context.machine, *call.title, path)) WalkPostOrder(context.machine, *item, path);
}

void TFilRightsListCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    platform::Machine& machine = context.machine;
    const std::string path = ExpandPathToken(context, call.argument);
    ResultNode* parent = PathItem(machine, *call.title, path);
    if (!parent) return;
    // Each piece up to and including a backslash, beneath the previous piece.
    std::string accumulated;
    std::size_t start = 0;
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', start)) {
        const std::string piece = path.substr(start, slash + 1 - start);
        accumulated += piece;
        parent = &parent->AddChild(std::string(kFolderMarker) + piece);
        AddRightsBlock(machine, *parent, accumulated);
        start = slash + 1;
    }
    auto matches = machine.FindFiles(accumulated + path.substr(start));
    if (!matches) return;
    for (const platform::FindEntry& match : *matches) {
        if (IsDotEntry(match)) continue;
        ResultNode& item = parent->AddChild(match.name);
        AddRightsBlock(machine, item, match.fullPath);
    }
}

void TDrvRightsListCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title) return;
    platform::Machine& machine = context.machine;
    for (const std::string& root : machine.LogicalDrives()) {
        if (machine.DriveType(root) != platform::drive::kFixed) continue;
        ResultNode& drive = call.title->Root().AddChild(root);
        const std::string fileSystem = FileSystemOf(machine, root);
        if (fileSystem.find("NTFS") == std::string::npos) {
            drive.AddChild(NotListedLine(fileSystem));
            continue;
        }
        ResultNode& top = drive.AddChild(std::string(kFolderMarker) + root);
        AddRightsBlock(machine, top, root);
        WalkPreOrder(machine, top, root);
    }
}

}  // namespace kavlo
