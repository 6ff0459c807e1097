#pragma once
// Where the running program lies, so that front ends find the files installed
// with it. Paths are narrow strings as elsewhere in the platform layer (the
// ANSI code page on Windows, native bytes on POSIX).

#include <string>

namespace kavlo::platform {

/// The folder that holds the running program; empty when the system cannot tell.
std::string ProgramFolder();

/// The program's installed data folder ("<prefix>/share/kavlo" for a program in
/// "<prefix>/bin", the layout that cmake/Packaging.cmake installs); empty when
/// that folder does not exist, as in a build tree or an unpacked Windows ZIP.
std::string InstalledDataFolder();

}  // namespace kavlo::platform
