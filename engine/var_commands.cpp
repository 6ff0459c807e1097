// "SetVar:": stores VARS2, VARI2 or VARB2 from "NAME=value".
#include "engine/engine_handlers.h"
#include "engine/text_util.h"

namespace kavlo {

void SetVarCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    const auto [variable, value] = SplitFirst(call.argument, '=');
    AppContext& context = engine.context();
    // Names are compared untrimmed: "SetVar: VARS2=x" names " VARS2" and sets nothing.
    if (StartsWith(variable, "VARS2")) context.vars2.SetString(std::string(value));
    else if (StartsWith(variable, "VARI2")) context.vari2.SetInt(ParseDecimal(value));
    else if (StartsWith(variable, "VARB2")) context.varb2.SetInt(ParseDecimal(value));
}

}  // namespace kavlo
