// "TIRCheck:" and "TIFCheck:": one check item whose state follows a registry
// value or a byte of a file.
#include "probes/checks/check_items.h"
#include "probes/checks/check_commands.h"
#include "engine/path_tokens.h"
#include "engine/text_util.h"
#include "probes/registry/registry_readers.h"

namespace kavlo {

namespace {

constexpr std::size_t kStringReadLimit = 2000;
}  // namespace

void TIRCheckCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    // path,,unused,,type,,expected,,text,,unused
    const auto fields = SplitFields(call.argument, ",,", 6);
    const std::string_view path = fields[0], type = fields[2], text = fields[4];
    std::string nodeTitle;
    if (Contains(type, "Str")) {
        nodeTitle = std::string(text);
    } else {
        AppContext& context = engine.context();
        const std::uint32_t value = ReadValueNumber(context, path);
        const bool equal = value == static_cast<std::uint32_t>(ParseDecimal(fields[3]));
        const bool locked = Contains(type, "Lck");
        bool lockNonZero = false;
        if (locked) lockNonZero = ReadValueNumber(context, std::string(path) + " - L") != 0;
        nodeTitle = "||";
        nodeTitle.append(CheckStateCode(equal, Contains(type, "ChkBox"), locked, lockNonZero));
        nodeTitle.append(text);
    }
    title->Root().Current().AddChild(nodeTitle);
}

void TIFCheckCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    // path,unused,type,expected,text,offset,unused
    const auto fields = SplitFields(call.argument, ",", 7);
    AppContext& context = engine.context();
    const std::string path = ExpandPathToken(context, fields[0]);
    const std::string_view type = fields[2], text = fields[4];
    const std::int64_t offset = ParseDecimal(fields[5]);
    std::string nodeTitle;
    const bool checkBox = Contains(type, "ChkBox");
    if (checkBox || Contains(type, "ButBox")) {
        if (const std::optional<std::int8_t> byte = ReadFileByte(context.machine, path, offset)) {
            context.vari1.SetInt(*byte);
            nodeTitle = "||";
            nodeTitle.append(CheckStateCode(*byte == ParseDecimal(fields[3]), checkBox, false, false));
            nodeTitle.append(text);
        }
    } else if (const std::optional<std::string> bytes =
                   ReadFileBytes(context.machine, path, offset, kStringReadLimit)) {
        nodeTitle = std::string(text);
        nodeTitle.append(std::string_view(*bytes).substr(0, bytes->find('\0')));
    }
    title->Root().Current().AddChild(nodeTitle);
}

}  // namespace kavlo
