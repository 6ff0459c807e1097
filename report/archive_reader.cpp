#include "report/archive_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/codepage.h"

namespace kavlo::report {

ArchiveReader::ArchiveReader(ByteSource& source, std::uint32_t codePage)
    : source_(source), codePage_(codePage), size_(source.Size()) {
    if (source.failed() || size_ > kMaxArchiveBytes) {
        failed_ = true;
        return;
    }
    if (const auto whole = source.Contiguous()) {
        begin_ = pos_ = whole->data();
        end_ = whole->data() + whole->size();
        pulled_ = whole->size();
    } else {
        buffer_.reset(new char[kBufferSize]);
        begin_ = pos_ = end_ = buffer_.get();
    }
}

std::uint64_t ArchiveReader::Remaining() const {
    return size_ - windowOffset_ - static_cast<std::uint64_t>(pos_ - begin_);
}

std::size_t ArchiveReader::ReadFully(char* out, std::size_t size) {
    std::size_t total = 0;
    while (total < size) {
        const std::size_t got = source_.Read(out + total, size - total);
        if (got == 0) break;
        total += got;
    }
    pulled_ += total;
    return total;
}

bool ArchiveReader::Fill(std::size_t size) {
    if (static_cast<std::size_t>(end_ - pos_) >= size) return true;
    if (!buffer_) return false;  // the whole source is already in the window
    const std::size_t leftover = static_cast<std::size_t>(end_ - pos_);
    std::memmove(buffer_.get(), pos_, leftover);
    windowOffset_ += static_cast<std::uint64_t>(pos_ - begin_);
    begin_ = pos_ = buffer_.get();
    end_ = begin_ + leftover;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize - leftover, size_ - pulled_));
    const std::size_t got = ReadFully(buffer_.get() + leftover, want);
    end_ += got;
    if (got != want) {
        // The source ended before the size it announced, or failed.
        failed_ = true;
        return false;
    }
    return static_cast<std::size_t>(end_ - pos_) >= size;
}

bool ArchiveReader::Take(void* out, std::size_t size) {
    if (failed_) return false;
    if (size > Remaining()) {
        failed_ = true;
        return false;
    }
    char* dst = static_cast<char*>(out);
    while (size > 0) {
        std::size_t avail = static_cast<std::size_t>(end_ - pos_);
        if (avail == 0) {
            if (buffer_ && size >= kBufferSize) {
                // Long strings bypass the window.
                windowOffset_ += static_cast<std::uint64_t>(end_ - begin_);
                begin_ = pos_ = end_ = buffer_.get();
                const std::size_t got = ReadFully(dst, size);
                windowOffset_ += got;
                if (got != size) failed_ = true;
                return !failed_;
            }
            if (!Fill(std::min(size, kBufferSize))) {
                failed_ = true;
                return false;
            }
            avail = static_cast<std::size_t>(end_ - pos_);
        }
        const std::size_t n = std::min(avail, size);
        std::memcpy(dst, pos_, n);
        pos_ += n;
        dst += n;
        size -= n;
    }
    return true;
}

bool ArchiveReader::Peek(char* out, std::size_t size) {
    if (failed_ || size > Remaining() || size > kBufferSize || !Fill(size)) return false;
    std::memcpy(out, pos_, size);
    return true;
}

std::uint8_t ArchiveReader::Byte() {
    unsigned char b = 0;
    if (pos_ != end_ && !failed_) {
        b = static_cast<unsigned char>(*pos_++);
    } else if (!Take(&b, 1)) {
        return 0;
    }
    return b;
}

std::uint16_t ArchiveReader::Word() {
    unsigned char b[2] = {0, 0};
    if (end_ - pos_ >= 2 && !failed_) {
        std::memcpy(b, pos_, 2);
        pos_ += 2;
    } else if (!Take(b, 2)) {
        return 0;
    }
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ArchiveReader::Dword() {
    unsigned char b[4] = {0, 0, 0, 0};
    if (end_ - pos_ >= 4 && !failed_) {
        std::memcpy(b, pos_, 4);
        pos_ += 4;
    } else if (!Take(b, 4)) {
        return 0;
    }
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::optional<std::uint64_t> ArchiveReader::PlainLength(bool allowWideMarker, bool* wide) {
    const std::uint8_t b = Byte();
    if (failed_) return std::nullopt;
    if (b < 0xFF) return b;
    const std::uint16_t w = Word();
    if (failed_) return std::nullopt;
    if (w == 0xFFFE) {
        // The wide marker may appear once, in the first prefix only.
        if (!allowWideMarker) {
            failed_ = true;
            return std::nullopt;
        }
        *wide = true;
        return PlainLength(false, wide);
    }
    if (w < 0xFFFF) return w;
    const std::uint32_t d = Dword();
    if (failed_) return std::nullopt;
    return d;
}

std::string ArchiveReader::String() {
    bool wide = false;
    const auto length = PlainLength(true, &wide);
    if (!length) return {};
    const std::uint64_t bytes = wide ? *length * 2 : *length;
    if (bytes > Remaining()) {
        failed_ = true;
        return {};
    }
    // A wide string is held three times while it is converted.
    const std::uint64_t memory = wide ? 2 * bytes + StringMemory(*length) : StringMemory(bytes);
    if (budget_ && !budget_->TakeBytes(memory)) {
        failed_ = true;
        return {};
    }
    if (!wide) {
        std::string text(static_cast<std::size_t>(bytes), '\0');
        if (!Take(text.data(), text.size())) return {};
        return text;
    }
    std::string raw(static_cast<std::size_t>(bytes), '\0');
    if (!Take(raw.data(), raw.size())) return {};
    std::u16string units(static_cast<std::size_t>(*length), u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                         (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    return Utf16ToAnsi(units, codePage_);
}

std::uint32_t ArchiveReader::Count(std::size_t minElementBytes) {
    std::uint32_t count = Word();
    if (count == 0xFFFF) count = Dword();
    if (failed_) return 0;
    if (static_cast<std::uint64_t>(count) * minElementBytes > Remaining()) {
        failed_ = true;
        return 0;
    }
    return count;
}

std::optional<std::uint32_t> ArchiveReader::Assign(bool isClass, RecordClass cls) {
    if (numbered_.size() >= kMaxNumber) {
        failed_ = true;
        return std::nullopt;
    }
    numbered_.push_back(Numbered{nullptr, cls, isClass, false});
    return static_cast<std::uint32_t>(numbered_.size());
}

std::optional<RecordClass> ArchiveReader::Descriptor() {
    const std::uint16_t schema = Word();
    const std::uint16_t length = Word();
    if (failed_) return std::nullopt;
    if (length >= kMaxClassNameLength) {
        failed_ = true;
        return std::nullopt;
    }
    char name[kMaxClassNameLength];
    if (!Take(name, length)) return std::nullopt;
    const auto cls = ClassFromName(std::string_view(name, length));
    if (!cls || schema != kRecordSchema) {
        failed_ = true;
        return std::nullopt;
    }
    return cls;
}

std::optional<ObjectRef> ArchiveReader::Reference() {
    const std::uint16_t tag = Word();
    if (failed_) return std::nullopt;
    if (tag == kNewClassTag) {
        const auto cls = Descriptor();
        if (!cls || !Assign(true, *cls)) return std::nullopt;
        const auto number = Assign(false, *cls);
        if (!number) return std::nullopt;
        return ObjectRef{ObjectRef::Kind::New, *cls, *number};
    }
    bool classRef = false;
    std::uint32_t value = 0;
    if (tag == kBigObjectTag) {
        const std::uint32_t big = Dword();
        if (failed_) return std::nullopt;
        classRef = (big & kBigClassTag) != 0;
        value = big & ~kBigClassTag;
    } else if (tag & kClassTag) {
        classRef = true;
        value = tag & ~kClassTag;
    } else {
        value = tag;
    }
    // Number 0 is the null reference (or no class at all); lists of records never hold one.
    if (value == 0 || value > numbered_.size() || numbered_[value - 1].isClass != classRef) {
        failed_ = true;
        return std::nullopt;
    }
    const RecordClass cls = numbered_[value - 1].cls;
    if (!classRef) return ObjectRef{ObjectRef::Kind::Existing, cls, value};
    const auto number = Assign(false, cls);
    if (!number) return std::nullopt;
    return ObjectRef{ObjectRef::Kind::New, cls, *number};
}

void ArchiveReader::Bind(std::uint32_t number, const void* object) {
    if (number >= 1 && number <= numbered_.size()) numbered_[number - 1].object = object;
}

void ArchiveReader::MarkComplete(std::uint32_t number) {
    if (number >= 1 && number <= numbered_.size()) numbered_[number - 1].complete = true;
}

const void* ArchiveReader::ObjectAt(std::uint32_t number, bool* complete) const {
    if (number < 1 || number > numbered_.size() || numbered_[number - 1].isClass) {
        *complete = false;
        return nullptr;
    }
    *complete = numbered_[number - 1].complete;
    return numbered_[number - 1].object;
}

}  // namespace kavlo::report
