#include "platform/evt_file.h"

#include <algorithm>

#include "platform/event_record.h"

namespace kavlo::platform {
namespace {

constexpr std::uint32_t kHeaderBytes = 0x30;
constexpr std::uint32_t kEndRecordBytes = 0x28;
constexpr std::uint32_t kDirtyFlag = 0x1;
constexpr std::uint32_t kPadding = 0x27;  // fills the end of the file when a length would not fit
constexpr std::uint32_t kEndMarks[4] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};

std::uint32_t U32At(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24);
}

// The circular data area [kHeaderBytes, size): reads wrap from its end to its start.
class DataArea {
public:
    explicit DataArea(std::string_view file) : file_(file) {}
    std::size_t size() const { return file_.size() - kHeaderBytes; }
    bool Contains(std::uint32_t offset) const { return offset >= kHeaderBytes && offset < file_.size(); }
    std::size_t Advance(std::size_t offset, std::size_t by) const {
        return kHeaderBytes + (offset - kHeaderBytes + by) % size();
    }
    std::string Copy(std::size_t offset, std::size_t length) const {
        std::string out;
        out.reserve(length);
        while (out.size() < length) {
            const std::size_t run = std::min(length - out.size(), file_.size() - offset);
            out.append(file_.substr(offset, run));
            offset = kHeaderBytes;
        }
        return out;
    }
    std::uint32_t U32(std::size_t offset) const {
        const std::string bytes = Copy(offset, 4);
        return U32At(bytes, 0);
    }
    bool IsEndRecord(std::size_t offset) const {
        if (size() < kEndRecordBytes || U32(offset) != kEndRecordBytes) return false;
        for (int i = 0; i < 4; ++i)
            if (U32(Advance(offset, 4 + 4 * i)) != kEndMarks[i]) return false;
        return true;
    }

private:
    std::string_view file_;
};

}  // namespace

EvtFileParse ReadEvtFile(std::string_view file) {
    EvtFileParse out;
    if (file.size() < kHeaderBytes + kEndRecordBytes || U32At(file, 0) != kHeaderBytes ||
        U32At(file, 4) != kEventRecordSignature || U32At(file, 44) != kHeaderBytes) {
        out.error = "not an event-log file (no \"LfLe\" header)";
        return out;
    }
    const DataArea area(file);
    std::uint32_t start = U32At(file, 16);
    std::uint32_t end = U32At(file, 20);
    if ((U32At(file, 36) & kDirtyFlag) != 0) {
        // Offsets in a dirty header are stale: find the end-of-file record, which
        // is always written last, and take its offsets.
        bool found = false;
        for (std::size_t at = kHeaderBytes; at + 4 <= file.size(); at += 4) {
            if (area.IsEndRecord(at)) {
                start = area.U32(area.Advance(at, 20));
                end = static_cast<std::uint32_t>(at);
                found = true;
                break;
            }
        }
        if (!found) {
            out.error = "dirty event-log file without an end-of-file record";
            return out;
        }
    }
    if (!area.Contains(start) || !area.Contains(end) || (start - kHeaderBytes) % 4 != 0) {
        out.error = "event-log header offsets lie outside the file";
        return out;
    }
    // Each record takes at least its fixed part, so the walk ends after that
    // many steps even in a file whose lengths lead round in circles.
    std::size_t at = start;
    std::size_t consumed = 0;
    const std::size_t limit = area.size();
    while (at != end) {
        std::uint32_t length = area.U32(at);
        if (length == kPadding) {
            // Padding runs to the end of the file; the next record starts at the top.
            const std::size_t skipped = file.size() - at;
            consumed += skipped;
            at = kHeaderBytes;
            if (consumed > limit) break;
            continue;
        }
        if (length < kEventRecordFixedBytes + 4 || length % 4 != 0 || length > limit - std::min(limit, consumed)) {
            out.error = "damaged record at offset " + std::to_string(at);
            return out;
        }
        out.records.push_back({static_cast<std::uint32_t>(at), length});
        consumed += length;
        at = area.Advance(at, length);
    }
    if (at != end) out.error = "the records do not lead to the end-of-file record";
    return out;
}

std::string EvtRecordBytes(std::string_view file, const EvtRecordSpan& record) {
    return DataArea(file).Copy(record.offset, record.length);
}

}  // namespace kavlo::platform
