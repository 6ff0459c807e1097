#pragma once
// Reads a file line by line as the C runtime's text mode does: "\r\n" and "\n"
// end a line, and a Ctrl-Z (0x1A) ends the text.

#include <memory>
#include <optional>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo {

class TextLineReader {
public:
    explicit TextLineReader(platform::InputFile& file) : file_(file) {}

    /// The next line without its line end; nullopt at the end of the text or on a
    /// read error. At most `maxBytes` of a longer line are returned, the rest of it
    /// is skipped unread into memory, and `cut` (when given) tells so.
    std::optional<std::string> ReadLine(std::size_t maxBytes = SIZE_MAX, bool* cut = nullptr);

private:
    bool Fill();
    void SkipRestOfLine();

    platform::InputFile& file_;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool ended_ = false;
    bool skipRest_ = false;  // the last line was cut: its rest goes before the next line is read
};

/// Most bytes one text command copies from a file into a title: a log of many
/// gigabytes would otherwise exhaust memory and lose the whole report.
inline constexpr std::size_t kMaxCommandTextBytes = std::size_t{16} << 20;
/// Ends a text that was cut at kMaxCommandTextBytes.
inline constexpr std::string_view kTextCutMarker = "\n[... cut here: a command copies at most 16 MiB of text ...]\n";

/// The text one command copies, lines each followed by "\n", cut with a visible
/// marker once it would grow beyond `limit` bytes.
class CappedText {
public:
    explicit CappedText(std::size_t limit = kMaxCommandTextBytes) : limit_(limit) {}
    /// Bytes of a line that still fit.
    std::size_t room() const { return limit_ - text_.size(); }
    /// Appends a line and its "\n"; false once the text is full (it is then cut and marked).
    bool AppendLine(std::string_view line, bool lineWasCut);
    bool full() const { return full_; }
    std::string& text() { return text_; }

private:
    std::size_t limit_;
    std::string text_;
    bool full_ = false;
};

/// Opens a file for the text commands: it must be found by a search and open for reading.
std::unique_ptr<platform::InputFile> OpenTextFile(platform::Machine& machine, const std::string& path);

}  // namespace kavlo
