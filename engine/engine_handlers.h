#pragma once
// Handlers of the engine's own commands, bound by RegisterEngineCommands.

#include <string_view>

#include "engine/rd_DBGData.h"

namespace kavlo {

// variables
void SetVarCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);

// text output
void TextCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                 data_DBGTitle* title);
void TextLineCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                     data_DBGTitle* title);
void TextFileExpandCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                           data_DBGTitle* title);

// result tree
void TRootCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void TAddChildCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void TBackCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void TAddTextCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);

// check items and value maps
void TIRCheckCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void TIFCheckCommand(rd_DBGData& engine, std::string_view name, std::string_view line, data_DBGTitle* title);
void TIRTextValueCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                         data_DBGTitle* title);
void TIFTextValueCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
                         data_DBGTitle* title);

// conditional block
void IfCommand(rd_DBGData& engine, std::string_view name, ScriptFile& file, std::string_view line,
               data_DBGTitle* title);

}  // namespace kavlo
