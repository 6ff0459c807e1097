#include "probes/files/file_commands.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterFileProbes(CommandTable& table) {
    // "CFileInfo:" is a row of its own that runs nothing.
    table.BindAll({
        {"FileInfo:", &FileInfoCommand},
        {"FileSearch:", &FileSearchCommand},
        {"CFileSearch:", &CFileSearchCommand},
        {"CDirSearch:", &CDirSearchCommand},
        {"CFileSearchPath:", &CFileSearchPathCommand},
        {"TDirList:", &TDirListCommand},
        {"TEDirList:", &TEDirListCommand},
        {"CLFNtoSFN:", &CLFNtoSFNCommand},
        {"FileReadText:", &FileReadTextCommand},
        {"FileReadTextSection:", &FileReadTextSectionCommand},
    });
}

}  // namespace kavlo
