// The portable security pieces: SID text, the descriptor parser on malformed
// input, the descriptor text reader (the forms the security probes' machine does
// not use) and the maximum allowed access.

#include <gtest/gtest.h>

#include "platform/security/access_evaluation.h"
#include "platform/security/sddl.h"
#include "platform/security/security_descriptor.h"

namespace kavlo::platform {
namespace {

SidBytes Sid(std::string_view text) {
    auto sid = SidFromText(text);
    EXPECT_TRUE(sid) << text;
    return sid.value_or(SidBytes());
}

SecurityDescriptorModel Sddl(std::string_view text) {
    SddlParse parsed = ParseSddl(text);
    EXPECT_EQ(parsed.error, "") << text;
    return parsed.descriptor;
}

TEST(SidText, RoundTripsAndRejectsWhatIsNoSid) {
    for (std::string_view text : {"S-1-5-18", "S-1-1-0", "S-1-5-21-1004336348-1177238915-682003330-1004",
                                  "S-1-0x123456789ABC-7", "S-1-5-4294967295"})
        EXPECT_EQ(SidToText(Sid(text)), text);
    EXPECT_EQ(Sid("s-1-5-32-544").size(), 16u);
    for (std::string_view bad : {"", "S-1-", "S-2-5-18", "S-1-5-", "S-1-5-x", "S-1-5-4294967296", "S-1-281474976710656",
                                 "S-1-5--1", "S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16", "SY"})
        EXPECT_FALSE(SidFromText(bad)) << bad;
    EXPECT_EQ(SidToText(std::string("\x01\x02\0\0\0\0\0\x05\x20\0\0\0", 12)), "") << "cut-off sub-authority";
}

class MalformedDescriptor : public ::testing::Test {
protected:
    void SetUp() override {
        valid_ = SerializeSecurityDescriptor(Sddl("O:BAG:SYD:(A;OICI;FA;;;BA)(D;;0x116;;;BU)"));
        ASSERT_TRUE(ParseSecurityDescriptor(valid_).ok());
    }
    WinError ErrorOf(const std::string& bytes) { return ParseSecurityDescriptor(bytes).error(); }
    std::string valid_;  // header, owner at 20, group at 36, DACL at 48
};

TEST_F(MalformedDescriptor, EveryCutOffPrefixFailsCleanly) {
    for (std::size_t size = 0; size < valid_.size(); ++size)
        EXPECT_NE(ErrorOf(valid_.substr(0, size)), err::kSuccess) << size;
}

TEST_F(MalformedDescriptor, EachPartGivesItsOwnError) {
    const struct {
        const char* what;
        std::size_t offset;
        char value;
        WinError error;
    } cases[] = {
        {"not self-relative", 3, 0, err::kInvalidSecurityDescriptor},
        {"owner beyond the bytes", 4, static_cast<char>(0xF0), err::kInvalidSecurityDescriptor},
        {"owner's revision", 20, 2, err::kInvalidSid},
        {"more sub-authorities than a SID may have", 21, 16, err::kInvalidSid},
        {"entry count larger than the ACL can hold", 48 + 4, 40, err::kInvalidAcl},
        {"first entry larger than its ACL", 48 + 8 + 2, static_cast<char>(0xFF), err::kInvalidAcl},
        {"ACL larger than the descriptor", 48 + 2, static_cast<char>(0xFF), err::kInvalidAcl},
    };
    for (const auto& c : cases) {
        std::string bytes = valid_;
        bytes[c.offset] = c.value;
        EXPECT_EQ(ErrorOf(bytes), c.error) << c.what;
    }
}

TEST_F(MalformedDescriptor, PresentDaclAtOffsetZeroIsTheNullDacl) {
    std::string bytes = valid_.substr(0, 48);
    bytes[16] = bytes[17] = bytes[18] = bytes[19] = 0;
    auto parsed = ParseSecurityDescriptor(bytes);
    ASSERT_TRUE(parsed.ok());
    EXPECT_FALSE(parsed->hasDacl);
    EXPECT_EQ(EffectiveRights(*parsed, {}), kAllRights);
}

TEST(Sddl, ReadsAliasesFlagsAndRights) {
    const SecurityDescriptorModel d =
        Sddl("O:BA G:SY D:P(A;OICIIO;GA;;;CO) (D;NPID;KR;;;S-1-5-21-1-2-3-1001)(A;;0x1F01ff;;;wd)");
    EXPECT_EQ(SidToText(d.owner), "S-1-5-32-544");
    EXPECT_TRUE(d.daclProtected);
    ASSERT_EQ(d.dacl.size(), 3u);
    EXPECT_EQ(d.dacl[1], (AccessEntry{1, 0x14, 0x20019, Sid("S-1-5-21-1-2-3-1001")}));
    EXPECT_EQ(d.dacl[2].mask, 0x1F01FFu);
    EXPECT_EQ(SidToText(d.dacl[2].sid), "S-1-1-0");
    EXPECT_TRUE(Sddl("D:").hasDacl);
    for (std::string_view bad : {"D:(U;;FA;;;BA)", "D:(A;XX;FA;;;BA)", "D:(A;;ZZ;;;BA)", "D:(A;;FA;;;QQ)",
                                 "D:(A;;FA;;;BA", "D:(A;;FA;;BA)", "S:(AU;;FA;;;BA)", "O:BAO:BA", "X"})
        EXPECT_NE(ParseSddl(bad).error, "") << bad;
}

// Entries in order, denies removing only what is not yet granted, inherit-only
// entries skipped: the effective rights the security probes show on the simulated
// machine (probes/security/tests/security_probes_sim_test.cpp).
TEST(MaximumAllowedAccess, MapsGenericRightsAndGivesTheOwnerItsTwo) {
    const std::vector<SidBytes> admins{Sid("S-1-5-32-544")};
    EXPECT_EQ(MaximumAllowedAccess(Sddl("D:(A;;GR;;;BA)"), admins, kFileGenericMapping), 0x120089u);
    EXPECT_EQ(MaximumAllowedAccess(Sddl("O:BAD:"), admins, kFileGenericMapping), 0x60000u);
    EXPECT_EQ(MaximumAllowedAccess(Sddl("O:BAD:(D;;GW;;;BA)(A;;FA;;;BA)"), admins, kFileGenericMapping),
              (0x1F01FFu & ~0x120116u) | 0x60000u);
}

}  // namespace
}  // namespace kavlo::platform
