#pragma once
// Descriptions of event records from the message files of their sources.
// Each message file is loaded once per command (as data, never run) and freed
// with this object.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/app_context.h"
#include "platform/event_record.h"
#include "platform/machine.h"

namespace kavlo {

class EventMessages {
public:
    explicit EventMessages(AppContext& context) : context_(context) {}

    /// The description column of a record.
    std::string Describe(const platform::EventRecord& record);

private:
    struct SourceFiles {
        std::vector<std::unique_ptr<platform::MessageFile>> loaded;
        bool anyFailed = false;  ///< a named file could not be loaded
        bool named = false;      ///< the source has a message file at all
    };
    const SourceFiles& FilesOf(const std::string& source);
    std::string MessageFileValue(const std::string& source);

    AppContext& context_;
    std::map<std::string, SourceFiles> sources_;
};

}  // namespace kavlo
