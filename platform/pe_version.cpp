#include "platform/pe_version.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kavlo::platform {
namespace {

constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kVersionInfoName = 1;  // VS_VERSION_INFO
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
// Directories of real images hold a few hundred entries at most; a larger count
// means a hostile file, and walking it would only waste time.
constexpr std::uint32_t kMaxDirectoryEntries = 4096;
constexpr std::uint32_t kMaxSections = 96 * 16;

struct Section {
    std::uint32_t virtualAddress = 0, virtualSize = 0, rawSize = 0, rawPointer = 0;
};

class Image {
public:
    explicit Image(const RandomAccessBytes& bytes) : bytes_(bytes) {}

    bool U16(std::uint64_t offset, std::uint16_t& out) const {
        unsigned char b[2];
        if (!bytes_.ReadAt(offset, b, 2)) return false;
        out = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
        return true;
    }
    bool U32(std::uint64_t offset, std::uint32_t& out) const {
        unsigned char b[4];
        if (!bytes_.ReadAt(offset, b, 4)) return false;
        out = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
              (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
        return true;
    }

    // Reads the headers and the section table.
    bool Load() {
        std::uint16_t mz = 0;
        std::uint32_t peOffset = 0, signature = 0;
        if (!U16(0, mz) || mz != 0x5A4D || !U32(0x3C, peOffset) || !U32(peOffset, signature) || signature != 0x00004550)
            return false;
        const std::uint64_t coff = static_cast<std::uint64_t>(peOffset) + 4;
        std::uint16_t sectionCount = 0, optionalSize = 0, magic = 0;
        if (!U16(coff + 2, sectionCount) || !U16(coff + 16, optionalSize)) return false;
        const std::uint64_t optional = coff + 20;
        if (!U16(optional, magic)) return false;
        std::uint64_t countOffset, directories;
        if (magic == kPe32Magic) {
            countOffset = optional + 92;
            directories = optional + 96;
        } else if (magic == kPe32PlusMagic) {
            countOffset = optional + 108;
            directories = optional + 112;
        } else {
            return false;
        }
        std::uint32_t directoryCount = 0;
        if (!U32(countOffset, directoryCount) || directoryCount <= kResourceDirectoryIndex) return false;
        const std::uint64_t resourceEntry = directories + 8 * kResourceDirectoryIndex;
        if (resourceEntry + 8 > optional + optionalSize) return false;
        if (!U32(resourceEntry, resourceRva_) || !U32(resourceEntry + 4, resourceSize_) || resourceRva_ == 0)
            return false;
        if (!U32(optional + 60, headersSize_)) return false;  // SizeOfHeaders

        if (sectionCount > kMaxSections) return false;
        const std::uint64_t table = optional + optionalSize;
        if (table + 40ull * sectionCount > bytes_.Size()) return false;
        sections_.reserve(sectionCount);
        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            const std::uint64_t at = table + 40ull * i;
            Section s;
            if (!U32(at + 8, s.virtualSize) || !U32(at + 12, s.virtualAddress) || !U32(at + 16, s.rawSize) ||
                !U32(at + 20, s.rawPointer))
                return false;
            sections_.push_back(s);
        }
        return true;
    }

    // File offset of the bytes [rva, rva + size), which must lie in the file data
    // of one section (or in the headers).
    bool RvaToOffset(std::uint32_t rva, std::uint64_t size, std::uint64_t& offset) const {
        for (const Section& s : sections_) {
            const std::uint64_t mapped = s.virtualSize != 0 ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
            const std::uint64_t begin = s.virtualAddress;
            if (rva < begin || static_cast<std::uint64_t>(rva) + size > begin + mapped) continue;
            offset = static_cast<std::uint64_t>(s.rawPointer) + (rva - begin);
            return offset + size <= bytes_.Size();
        }
        if (static_cast<std::uint64_t>(rva) + size <= headersSize_ && rva + size <= bytes_.Size()) {
            offset = rva;
            return true;
        }
        return false;
    }

    // How many bytes from rva on lie in the file data of its section.
    std::uint64_t MappedFrom(std::uint32_t rva) const {
        for (const Section& s : sections_) {
            const std::uint64_t mapped = s.virtualSize != 0 ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
            if (rva >= s.virtualAddress && rva < s.virtualAddress + mapped) return s.virtualAddress + mapped - rva;
        }
        return 0;
    }

    std::uint32_t resourceRva() const { return resourceRva_; }
    std::uint32_t resourceSize() const { return resourceSize_; }
    const RandomAccessBytes& bytes() const { return bytes_; }

private:
    const RandomAccessBytes& bytes_;
    std::vector<Section> sections_;
    std::uint32_t resourceRva_ = 0, resourceSize_ = 0, headersSize_ = 0;
};

struct DirectoryEntry {
    std::uint32_t name = 0;    // high bit: name string offset, else an id
    std::uint32_t target = 0;  // high bit: subdirectory offset, else data entry offset
};

// Reads one resource directory (an offset within the resource section) and picks
// the entry with the wanted id, or the first entry when wanted is 0 and none has it.
bool PickEntry(const Image& image, std::uint64_t sectionOffset, std::uint64_t sectionSize, std::uint32_t directory,
               std::uint32_t wanted, bool firstIfMissing, DirectoryEntry& out) {
    if (static_cast<std::uint64_t>(directory) + 16 > sectionSize) return false;
    const std::uint64_t at = sectionOffset + directory;
    std::uint16_t named = 0, ids = 0;
    if (!image.U16(at + 12, named) || !image.U16(at + 14, ids)) return false;
    const std::uint32_t count = static_cast<std::uint32_t>(named) + ids;
    if (count == 0 || count > kMaxDirectoryEntries) return false;
    if (static_cast<std::uint64_t>(directory) + 16 + 8ull * count > sectionSize) return false;
    bool haveFirst = false;
    DirectoryEntry first;
    for (std::uint32_t i = 0; i < count; ++i) {
        DirectoryEntry e;
        if (!image.U32(at + 16 + 8ull * i, e.name) || !image.U32(at + 20 + 8ull * i, e.target)) return false;
        if (!haveFirst) {
            first = e;
            haveFirst = true;
        }
        if ((e.name & 0x80000000u) == 0 && e.name == wanted) {
            out = e;
            return true;
        }
    }
    if (!firstIfMissing) return false;
    out = first;
    return true;
}

}  // namespace

bool MemoryBytes::ReadAt(std::uint64_t offset, void* out, std::size_t size) const {
    if (offset > bytes_.size() || size > bytes_.size() - offset) return false;
    if (size) std::memcpy(out, bytes_.data() + offset, size);
    return true;
}

std::optional<std::string> ReadResourceData(const RandomAccessBytes& bytes, std::uint32_t type, std::uint32_t name,
                                            std::uint32_t maxBytes) {
    Image image(bytes);
    if (!image.Load()) return std::nullopt;
    std::uint64_t sectionOffset = 0;
    // Some linkers give the resource directory a size past the section's data.
    const std::uint64_t sectionSize =
        std::min<std::uint64_t>(image.resourceSize(), image.MappedFrom(image.resourceRva()));
    if (sectionSize < 16 || !image.RvaToOffset(image.resourceRva(), sectionSize, sectionOffset)) return std::nullopt;

    // Three levels: type, name, language. Each step must go down to a
    // subdirectory, except the last, which names a data entry; a directory that
    // points back at itself therefore ends the walk instead of looping.
    DirectoryEntry typeEntry, nameEntry, language;
    if (!PickEntry(image, sectionOffset, sectionSize, 0, type, false, typeEntry)) return std::nullopt;
    if ((typeEntry.target & 0x80000000u) == 0) return std::nullopt;
    if (!PickEntry(image, sectionOffset, sectionSize, typeEntry.target & 0x7FFFFFFFu, name, true, nameEntry))
        return std::nullopt;
    if ((nameEntry.target & 0x80000000u) == 0) return std::nullopt;
    if (!PickEntry(image, sectionOffset, sectionSize, nameEntry.target & 0x7FFFFFFFu, 0, true, language))
        return std::nullopt;
    if ((language.target & 0x80000000u) != 0) return std::nullopt;

    const std::uint32_t dataEntry = language.target;
    if (static_cast<std::uint64_t>(dataEntry) + 16 > sectionSize) return std::nullopt;
    std::uint32_t dataRva = 0, dataSize = 0;
    if (!image.U32(sectionOffset + dataEntry, dataRva) || !image.U32(sectionOffset + dataEntry + 4, dataSize))
        return std::nullopt;
    if (dataSize == 0 || dataSize > maxBytes) return std::nullopt;
    std::uint64_t dataOffset = 0;
    if (!image.RvaToOffset(dataRva, dataSize, dataOffset)) return std::nullopt;
    std::string data(dataSize, '\0');
    if (!bytes.ReadAt(dataOffset, data.data(), data.size())) return std::nullopt;
    return data;
}

std::optional<std::string> ReadVersionResource(const RandomAccessBytes& bytes) {
    return ReadResourceData(bytes, kRtVersion, kVersionInfoName, kMaxVersionResourceBytes);
}

}  // namespace kavlo::platform
