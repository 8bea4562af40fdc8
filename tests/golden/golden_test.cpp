// Converts every golden case through ConvertFile, on the in-memory platform and on the real
// file system, its clock at 9:05 on 16 March 2002, and compares the page byte for byte.
#include <gtest/gtest.h>

#include "engine/convert_file.h"
#include "platform/native_platform.h"
#include "tests/golden/case_format.h"
#include "tests/golden/embedded_cases.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_folder.h"

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
  ConversionRequest request;
  request.sourcePath = "C:\\in\\case.txt";
  request.targetPath = "C:\\out\\page.htm";
  request.options = golden->options;
  request.title = golden->title;
  EXPECT_EQ(ConvertFile(request, fake.platform), ConversionOutcome::Written);
  EXPECT_EQ(fake.files.Contents("C:\\out\\page.htm"), golden->page);
}

// The same case through the build's own file system (POSIX natively, Win32 under Wine): real
// files in a temporary folder, read and written by the platform layer.
TEST_P(GoldenTest, ConvertsToTheExpectedPageThroughRealFiles) {
  std::string error;
  const auto golden = ParseCase(GetParam().text, error);
  ASSERT_TRUE(golden) << GetParam().name << ": " << error;

  testing::TempFolder folder;
  folder.WriteFile("case.txt", golden->input);
  const auto files = MakeNativeFileSystem();
  testing::ScriptedUser user;
  testing::FixedClock clock;
  Platform platform{*files, user, clock};
  ConversionRequest request;
  request.sourcePath = folder.Path("case.txt");
  request.targetPath = folder.Path("page.htm");
  request.options = golden->options;
  request.title = golden->title;
  EXPECT_EQ(ConvertFile(request, platform), ConversionOutcome::Written);
  EXPECT_EQ(folder.ReadFile("page.htm"), golden->page);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(EmbeddedCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvel::golden
