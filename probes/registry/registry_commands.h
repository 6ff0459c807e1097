#pragma once
// Handlers of the registry commands, bound by RegisterRegistryProbes.

#include <string_view>

#include "engine/script_engine.h"

namespace kavlo {

void ReadRValStrCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void RValPresentCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void RKeyPresentCommand(ScriptEngine& engine, std::string_view name, std::string_view line, TitleRecord* title);
void RValCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                 TitleRecord* title);
void RKeyExitCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                     TitleRecord* title);
void CEnumRValCommand(ScriptEngine& engine, std::string_view name, ScriptFile& file, std::string_view line,
                      TitleRecord* title);
void TERegListCommand(ScriptEngine& engine, std::string_view argument, TitleRecord* title);

}  // namespace kavlo
