#pragma once
// Handlers of the registry commands, bound by RegisterRegistryProbes.

#include <string_view>

#include "engine/rd_DBGData.h"

namespace kavlo {

void ReadRValStrCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void RValPresentCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void RKeyPresentCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void RValCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                 data_DBGTitle* title);
void RKeyExitCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                     data_DBGTitle* title);
void CEnumRValCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                      data_DBGTitle* title);
void TERegListCommand(rd_DBGData& engine, std::string_view argument, data_DBGTitle* title);

}  // namespace kavlo
