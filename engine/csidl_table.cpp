#include "engine/csidl_table.h"

#include <utility>

namespace kavlo {
namespace {

// The shell's published CSIDL constants.
constexpr std::pair<std::string_view, int> kFolders[] = {
    {"CSIDL_ADMINTOOLS", 48},
    {"CSIDL_ALTSTARTUP", 29},
    {"CSIDL_APPDATA", 26},
    {"CSIDL_BITBUCKET", 10},
    {"CSIDL_COMMON_ADMINTOOLS", 47},
    {"CSIDL_COMMON_ALTSTARTUP", 30},
    {"CSIDL_COMMON_APPDATA", 35},
    {"CSIDL_COMMON_DESKTOPDIRECTORY", 25},
    {"CSIDL_COMMON_DOCUMENTS", 46},
    {"CSIDL_COMMON_FAVORITES", 31},
    {"CSIDL_COMMON_PROGRAMS", 23},
    {"CSIDL_COMMON_STARTMENU", 22},
    {"CSIDL_COMMON_STARTUP", 24},
    {"CSIDL_CONTROLS", 3},
    {"CSIDL_COOKIES", 33},
    {"CSIDL_DESKTOP", 0},
    {"CSIDL_DESKTOPDIRECTORY", 16},
    {"CSIDL_DRIVES", 17},
    {"CSIDL_FAVORITES", 6},
    {"CSIDL_FONTS", 20},
    {"CSIDL_HISTORY", 34},
    {"CSIDL_INTERNET", 1},
    {"CSIDL_INTERNET_CACHE", 32},
    {"CSIDL_LOCAL_APPDATA", 28},
    {"CSIDL_MYPICTURES", 39},
    {"CSIDL_NETHOOD", 19},
    {"CSIDL_NETWORK", 18},
    {"CSIDL_PERSONAL", 5},
    {"CSIDL_PRINTERS", 4},
    {"CSIDL_PRINTHOOD", 27},
    {"CSIDL_PROGRAM_FILES", 38},
    {"CSIDL_PROGRAM_FILES_COMMON", 43},
    {"CSIDL_PROGRAMS", 2},
    {"CSIDL_RECENT", 8},
    {"CSIDL_SENDTO", 9},
    {"CSIDL_STARTMENU", 11},
    {"CSIDL_STARTUP", 7},
    {"CSIDL_SYSTEM", 37},
    {"CSIDL_TEMPLATES", 21},
    {"CSIDL_WINDOWS", 36},
};

}  // namespace

std::optional<int> CsidlNumber(std::string_view name) {
    for (const auto& [folder, number] : kFolders)
        if (folder == name) return number;
    return std::nullopt;
}

}  // namespace kavlo
