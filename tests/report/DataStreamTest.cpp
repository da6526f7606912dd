// The report text buffer.
#include "report/TDataStream.h"

#include <gtest/gtest.h>

TEST(DataStreamTest, AddsAtTheEndAndExtractsFromTheFront) {
    TDataStream buffer;
    buffer.Add("<REPORT>");
    buffer.Add("");
    buffer.Add(std::string(5000, 'x')); // past one step of room
    EXPECT_EQ(buffer.Size(), 5008);
    EXPECT_EQ(buffer.Extract(3), "<RE");
    EXPECT_EQ(buffer.Extract(5), "PORT>");
    EXPECT_EQ(buffer.Extract(0), std::string(5000, 'x'));
    EXPECT_EQ(buffer.Size(), 0);

    buffer.Add("abc");
    EXPECT_EQ(buffer.Extract(-1), "abc");
    buffer.Add("abc");
    EXPECT_EQ(buffer.Extract(100), "abc"); // more than there is: all of it
    EXPECT_EQ(buffer.Extract(100), "");
    buffer.Add("abc");
    buffer.Reset();
    EXPECT_EQ(buffer.Size(), 0);
    buffer.Add("d");
    EXPECT_EQ(buffer.View(), "d");
}
