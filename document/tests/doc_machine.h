#pragma once
// The in-memory test machine with a settable computer name, host name, clock and
// a registry hive that refuses writes (as HKLM does for a standard user).

#include <optional>
#include <set>
#include <string>

#include "engine/testing/fake_machine.h"

namespace kavlo::report::testing {

class DocMachine : public kavlo::testing::FakeMachine {
public:
    std::string computerName = "OFFICE7";
    std::optional<std::string> hostName = "office7";
    platform::LocalTime now{2001, 3, 14, 21, 5, 0, 3};
    std::set<platform::RegRoot> readOnlyRoots;

    std::string ComputerName() override { return computerName; }
    Result<std::string> HostName() override {
        if (!hostName) return Result<std::string>::Failure(10091);  // sockets not ready
        return *hostName;
    }
    platform::LocalTime Now() override { return now; }
    Result<std::unique_ptr<platform::RegistryKey>> CreateKey(platform::RegRoot root, std::string_view path) override {
        if (readOnlyRoots.count(root))
            return Result<std::unique_ptr<platform::RegistryKey>>::Failure(err::kAccessDenied);
        return FakeMachine::CreateKey(root, path);
    }
};

}  // namespace kavlo::report::testing
