#pragma once
// The English message texts of Windows system error codes, as FormatMessageA
// gives them (with their trailing "\r\n").

#include <string>

#include "platform/result.h"

namespace kavlo::platform::sim {

/// The system's text for a code; for codes the table lacks, "Unknown error N.\r\n".
std::string SystemErrorText(WinError code);

}  // namespace kavlo::platform::sim
