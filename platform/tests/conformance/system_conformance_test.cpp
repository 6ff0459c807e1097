// Version resources, error texts and the environment, identical on every backend.

#include <string>
#include <vector>

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

TEST_P(Conformance, VersionResourceOfTheSampleImage) {
    auto version = machine().FileVersion(backend().VersionSample());
    ASSERT_TRUE(version.ok()) << backend().VersionSample() << ": error " << version.error();
    const auto translations = (*version)->Translations();
    ASSERT_TRUE(translations.has_value());
    ASSERT_EQ(translations->size(), 1u);
    EXPECT_EQ(translations->front(), (std::pair<std::uint16_t, std::uint16_t>{0x0409, 1200}));

    const std::string table(kSampleStringTable);
    EXPECT_EQ((*version)->QueryString(table + "FileVersion"), std::string(kSampleFileVersion));
    EXPECT_EQ((*version)->QueryString(table + "ProductName"), std::string(kSampleProductName));
    EXPECT_EQ((*version)->QueryString(table + "NoSuchString"), std::nullopt);
    EXPECT_EQ((*version)->QueryString("\\StringFileInfo\\041104b0\\FileVersion"), std::nullopt);
    if (machine().AnsiCodePage() == 1252) {
        EXPECT_EQ((*version)->QueryString(table + "LegalCopyright"), std::string(kSampleCopyright1252));
    }
    EXPECT_GT((*version)->BlockSize(), 0u);
}

TEST_P(Conformance, VersionResourceFailures) {
    EXPECT_EQ(machine().FileVersion(backend().NoVersionSample()).error(),
              backend().RunsOnWine() ? err::kResourceDataNotFound : err::kResourceTypeNotFound);
    // For an image without any resource section Wine says 1812 ("did not
    // contain a resource section"); the simulated machine gives 1813 as for any
    // image without a version resource. Either resource code is accepted there.
    const WinError noSection = machine().FileVersion(backend().NoResourceSample()).error();
    if (backend().RunsOnWine()) {
        EXPECT_EQ(noSection, err::kResourceDataNotFound);
    } else {
        EXPECT_TRUE(noSection == err::kResourceDataNotFound || noSection == err::kResourceTypeNotFound) << noSection;
    }
    EXPECT_EQ(machine().FileVersion(InFolder("missing.dll")).error(), err::kFileNotFound);
    EXPECT_EQ(machine().FileVersion(InFolder("nodir\\missing.dll")).error(), err::kPathNotFound);
    EXPECT_FALSE(machine().FileVersion(InFolder("a1.txt")).ok()) << "a text file has no version resource";
}

struct MessageCase {
    WinError code;
    std::string windows;
    std::string wine;
};

TEST_P(Conformance, ErrorTextsAreTheSystemsWithTheirLineEnd) {
    const std::vector<MessageCase> cases = {
        {2, "The system cannot find the file specified.\r\n", "File not found.\r\n"},
        {3, "The system cannot find the path specified.\r\n", "Path not found.\r\n"},
        {5, "Access is denied.\r\n", "Access denied.\r\n"},
        {87, "The parameter is incorrect.\r\n", "Invalid parameter.\r\n"},
        {234, "More data is available.\r\n", "More data available.\r\n"},
        {259, "No more data is available.\r\n", "No more data available.\r\n"},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(machine().ErrorText(c.code), backend().RunsOnWine() ? c.wine : c.windows);
    }
}

TEST_P(Conformance, UnknownEnvironmentNamesStayAsWritten) {
    EXPECT_EQ(machine().Environment("KAVLO_CONFORMANCE_NO_SUCH_VARIABLE"), std::nullopt);
    EXPECT_EQ(machine().ExpandEnvironment("a%KAVLO_CONFORMANCE_NO_SUCH_VARIABLE%b"),
              "a%KAVLO_CONFORMANCE_NO_SUCH_VARIABLE%b");
    EXPECT_EQ(machine().ExpandEnvironment("50% off"), "50% off");
    EXPECT_EQ(machine().ExpandEnvironment(""), "");
}

TEST_P(Conformance, KnownEnvironmentNamesExpand) {
    const auto windir = machine().Environment("windir");
    ASSERT_TRUE(windir.has_value());
    EXPECT_EQ(machine().ExpandEnvironment("[%windir%]"), "[" + *windir + "]");
    EXPECT_EQ(machine().ExpandEnvironment("[%WINDIR%]"), "[" + *windir + "]") << "names ignore case";
}

}  // namespace
}  // namespace kavlo::platform::conformance
