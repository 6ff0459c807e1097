#pragma once
// The command table: one row per script command, in the order the dispatcher
// tests them. Rows are data; probe areas bind their handlers by name.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace kavlo {

class ScriptEngine;
class ScriptFile;
class TitleRecord;

enum class CommandGroup { A, A2, B };

// Handler forms. `title` is null when a catalog "[CHECK]" block runs the line.
/// N: (command name, line, title); the argument is the text after the name.
using HandlerN = void (*)(ScriptEngine&, std::string_view name, std::string_view line, TitleRecord* title);
/// F: as N, and may read or skip further lines of the file.
using HandlerF = void (*)(ScriptEngine&, std::string_view name, ScriptFile& file, std::string_view line,
                          TitleRecord* title);
/// R: (text after the first ":" of the trimmed line, title).
using HandlerR = void (*)(ScriptEngine&, std::string_view argument, TitleRecord* title);
/// T: (title) only.
using HandlerT = void (*)(ScriptEngine&, TitleRecord* title);
/// B1 / B0: (title, flag).
using HandlerB = void (*)(ScriptEngine&, TitleRecord* title, int flag);
/// S: (file, title).
using HandlerS = void (*)(ScriptEngine&, ScriptFile& file, TitleRecord* title);
/// O: (file, line).
using HandlerO = void (*)(ScriptEngine&, ScriptFile& file, std::string_view line);
/// A row whose command is recognised and does nothing.
struct NoHandler {};

using Handler = std::variant<NoHandler, HandlerN, HandlerF, HandlerR, HandlerT, HandlerB, HandlerS, HandlerO>;

enum class Form { N, F, R, T, B1, B0, S, O, Nothing };

struct CommandRow {
    std::string_view name;
    CommandGroup group;
    Form form;
    Handler handler;
};

inline constexpr std::size_t kCommandCount = 74;

/// The table in dispatch order.
class CommandTable {
public:
    /// The 74 rows with no handlers bound.
    CommandTable();
    /// Binds a handler to a row; the handler's type must match the row's form.
    /// Returns false (and binds nothing) for an unknown name or a form mismatch.
    bool Bind(std::string_view name, Handler handler);
    const std::array<CommandRow, kCommandCount>& rows() const { return rows_; }
    const CommandRow* Find(std::string_view name) const;
    /// Indexes of the group's rows whose name begins with `first`, in table order.
    /// Only such rows can match a line that begins with `first`.
    std::span<const std::uint8_t> Candidates(CommandGroup group, unsigned char first) const;

private:
    static constexpr std::size_t kGroups = 3;
    std::array<CommandRow, kCommandCount> rows_;
    // Row indexes ordered by (group, first byte of the name, table order), and
    // for each (group, byte) the start of its run in `byFirst_`.
    std::array<std::uint8_t, kCommandCount> byFirst_{};
    std::array<std::uint16_t, kGroups * 256 + 1> bucketStart_{};
};

/// The table with every probe that exists bound (defined in probes/).
const CommandTable& StandardCommandTable();

}  // namespace kavlo
