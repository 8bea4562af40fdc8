#include <gtest/gtest.h>
#include <windows.h>

TEST(WineLocale, RunsWithTheJapaneseAnsiCodePage) { EXPECT_EQ(GetACP(), 932u); }
