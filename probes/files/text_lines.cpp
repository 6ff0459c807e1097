#include "probes/files/text_lines.h"

namespace kavlo {
namespace {
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr char kEndOfText = '\x1A';
}  // namespace

bool TextLineReader::Fill() {
    if (ended_) return false;
    buffer_.erase(0, pos_);
    pos_ = 0;
    const std::size_t kept = buffer_.size();
    buffer_.resize(kept + kChunkBytes);
    auto got = file_.Read(buffer_.data() + kept, kChunkBytes);
    const std::size_t count = got.ok() ? *got : 0;
    buffer_.resize(kept + count);
    if (const auto eot = buffer_.find(kEndOfText, kept); eot != std::string::npos) {
        buffer_.resize(eot);
        ended_ = true;
    }
    if (count == 0) ended_ = true;
    return count != 0;
}

void TextLineReader::SkipRestOfLine() {
    for (;;) {
        const auto newline = buffer_.find('\n', pos_);
        if (newline != std::string::npos) {
            pos_ = newline + 1;
            return;
        }
        pos_ = buffer_.size();
        if (!Fill()) return;
    }
}

std::optional<std::string> TextLineReader::ReadLine(std::size_t maxBytes, bool* cut) {
    if (cut) *cut = false;
    if (skipRest_) {
        // Skipped only now: a reader that stops after a cut line never reads the rest.
        skipRest_ = false;
        SkipRestOfLine();
    }
    auto take = [&](std::size_t length) {
        if (length > maxBytes) {
            if (cut) *cut = true;
            length = maxBytes;
        }
        return buffer_.substr(pos_, length);
    };
    std::size_t searchFrom = pos_;
    while (true) {
        const auto newline = buffer_.find('\n', searchFrom);
        if (newline != std::string::npos) {
            std::size_t end = newline;
            if (end > pos_ && buffer_[end - 1] == '\r') --end;
            std::string line = take(end - pos_);
            pos_ = newline + 1;
            return line;
        }
        // Longer than asked for even without a "\r" before its line end: keep
        // the part asked for and skip the rest, however long it is.
        const std::size_t unread = buffer_.size() - pos_;
        if (unread > 1 && unread - 1 > maxBytes) {
            std::string line = take(unread);
            pos_ += line.size();
            skipRest_ = true;
            return line;
        }
        if (!Fill()) break;
        searchFrom = unread;  // Fill moved the unread text to the front
    }
    if (pos_ >= buffer_.size()) return std::nullopt;
    std::string last = take(buffer_.size() - pos_);
    pos_ = buffer_.size();
    return last;
}

bool CappedText::AppendLine(std::string_view line, bool lineWasCut) {
    if (full_) return false;
    text_.append(line);
    // The line end needs room too: a text that ends exactly at the limit was cut.
    if (!lineWasCut && text_.size() < limit_) {
        text_.push_back('\n');
        return true;
    }
    text_.append(kTextCutMarker);
    full_ = true;
    return false;
}

std::unique_ptr<platform::InputFile> OpenTextFile(platform::Machine& machine, const std::string& path) {
    auto found = machine.FindFiles(path);
    if (!found.ok() || found->empty()) return nullptr;
    auto file = machine.OpenForRead(path);
    if (!file.ok()) return nullptr;
    return std::move(file).value();
}

}  // namespace kavlo
