#pragma once
// Reads a file line by line as the C runtime's text mode does: "\r\n" and "\n"
// end a line, and a Ctrl-Z (0x1A) ends the text.

#include <memory>
#include <optional>
#include <string>

#include "platform/machine.h"

namespace kavlo {

class TextLineReader {
public:
    explicit TextLineReader(platform::InputFile& file) : file_(file) {}

    /// The next line without its line end; nullopt at the end of the text or on a read error.
    std::optional<std::string> ReadLine();

private:
    bool Fill();

    platform::InputFile& file_;
    std::string buffer_;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

/// Opens a file for the text commands: it must be found by a search and open for reading.
std::unique_ptr<platform::InputFile> OpenTextFile(platform::Machine& machine, const std::string& path);

}  // namespace kavlo
