#include "report/archive_writer.h"

#include <cstring>

namespace kavlo::report {

ArchiveWriter::ArchiveWriter(ByteSink& sink) : sink_(sink), buffer_(new char[kBufferSize]) {}

void ArchiveWriter::Put(const void* data, std::size_t size) {
    if (failed_) return;
    if (size <= kBufferSize - used_) {
        std::memcpy(buffer_.get() + used_, data, size);
        used_ += size;
        return;
    }
    if (!Flush()) return;
    if (size >= kBufferSize) {
        // Large strings go straight to the sink instead of through the buffer.
        if (!sink_.Write(static_cast<const char*>(data), size)) failed_ = sinkFailed_ = true;
        else flushed_ += size;
        return;
    }
    std::memcpy(buffer_.get(), data, size);
    used_ = size;
}

void ArchiveWriter::Word(std::uint16_t value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    Put(bytes, 2);
}

void ArchiveWriter::Dword(std::uint32_t value) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    Put(bytes, 4);
}

void ArchiveWriter::String(std::string_view text) {
    const std::uint64_t length = text.size();
    if (length < 0xFF) {
        Byte(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        Byte(0xFF);
        Word(static_cast<std::uint16_t>(length));
    } else if (length <= 0xFFFFFFFFu) {
        Byte(0xFF);
        Word(0xFFFF);
        Dword(static_cast<std::uint32_t>(length));
    } else {
        Fail();
        return;
    }
    Put(text.data(), text.size());
}

void ArchiveWriter::Count(std::size_t count) {
    const std::uint64_t wide = count;
    if (wide < 0xFFFF) {
        Word(static_cast<std::uint16_t>(wide));
    } else if (wide <= 0xFFFFFFFFu) {
        Word(0xFFFF);
        Dword(static_cast<std::uint32_t>(wide));
    } else {
        Fail();
    }
}

void ArchiveWriter::NewObject(RecordClass cls) {
    std::uint32_t& classNumber = classNumbers_[static_cast<std::size_t>(cls)];
    // Both the new class (if any) and the object take a number; both must stay nameable.
    if (nextNumber_ >= kMaxNumber) {
        Fail();
        return;
    }
    if (classNumber == 0) {
        const std::string_view name = ClassName(cls);
        Word(kNewClassTag);
        Word(kRecordSchema);
        Word(static_cast<std::uint16_t>(name.size()));
        Put(name.data(), name.size());
        classNumber = nextNumber_++;
    } else if (classNumber < kBigObjectTag) {
        Word(static_cast<std::uint16_t>(kClassTag | classNumber));
    } else {
        Word(kBigObjectTag);
        Dword(kBigClassTag | classNumber);
    }
    ++nextNumber_;
}

bool ArchiveWriter::Flush() {
    if (failed_) return false;
    if (used_ > 0) {
        if (!sink_.Write(buffer_.get(), used_)) failed_ = sinkFailed_ = true;
        else flushed_ += used_;
        used_ = 0;
    }
    return !failed_;
}

}  // namespace kavlo::report
