#include "platform/sim/text_decode.h"

#include "platform/codepage.h"

namespace kavlo::platform::sim {
namespace {

// True when the bytes hold at least one multi-byte UTF-8 sequence and nothing
// that is not UTF-8.
bool LooksLikeUtf8(std::string_view bytes) {
    bool multiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) extra = 1;
        else if (lead >= 0xE0 && lead <= 0xEF) extra = 2;
        else if (lead >= 0xF0 && lead <= 0xF4) extra = 3;
        else return false;
        if (bytes.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        multiByte = true;
        i += extra + 1;
    }
    return multiByte;
}

std::u16string Utf16LeUnits(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return units;
}

}  // namespace

namespace {

// The byte-order marks and encodings both decoders accept, with the conversions
// of the form each one delivers.
template <typename FromUtf16, typename FromUtf8, typename FromAnsi>
DecodedText Decode(std::string_view bytes, bool detectUtf8, FromUtf16 fromUtf16, FromUtf8 fromUtf8, FromAnsi fromAnsi) {
    DecodedText out;
    const auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (startsWith("\xFF\xFE")) {
        bytes.remove_prefix(2);
        if (bytes.size() % 2 != 0) {
            out.error = "UTF-16 text with an odd number of bytes (truncated file?)";
            return out;
        }
        out.text = fromUtf16(Utf16LeUnits(bytes));
        out.encoding = TextEncoding::kUtf16Le;
        return out;
    }
    if (startsWith("\xFE\xFF")) {
        out.error = "UTF-16 big-endian text is not supported (save it as UTF-16LE, UTF-8 or ANSI)";
        return out;
    }
    if (startsWith("\xEF\xBB\xBF")) {
        out.text = fromUtf8(bytes.substr(3), /*validated=*/false);
        out.encoding = TextEncoding::kUtf8;
        return out;
    }
    if (detectUtf8 && LooksLikeUtf8(bytes)) {
        out.text = fromUtf8(bytes, /*validated=*/true);
        out.encoding = TextEncoding::kUtf8;
        return out;
    }
    out.text = fromAnsi(bytes);
    return out;
}

}  // namespace

DecodedText DecodeTextToUtf8(std::string_view bytes, std::uint32_t codePage, bool detectUtf8) {
    return Decode(
        bytes, detectUtf8, [](const std::u16string& units) { return Utf16ToUtf8(units); },
        // Invalid bytes after a byte-order mark become U+FFFD.
        [](std::string_view utf8, bool validated) {
            return validated ? std::string(utf8) : Utf16ToUtf8(Utf8ToUtf16(utf8));
        },
        [codePage](std::string_view ansi) { return AnsiToUtf8(ansi, codePage); });
}

DecodedText DecodeText(std::string_view bytes, std::uint32_t codePage, bool detectUtf8) {
    return Decode(
        bytes, detectUtf8, [codePage](const std::u16string& units) { return Utf16ToAnsi(units, codePage); },
        [codePage](std::string_view utf8, bool) { return Utf8ToAnsi(utf8, codePage); },
        [](std::string_view ansi) { return std::string(ansi); });
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!(last && line.empty() && start == text.size() && start != 0)) lines.push_back(line);
        if (last) break;
        start = end + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace kavlo::platform::sim
