#pragma once
// Handlers of the engine's own commands, bound by RegisterEngineCommands.

#include <string_view>

#include "engine/script_engine.h"

namespace kavlo {

// variables
void SetVarCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);

// text output
void TextCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                 TitleRecord* title);
void TextLineCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                     TitleRecord* title);
void TextFileExpandCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                           TitleRecord* title);

// result tree
void TRootCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void TAddChildCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void TBackCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void TAddTextCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);

// check items and value maps
void TIRCheckCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void TIFCheckCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void TIRTextValueCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                         TitleRecord* title);
void TIFTextValueCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                         TitleRecord* title);

// conditional block
void IfCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
               TitleRecord* title);

}  // namespace kavlo
