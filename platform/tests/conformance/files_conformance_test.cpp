// File searches, reading and short names, identical on every backend.

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

/// Names found, as a set: the order of a real file system's search is its own.
std::set<std::string> Names(const std::vector<FindEntry>& entries) {
    std::set<std::string> names;
    for (const FindEntry& entry : entries) names.insert(entry.name);
    return names;
}

const FindEntry* Find(const std::vector<FindEntry>& entries, const std::string& name) {
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const FindEntry& entry) { return entry.name == name; });
    return found == entries.end() ? nullptr : &*found;
}

TEST_P(Conformance, WildcardPatternsMatchLikeWindows) {
    const std::pair<std::string, std::set<std::string>> cases[] = {
        {"*.txt", {"a1.txt", "a2.txt", "ab.txt", "abc.txt", "b1.txt"}},
        {"A?.TXT", {"a1.txt", "a2.txt", "ab.txt"}},
        {"?1.*", {"a1.txt", "b1.txt"}},
        {"NOTES.LOG", {"notes.log"}},
        {"Long*", {"Long File Name.text"}},
        {"*",
         {".", "..", "a1.txt", "a2.txt", "ab.txt", "abc.txt", "b1.txt", "notes.log", "Long File Name.text", "sub"}},
    };
    for (const auto& [pattern, names] : cases) {
        auto found = machine().FindFiles(InFolder(pattern));
        ASSERT_TRUE(found.ok()) << pattern << ": error " << found.error();
        EXPECT_EQ(Names(*found), names) << pattern;
        EXPECT_EQ(found->size(), names.size()) << pattern << ": an entry came twice";
    }
    EXPECT_EQ(machine().FindFiles(InFolder("*.none")).error(), err::kFileNotFound);
    EXPECT_EQ(machine().FindFiles(InFolder("missing.txt")).error(), err::kFileNotFound);
    EXPECT_EQ(machine().FindFiles(InFolder("nodir\\*.txt")).error(), err::kPathNotFound);
}

// Each entry of the fixture folder, as the host holds it, is listed by its
// folder's "*" with its full path, size and kind.
TEST_P(Conformance, ListedEntriesCarryPathSizeAndKind) {
    const std::filesystem::path fixture = KAVLO_TEST_SOURCE_DIR "/platform/tests/data/conformance/drives/c/Conformance";
    for (const auto& host : std::filesystem::recursive_directory_iterator(fixture)) {
        std::string name = host.path().lexically_relative(fixture).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        SCOPED_TRACE(name);
        const std::string folder = name.substr(0, name.rfind('\\') + 1);  // "" or "sub\\"
        auto listed = machine().FindFiles(InFolder(folder + "*"));
        ASSERT_TRUE(listed.ok()) << "error " << listed.error();
        const FindEntry* entry = Find(*listed, host.path().filename().string());
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->fullPath, InFolder(name));
        EXPECT_EQ(entry->IsDirectory(), host.is_directory());
        EXPECT_EQ(entry->size, host.is_directory() ? 0u : host.file_size());
        EXPECT_GE(entry->lastWrite.year, 1980);
        EXPECT_GE(entry->lastWrite.month, 1);
        EXPECT_LE(entry->lastWrite.month, 12);
    }
    auto listed = machine().FindFiles(InFolder("*"));
    ASSERT_TRUE(listed.ok());
    const FindEntry* dot = Find(*listed, ".");
    ASSERT_NE(dot, nullptr);
    EXPECT_TRUE(dot->IsDirectory());
    EXPECT_EQ(dot->fullPath, InFolder("."));
}

TEST_P(Conformance, OpenSeekAndRead) {
    auto opened = machine().OpenForRead(InFolder("A1.TXT"));
    ASSERT_TRUE(opened.ok()) << "error " << opened.error();
    InputFile& in = **opened;
    const std::string content = "alpha one\r\n";
    EXPECT_EQ(in.Size(), content.size());
    char buffer[64] = {};
    auto read = [&](std::size_t size) {
        auto got = in.Read(buffer, size);
        EXPECT_TRUE(got.ok());
        return got.ok() ? std::string(buffer, *got) : "error";
    };
    EXPECT_EQ(read(5), "alpha");
    ASSERT_TRUE(in.Seek(6).ok());
    EXPECT_EQ(read(sizeof buffer), "one\r\n");
    EXPECT_EQ(read(sizeof buffer), "") << "at the end of the file";
    ASSERT_TRUE(in.Seek(0).ok());
    EXPECT_EQ(read(sizeof buffer), content);
    ASSERT_TRUE(in.Seek(1000).ok()) << "seeking past the end is allowed";
    EXPECT_EQ(read(sizeof buffer), "");
    EXPECT_EQ(machine().OpenForRead(InFolder("missing.txt")).error(), err::kFileNotFound);
    EXPECT_EQ(machine().OpenForRead(InFolder("nodir\\a1.txt")).error(), err::kPathNotFound);
}

TEST_P(Conformance, ShortPathOfALongNameIsAnEightDotThreeNameOfTheSameFile) {
    const std::string longPath = InFolder("Long File Name.text");
    auto shortPath = machine().ShortPathName(longPath);
    ASSERT_TRUE(shortPath.ok()) << "error " << shortPath.error();
    const std::string shortName = shortPath->substr(shortPath->find_last_of('\\') + 1);
    // At most 8 characters, a dot and 3 more, without blanks or lower-case letters.
    EXPECT_TRUE(std::regex_match(shortName, std::regex("[^ a-z.]{1,8}\\.TEX"))) << shortName;
    auto viaShort = machine().OpenForRead(*shortPath);
    ASSERT_TRUE(viaShort.ok()) << *shortPath << ": error " << viaShort.error();
    EXPECT_EQ((*viaShort)->Size(), 25u);
    auto found = machine().FindFiles(longPath);
    ASSERT_TRUE(found.ok());
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().shortName, shortName);
    EXPECT_EQ(machine().ShortPathName(InFolder("missing.txt")).error(), err::kFileNotFound);
}

TEST_P(Conformance, FixedDriveCIsListedAndDescribed) {
    const std::vector<std::string> drives = machine().LogicalDrives();
    EXPECT_NE(std::find(drives.begin(), drives.end(), "C:\\"), drives.end());
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    EXPECT_EQ(machine().DriveType("C:\\"), drive::kFixed);
    EXPECT_EQ(machine().DriveType("C:"), drive::kFixed);
    auto volume = machine().Volume("C:\\");
    ASSERT_TRUE(volume.ok()) << "error " << volume.error();
    EXPECT_FALSE(volume->fileSystem.empty());
    auto space = machine().FreeSpace("C:\\");
    ASSERT_TRUE(space.ok()) << "error " << space.error();
    EXPECT_LE(space->freeBytesToCaller, space->totalFreeBytes);
    EXPECT_LE(space->totalFreeBytes, space->totalBytes);
}

}  // namespace
}  // namespace kavlo::platform::conformance
