#include "report/archive_format.h"

namespace kavlo::report {

std::string_view ClassName(RecordClass cls) {
    switch (cls) {
        case RecordClass::NavNode: return "data_LView";
        case RecordClass::ResultNode: return "data_TView";
        case RecordClass::ScriptRecord: return "data_DBGFile";
        case RecordClass::TitleRecord: return "data_DBGTitle";
    }
    return {};
}

std::optional<RecordClass> ClassFromName(std::string_view name) {
    for (RecordClass cls :
         {RecordClass::NavNode, RecordClass::ResultNode, RecordClass::ScriptRecord, RecordClass::TitleRecord})
        if (ClassName(cls) == name) return cls;
    return std::nullopt;
}

}  // namespace kavlo::report
