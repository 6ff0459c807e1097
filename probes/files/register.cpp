#include "probes/files/file_commands.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterFileProbes(CommandTable& table) {
    // "CFileInfo:" is a row of its own that runs nothing.
    table.Bind("FileInfo:", HandlerN{&FileInfoCommand});
    table.Bind("FileSearch:", HandlerN{&FileSearchCommand});
    table.Bind("CFileSearch:", HandlerN{&CFileSearchCommand});
    table.Bind("CDirSearch:", HandlerN{&CDirSearchCommand});
    table.Bind("CFileSearchPath:", HandlerN{&CFileSearchPathCommand});
    table.Bind("TDirList:", HandlerN{&TDirListCommand});
    table.Bind("TEDirList:", HandlerN{&TEDirListCommand});
    table.Bind("CLFNtoSFN:", HandlerR{&CLFNtoSFNCommand});
    table.Bind("FileReadText:", HandlerN{&FileReadTextCommand});
    table.Bind("FileReadTextSection:", HandlerN{&FileReadTextSectionCommand});
}

}  // namespace kavlo
