#include "probes/system/event_messages.h"

#include "probes/registry/registry_readers.h"
#include "probes/system/event_rows.h"

namespace kavlo {
namespace {

constexpr std::string_view kEventLogKey = "HKLM\\System\\CurrentControlSet\\Services\\EventLog\\";
constexpr std::string_view kNotPresent = "Not Present";

std::vector<std::string> SplitFileList(const std::string& list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        std::string part = list.substr(start, end - start);
        const std::size_t first = part.find_first_not_of(' ');
        if (first != std::string::npos) out.push_back(part.substr(first, part.find_last_not_of(' ') - first + 1));
        start = end + 1;
    }
    return out;
}

}  // namespace

// The same three places are asked whatever log is read: Application's event
// message file, Security's parameter file, System's event message file.
std::string EventMessages::MessageFileValue(const std::string& source) {
    const std::string lookups[] = {
        std::string(kEventLogKey) + "Application\\" + source + "\\EventMessageFile",
        std::string(kEventLogKey) + "Security\\" + source + "\\ParameterMessageFile",
        std::string(kEventLogKey) + "System\\" + source + "\\EventMessageFile",
    };
    for (const std::string& path : lookups) {
        std::string value = ReadValueText(context_, path);
        if (value != kNotPresent) return context_.machine.ExpandEnvironment(value);
    }
    return {};
}

const EventMessages::SourceFiles& EventMessages::FilesOf(const std::string& source) {
    const auto found = sources_.find(source);
    if (found != sources_.end()) return found->second;
    SourceFiles files;
    for (const std::string& path : SplitFileList(MessageFileValue(source))) {
        files.named = true;
        auto loaded = context_.machine.LoadMessageFile(path);
        if (loaded) {
            files.loaded.push_back(std::move(*loaded));
        } else {
            files.anyFailed = true;
        }
    }
    return sources_.emplace(source, std::move(files)).first->second;
}

std::string EventMessages::Describe(const platform::EventRecord& record) {
    const SourceFiles& files = FilesOf(record.source);
    WinError lastError = 0;
    std::optional<std::string> message;
    for (const auto& file : files.loaded) {
        auto text = file->Format(record.eventId);
        if (text) {
            message = std::move(*text);
            break;
        }
        lastError = text.error();
    }
    if (!message) {
        auto text = context_.machine.SystemMessage(record.eventId);
        if (text) {
            message = std::move(*text);
        } else {
            lastError = text.error();
        }
    }
    if (!message || message->empty()) return StripControlBreaks(context_.machine.ErrorText(lastError));
    // A named file that would not load is worth saying even when the system
    // knows the message: the source's own text is missing.
    if (files.loaded.empty() && files.anyFailed) return "LoadLibrary failed";
    return StripControlBreaks(InsertStrings(*message, record.strings));
}

}  // namespace kavlo
