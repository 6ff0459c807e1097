#include "engine/script_lint.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "engine/script_engine.h"

namespace kavlo {
namespace {

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool Contains(std::string_view s, std::string_view p) { return s.find(p) != std::string_view::npos; }

std::vector<std::string> Split(std::string_view s, char sep) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(sep, start);
        out.emplace_back(s.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return out;
        start = at + 1;
    }
}

bool IsInteger(std::string_view s) {
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const std::set<std::string, std::less<>> kKinds = {"text", "filelist", "col", "tree", "treexp", "treexptxt"};
const std::set<std::string, std::less<>> kShortNames = {"Win95", "Win98", "NT3.50", "NT3.51",
                                                        "NT4.0", "NT5.0", "NT5.1",  "NT"};
const std::set<std::string, std::less<>> kSortTypes = {"NoSort", "ASCIICase", "ASCIINoCase", "INT"};
const std::vector<std::string_view> kVideoKeywords = {
    "adap Description", "adap String",    "adap ChipType",  "adap DACType", "adap Memory", "VGACompatible",
    "video resolution", "adap PCIVendor", "adap PCIDevice", "adap Files",   "adap DrvLoad"};
// Texts that the catalog picks up on any line of a file.
const std::vector<std::string_view> kCatalogKeywords = {"ENGINE:", "VERSION:", "DATE:", "[TITLE"};

enum class BlockKind { Plain, RvalMap, NumberMap, Video };

class ScriptLinter {
public:
    ScriptLinter(const std::string& file, const std::vector<std::string>& lines, const CommandTable& table)
        : file_(file), lines_(lines), table_(table) {}

    std::vector<LintProblem> Run() {
        while (next_ < lines_.size()) {
            const std::size_t index = next_++;
            const std::string_view t = Trim(lines_[index]);
            if (t.empty() || StartsWith(t, "//")) {
                CheckComment(index, t);
            } else if (StartsWith(t, "ENGINE:") || StartsWith(t, "VERSION:") || StartsWith(t, "DATE:")) {
                headers_.insert(std::string(t.substr(0, t.find(':'))));
            } else if (t == "[TITLE LIST] {") {
                TitleList();
            } else if (t == "[TITLE] {") {
                TitleBody(index);
            } else {
                Problem(index, "stray line outside the title list and the title bodies");
            }
        }
        for (const char* header : {"ENGINE", "VERSION", "DATE"})
            if (!headers_.count(header)) Problem(0, std::string("no ") + header + ": header line");
        for (const std::string& title : listed_)
            if (!bodies_.count(title)) Problem(0, "title \"" + title + "\" has no body");
        return std::move(problems_);
    }

private:
    void Problem(std::size_t index, std::string what) {
        problems_.push_back({file_, static_cast<int>(index + 1), std::move(what)});
    }

    void CheckComment(std::size_t index, std::string_view t) {
        if (Contains(t, "{") || Contains(t, "}")) Problem(index, "a brace in a comment counts as a block");
        for (std::string_view keyword : kCatalogKeywords)
            if (Contains(t, keyword)) Problem(index, "the catalog reads \"" + std::string(keyword) + "\" in any line");
    }

    void TitleList() {
        while (next_ < lines_.size()) {
            const std::size_t index = next_++;
            std::string_view t = lines_[index];
            if (Contains(t, "}")) {
                if (Trim(t) != "}") Problem(index, "the title list ends with a line holding only \"}\"");
                return;
            }
            if (StartsWith(t, "[OS:")) {
                const std::size_t close = t.find(']');
                if (close == std::string_view::npos) {
                    Problem(index, "an [OS: title line needs its \"]\"");
                    continue;
                }
                CheckOsNames(index, t.substr(4, close - 4));
                t = t.substr(close + 1);
            }
            if (t.empty() || Trim(t) != t) Problem(index, "a title name is empty or has outer blanks");
            if (!listed_.insert(std::string(t)).second) Problem(index, "title listed twice");
        }
        Problem(next_ - 1, "the title list is not closed");
    }

    void CheckOsNames(std::size_t index, std::string_view names) {
        for (const std::string& name : Split(names, ','))
            if (!kShortNames.count(name)) Problem(index, "unknown system short name \"" + name + "\"");
    }

    void TitleBody(std::size_t at) {
        if (next_ + 2 > lines_.size()) {
            Problem(at, "a title body needs a name and a kind line");
            next_ = lines_.size();
            return;
        }
        const std::string name = lines_[next_++];
        if (!listed_.count(name)) Problem(at + 1, "body of a title that is not listed: " + name);
        if (!bodies_.insert(name).second) Problem(at + 1, "second body of a title: " + name);
        KindLine(next_++);
        Body(at);
    }

    void KindLine(std::size_t index) {
        const std::string& line = lines_[index];
        const std::size_t comma = line.find(',');
        const std::string kind = comma == std::string::npos || comma == 0 ? line : line.substr(0, comma);
        if (!kKinds.count(kind)) {
            Problem(index, "unknown content kind \"" + kind + "\"");
            return;
        }
        if (comma == std::string::npos || comma == 0) {
            if (kind == "filelist" || kind == "col") Problem(index, "a list title needs its columns");
            return;
        }
        const std::vector<std::string> columns = Split(std::string_view(line).substr(comma + 1), ',');
        if (columns.size() % 2 != 0) Problem(index, "columns are pairs of a name and a width");
        for (std::size_t i = 1; i < columns.size(); i += 2)
            if (!IsInteger(columns[i])) Problem(index, "column width is not a number: " + columns[i]);
        const std::size_t headerLines = kind == "filelist" ? 2 : kind == "col" ? 1 : 0;
        if (next_ + headerLines > lines_.size()) {
            Problem(index, "header lines missing");
            return;
        }
        next_ += headerLines;
        if (headerLines == 0) return;
        const std::size_t sortLine = next_ - 1;
        const std::vector<std::string> sorts = Split(lines_[sortLine], ',');
        if (sorts.size() != columns.size() / 2) Problem(sortLine, "one sort type per column");
        for (const std::string& sort : sorts)
            if (!kSortTypes.count(sort)) Problem(sortLine, "unknown sort type \"" + sort + "\"");
    }

    void Body(std::size_t at) {
        struct Open {
            BlockKind kind;
            std::size_t line;
            std::vector<std::size_t> entries;
        };
        std::vector<Open> blocks;
        while (next_ < lines_.size()) {
            const std::size_t index = next_++;
            const std::string_view t = Trim(lines_[index]);
            if (Contains(t, "}")) {
                if (t != "}") Problem(index, "a line with \"}\" is never executed: keep it alone");
                if (blocks.empty()) return;  // the title's own closing brace
                CheckBlock(blocks.back().kind, blocks.back().line, blocks.back().entries);
                blocks.pop_back();
                continue;
            }
            if (t.empty() || StartsWith(t, "//")) {
                CheckComment(index, t);
                continue;
            }
            for (std::string_view keyword : kCatalogKeywords)
                if (Contains(t, keyword))
                    Problem(index, "the catalog reads \"" + std::string(keyword) + "\" in any line");
            if (!blocks.empty() &&
                (blocks.back().kind == BlockKind::RvalMap || blocks.back().kind == BlockKind::NumberMap)) {
                if (Contains(t, "{")) Problem(index, "a brace inside a mapping block");
                blocks.back().entries.push_back(index);
                continue;
            }
            if (!blocks.empty() && blocks.back().kind == BlockKind::Video &&
                std::any_of(kVideoKeywords.begin(), kVideoKeywords.end(),
                            [&](std::string_view k) { return Contains(t, k); }))
                continue;
            const CommandRow* row = CommandOfLine(t, table_);
            if (!row) {
                Problem(index, "not a command of the table");
                continue;
            }
            CheckCommand(index, t, *row);
            if (!Contains(t, "{")) {
                if (row->name == "TIRTextValue:" || row->name == "TIFTextValue:" || row->name == "IF" ||
                    row->name == "[OS:")
                    Problem(index, std::string(row->name) + " opens a block: end the line with \"{\"");
                continue;
            }
            if (TrimRight(t).back() != '{' || t.find('{') != t.rfind('{'))
                Problem(index, "a block opens with one \"{\" at the end of its line");
            BlockKind kind = BlockKind::Plain;
            if (row->name == "RVAL:") kind = BlockKind::RvalMap;
            else if (row->name == "TIRTextValue:" || row->name == "TIFTextValue:") kind = BlockKind::NumberMap;
            else if (row->name == "[SYSTEM VIDEO]") kind = BlockKind::Video;
            else if (row->name != "IF" && row->name != "[OS:")
                Problem(index, std::string(row->name) + " does not open a block");
            blocks.push_back({kind, index, {}});
        }
        for (const Open& open : blocks) Problem(open.line, "the block opened here is not closed");
        Problem(at, "the title body is not closed");
    }

    void CheckCommand(std::size_t index, std::string_view t, const CommandRow& row) {
        if (row.name == "[OS:") {
            const std::size_t close = t.find(']');
            if (close == std::string_view::npos) Problem(index, "an [OS: line needs its \"]\"");
            else CheckOsNames(index, t.substr(4, close - 4));
        } else if (row.name == "IF") {
            // "IF VARI1,op,n {": "!=" runs its block when the values are equal, "<"
            // when VARI1 is at least n and ">" when it is at most n; the bundled
            // scripts keep to "==", "<" and ">" and say which meaning they rely on.
            const std::vector<std::string> parts = Split(TrimRight(t.substr(2, t.find('{') - 2)), ',');
            if (parts.size() != 3 || Trim(parts[0]) != "VARI1" || !IsInteger(Trim(parts[2])))
                Problem(index, "IF takes VARI1, an operator and a number");
            else if (parts[1] != "==" && parts[1] != "<" && parts[1] != ">")
                Problem(index, "IF operator \"" + parts[1] + "\" reads differently from what it does");
        } else if (row.name == "TIRCheck:") {
            if (Split(std::string(t.substr(row.name.size())), ',').size() < 11)
                Problem(index, "TIRCheck: takes six fields separated by \",,\"");
        } else if (row.name == "TIFCheck:") {
            const std::vector<std::string> f = Split(t.substr(row.name.size()), ',');
            if (f.size() < 6 || !IsInteger(f[5])) Problem(index, "TIFCheck: field 6 is the byte offset");
        } else if (row.name == "TIFTextValue:") {
            const std::vector<std::string> f = Split(t.substr(row.name.size()), ',');
            if (f.size() != 4 || !IsInteger(Trim(f[3].substr(0, f[3].find('{')))))
                Problem(index, "TIFTextValue: takes a path, a type, a prefix and a byte offset");
        }
    }

    void CheckBlock(BlockKind kind, std::size_t opener, const std::vector<std::size_t>& entries) {
        if (kind == BlockKind::NumberMap) {
            for (std::size_t e : entries) {
                const std::string_view t = Trim(lines_[e]);
                if (!IsInteger(Trim(t.substr(0, t.find(':')))) || !Contains(t, ":"))
                    Problem(e, "a value-map line is a number, \":\" and a text");
            }
        } else if (kind == BlockKind::RvalMap) {
            CheckRvalMap(opener, entries);
        }
    }

    // The first line that contains the value text wins, and a missing value
    // (empty text) is contained in every line; "RNOTPRESENT" answers for any
    // value, so it only makes sense on its own.
    void CheckRvalMap(std::size_t opener, const std::vector<std::size_t>& entries) {
        if (entries.empty()) Problem(opener, "an empty mapping block");
        std::vector<std::string> keys;
        for (std::size_t e : entries) {
            const std::string_view t = Trim(lines_[e]);
            if (StartsWith(t, "RNOTPRESENT:")) {
                if (entries.size() != 1) Problem(e, "RNOTPRESENT: answers every value: keep it alone in its block");
                continue;
            }
            const std::size_t eq = t.find('=');
            if (eq == std::string_view::npos || eq == 0) {
                Problem(e, "a mapping line is a value, \"=\" and a text");
                continue;
            }
            const std::string key(t.substr(0, eq));
            if (key != "*" && Contains(key, "*")) Problem(e, "\"*\" in a mapping line makes it the default");
            for (std::size_t i = 0; i < keys.size(); ++i)
                if (key != "*" && Contains(Trim(lines_[entries[i]]), key))
                    Problem(e, "value \"" + key + "\" is caught by an earlier line");
            if (!keys.empty() && keys.back() == "*") Problem(e, "lines after the \"*\" line are never reached");
            keys.push_back(key);
        }
    }

    const std::string& file_;
    const std::vector<std::string>& lines_;
    const CommandTable& table_;
    std::size_t next_ = 0;
    std::set<std::string> headers_;
    std::set<std::string> listed_;
    std::set<std::string> bodies_;
    std::vector<LintProblem> problems_;
};

}  // namespace

const CommandRow* CommandOfLine(std::string_view trimmed, const CommandTable& table) {
    const DispatchedRows rows = MatchLine(table, trimmed, true);
    for (const CommandRow* row : rows)
        if (row) return row;
    return nullptr;
}

std::vector<LintProblem> LintScript(const std::string& file, const std::vector<std::string>& lines,
                                    const CommandTable& table) {
    return ScriptLinter(file, lines, table).Run();
}

std::vector<LintProblem> LintConfiguration(const std::string& file, const std::vector<std::string>& lines,
                                           const CommandTable& table) {
    std::vector<LintProblem> problems;
    auto problem = [&](std::size_t index, std::string what) {
        problems.push_back({file, static_cast<int>(index + 1), std::move(what)});
    };
    enum class State { Outside, All, Check, Entry } state = State::Outside;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view t = Trim(lines[i]);
        const bool comment = StartsWith(t, "//");
        if (comment && (Contains(t, "{") || Contains(t, "}") || Contains(t, "[ALL]") || Contains(t, "[CHECK]")))
            problem(i, "the catalog reads braces and section names in comments too");
        if (t.empty() || comment) continue;
        switch (state) {
            case State::Outside:
                if (t == "[ALL] {") state = State::All;
                else if (t == "[CHECK] {") state = State::Check;
                else problem(i, "stray line outside the sections");
                break;
            case State::All:
                if (t == "}") state = State::Outside;
                else if (Contains(t, "{") || Contains(t, "}") || t != lines[i]) problem(i, "a script name per line");
                break;
            case State::Check:
                if (t == "}") state = State::Outside;
                else if (TrimRight(t).size() > 1 && t.back() == '{' && t.find('{') == t.size() - 1)
                    state = State::Entry;
                else problem(i, "a check entry is a script name followed by \"{\"");
                break;
            case State::Entry:
                if (t == "}") {
                    state = State::Check;
                } else {
                    const CommandRow* row = CommandOfLine(t, table);
                    if (!row || (row->name != "RKEYPRESENT:" && row->name != "RVALPRESENT:"))
                        problem(i, "a check entry tests the presence of a registry key or value");
                }
                break;
        }
    }
    if (state != State::Outside) problems.push_back({file, static_cast<int>(lines.size()), "a section is not closed"});
    return problems;
}

std::string Describe(const std::vector<LintProblem>& problems) {
    std::string out;
    for (const LintProblem& p : problems) out += p.file + ":" + std::to_string(p.line) + ": " + p.what + "\n";
    return out;
}

}  // namespace kavlo
