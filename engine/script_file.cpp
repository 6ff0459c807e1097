#include "engine/script_file.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kavlo {

std::optional<ScriptFile> ScriptFile::Open(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return ScriptFile(std::move(contents));
}

std::optional<std::string_view> ScriptFile::ReadLine() {
    if (pos_ >= data_.size()) return std::nullopt;
    const char* begin = data_.data() + pos_;
    const std::size_t rest = data_.size() - pos_;
    const void* newline = std::memchr(begin, '\n', rest);
    std::size_t length = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - begin) : rest;
    pos_ += newline ? length + 1 : length;
    if (newline && length > 0 && begin[length - 1] == '\r') --length;
    return std::string_view(begin, length);
}

}  // namespace kavlo
