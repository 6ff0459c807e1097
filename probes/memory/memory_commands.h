#pragma once
// Memory figures, the swap file, local drives and the processor count: the
// commands "CSystemMemory:", "SwapFileSize:", "LocalHDSize:" and the processor
// line of the information page.

#include "engine/command_table.h"
#include "engine/app_context.h"
#include "engine/records.h"

namespace kavlo {

void CSystemMemoryCommand(CommandCall& call);
void SwapFileSizeCommand(CommandCall& call);
void LocalHDSizeCommand(CommandCall& call);

/// Appends "Processors: " and the processor count, without a line end.
void AppendProcessorLine(AppContext& context, TitleRecord& page);

}  // namespace kavlo
