#include <windows.h>

#include <gtest/gtest.h>

TEST(WineLocale, RunsWithTheJapaneseAnsiCodePage) { EXPECT_EQ(GetACP(), 932u); }
