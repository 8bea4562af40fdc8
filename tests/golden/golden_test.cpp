// Converts every golden case through ConvertFile, on the in-memory platform and on the real
// file system, its clock at 9:05 on 16 March 2002, and compares the page byte for byte; then
// its text in UTF-8, against the oracle's UTF-8 page of that page.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/morvel.h"
#include "platform/native_platform.h"
#include "tests/golden/case_format.h"
#include "tests/golden/embedded_cases.h"
#include "tests/oracle/utf8_page.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_folder.h"
#include "tests/support/written_page.h"

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

// The same text in UTF-8 gives the same page in UTF-8, declared: the code page 932 page
// re-encoded with its META elements (the oracle's Utf8PageOf). Through ConvertFile, and through
// the writer alone cut at every byte, on every scan path.
TEST_P(GoldenTest, ItsTextInUtf8GivesThePageInUtf8) {
  std::string error;
  const auto golden = ParseCase(GetParam().text, error);
  ASSERT_TRUE(golden) << GetParam().name << ": " << error;
  const auto text = oracle::CodePage932ToUtf8(golden->input);
  if (!text) GTEST_SKIP() << "code page 932 cannot spell this text";
  const std::string_view head = std::string_view(*text).substr(0, text->find('\x1A'));
  const auto expected = oracle::Utf8PageOf(golden->page, oracle::HoldsKana(head));
  ASSERT_TRUE(expected);

  testing::FakePlatform fake;
  fake.files.AddFolder("C:\\in");
  fake.files.AddFolder("C:\\out");
  fake.files.AddFile("C:\\in\\case.txt", *text);
  ConversionRequest request;
  request.sourcePath = "C:\\in\\case.txt";
  request.targetPath = "C:\\out\\page.htm";
  request.options = golden->options;
  request.title = *oracle::CodePage932ToUtf8(golden->title);
  request.textEncoding = TextEncodingChoice::Utf8;  // ASCII texts too
  EXPECT_EQ(ConvertFile(request, fake.platform), ConversionOutcome::Written);
  EXPECT_EQ(fake.files.Contents("C:\\out\\page.htm"), *expected);

  // The body alone: what the writer makes of the text as a file holds it (up to a 0x1A).
  const std::string_view input =
      std::string_view(golden->input)
          .substr(0, std::min(golden->input.find('\x1A'), golden->input.size()));
  const auto utf8 = oracle::CodePage932ToUtf8(input);
  ASSERT_TRUE(utf8);
  const auto body =
      oracle::CodePage932ToUtf8(testing::WrittenPage(input, golden->options, ScanPath::Bytes));
  ASSERT_TRUE(body);
  for (const ScanPath scan : testing::ScanPaths()) {
    std::vector<std::size_t> cuts(1);
    for (cuts[0] = 0; cuts[0] <= utf8->size(); ++cuts[0]) {
      if (testing::WrittenPage(*utf8, golden->options, scan, cuts, PageEncoding::Utf8) != *body) {
        ADD_FAILURE() << "scan " << static_cast<int>(scan) << ", cut at " << cuts[0];
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(EmbeddedCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvel::golden
