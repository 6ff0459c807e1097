#pragma once
// The application state that scripts and probes share for the life of the
// program: OS names and code, the script variables, the logon record and the
// execution path. Passed explicitly so that engines can run side by side in tests.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace kavlo {

/// Operating system as start-up detected it.
struct OsInfo {
    std::string shortName;  ///< "Win95", "Win98", "NT3.51", "NT4.0", "NT5.0", "NT5.1", "NT"
    std::string longName;
    int code = 0;     ///< 95, 98, 300 (NT 3.5x), 40, 50, then major * 10 + minor (51, 60, 100)
    bool nt = false;  ///< an NT-platform system
};

/// One typed script variable.
struct data_DBGVar {
    data_DBGVar() = default;
    explicit data_DBGVar(std::string name) : varName(std::move(name)) {}

    std::string varName;
    std::int32_t varType = 0;  ///< 0 string, 1 integer
    std::string stringValue;
    std::int32_t intValue = 0;
    void SetString(std::string v) {
        stringValue = std::move(v);
        varType = 0;
    }
    void SetInt(std::int32_t v) {
        intValue = v;
        varType = 1;
    }
};

/// What "LogonInfo:" stores for later probes.
struct LogonRecord {
    std::string userName;
    std::vector<std::string> globalGroups;
    std::vector<std::string> localGroups;
    std::string logonServer;
    std::string logonUser;
    std::string logonDomain;  ///< the domain that authenticated the user: with logonUser, whom effective rights name
    std::string userSid;      ///< "S-1-5-21-…", or the error text when the token could not be read
};

class AppContext {
public:
    AppContext(platform::Machine& machine, OsInfo os, std::string executionPath)
        : machine(machine), os(std::move(os)), executionPath(std::move(executionPath)) {}

    /// True for the NT systems on which the NT-only probes run: NT 4.0 and every
    /// later NT (and the code 351); NT 3.5x (code 300) and the 9x systems fail it.
    bool IsNtFamily() const { return os.code == 351 || (os.nt && os.code >= 40 && os.code != 300); }

    platform::Machine& machine;
    OsInfo os;
    std::string executionPath;

    data_DBGVar val1{"VAL1"};
    data_DBGVar vari1{"VARI1"};
    std::int32_t presentFlag = 0;
    data_DBGVar vars2{"VARS2"};
    data_DBGVar vari2{"VARI2"};
    data_DBGVar varb2{"VARB2"};
    LogonRecord logon;
};

}  // namespace kavlo
