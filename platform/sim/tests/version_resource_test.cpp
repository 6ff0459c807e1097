// Version resources read from PE images: a PE32 image (PE32+ is read on every
// backend in platform/tests/conformance, the sample machine's system files in
// scripts/tests/expected/office7.txt), and hostile or truncated images, which
// give no version and no crash. The images that pe_corpus replays in the fuzz
// target (a huge entry count, a looping directory, a huge data size) have no row,
// nor do the bounds every truncation meets (the PE header or the section table
// cut off by the end of the file).
#include <gtest/gtest.h>

#include "platform/pe_version.h"
#include "platform/testing/evt_builder.h"
#include "platform/testing/temp_folder.h"
#include "platform/version_info.h"

namespace kavlo::platform {
namespace {

std::string ReadData(const std::string& name) {
    return kavlo::testing::ReadAll(std::string(KAVLO_TEST_SOURCE_DIR) + "/platform/sim/tests/data/" + name);
}

std::optional<std::string> VersionBlock(std::string_view image) {
    MemoryBytes source(image);
    return ReadVersionResource(source);
}

void Put16(std::string& image, std::size_t offset, std::uint16_t value) {
    image[offset] = static_cast<char>(value & 0xFF);
    image[offset + 1] = static_cast<char>(value >> 8);
}

// The fixed layout that tools/make_sample_pe.py writes.
constexpr std::size_t kPeHeader = 0x80;
constexpr std::size_t kRsrc = 0x400;
constexpr std::size_t kTypeDirectory = kRsrc, kTypeEntry = kRsrc + 0x10;
constexpr std::size_t kNameEntry = kRsrc + 0x28, kLanguageEntry = kRsrc + 0x40, kDataEntry = kRsrc + 0x48;
constexpr std::size_t kVersionData = kRsrc + 0x58;

// Every truncation of the image gives no version or the whole one.
TEST(VersionImages, Pe32WholeOrTruncated) {
    const std::string image = ReadData("version32.dll");
    const auto block = VersionBlock(image);
    ASSERT_TRUE(block.has_value());
    const std::size_t end = kVersionData + block->size();
    for (std::size_t length = 0; length < image.size(); ++length) {
        const auto cut = VersionBlock(std::string_view(image).substr(0, length));
        if (length < end) EXPECT_FALSE(cut.has_value()) << length;
        else EXPECT_EQ(cut, block) << length;
    }
    auto info = VersionInfo::Parse(*block, 1252);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("StringFileInfo\\040904b0\\InternalName"), "test32");  // leading "\" optional
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904b0\\SpecialBuild"), "\xE9\x80?");
    EXPECT_EQ(info->QueryString("\\"), std::nullopt);
    EXPECT_EQ(info->BlockSize(), 2u * block->size() + 4u);                     // as GetFileVersionInfoSize reports it
    EXPECT_EQ(info->QueryString("\\VarFileInfo\\Translation"), std::nullopt);  // binary
}

struct Patch {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
    int width;  // 2 or 4 bytes
};

class HostileImageTest : public ::testing::TestWithParam<Patch> {};

TEST_P(HostileImageTest, GivesNoVersion) {
    std::string image = ReadData("version32.dll");
    ASSERT_EQ(image.size(), 2048u);
    const Patch& p = GetParam();
    if (p.width == 2) Put16(image, p.offset, static_cast<std::uint16_t>(p.value));
    else kavlo::testing::PutU32At(image, p.offset, p.value);
    EXPECT_FALSE(VersionBlock(image).has_value()) << p.what;
}

INSTANTIATE_TEST_SUITE_P(
    Patches, HostileImageTest,
    ::testing::Values(Patch{"not MZ", 0, 0x4D5A, 2}, Patch{"PE header past the end", 0x3C, 0xFFFFFFF0u, 4},
                      Patch{"no PE signature", kPeHeader, 0x00004551, 4},
                      Patch{"unknown optional header", kPeHeader + 24, 0x0107, 2},
                      Patch{"optional header too small for the directories", kPeHeader + 20, 0x60, 2},
                      Patch{"two data directories only", kPeHeader + 24 + 92, 2, 4},

                      Patch{"resource directory outside every section", kPeHeader + 24 + 96 + 16, 0x00F00000, 4},
                      Patch{"resource RVA wraps around", kPeHeader + 24 + 96 + 16, 0xFFFFFFF0u, 4},
                      Patch{"resource directory size too small", kPeHeader + 24 + 96 + 20, 8, 4},

                      Patch{"entries past the section", kTypeDirectory + 12, 0x0200, 2},
                      Patch{"no entries", kTypeDirectory + 14, 0, 2}, Patch{"no RT_VERSION type", kTypeEntry, 3, 4},
                      Patch{"type points at data instead of a directory", kTypeEntry + 4, 0x48, 4},

                      Patch{"name directory loops to the type directory", kNameEntry + 4, 0x80000000u, 4},
                      Patch{"subdirectory past the section", kTypeEntry + 4, 0x8FFFFFF0u, 4},
                      Patch{"language entry is another directory", kLanguageEntry + 4, 0x80000030u, 4},
                      Patch{"data entry past the section", kLanguageEntry + 4, 0x7FFFFFF0u, 4},
                      Patch{"data outside the image", kDataEntry, 0x90000000u, 4},
                      Patch{"data larger than the section", kDataEntry + 4, 0x10000, 4},

                      Patch{"data size zero", kDataEntry + 4, 0, 4}));

/// UTF-16LE text with its terminating zero.
std::string Text(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out + std::string(2, '\0');
}

// Builds a version node: header, key, value, children (each 4-aligned).
std::string Node(std::u16string_view key, std::string_view value, std::uint16_t type, std::vector<std::string> children,
                 int lengthDelta = 0, int valueLengthOverride = -1) {
    std::string body = std::string(6, '\0') + Text(key);
    while (body.size() % 4) body.push_back('\0');
    body += value;
    for (const std::string& child : children) {
        while (body.size() % 4) body.push_back('\0');
        body += child;
    }
    Put16(body, 0, static_cast<std::uint16_t>(static_cast<int>(body.size()) + lengthDelta));
    const std::size_t valueLength = type == 1 ? value.size() / 2 : value.size();
    Put16(body, 2,
          static_cast<std::uint16_t>(valueLengthOverride >= 0 ? valueLengthOverride : static_cast<int>(valueLength)));
    Put16(body, 4, type);
    return body;
}

std::string Root(std::vector<std::string> children) {
    return Node(u"VS_VERSION_INFO", std::string(52, '\0'), 0, std::move(children));
}

std::string StringTable(std::vector<std::string> strings) {
    return Node(u"StringFileInfo", "", 1, {Node(u"040904b0", "", 1, std::move(strings))});
}

TEST(HostileBlocks, MalformedRootsAreRejected) {
    EXPECT_EQ(VersionInfo::Parse("", 1252), nullptr);
    EXPECT_EQ(VersionInfo::Parse(std::string(64, '\0'), 1252), nullptr);  // length 0
    std::string unterminated = Root({});
    unterminated.resize(20);  // the key runs past the node
    Put16(unterminated, 0, 20);
    EXPECT_EQ(VersionInfo::Parse(unterminated, 1252), nullptr);
    EXPECT_EQ(VersionInfo::Parse(Node(u"SOMETHING_ELSE", "", 0, {}), 1252), nullptr);
}

TEST(HostileBlocks, BadChildrenAreIgnored) {
    const std::string good = Node(u"FileVersion", Text(u"1.0"), 1, {});
    // A zero-length child ends the walk instead of looping on it.
    std::string zero = Node(u"Zero", "", 1, {});
    Put16(zero, 0, 0);
    auto info = VersionInfo::Parse(Root({StringTable({zero, good})}), 1252);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904b0\\FileVersion"), std::nullopt);
    // A child longer than its parent is cut at the parent's end.
    info = VersionInfo::Parse(Root({StringTable({Node(u"Big", Text(u"x"), 1, {}, 400), good})}), 1252);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904b0\\Big"), "x");
    // A value length past the node, and text without its terminating zero.
    std::string noZero = Node(u"Comments", std::string("a\0b\0", 4), 1, {}, 0, 5000);
    info = VersionInfo::Parse(Root({StringTable({noZero})}), 1252);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904b0\\Comments"), "ab");
    // A root whose length exceeds the block is cut to the block.
    std::string cut = Root({StringTable({good})});
    Put16(cut, 0, 0xFFFF);
    info = VersionInfo::Parse(cut, 1252);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904b0\\FileVersion"), "1.0");
    // A string marked binary, and a translation of an odd length.
    info =
        VersionInfo::Parse(Root({StringTable({Node(u"CompanyName", Text(u"Co"), 0, {}, 0, 3)}),
                                 Node(u"VarFileInfo", "", 1, {Node(u"Translation", "\x09\x04\xb0\x04\x07", 0, {})})}),
                           1252);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->QueryString("\\StringFileInfo\\040904b0\\CompanyName"), "Co");
    EXPECT_EQ(info->Translations(), (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{0x0409, 0x04B0}}));
}

}  // namespace
}  // namespace kavlo::platform
