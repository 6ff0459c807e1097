#include "document/info_page.h"

#include "platform/time_format.h"
#include "report/archive_format.h"

namespace kavlo::report {
namespace {

// The computer name is read into a buffer of 16 characters.
constexpr std::size_t kComputerNameChars = 15;

bool ShowsLogonInfo(int osCode) { return osCode == 40 || osCode == 50 || osCode == 351; }

}  // namespace

void BuildInfoPage(TitleRecord& page, AppContext& context, const std::string& contactBlock,
                   const InfoPageProbes& probes) {
    platform::Machine& machine = context.machine;
    std::string text = "Current Date: " + FormatTime(machine.Now(), "%c") + "\n\n";
    text += "Kavlo version ";
    text += kProgramVersion;
    text += "  Build " + std::to_string(kBuildNumber) + "\n";
    text += "DBG Engine version ";
    text += kEngineVersion;
    text += "\nExecution path: " + context.executionPath + "\n\n";
    text += contactBlock;
    text += "\n\nOS: " + context.os.longName + "\n";

    page.text.clear();
    page.kind = "text";
    if (probes.systemSummary) probes.systemSummary(context, page);
    text += page.text + "\n";

    text += "Computer Name: " + machine.ComputerName().substr(0, kComputerNameChars) + "\n";

    page.text.clear();
    if (ShowsLogonInfo(context.os.code)) {
        if (probes.logonInfo) probes.logonInfo(context, page);
        text += page.text + "\n";
    }
    page.runPending = 0;
    page.text = std::move(text);
}

}  // namespace kavlo::report
