#include "present/report_paths.h"

#include "platform/time_format.h"

namespace kavlo::ui {

std::string WindowsDriveRoot(std::string_view windowsDirectory) { return std::string(windowsDirectory.substr(0, 3)); }

std::string ProposedReportPath(std::string_view windowsDirectory, std::string_view computerName,
                               const platform::LocalTime& now) {
    std::string path = WindowsDriveRoot(windowsDirectory);
    path += computerName;
    path += "__";
    path += FormatTime(now, "%m_%d_%Y__%I_%M_%p");
    path += ".IFO";
    return path;
}

std::string TimedReportPath(std::string_view directory, std::string_view reportFileName) {
    std::string path(directory);
    if (directory.size() > 3) path += '\\';
    path += reportFileName;
    return path;
}

std::string FinishMessage(std::string_view reportPath, SaveOutcome outcome) {
    std::string text;
    if (!outcome.saved) {
        text = "The information could not be saved to the file ";
        text += reportPath;
        text += ". No report was written.";
        return text;
    }
    if (outcome.compressed) {
        text = "Please send the file ";
        text += reportPath;
        text += ".gz";
        text += " ";
        text += "to Quorvane's technical support for analysis.";
        return text;
    }
    text = "The file ";
    text += reportPath;
    text += " could not be compressed. Please send the file ";
    text += reportPath;
    text += " to Quorvane's technical support for analysis.";
    return text;
}

}  // namespace kavlo::ui
