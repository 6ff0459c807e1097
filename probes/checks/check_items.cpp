#include "probes/checks/check_items.h"

#include "engine/text_util.h"

namespace kavlo {

std::vector<std::string_view> SplitFields(std::string_view text, std::string_view separator, std::size_t count) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const auto pos = text.find(separator, start);
        if (pos == std::string_view::npos) break;
        fields.push_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
    fields.push_back(text.substr(start));
    if (fields.size() < count) fields.resize(count);
    return fields;
}

std::string_view CheckStateCode(bool equal, bool checkBox, bool locked, bool lockNonZero) {
    if (!locked) {
        if (checkBox) return equal ? "00" : "01";
        return equal ? "02" : "03";
    }
    if (checkBox) {
        if (equal) return lockNonZero ? "03" : "04";
        return lockNonZero ? "05" : "06";
    }
    if (equal) return lockNonZero ? "07" : "08";
    return lockNonZero ? "11" : "10";
}

std::optional<std::string> ReadFileBytes(platform::Machine& machine, std::string_view path, std::int64_t offset,
                                         std::size_t limit) {
    auto file = machine.OpenForRead(path);
    if (!file.ok() || !*file) return std::nullopt;
    platform::InputFile& input = **file;
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= input.Size()) return std::string();
    if (!input.Seek(static_cast<std::uint64_t>(offset)).ok()) return std::string();
    std::string bytes(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        auto got = input.Read(bytes.data() + filled, limit - filled);
        if (!got.ok() || *got == 0) break;
        filled += *got;
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<std::int8_t> ReadFileByte(platform::Machine& machine, std::string_view path, std::int64_t offset) {
    std::optional<std::string> bytes = ReadFileBytes(machine, path, offset, 1);
    if (!bytes) return std::nullopt;
    return bytes->empty() ? std::int8_t{0} : static_cast<std::int8_t>((*bytes)[0]);
}

void ApplyValueMap(ScriptEngine& engine, ScriptFile& file, std::string_view prefix, std::uint32_t value,
                   TitleRecord* title) {
    for (;;) {
        const std::optional<std::string_view> line = file.ReadLine();
        if (!line) return;
        if (Contains(*line, '}')) {
            // The run never sees this closing line, so its block ends here.
            engine.LowerDepth();
            return;
        }
        if (static_cast<std::uint32_t>(ParseDecimal(*line)) != value) continue;
        if (title) {
            std::string nodeTitle(prefix);
            nodeTitle.append(AfterFirst(*line, ':'));
            title->Root().Current().AddChild(nodeTitle);
        }
        engine.SkipBlock(file, 1);
        return;
    }
}

}  // namespace kavlo
