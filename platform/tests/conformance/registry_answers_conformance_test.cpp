// What Windows answers where a simple registry would differ: subkey order,
// paths with a leading backslash, names outside the code page, best-fit
// conversion and the key-path limit of the A functions. The keys come from
// registry/answers.reg, imported into both backends.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

using namespace std::string_literals;

constexpr WinError kBadPathName = 161;

std::string AnswersPath(const std::string& below) { return std::string(kAnswersKey) + "\\" + below; }

class Answers : public Conformance {
protected:
    std::unique_ptr<RegistryKey> Open(const std::string& below) {
        auto key = machine().OpenKey(RegRoot::CurrentUser, AnswersPath(below), kKeyRead);
        EXPECT_TRUE(key.ok()) << below << ": error " << key.error();
        return key.ok() ? std::move(key).value() : nullptr;
    }
    void SkipUnless1252() {
        if (machine().AnsiCodePage() != 1252) GTEST_SKIP() << "the expectations are Windows-1252 text";
    }
};

TEST_P(Answers, SubkeysEnumerateSortedWithoutRegardToCase) {
    auto order = Open("Order");
    ASSERT_NE(order, nullptr);
    // Written as Prod20, prod10, PROD15, beta, Alpha.
    EXPECT_EQ(SubkeysOf(*order), (std::vector<std::string>{"Alpha", "beta", "prod10", "PROD15", "Prod20"}));
}

TEST_P(Answers, ValuesStayInTheOrderTheyWereWritten) {
    auto values = Open("Values");
    ASSERT_NE(values, nullptr);
    std::vector<std::string> names = ValueNamesOf(*values);
    if (backend().RunsOnWine()) {
        // Wine keeps values sorted; Windows keeps them in creation order, as the
        // simulated machine does. Here only the names themselves are compared.
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"Mike", "Zulu", "alpha"}));
        return;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Zulu", "alpha", "Mike"}));
}

TEST_P(Answers, ALeadingBackslashGives161ExceptOneBelowClassesRoot) {
    EXPECT_EQ(machine().OpenKey(RegRoot::LocalMachine, "\\Software").error(), kBadPathName);
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, "\\" + AnswersPath("Order")).error(), kBadPathName);
    EXPECT_EQ(machine().CreateKey(RegRoot::CurrentUser, "\\" + AnswersPath("New")).error(), kBadPathName);
    auto classes = machine().OpenKey(RegRoot::ClassesRoot, "\\" + std::string(kAnswersClassesKey));
    ASSERT_TRUE(classes.ok()) << "error " << classes.error();
    EXPECT_EQ((*classes)->QueryValue("", 64).value().data, "classes\0"s);
    EXPECT_EQ(machine().OpenKey(RegRoot::ClassesRoot, "\\\\" + std::string(kAnswersClassesKey)).error(), kBadPathName);
    // A doubled backslash further on is one separator.
    EXPECT_TRUE(machine().OpenKey(RegRoot::CurrentUser, std::string(kAnswersKey) + "\\\\Order").ok());
}

TEST_P(Answers, NamesOutsideTheCodePageStayDistinct) {
    SkipUnless1252();
    auto names = Open("Names");
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(SubkeysOf(*names), (std::vector<std::string>{"?", "?"}));
    EXPECT_EQ(ValueNamesOf(*names), (std::vector<std::string>{"?", "?"}));
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, AnswersPath("Names\\?")).error(), err::kFileNotFound);
    EXPECT_EQ(names->QueryValue("?", 64).error(), err::kFileNotFound);
}

TEST_P(Answers, TextConvertsWithTheBestFitUnitByUnit) {
    SkipUnless1252();
    auto bestFit = Open("BestFit");
    ASSERT_NE(bestFit, nullptr);
    EXPECT_EQ(bestFit->QueryValue("Text", 64).value().data, "aL\0"s);
    EXPECT_EQ(bestFit->QueryValue("Emoji", 64).value().data, "x??y\0"s);
    EXPECT_EQ(bestFit->QueryValue("Expand", 64).value().data, "a%SystemRoot%\0"s);
}

TEST_P(Answers, KeyPathsOver260CharactersGive234) {
    const std::string path260 = AnswersPath("Long\\" + std::string(200, 'A') + "\\" + std::string(21, 'B'));
    ASSERT_EQ(path260.size(), 260u);
    EXPECT_TRUE(machine().OpenKey(RegRoot::CurrentUser, path260).ok());
    EXPECT_EQ(machine().OpenKey(RegRoot::CurrentUser, path260 + "\\" + std::string(39, 'C')).error(), err::kMoreData);
}

INSTANTIATE_TEST_SUITE_P(Backends, Answers, ::testing::ValuesIn(AvailableBackends()),
                         [](const ::testing::TestParamInfo<BackendKind>& info) { return info.param.name; });

}  // namespace
}  // namespace kavlo::platform::conformance
