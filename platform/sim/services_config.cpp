#include "platform/sim/services_config.h"

#include <charconv>
#include <optional>

#include "platform/sim/name_fold.h"
#include "platform/sim/text_decode.h"

namespace kavlo::platform::sim {
namespace {

std::optional<std::uint64_t> Number(std::string_view text) {
    text = Trim(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::int64_t> SignedNumber(std::string_view text) {
    text = Trim(text);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> YesNo(std::string_view word) {
    if (SameName(word, "yes")) return true;
    if (SameName(word, "no")) return false;
    return std::nullopt;
}

SectionError NeedsNumber(const IniEntry& e) {
    return SectionError{e.line, "\"" + e.key + "\" needs a number, not \"" + e.value + "\""};
}

std::optional<std::uint32_t> StateOfWord(std::string_view word) {
    static const std::pair<std::string_view, std::uint32_t> kStates[] = {
        {"stopped", 1},          {"start_pending", 2}, {"stop_pending", 3}, {"running", 4},
        {"continue_pending", 5}, {"pause_pending", 6}, {"paused", 7},
    };
    for (const auto& [name, state] : kStates)
        if (SameName(name, word)) return state;
    return std::nullopt;
}

// "runs", "fails CODE", "exits CODE" or "hangs".
bool ReadStartOutcome(std::string_view text, SimServiceState& state) {
    const std::size_t space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : Trim(text.substr(space + 1));
    if (SameName(word, "runs") && rest.empty()) return state.onStart = StartOutcome::Runs, true;
    if (SameName(word, "hangs") && rest.empty()) return state.onStart = StartOutcome::Hangs, true;
    const auto code = Number(rest);
    if (!code || *code > 0xFFFFFFFFu) return false;
    state.startCode = static_cast<std::uint32_t>(*code);
    if (SameName(word, "fails")) return state.onStart = StartOutcome::Fails, true;
    if (SameName(word, "exits")) return state.onStart = StartOutcome::ExitsWithCode, true;
    return false;
}

std::optional<SectionError> ReadService(const IniSection& section, std::string_view name, ServicesConfig& config) {
    if (name.empty()) return SectionError{section.line, "[service NAME] needs the service's key name"};
    SimServiceState state;
    state.status.state = 1;
    state.status.waitHintMs = 2000;
    bool exitCodeGiven = false;
    for (const IniEntry& e : section.entries) {
        if (SameName(e.key, "state")) {
            const auto value = StateOfWord(e.value);
            if (!value)
                return SectionError{e.line,
                                    "\"state\" is stopped, start_pending, stop_pending, running, "
                                    "continue_pending, pause_pending or paused, not \"" +
                                        e.value + "\""};
            state.status.state = *value;
        } else if (SameName(e.key, "exit_code") || SameName(e.key, "specific_exit_code") ||
                   SameName(e.key, "wait_hint")) {
            const auto value = Number(e.value);
            if (!value || *value > 0xFFFFFFFFu) return NeedsNumber(e);
            const auto v = static_cast<std::uint32_t>(*value);
            if (SameName(e.key, "exit_code")) state.status.exitCode = v, exitCodeGiven = true;
            else if (SameName(e.key, "specific_exit_code")) state.status.specificExitCode = v;
            else state.status.waitHintMs = v;
        } else if (SameName(e.key, "on_start")) {
            if (!ReadStartOutcome(e.value, state))
                return SectionError{e.line,
                                    "\"on_start\" is runs, hangs, fails CODE or exits CODE, not \"" + e.value + "\""};
        } else {
            return UnknownKeyError(section.name, e, "state, exit_code, specific_exit_code, wait_hint, on_start");
        }
    }
    constexpr std::uint32_t kNeverStarted = 1077;
    if (state.status.state == 1 && !exitCodeGiven) state.status.exitCode = kNeverStarted;
    if (!config.services.emplace(FoldName(name), state).second)
        return SectionError{section.line, "[service " + std::string(name) + "] appears twice"};
    return std::nullopt;
}

// Items separated by "|", a character no path holds; blanks around them trimmed.
std::vector<std::string_view> SplitBars(std::string_view text) {
    std::vector<std::string_view> items;
    for (;;) {
        const std::size_t bar = text.find('|');
        if (const std::string_view item = Trim(text.substr(0, bar)); !item.empty()) items.push_back(item);
        if (bar == std::string_view::npos) return items;
        text.remove_prefix(bar + 1);
    }
}

// Nine numbers separated by blanks, in the order of the memory counters.
bool ReadMemory(std::string_view text, ProcessMemory& memory) {
    std::uint64_t* const targets[] = {nullptr,
                                      &memory.peakWorkingSet,
                                      &memory.workingSet,
                                      &memory.quotaPeakPagedPool,
                                      &memory.quotaPagedPool,
                                      &memory.quotaPeakNonPagedPool,
                                      &memory.quotaNonPagedPool,
                                      &memory.pagefileUsage,
                                      &memory.peakPagefileUsage};
    std::size_t index = 0;
    text = Trim(text);
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const auto value = Number(text.substr(0, space));
        if (!value || index == std::size(targets)) return false;
        if (index == 0) {
            if (*value > 0xFFFFFFFFu) return false;
            memory.pageFaultCount = static_cast<std::uint32_t>(*value);
        } else {
            *targets[index] = *value;
        }
        ++index;
        text = space == std::string_view::npos ? std::string_view() : Trim(text.substr(space));
    }
    return index == std::size(targets);
}

std::optional<SectionError> ReadProcess(const IniSection& section, std::string_view argument, ServicesConfig& config) {
    const auto id = Number(argument);
    if (!id || *id > 0xFFFFFFFFu) return SectionError{section.line, "[process ID] needs a process number"};
    SimProcess process;
    process.id = static_cast<std::uint32_t>(*id);
    for (const IniEntry& e : section.entries) {
        if (SameName(e.key, "image")) {
            process.image = e.value;
        } else if (SameName(e.key, "modules")) {
            for (std::string_view path : SplitBars(e.value)) process.modules.emplace_back(path);
        } else if (SameName(e.key, "memory")) {
            if (!ReadMemory(e.value, process.memory))
                return SectionError{e.line,
                                    "\"memory\" needs nine numbers: page faults, peak working set, working set, "
                                    "peak paged pool, paged pool, peak non-paged pool, non-paged pool, page file, "
                                    "peak page file"};
        } else if (SameName(e.key, "counters")) {
            for (std::string_view pair : SplitBars(e.value)) {
                const std::size_t equals = pair.rfind('=');
                const auto value =
                    equals == std::string_view::npos ? std::nullopt : SignedNumber(pair.substr(equals + 1));
                if (!value)
                    return SectionError{e.line, "\"counters\" are NAME = VALUE pairs separated by \"|\", not \"" +
                                                    std::string(pair) + "\""};
                process.counters.emplace_back(std::string(Trim(pair.substr(0, equals))), *value);
            }
        } else if (SameName(e.key, "access")) {
            if (!SameName(e.value, "denied") && !SameName(e.value, "granted"))
                return SectionError{e.line, "\"access\" is granted or denied, not \"" + e.value + "\""};
            process.denied = SameName(e.value, "denied");
        } else {
            return UnknownKeyError(section.name, e, "image, modules, memory, counters, access");
        }
    }
    for (const SimProcess& other : config.processes)
        if (other.id == process.id)
            return SectionError{section.line, "[process " + std::string(argument) + "] appears twice"};
    config.processes.push_back(std::move(process));
    return std::nullopt;
}

std::optional<SectionError> ReadWindow(const IniSection& section, ServicesConfig& config) {
    TopWindow window;
    bool hasProcess = false;
    for (const IniEntry& e : section.entries) {
        if (SameName(e.key, "process")) {
            const auto id = Number(e.value);
            if (!id || *id > 0xFFFFFFFFu) return NeedsNumber(e);
            window.processId = static_cast<std::uint32_t>(*id);
            hasProcess = true;
        } else if (SameName(e.key, "title")) {
            window.text = e.value;
        } else if (SameName(e.key, "parent")) {
            window.hasParent = true;
            window.parentText = e.value;
        } else if (SameName(e.key, "visible") || SameName(e.key, "has_child")) {
            const auto value = YesNo(e.value);
            if (!value) return SectionError{e.line, "\"" + e.key + "\" is yes or no, not \"" + e.value + "\""};
            (SameName(e.key, "visible") ? window.visible : window.hasChild) = *value;
        } else {
            return UnknownKeyError(section.name, e, "process, title, visible, parent, has_child");
        }
    }
    if (!hasProcess) return SectionError{section.line, "[" + section.name + "] needs the key \"process\""};
    config.windows.push_back(std::move(window));
    return std::nullopt;
}

}  // namespace

bool IsServicesSection(std::string_view kind) {
    return SameName(kind, "service") || SameName(kind, "process") || SameName(kind, "window");
}

std::optional<SectionError> ReadServicesSection(const IniSection& section, std::string_view kind,
                                                std::string_view argument, ServicesConfig& config) {
    if (SameName(kind, "service")) return ReadService(section, argument, config);
    if (SameName(kind, "process")) return ReadProcess(section, argument, config);
    return ReadWindow(section, config);
}

}  // namespace kavlo::platform::sim
