#include "report/archive_format.h"

namespace kavlo::report {

std::string_view ClassName(RecordClass cls) {
    switch (cls) {
        case RecordClass::LView: return "data_LView";
        case RecordClass::TView: return "data_TView";
        case RecordClass::DBGFile: return "data_DBGFile";
        case RecordClass::DBGTitle: return "data_DBGTitle";
    }
    return {};
}

std::optional<RecordClass> ClassFromName(std::string_view name) {
    for (RecordClass cls : {RecordClass::LView, RecordClass::TView, RecordClass::DBGFile, RecordClass::DBGTitle})
        if (ClassName(cls) == name) return cls;
    return std::nullopt;
}

}  // namespace kavlo::report
