#pragma once
// A machine under test together with where its fixture data lies. Each backend
// of the build provides one; the same test bodies run against all of them.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::conformance {

class Backend {
public:
    virtual ~Backend() = default;
    virtual Machine& machine() = 0;
    /// The folder holding the files of drives/c/Conformance, e.g. "C:\Conformance", without a trailing "\".
    virtual std::string FileFolder() const = 0;
    /// A file of drives/c/Samples: version_sample.dll (with a version resource),
    /// no_version.dll (resources, none a version) or no_resources.dll (no resource section).
    virtual std::string Sample(const std::string& name) const = 0;
    /// True for the real machine under Wine, whose message texts are worded
    /// differently and whose version lookup gives 1812 for every image without
    /// a version resource.
    virtual bool RunsOnWine() const { return false; }
};

struct BackendKind {
    std::string name;
    /// Builds a fresh backend with its fixture data in place; null (with a
    /// failed assertion already reported) when that is impossible.
    std::function<std::unique_ptr<Backend>()> make;
};

/// Every backend this build has.
std::vector<BackendKind> AvailableBackends();

#ifdef _WIN32
/// The machine the tests run on; its fixture data is made in the registry and a
/// temporary folder and removed again.
std::unique_ptr<Backend> MakeWin32Backend();
#endif

}  // namespace kavlo::platform::conformance
