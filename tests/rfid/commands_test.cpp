// The ">RF" composer, the password and reply decoding it shares, and the encoder settings as
// values and KEY=VALUE pairs: the command texts, pinned once, as tables.
#include <gtest/gtest.h>

#include "rfid/rfidcommands.h"
#include "rfid/rfidsettings.h"

namespace velmora::testing {
namespace {

using namespace rfid;

TEST(RfidCommands, Texts) {
    const std::pair<std::string, std::string> cases[] = {
        {settingQuery(7), ">RFI,7"},
        {settingsCommand(5, 3, 2, 1), ">RFS,5,3,2,1"},
        {positionCommand("600"), ">RFTP,600"},
        {writeCommand(false, Memory::Epc, DataFormat::Hex, 4, 12, "3008"), ">RFW,H,4,12,'3008'"},
        {writeCommand(true, Memory::Epc, DataFormat::Ascii, 0, 3, "ABC"), ">RFw,A,0,3,'ABC'"},
        {writeCommand(true, Memory::User, DataFormat::Ascii, 2, 2, "0102"), ">RFw,U,2,2,'0102'"},
        {writeCommand(false, Memory::User, DataFormat::Hex, 2, 2, "0102"), ">RFW,U,2,2,'0102'"},
        {readCommand(false, Memory::Epc, DataFormat::Hex, 4, 12, 'S'), ">RFR,H,4,12,S"},
        {readCommand(true, Memory::Epc, DataFormat::Ascii, 0, 4, 'S'), ">RFr,A,0,4,S"},
        {readCommand(false, Memory::User, DataFormat::Ascii, 1, 2, 'S'), ">RFR,U,1,2,S"},
        {readCommand(true, Memory::User, DataFormat::Hex, 1, 2, 'S'), ">RFr,u,1,2,S"},
        {readCommand(false, Memory::Epc, DataFormat::Hex, 8, 11, 'P'), ">RFR,H,8,11,P"},
        {passwordCommand(kDefaultPassword, kDefaultPassword, "12345678", "5E2B7A19"),
         ">RFZ,'5E2B7A19,5E2B7A19,12345678,5E2B7A19'"},
        {lockPayloadCommand(false, 0), ">RFLP,L,'00,00,00'"},
        {lockPayloadCommand(false, 0xFFFFF), ">RFLP,L,'FF,FF,F0'"},
        {lockPayloadCommand(false, 1u << 19), ">RFLP,L,'80,00,00'"},
        {lockPayloadCommand(true, 0x0C030), ">RFLP,U,'0C,03,00'"},
        {lockPayloadCommand(false, 0x00001), ">RFLP,L,'00,00,10'"},
    };
    for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

TEST(RfidCommands, PasswordsAreEightHexDigitsWithOrWithoutDots) {
    const std::pair<const char*, const char*> cases[] = {
        {"5E.2B.7A.19", "5E2B7A19"}, {"a0f12bca", "a0f12bca"}, {"12.34.56", nullptr},
        {"123456789", nullptr},      {"12.34.56.7G", nullptr}, {"", nullptr},
    };
    for (const auto& [typed, digits] : cases) {
        const auto got = passwordDigits(typed);
        EXPECT_EQ(got.has_value(), digits != nullptr) << typed;
        if (got && digits) {
            EXPECT_EQ(*got, digits);
        }
    }
}

TEST(RfidCommands, ReplyDecimal) {
    const std::pair<const char*, int> cases[] = {{"8", 8}, {"  12\r", 12}, {"-3x", -3}, {"+7", 7},
                                                 {"", 0},  {"GEN2", 0},    {"99999999999", 0}};
    for (const auto& [reply, value] : cases) EXPECT_EQ(replyDecimal(reply), value) << reply;
}

TEST(RfidSettings, RepliesBecomeListPositions) {
    struct Case {
        SettingReplies replies;
        int tagType, power, retries, labels;
        std::string position;
    };
    const Case cases[] = {
        {{"GEN2xyz", "8", "600  \r", "3", "2", "0", "0"}, 0, 7, 3, 2, "600"},
        {{"ISO-B", "1", "-40", "10", "5", "1", "2"}, 1, 0, 10, 5, "-40"},
        // An unknown tag reply leaves the type as it was; values the lists lack are no selection.
        {{"0", "0", "", "11", "6", "", ""}, 1, -1, -1, -1, ""},
        {{std::nullopt, "40", "7", "-1", "x", "", ""}, 1, -1, -1, 0, "7"},
    };
    EncoderSettings s;
    s.tagType = 1;
    for (const auto& c : cases) {
        applyReplies(s, c.replies);
        EXPECT_EQ(s.tagType, c.tagType);
        EXPECT_EQ(s.power, c.power);
        EXPECT_EQ(s.retries, c.retries);
        EXPECT_EQ(s.labels, c.labels);
        EXPECT_EQ(s.position, c.position);
    }
}

TEST(RfidSettings, SetTextOnlyForChosenValues) {
    EncoderSettings s{0, 0, "600", 3, 2, "", ""};
    EXPECT_EQ(settingsText(s), ">RFS,5,3,2,1\r>RFTP,600\r");
    // Any whole number the command can carry goes out as typed.
    for (const char* position : {"12000", "-2147483648", "+0600"}) {
        EncoderSettings far = s;
        far.position = position;
        EXPECT_EQ(settingsText(far), ">RFS,5,3,2,1\r>RFTP," + std::string(position) + "\r");
    }
    s.tagType = 1;
    s.power = 30;
    EXPECT_EQ(settingsText(s), ">RFS,2,3,2,31\r>RFTP,600\r");
    for (auto change : std::initializer_list<void (*)(EncoderSettings&)>{
             [](EncoderSettings& e) { e.tagType = -1; }, [](EncoderSettings& e) { e.power = -1; },
             [](EncoderSettings& e) { e.retries = -1; }, [](EncoderSettings& e) { e.labels = -1; },
             [](EncoderSettings& e) { e.position = "6\r>RFKL"; }, [](EncoderSettings& e) { e.position = ""; },
             [](EncoderSettings& e) { e.position = "2147483648"; }, [](EncoderSettings& e) { e.position = "+"; }}) {
        EncoderSettings bad = s;
        change(bad);
        EXPECT_FALSE(settingsText(bad).has_value());
    }
}

TEST(RfidSettings, KeyValuesRoundTripAndRefuseBadValues) {
    EncoderSettings s{0, 7, "600", 3, 2, "5", "1"};
    EXPECT_EQ(settingsKeyValues(s), (KeyValues{{"tag-type", "GEN2"}, {"power", "8"}, {"position", "600"},
                                               {"retries", "3"}, {"labels", "2"}, {"valid", "5"}, {"void", "1"}}));
    std::string error;
    ASSERT_TRUE(applyKeyValues(s, {{"tag-type", "ISO-B"}, {"power", "31"}, {"labels", "0"}}, error));
    EXPECT_EQ(settingsText(s), ">RFS,2,3,0,31\r>RFTP,600\r");
    for (const KeyValues& bad : {KeyValues{{"power", "0"}}, KeyValues{{"power", "32"}}, KeyValues{{"retries", "11"}},
                                 KeyValues{{"tag-type", "gen2"}}, KeyValues{{"valid", "0"}},
                                 KeyValues{{"position", "1,2"}}, KeyValues{{"labels", "2"}, {"speed", "1"}}}) {
        const EncoderSettings before = s;
        EXPECT_FALSE(applyKeyValues(s, bad, error)) << bad.front().first;
        EXPECT_EQ(settingsText(s), settingsText(before));  // nothing changed
    }
}

}  // namespace
}  // namespace velmora::testing
