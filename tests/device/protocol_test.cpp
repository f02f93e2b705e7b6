#include <gtest/gtest.h>

#include "device/protocol.h"

using namespace vexa::protocol;

TEST(Protocol, RunNamesTheChannelsInOrderOnOneLine) {
    EXPECT_EQ(runCommand({"a/x", "b/y"}), "RUN a/x,b/y\n");
    EXPECT_EQ(runCommand({"Torque"}), "RUN Torque\n");
    EXPECT_EQ(runCommand({}), "RUN ");
}
