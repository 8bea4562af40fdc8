// Converts every golden case through ConvertFile on the in-memory platform, its clock at
// 9:05 on 16 March 2002, and compares the page byte for byte.
#include <gtest/gtest.h>

#include "engine/convert_file.h"
#include "tests/golden/case_format.h"
#include "tests/golden/embedded_cases.h"
#include "tests/support/fake_platform.h"

namespace morvel::golden {

void PrintTo(const EmbeddedCase& golden, std::ostream* out) { *out << golden.name; }

namespace {

class GoldenTest : public ::testing::TestWithParam<EmbeddedCase> {};

TEST_P(GoldenTest, ConvertsToTheExpectedPage) {
  std::string error;
  const auto golden = ParseCase(GetParam().text, error);
  ASSERT_TRUE(golden) << GetParam().name << ": " << error;

  testing::FakePlatform fake;
  fake.files.AddFolder("C:\\in");
  fake.files.AddFolder("C:\\out");
  fake.files.AddFile("C:\\in\\case.txt", golden->input);
  std::string source = "C:\\in\\case.txt";
  std::string target = "C:\\out\\page.htm";
  EXPECT_EQ(ConvertFile(source, target, golden->options, "FFFFFF", "000000", golden->title,
                        fake.platform),
            ConversionOutcome::Written);
  EXPECT_EQ(fake.files.Contents("C:\\out\\page.htm"), golden->page);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(EmbeddedCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvel::golden
