#pragma once
// Builds archive bytes by hand for tests, and helpers around a report in memory.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "report/report_archive.h"

namespace kavlo::report::testing {

/// Little-endian byte builder.
class Bytes {
public:
    Bytes& b(std::uint8_t v) {
        s_.push_back(static_cast<char>(v));
        return *this;
    }
    Bytes& w(std::uint16_t v) { return b(v & 0xFF).b(v >> 8); }
    Bytes& d(std::uint32_t v) { return w(v & 0xFFFF).w(v >> 16); }
    Bytes& raw(std::string_view text) {
        s_.append(text);
        return *this;
    }
    /// A string with the shortest prefix.
    Bytes& str(std::string_view text) {
        if (text.size() < 0xFF) b(static_cast<std::uint8_t>(text.size()));
        else if (text.size() < 0xFFFE) b(0xFF).w(static_cast<std::uint16_t>(text.size()));
        else b(0xFF).w(0xFFFF).d(static_cast<std::uint32_t>(text.size()));
        return raw(text);
    }
    /// Tag 0xFFFF and a class descriptor.
    Bytes& newClass(std::string_view name, std::uint16_t schema = 100) {
        return w(0xFFFF).w(schema).w(static_cast<std::uint16_t>(name.size())).raw(name);
    }
    Bytes& header(std::uint32_t version = 306, std::uint32_t build = 35) { return d(version).d(build); }
    /// A title record (without tag) whose kind holds no tree.
    Bytes& title(std::string_view name, std::string_view kind, std::uint32_t key = 0, bool withHeader2 = true) {
        d(0).d(key).str(name).str("").str(kind).str("").str("");
        if (withHeader2) str("");
        return *this;
    }
    const std::string& str() const { return s_; }
    std::size_t size() const { return s_.size(); }

private:
    std::string s_;
};

/// The archive bytes of a report.
std::string Write(const ReportContents& report);
/// Reads bytes into `out`; the status.
ReadStatus Read(std::string_view bytes, ReportContents& out);
/// A small report: root with a script of three titles ("text", "filelist", "treexptxt").
ReportContents SampleReport();

}  // namespace kavlo::report::testing
