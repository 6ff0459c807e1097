// "IF name,operator,value {": runs or skips the block that the line opens.
// The truth table is the one existing scripts were written against: "!=" runs
// on equality and "<" / ">" run on the opposite comparison.
#include "engine/engine_handlers.h"
#include "engine/text_util.h"

namespace kavlo {

namespace {

bool NumericBlockRuns(std::string_view op, std::int32_t v, std::int32_t n) {
    if (StartsWith(op, "==")) return v == n;
    if (StartsWith(op, "!=")) return v == n;
    if (StartsWith(op, "<")) return v >= n;  // also "<="
    if (StartsWith(op, ">")) return v <= n;  // also ">="
    return true;
}

bool CharacterBlockRuns(std::string_view op, std::int32_t vari1, std::string_view value) {
    // VARI1's low byte as a one-character text; a zero byte makes an empty text.
    const char code = static_cast<char>(vari1 & 0xFF);
    const std::string_view c = code == '\0' ? std::string_view() : std::string_view(&code, 1);
    if (StartsWith(op, "==")) return !StartsWith(c, value);
    if (StartsWith(op, "!=")) return StartsWith(c, value);
    return true;
}

}  // namespace

void IfCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    ScriptFile& file = call.file;
    const auto [rawVariable, rest] = SplitFirst(call.argument, ',');
    const auto [op, rawValue] = SplitFirst(rest, ',');
    const std::string_view variable = TrimLeading(rawVariable);
    const std::string valueWithoutBraces = RemoveAll(rawValue, '{');
    const std::string_view value = TrimTrailing(valueWithoutBraces);
    const std::int32_t vari1 = engine.context().vari1.intValue;
    const bool runs = StartsWith(variable, "VARI1") ? NumericBlockRuns(op, vari1, ParseDecimal(value))
                                                    : CharacterBlockRuns(op, vari1, value);
    if (!runs) engine.SkipBlock(file, 1);
}

}  // namespace kavlo
