// Reads fuzzed bytes as a text file in chunks of varying size and checks that
// the lines put back together give the text as the C runtime's text mode sees
// it: "\r\n" read as "\n", everything from the first Ctrl-Z on dropped.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/testing/fake_machine.h"
#include "probes/files/text_lines.h"

namespace {

std::string TextModeView(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        out.push_back(bytes[i]);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    kavlo::testing::FakeMachine machine;
    machine.readChunk = chunk;
    machine.AddFile("C:\\input.txt", bytes);
    auto file = machine.OpenForRead("C:\\input.txt");
    if (!file.ok()) std::abort();
    kavlo::TextLineReader reader(**file);
    std::string joined;
    std::size_t lines = 0;
    while (auto line = reader.ReadLine()) {
        if (lines++ != 0) joined += '\n';
        joined += *line;
        if (lines > bytes.size() + 1) std::abort();  // every line but the last consumes a byte
    }
    const std::string expected = TextModeView(bytes);
    if (!expected.empty() && expected.back() == '\n') joined += '\n';
    if (joined != expected) std::abort();
    return 0;
}
