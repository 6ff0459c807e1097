#include "platform/event_record.h"

#include <algorithm>

#include "platform/codepage.h"

namespace kavlo::platform {
namespace {

std::uint32_t U32At(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24);
}
std::uint16_t U16At(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void PutU16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

// Reads one zero-terminated string at `at`, which must end before `limit`;
// moves `at` past the terminator.
bool TakeString(std::string_view record, std::size_t& at, std::size_t limit, EventTextForm form, std::uint32_t codePage,
                std::string& out) {
    if (form == EventTextForm::Ansi) {
        for (std::size_t i = at; i < limit; ++i) {
            if (record[i] == '\0') {
                out.assign(record.substr(at, i - at));
                at = i + 1;
                return true;
            }
        }
        return false;
    }
    std::u16string wide;
    for (std::size_t i = at; i + 1 < limit; i += 2) {
        const char16_t c = U16At(record, i);
        if (c == 0) {
            out = Utf16ToAnsi(wide, codePage);
            at = i + 2;
            return true;
        }
        wide.push_back(c);
    }
    return false;
}

}  // namespace

bool ParseEventRecord(std::string_view record, EventTextForm form, std::uint32_t codePage, EventRecord& out) {
    if (record.size() < kEventRecordFixedBytes + 4) return false;
    const std::uint32_t length = U32At(record, 0);
    if (length != record.size() || U32At(record, 4) != kEventRecordSignature) return false;
    if (U32At(record, length - 4) != length) return false;
    const std::size_t limit = length - 4;  // the strings end before the closing length
    out = EventRecord{};
    out.recordNumber = U32At(record, 8);
    out.timeGenerated = U32At(record, 12);
    out.timeWritten = U32At(record, 16);
    out.eventId = U32At(record, 20);
    out.eventType = U16At(record, 24);
    const std::uint16_t stringCount = U16At(record, 26);
    out.category = U16At(record, 28);
    std::size_t at = kEventRecordFixedBytes;
    if (!TakeString(record, at, limit, form, codePage, out.source)) return false;
    if (!TakeString(record, at, limit, form, codePage, out.computer)) return false;
    std::size_t stringAt = U32At(record, 36);
    if (stringCount != 0 && (stringAt < kEventRecordFixedBytes || stringAt >= limit)) return false;
    // Every string needs at least its terminator, so the count is checked
    // against the bytes before anything is reserved for it.
    if (stringCount > limit - std::min(limit, stringAt)) return false;
    out.strings.reserve(stringCount);
    for (std::uint16_t i = 0; i < stringCount; ++i) {
        std::string text;
        if (!TakeString(record, stringAt, limit, form, codePage, text)) return false;
        out.strings.push_back(std::move(text));
    }
    return true;
}

EventRecordParse ParseEventRecords(std::string_view bytes, std::uint32_t codePage) {
    EventRecordParse out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t left = bytes.size() - at;
        if (left < kEventRecordFixedBytes + 4) break;
        const std::uint32_t length = U32At(bytes, at);
        if (length < kEventRecordFixedBytes + 4 || length > left) break;
        EventRecord record;
        if (!ParseEventRecord(bytes.substr(at, length), EventTextForm::Ansi, codePage, record)) break;
        out.records.push_back(std::move(record));
        at += length;
    }
    out.complete = at == bytes.size();
    return out;
}

std::string EncodeEventRecord(const EventRecord& r, EventTextForm form) {
    auto text = [form](const std::string& s) {
        std::string z = s + '\0';
        if (form == EventTextForm::Ansi) return z;
        std::string wide;
        for (char16_t c : AnsiToUtf16(z, 1252)) {
            wide.push_back(static_cast<char>(c & 0xFF));
            wide.push_back(static_cast<char>(c >> 8));
        }
        return wide;
    };
    std::string names = text(r.source) + text(r.computer);
    std::string strings;
    for (const std::string& s : r.strings) strings += text(s);
    const std::size_t stringOffset = kEventRecordFixedBytes + names.size();
    std::size_t length = stringOffset + strings.size();
    length += (4 - length % 4) % 4;  // records are DWORD-aligned
    length += 4;
    std::string out;
    out.reserve(length);
    PutU32(out, static_cast<std::uint32_t>(length));
    PutU32(out, kEventRecordSignature);
    PutU32(out, r.recordNumber);
    PutU32(out, r.timeGenerated);
    PutU32(out, r.timeWritten);
    PutU32(out, r.eventId);
    PutU16(out, r.eventType);
    PutU16(out, static_cast<std::uint16_t>(r.strings.size()));
    PutU16(out, r.category);
    PutU16(out, 0);
    PutU32(out, 0);  // closing record number
    PutU32(out, static_cast<std::uint32_t>(stringOffset));
    PutU32(out, 0);  // user SID length
    PutU32(out, static_cast<std::uint32_t>(stringOffset + strings.size()));
    PutU32(out, 0);  // data length
    PutU32(out, static_cast<std::uint32_t>(stringOffset + strings.size()));
    out += names;
    out += strings;
    out.resize(length - 4, '\0');
    PutU32(out, static_cast<std::uint32_t>(length));
    return out;
}

}  // namespace kavlo::platform
