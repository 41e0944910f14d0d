#include "device/ReportProtocol.h"
#include "platform/Messages.h"

#include <gtest/gtest.h>

namespace {
std::array<std::uint8_t, 99> Answer(std::initializer_list<std::uint8_t> bytes)
{
    std::array<std::uint8_t, 99> r{};
    std::copy(bytes.begin(), bytes.end(), r.begin());
    return r;
}
} // namespace

TEST(ReportProtocol, EndRepliesAndNearMisses)
{
    for (std::uint8_t letter : {'A', 'G', 'N'})
        for (std::uint8_t x : {std::uint8_t(0), std::uint8_t('x'), std::uint8_t(0xFF)})
            EXPECT_FALSE(IsDataReply(Answer({letter, x, '0', '0', '0', 0, 0, 0}).data())) << letter << int(x);
    const std::array<std::uint8_t, 99> dataReplies[] = {
        Answer({'O', 'x', '0', '0', '0', 0, 0, 0}), // a letter past N
        Answer({'@', 'x', '0', '0', '0', 0, 0, 0}), // before A
        Answer({'a', 'x', '0', '0', '0', 0, 0, 0}), // lower case
        Answer({'A', 'x', '0', '0', '1', 0, 0, 0}), Answer({'A', 'x', 0, '0', '0', 0, 0, 0}),
        Answer({'A', 'x', '0', '0', '0', 0, 0, 1}), Answer({'A', 'x', '0', '0', '0', '0', 0, 0}),
    };
    for (const auto& r : dataReplies)
        EXPECT_TRUE(IsDataReply(r.data()));
    // Bytes past the eighth are not looked at.
    auto tail = Answer({'B', 1, '0', '0', '0', 0, 0, 0, 9, 9});
    EXPECT_FALSE(IsDataReply(tail.data()));
}

TEST(ReportProtocol, FramingAndCommandTable)
{
    Report report = MakeCommandReport(Command::WriteNumber, {7});
    EXPECT_EQ(report.size(), 100u);
    EXPECT_EQ(report[0], 0x31);
    EXPECT_EQ(report[1], 'V');
    EXPECT_EQ(report[2], '1');
    EXPECT_EQ(report[3], 7);
    EXPECT_EQ(report[4], 0);
    EXPECT_EQ(CommandOf(report), 0x5631);

    const std::pair<std::uint16_t, std::uint32_t> table[] = {
        {0x6F00, WM_OPENING_REPLY},
        {0x7676, WM_VERSION_REPLY},
        {0x7673, WM_SERIAL_REPLY},
        {0x7631, WM_NUMBER_READ_REPLY},
        {0x5631, WM_NUMBER_WRITE_REPLY},
        {0x5A76, WM_DIAGNOSTICS_HEADER_REPLY},
        {0x5A67, WM_DIAGNOSTICS_DATA_REPLY},
        {0xAA50, WM_TOUCH_POINT},
        {0xAA55, 0u},
        {0x5262, WM_UPDATE_REPLY},
        {0x5263, 0u},
        {0x1234, 0u},
    };
    for (auto [command, message] : table)
        EXPECT_EQ(ReplyMessageFor(MakeCommandReport(command)), message) << std::hex << command;
    Report frame = MakeCommandReport(0x1234);
    frame[0] = kFirmwareReportId;
    EXPECT_EQ(ReplyMessageFor(frame), WM_UPDATE_REPLY);

    int guarded = 0;
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code)
        guarded += IsGuardedCommand(static_cast<std::uint16_t>(code));
    EXPECT_EQ(guarded, 6);
    EXPECT_TRUE(IsGuardedCommand(0x5A67));
    EXPECT_FALSE(IsGuardedCommand(0x6F00));
    EXPECT_TRUE(ExpectsNoAnswer(0xAA55));
    EXPECT_TRUE(ExpectsNoAnswer(0x5263));
    EXPECT_FALSE(ExpectsNoAnswer(0xAA50));
}

TEST(ReportProtocol, DecodingVersionNumberAndCollectedVersion)
{
    auto version = DecodeVersion(Answer({'V', 'v', '2', '.', '1', '0'}).data());
    ASSERT_TRUE(version);
    EXPECT_EQ(*version, (std::array<std::int32_t, 4>{'2', '.', '1', '0'}));
    EXPECT_FALSE(DecodeVersion(Answer({'V', 'v', ' ', '1'}).data()));
    EXPECT_FALSE(DecodeVersion(Answer({'V', 'V', '2', '1'}).data()));

    EXPECT_EQ(DecodeTouchScreenNumber(Answer({'V', '1', 5}).data()), 5);
    EXPECT_EQ(DecodeTouchScreenNumber(Answer({'V', '1', ' '}).data()), 0);
    EXPECT_EQ(DecodeTouchScreenNumber(Answer({'V', '1', 0xFF}).data()), 0);
    EXPECT_EQ(DecodeTouchScreenNumber(Answer({'V', '2', 5}).data()), 0);

    auto collected = DecodeCollectedVersion(Answer({'V', 'v', 1, 2, 3, 4, 5, 6}).data());
    ASSERT_TRUE(collected);
    EXPECT_EQ(*collected, (std::array<std::int32_t, 3>{326, 976, 1626}));
}
