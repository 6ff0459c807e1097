// kavlo.exe: the Windows program.
#include <windows.h>

#include <string>

#include "ui/app/app.h"

namespace {

/// The parameters after the program name on the command line.
std::wstring Parameters() {
    const wchar_t* line = GetCommandLineW();
    if (!line) return {};
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        if (*line == L'"') ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    kavlo::ui::AppOptions options;
    options.commandLine = Parameters();
    return kavlo::ui::RunKavlo(options);
}
