#pragma once
// System libraries whose functions are looked up at run time because older
// systems lack some of them. Each is loaded once by name and stays loaded for
// the life of the process, so function addresses taken from it stay valid.

#include <windows.h>

namespace kavlo::platform::win32 {

/// "advapi32.DLL" (security and registry functions); null when it cannot be loaded.
HMODULE Advapi32Library();
/// "NETAPI32.DLL" (workstation, user and group functions); null when it cannot be loaded.
HMODULE Netapi32Library();

/// "iphlpapi.dll" (the IP helper: connection tables); null when it cannot be loaded.
HMODULE IpHelperLibrary();

}  // namespace kavlo::platform::win32
