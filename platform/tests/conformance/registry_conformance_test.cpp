// Registry behaviour that probes rely on, identical on every backend.

#include <cctype>
#include <string>
#include <vector>

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

using namespace std::string_literals;

TEST_P(Conformance, FixedValuesReadBackExactly) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    for (const FixtureValue& expected : FixedValues()) {
        SCOPED_TRACE("value \"" + expected.name + "\"");
        auto value = key->QueryValue(expected.name, 1024);
        ASSERT_TRUE(value.ok()) << "error " << value.error();
        EXPECT_EQ(value->type, expected.type);
        EXPECT_EQ(value->data, expected.data);
    }
}

TEST_P(Conformance, BufferOfExactlyTheDataSizeIsEnoughAndOneByteLessGives234) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    for (const FixtureValue& expected : FixedValues()) {
        SCOPED_TRACE("value \"" + expected.name + "\"");
        const std::size_t size = expected.data.size();
        auto exact = key->QueryValue(expected.name, size);
        ASSERT_TRUE(exact.ok()) << "error " << exact.error();
        EXPECT_EQ(exact->data, expected.data);
        EXPECT_EQ(key->QueryValue(expected.name, size - 1).error(), err::kMoreData);
    }
    EXPECT_EQ(key->QueryValue("Alpha", 0).error(), err::kMoreData);
}

TEST_P(Conformance, DefaultValueIsTheEmptyName) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    auto value = key->QueryValue("", 256);
    ASSERT_TRUE(value.ok()) << "error " << value.error();
    EXPECT_EQ(value->data, "default text\0"s);
}

TEST_P(Conformance, KeyWithoutDefaultValueGives2ForTheEmptyName) {
    auto key = OpenFixed(FixedSubkeys().front());
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->QueryValue("", 256).error(), err::kFileNotFound);
}

TEST_P(Conformance, MissingKeysAndValuesGive2) {
    const std::string base(kFixedKey);
    for (const std::string& path : {base + "\\NoSuchKey", base + "\\Apple\\Deeper", base + "Suffix",
                                    std::string("Software\\KavloConformanceTestMissing\\Fixed")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, path, kKeyRead).error(), err::kFileNotFound);
    }
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    for (const char* name : {"NoSuchValue", "Alph", "Alpha ", "Apple"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(key->QueryValue(name, 256).error(), err::kFileNotFound);
    }
}

TEST_P(Conformance, KeyAndValueNamesIgnoreCase) {
    std::string upper(kFixedKey);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto key = machine().OpenKey(RegRoot::CurrentUser, upper, kKeyRead);
    ASSERT_TRUE(key.ok()) << "error " << key.error();
    auto value = (*key)->QueryValue("zETA", 256);
    ASSERT_TRUE(value.ok()) << "error " << value.error();
    EXPECT_EQ(value->data, "last\0"s);
}

TEST_P(Conformance, SubkeysEnumerateInOrderThenGive259) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    std::vector<std::string> names;
    std::uint32_t index = 0;
    for (;; ++index) {
        auto name = key->EnumSubkey(index, 255);
        if (!name.ok()) {
            EXPECT_EQ(name.error(), err::kNoMoreItems);
            break;
        }
        names.push_back(*name);
        ASSERT_LT(index, 100u) << "enumeration does not end";
    }
    EXPECT_EQ(names, FixedSubkeys());
    EXPECT_EQ(key->EnumSubkey(index + 1, 255).error(), err::kNoMoreItems);
}

TEST_P(Conformance, SubkeyNameLongerThanTheLimitGives234) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    const std::string& first = FixedSubkeys().front();  // "Apple"
    auto fits = key->EnumSubkey(0, first.size());
    ASSERT_TRUE(fits.ok()) << "error " << fits.error();
    EXPECT_EQ(*fits, first);
    EXPECT_EQ(key->EnumSubkey(0, first.size() - 1).error(), err::kMoreData);
}

TEST_P(Conformance, ValuesEnumerateInOrderWithTheirDataThenGive259) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    const auto& expected = FixedValues();
    std::uint32_t index = 0;
    for (; index < expected.size(); ++index) {
        SCOPED_TRACE("index " + std::to_string(index));
        auto value = key->EnumValue(index, 255, 1024);
        ASSERT_TRUE(value.ok()) << "error " << value.error();
        EXPECT_EQ(value->name, expected[index].name);
        EXPECT_EQ(value->value.type, expected[index].type);
        EXPECT_EQ(value->value.data, expected[index].data);
    }
    EXPECT_EQ(key->EnumValue(index, 255, 1024).error(), err::kNoMoreItems);
    EXPECT_EQ(key->EnumValue(index + 7, 255, 1024).error(), err::kNoMoreItems);
}

TEST_P(Conformance, EnumeratedValueWhoseNameOrDataDoesNotFitGives234) {
    auto key = OpenFixed();
    ASSERT_NE(key, nullptr);
    // Index 2 is "Blob" with 10 bytes of data.
    const FixtureValue& blob = FixedValues()[2];
    ASSERT_EQ(blob.name, "Blob");
    auto exact = key->EnumValue(2, blob.name.size(), blob.data.size());
    ASSERT_TRUE(exact.ok()) << "error " << exact.error();
    EXPECT_EQ(exact->value.data, blob.data);
    EXPECT_EQ(key->EnumValue(2, blob.name.size(), blob.data.size() - 1).error(), err::kMoreData);
    EXPECT_EQ(key->EnumValue(2, blob.name.size() - 1, blob.data.size()).error(), err::kMoreData);
}

TEST_P(Conformance, EmptySubkeyHasNoSubkeysAndNoValues) {
    auto key = OpenFixed(FixedSubkeys().back());
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->EnumSubkey(0, 255).error(), err::kNoMoreItems);
    EXPECT_EQ(key->EnumValue(0, 255, 1024).error(), err::kNoMoreItems);
}

TEST_P(Conformance, CreatedKeyKeepsTheStringBytesItWasGiven) {
    const std::string path = std::string(kScratchKey) + "\\Contact";
    {
        auto created = machine().CreateKey(RegRoot::CurrentUser, path);
        ASSERT_TRUE(created.ok()) << "error " << created.error();
        for (const auto& [name, text] :
             {std::pair{"Name", "Jane Doe"}, std::pair{"Empty", ""}, std::pair{"Phone", "+44 20 7946 0000"}}) {
            EXPECT_TRUE((*created)->SetString(name, text).ok()) << name;
        }
        EXPECT_TRUE((*created)->SetString("Name", "Jane Q. Doe").ok()) << "overwriting";
    }
    auto key = machine().OpenKey(RegRoot::CurrentUser, path, kKeyRead);
    ASSERT_TRUE(key.ok()) << "error " << key.error();
    for (const auto& [name, text] :
         {std::pair{"Name", "Jane Q. Doe"}, std::pair{"Empty", ""}, std::pair{"Phone", "+44 20 7946 0000"}}) {
        SCOPED_TRACE(name);
        auto value = (*key)->QueryValue(name, 256);
        ASSERT_TRUE(value.ok()) << "error " << value.error();
        EXPECT_EQ(value->type, regtype::kSz);
        EXPECT_EQ(value->data, text);
    }
    // A key made by CreateKey has no default value.
    EXPECT_EQ((*key)->QueryValue("", 256).error(), err::kFileNotFound);
}

TEST_P(Conformance, DeleteKeyRemovesAKeyWithItsSubtree) {
    const std::string top = std::string(kScratchKey) + "\\Doomed";
    for (const char* below : {"\\One\\Two\\Three", "\\One\\Sibling", "\\Other"}) {
        auto created = machine().CreateKey(RegRoot::CurrentUser, top + below);
        ASSERT_TRUE(created.ok()) << below << ": error " << created.error();
        EXPECT_TRUE((*created)->SetString("Value", "x").ok()) << below;
    }
    EXPECT_TRUE(machine().DeleteKey(RegRoot::CurrentUser, top + "\\ONE").ok());
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, top + "\\One").error(), err::kFileNotFound);
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, top + "\\One\\Two\\Three").error(), err::kFileNotFound);
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

TEST_P(Conformance, CreateKeyOpensAnExistingKeyWithoutLosingItsValues) {
    auto existing = machine().CreateKey(RegRoot::CurrentUser, std::string(kFixedKey));
    ASSERT_TRUE(existing.ok()) << "error " << existing.error();
    auto value = (*existing)->QueryValue("Zeta", 256);
    ASSERT_TRUE(value.ok()) << "error " << value.error();
    EXPECT_EQ(value->data, "last\0"s);
    EXPECT_EQ((*existing)->EnumSubkey(0, 255).value(), FixedSubkeys().front());
}

TEST_P(Conformance, HighAnsiBytesRoundTripInTheAnsiCodePage) {
    if (machine().AnsiCodePage() != 1252) GTEST_SKIP() << "the bytes below are Windows-1252 text";
    const std::string text = "Caf\xE9 \x80 \xA9";
    auto created = machine().CreateKey(RegRoot::CurrentUser, std::string(kScratchKey) + "\\Ansi");
    ASSERT_TRUE(created.ok()) << "error " << created.error();
    ASSERT_TRUE((*created)->SetString("Text", text).ok());
    auto value = (*created)->QueryValue("Text", 256);
    ASSERT_TRUE(value.ok()) << "error " << value.error();
    EXPECT_EQ(value->data, text);
}

}  // namespace
}  // namespace kavlo::platform::conformance
