#pragma once
// The command table: one row per script command, in the order the dispatcher
// tests them. Rows are data; probe areas bind their handlers by name.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <span>
#include <string_view>

namespace kavlo {

class ScriptEngine;
class ScriptFile;
class TitleRecord;

enum class CommandGroup { A, A2, B };

/// What a row's handler reads of its line. Every handler gets the whole
/// CommandCall; this records the row's contract for readers and the checker.
enum class Reads {
    Argument,         ///< the text after the command's name
    ArgumentAndFile,  ///< as Argument, and may read or skip further lines of the script
    AfterColon,       ///< the text after the first ":" of the trimmed line
    Title,            ///< only the title
    TitleAndFlag,     ///< the title and the row's flag (one handler serves two rows)
    Block,            ///< consumes its own block from the script
    Line,             ///< the whole line and the script, without a title
    Nothing,          ///< recognised and silent
};

/// Everything a handler may read about the line being executed.
struct CommandCall {
    ScriptEngine& engine;
    std::string_view name;        ///< the row's command name
    std::string_view line;        ///< the line as read, untrimmed
    std::string_view argument;    ///< the text after the first occurrence of `name` in `line`, untrimmed
    std::string_view afterColon;  ///< the text after the first ":" of the trimmed line
    ScriptFile& file;             ///< the script, positioned after the line
    TitleRecord* title;           ///< null when a catalog "[CHECK]" block runs the line
    int flag;                     ///< the row's flag (1 for the tree form of a pair)
};

using Handler = void (*)(CommandCall& call);

struct CommandRow {
    std::string_view name;
    CommandGroup group;
    Reads reads;
    int flag;
    Handler handler;  ///< null: recognised and silent
};

inline constexpr std::size_t kCommandCount = 74;

/// The table in dispatch order.
class CommandTable {
public:
    /// The 74 rows with no handlers bound.
    CommandTable();
    /// Binds a handler to a row. Returns false (and binds nothing) for a name that
    /// is not in the table, a null handler, or a row that is recognised and silent.
    [[nodiscard]] bool Bind(std::string_view name, Handler handler);
    /// Binds every pair; a name Bind refuses is a programming error and throws
    /// std::logic_error naming it, so a misspelt binding fails on first use.
    void BindAll(std::initializer_list<std::pair<std::string_view, Handler>> bindings);
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

}  // namespace kavlo
