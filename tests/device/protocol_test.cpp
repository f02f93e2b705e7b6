#include <gtest/gtest.h>

#include "device/protocol.h"

using namespace vexa::protocol;

TEST(Protocol, RunNamesTheChannelsInOrderOnOneLine) {
    EXPECT_EQ(runCommand({"a/x", "b/y"}), "RUN a/x,b/y\n");
    EXPECT_EQ(runCommand({"Torque"}), "RUN Torque\n");
    EXPECT_EQ(runCommand({}), "RUN ");
}

TEST(Protocol, BlockRequestCountsInDecimal) {
    EXPECT_EQ(readBlockCommand(5), "RMB? 5;\n");
    EXPECT_EQ(readBlockCommand(0), "RMB? 0;\n");
    EXPECT_EQ(readBlockCommand(4294967295u), "RMB? 4294967295;\n");
    EXPECT_EQ(recordSize(3) * 5, 160u);
}

TEST(Protocol, StatusRepliesAreJudgedBySizeThenByteThree) {
    EXPECT_EQ(judgeStatusReply({'R', 'U', 'N', '0', ';', '\n'}), StatusReply::Accepted);
    EXPECT_EQ(judgeStatusReply({'?', '?', '?', 'x', '?', '?'}), StatusReply::Accepted);
    EXPECT_EQ(judgeStatusReply({'S', 'T', 'O', '?', ';', '\n'}), StatusReply::Refused);
    EXPECT_EQ(judgeStatusReply({'S', 'T', 'O', '?', ';'}), StatusReply::Malformed);
    EXPECT_EQ(judgeStatusReply({'S', 'T', 'O', '?', ';', '\n', '\n'}), StatusReply::Malformed);
}

TEST(Protocol, LengthsAndCountsAreBigEndianAtBytesFourToSeven) {
    EXPECT_EQ(framedPayloadLength({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x02, 0x03}), 0x00010203u);
    EXPECT_FALSE(framedPayloadLength({0, 0, 0, 0, 0, 0, 0}).has_value());
    EXPECT_EQ(readyRecordCount({0, 0, 0, 0, 0x80, 0, 0, 0x2A, 0, 0}), 0x8000002Au);
    EXPECT_EQ(readyRecordCount({0, 0, 0, 0, 0, 0, 0, 0x2A, 0}), 0u);  // wrong size counts as none
}

TEST(Protocol, RecordFieldsDecodeBigEndian) {
    const std::uint8_t ten[] = {0x41, 0x20, 0x00, 0x00};
    EXPECT_EQ(readBigEndianFloat32(ten), 10.0f);
    const std::uint8_t minusTwo[] = {0xFF, 0xFF, 0xFF, 0xFE};
    EXPECT_EQ(readBigEndianInt32(minusTwo), -2);
    const std::uint8_t halfSecond[] = {0x1D, 0xCD, 0x65, 0x00};
    EXPECT_EQ(readBigEndianInt32(halfSecond), 500000000);
}
