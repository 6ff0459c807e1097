#pragma once
// The information page: the first page of a report, built when a report is
// created and again every time it is saved.

#include <functional>
#include <string>

#include "engine/app_context.h"
#include "engine/records.h"

namespace kavlo::report {

/// A probe that writes into the information page's record (its text, kind "text").
using InfoPageProbe = std::function<void(AppContext& context, TitleRecord& page)>;

/// The probes whose output the page includes; either may be empty until the
/// probe exists, the page then holds the lines around it without its output.
struct InfoPageProbes {
    InfoPageProbe systemSummary;  ///< processors, memory and drives, after the "OS: " line
    InfoPageProbe logonInfo;      ///< user and groups; run only on NT 4.0 and 2000 (codes 40, 50, 351)
};

/// Program version lines of the page.
inline constexpr const char* kProgramVersion = "1.50";
inline constexpr const char* kEngineVersion = "1.6";

/// Builds the page into `page` (kind "text", not pending): current date ("%c"),
/// version and build, engine version, execution path, the contact block, OS
/// long name, the system summary, computer name and, on NT 4.0 and 2000, the
/// log-on information.
void BuildInfoPage(TitleRecord& page, AppContext& context, const std::string& contactBlock,
                   const InfoPageProbes& probes);

}  // namespace kavlo::report
