#pragma once
// A script file held in memory and read line by line, with byte offsets that
// match the file on disk so that title bodies can be found again by offset.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavlo {

class ScriptFile {
public:
    /// Reads a whole file from the host; nullopt when it cannot be opened.
    static std::optional<ScriptFile> Open(const std::string& path);
    explicit ScriptFile(std::string contents) : data_(std::move(contents)) {}

    /// The next line without its line end ("\n" or "\r\n"); nullopt at the end.
    std::optional<std::string_view> ReadLine();
    std::uint64_t Tell() const { return pos_; }
    /// Moves to a byte offset; past the end leaves the file at its end.
    void Seek(std::uint64_t offset) { pos_ = offset > data_.size() ? data_.size() : static_cast<std::size_t>(offset); }
    bool AtEnd() const { return pos_ >= data_.size(); }

private:
    std::string data_;
    std::size_t pos_ = 0;
};

}  // namespace kavlo
