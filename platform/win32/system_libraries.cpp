#include "platform/win32/system_libraries.h"

#include "platform/win32/handles.h"

namespace kavlo::platform::win32 {

HMODULE Advapi32Library() {
    // A function-local static: loaded on first use, thread-safe, freed at exit.
    static const UniqueModule library(::LoadLibraryA("advapi32.DLL"));
    return library.get();
}

HMODULE IpHelperLibrary() {
    static const UniqueModule library(::LoadLibraryA("iphlpapi.dll"));
    return library.get();
}

HMODULE Netapi32Library() {
    static const UniqueModule library(::LoadLibraryA("NETAPI32.DLL"));
    return library.get();
}

}  // namespace kavlo::platform::win32
