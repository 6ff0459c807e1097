#pragma once
// Report paths that the wizard proposes and the timed mode writes, and the
// closing message of the wizard.

#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::ui {

/// The root of the Windows directory's drive (its first three characters),
/// the computer name, "__", the time as "%m_%d_%Y__%I_%M_%p", and ".IFO".
std::string ProposedReportPath(std::string_view windowsDirectory, std::string_view computerName,
                               const platform::LocalTime& now);

/// The root of the Windows directory's drive: its first three characters.
std::string WindowsDriveRoot(std::string_view windowsDirectory);

/// A timed report's path: the directory, "\" when the directory is longer than
/// three characters (a drive root such as "C:\" already ends with one), the name.
std::string TimedReportPath(std::string_view directory, std::string_view reportFileName);

/// What became of the wizard's save.
struct SaveOutcome {
    bool saved = false;       ///< the report was written
    bool compressed = false;  ///< the ".gz" file exists
};

/// The closing text of the wizard's last page for a report path.
std::string FinishMessage(std::string_view reportPath, SaveOutcome outcome);

}  // namespace kavlo::ui
