// "TIRTextValue:" and "TIFTextValue:": a node whose text a value-map block picks
// by a registry value or a byte of a file.
#include "probes/checks/check_items.h"
#include "probes/checks/check_commands.h"
#include "engine/path_tokens.h"
#include "engine/text_util.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {

void TIRTextValueCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    ScriptFile& file = call.file;
    TitleRecord* title = call.title;
    // path,,unused,,prefix {
    const auto fields = SplitFields(call.argument, ",,", 3);
    const std::string prefix = RemoveAll(fields[2], '{');
    const std::uint32_t value = ReadValueNumber(engine.context(), fields[0]);
    ApplyValueMap(engine, file, prefix, value, title);
}

void TIFTextValueCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    ScriptFile& file = call.file;
    TitleRecord* title = call.title;
    // path,unused,prefix,offset {
    const auto fields = SplitFields(call.argument, ",", 4);
    AppContext& context = engine.context();
    const std::string path = ExpandPathToken(context, fields[0]);
    const std::string_view offsetText = TrimTrailing(fields[3].substr(0, fields[3].find('{')));
    const std::optional<std::int8_t> byte = ReadFileByte(context.machine, path, ParseDecimal(offsetText));
    // Without the file the block's lines run as ordinary lines and its "}" closes it.
    if (!byte) return;
    context.vari1.SetInt(*byte);
    ApplyValueMap(engine, file, fields[2], static_cast<std::uint32_t>(static_cast<std::int32_t>(*byte)), title);
}

}  // namespace kavlo
