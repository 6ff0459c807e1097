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

std::optional<std::string> TextLineReader::ReadLine() {
    std::size_t searchFrom = pos_;
    while (true) {
        const auto newline = buffer_.find('\n', searchFrom);
        if (newline != std::string::npos) {
            std::size_t end = newline;
            if (end > pos_ && buffer_[end - 1] == '\r') --end;
            std::string line = buffer_.substr(pos_, end - pos_);
            pos_ = newline + 1;
            return line;
        }
        const std::size_t scanned = buffer_.size() - pos_;
        if (!Fill()) break;
        searchFrom = scanned;  // Fill moved the unread text to the front
    }
    if (pos_ >= buffer_.size()) return std::nullopt;
    std::string last = buffer_.substr(pos_);
    pos_ = buffer_.size();
    return last;
}

std::unique_ptr<platform::InputFile> OpenTextFile(platform::Machine& machine, const std::string& path) {
    auto found = machine.FindFiles(path);
    if (!found.ok() || found->empty()) return nullptr;
    auto file = machine.OpenForRead(path);
    if (!file.ok()) return nullptr;
    return std::move(file).value();
}

}  // namespace kavlo
