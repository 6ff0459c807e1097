// Registry behaviour that probes rely on, identical on every backend.

#include <cctype>
#include <string>
#include <vector>

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

using namespace std::string_literals;

TEST_P(Conformance, MissingKeysAndValuesGive2AndNamesIgnoreCase) {
    const std::string base(kFixedKey);
    for (const std::string& path : {base + "\\NoSuchKey", base + "\\Apple\\Deeper", base + "Suffix"})
        EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, path, kKeyRead).error(), err::kFileNotFound) << path;
    EXPECT_EQ(machine().OpenKey(RegRoot::LocalMachine, base, kKeyRead).error(), err::kFileNotFound) << "another hive";
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    for (const char* name : {"NoSuchValue", "Alph", "Alpha ", "Apple"})
        EXPECT_EQ(key->QueryValue(name, 256).error(), err::kFileNotFound) << name;
    auto apple = OpenFixed(FixedSubkeys().front());
    ASSERT_NE(apple, nullptr);
    EXPECT_EQ(apple->QueryValue("", 256).error(), err::kFileNotFound) << "no default value";

    std::string upper = base;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto upperKey = machine().OpenKey(RegRoot::CurrentUser, upper, kKeyRead);
    ASSERT_TRUE(upperKey.ok()) << "error " << upperKey.error();
    EXPECT_EQ((*upperKey)->QueryValue("zETA", 256).value().data, "last\0"s);
}

// Values are read back exactly, by name and by index, in a buffer of their size;
// one byte less gives 234.
TEST_P(Conformance, EnumerationGoesInOrderGives234WhenANameOrDataDoesNotFitThen259) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(SubkeysOf(*key), FixedSubkeys());
    EXPECT_EQ(key->EnumSubkey(0xFFFFFFFF, 255).error(), err::kNoMoreItems);
    const std::string& first = FixedSubkeys().front();
    EXPECT_EQ(key->EnumSubkey(0, first.size()).value(), first);
    EXPECT_EQ(key->EnumSubkey(0, first.size() - 1).error(), err::kMoreData);

    const auto& expected = FixedValues();
    for (std::uint32_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("index " + std::to_string(i));
        const FixtureValue& value = expected[i];
        auto exact = key->EnumValue(i, value.name.size(), value.data.size());
        ASSERT_TRUE(exact.ok()) << "error " << exact.error();
        EXPECT_EQ(exact->name, value.name);
        EXPECT_EQ(exact->value.type, value.type);
        EXPECT_EQ(exact->value.data, value.data);
        EXPECT_EQ(key->EnumValue(i, value.name.size(), value.data.size() - 1).error(), err::kMoreData);
        if (!value.name.empty()) {
            EXPECT_EQ(key->EnumValue(i, value.name.size() - 1, value.data.size()).error(), err::kMoreData);
        }
        auto byName = key->QueryValue(value.name, value.data.size());
        ASSERT_TRUE(byName.ok()) << "error " << byName.error();
        EXPECT_EQ(std::pair(byName->type, byName->data), std::pair(value.type, value.data));
        EXPECT_EQ(key->QueryValue(value.name, value.data.size() - 1).error(), err::kMoreData);
    }
    EXPECT_EQ(key->EnumValue(static_cast<std::uint32_t>(expected.size()), 255, 1024).error(), err::kNoMoreItems);

    auto empty = OpenFixed(FixedSubkeys().back());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->EnumSubkey(0, 255).error(), err::kNoMoreItems);
    EXPECT_EQ(empty->EnumValue(0, 255, 1024).error(), err::kNoMoreItems);
}

TEST_P(Conformance, CreatedKeysKeepTheStringBytesTheyWereGiven) {
    const std::string path = std::string(kScratchKey) + "\\Contact";
    // Bytes above 0x7F are text in the ANSI code page.
    const std::string ansi = machine().AnsiCodePage() == 1252 ? "Caf\xE9 \x80 \xA9" : "Cafe";
    const std::pair<const char*, std::string> written[] = {{"Name", "Jane Q. Doe"}, {"Empty", ""}, {"Ansi", ansi}};
    {
        auto created = machine().CreateKey(RegRoot::CurrentUser, path);
        ASSERT_TRUE(created.ok()) << "error " << created.error();
        EXPECT_TRUE((*created)->SetString("Name", "Jane Doe").ok());
        for (const auto& [name, text] : written) EXPECT_TRUE((*created)->SetString(name, text).ok()) << name;
    }
    auto key = machine().OpenKey(RegRoot::CurrentUser, path, kKeyRead);
    ASSERT_TRUE(key.ok()) << "error " << key.error();
    for (const auto& [name, text] : written) {
        auto value = (*key)->QueryValue(name, 256);
        ASSERT_TRUE(value.ok()) << name << ": error " << value.error();
        EXPECT_EQ(value->type, regtype::kSz);
        EXPECT_EQ(value->data, text) << name;
    }
    EXPECT_EQ((*key)->QueryValue("", 256).error(), err::kFileNotFound) << "a created key has no default value";
    EXPECT_EQ((*key)->SetString("x", "y").error(), err::kAccessDenied) << "opened for reading";

    // Creating an existing key opens it with its values.
    auto existing = machine().CreateKey(RegRoot::CurrentUser, std::string(kFixedKey));
    ASSERT_TRUE(existing.ok()) << "error " << existing.error();
    EXPECT_EQ((*existing)->QueryValue("Zeta", 256).value().data, "last\0"s);
    EXPECT_EQ((*existing)->EnumSubkey(0, 255).value(), FixedSubkeys().front());
}

TEST_P(Conformance, DeleteKeyRemovesTheSubtreeAndKeysStillOpenGive1018) {
    constexpr WinError kKeyDeleted = 1018;
    const std::string top = std::string(kScratchKey) + "\\Doomed";
    for (const char* below : {"\\One\\Two\\Three", "\\One\\Sibling", "\\Other"}) {
        auto created = machine().CreateKey(RegRoot::CurrentUser, top + below);
        ASSERT_TRUE(created.ok()) << below << ": error " << created.error();
        EXPECT_TRUE((*created)->SetString("Value", "x").ok()) << below;
    }
    auto open = machine().OpenKey(RegRoot::CurrentUser, top + "\\One\\Two", kKeyAllAccess);
    ASSERT_TRUE(open.ok()) << "error " << open.error();
    EXPECT_TRUE(machine().DeleteKey(RegRoot::CurrentUser, top + "\\ONE").ok());
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, top + "\\One").error(), err::kFileNotFound);
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, top + "\\One\\Two\\Three").error(), err::kFileNotFound);
    EXPECT_EQ((*open)->QueryValue("Value", 100).error(), kKeyDeleted);
    EXPECT_EQ((*open)->EnumSubkey(0, 255).error(), kKeyDeleted);
    EXPECT_EQ((*open)->EnumValue(0, 255, 255).error(), kKeyDeleted);
    EXPECT_EQ((*open)->SetString("x", "y").error(), kKeyDeleted);
    auto parent = machine().OpenKey(RegRoot::CurrentUser, top);
    ASSERT_TRUE(parent.ok()) << "error " << parent.error();
    EXPECT_EQ((*parent)->EnumSubkey(0, 255).value(), "Other");
    EXPECT_EQ((*parent)->EnumSubkey(1, 255).error(), err::kNoMoreItems);

    EXPECT_EQ(machine().DeleteKey(RegRoot::CurrentUser, top + "\\One").error(), err::kFileNotFound);
    EXPECT_EQ(machine().DeleteKey(RegRoot::CurrentUser, top + "\\None\\Deeper").error(), err::kFileNotFound);
    EXPECT_EQ(machine().DeleteKey(RegRoot::CurrentUser, "").error(), err::kInvalidParameter);
    EXPECT_TRUE(machine().DeleteKey(RegRoot::CurrentUser, top).ok());
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, top).error(), err::kFileNotFound);
}

}  // namespace
}  // namespace kavlo::platform::conformance
