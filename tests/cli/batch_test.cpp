// Runs of the converter over the in-memory file system: exit statuses, the pages of --out-dir
// mode, a failing member among others, and pages that would collide.
#include "cli/batch.h"

#include <gtest/gtest.h>

#include <functional>

#include "cli/host.h"
#include "tests/cli/fake_console.h"
#include "tests/support/fake_platform.h"

namespace morvel::cli {
namespace {

using testing::FakeConsole;
using testing::FakeFileSystem;
using testing::FixedClock;

Batch SingleJob(std::string source, std::string target) {
  Batch batch;
  batch.jobs.push_back({source, std::move(source), std::move(target)});
  return batch;
}

Batch ManyJobs(std::string outDir, std::vector<std::string> sources) {
  Batch batch;
  batch.outDir = std::move(outDir);
  for (auto& source : sources) batch.jobs.push_back({source, source, {}});
  return batch;
}

class ConverterRun : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFolder("C:\\in");
    files.AddFolder("C:\\out");
    files.AddFile("C:\\in\\a.txt", "a\r\n");
    files.AddFile("C:\\in\\b.txt", "b\r\n");
  }
  int Run(Batch batch) { return RunBatch(batch, files, clock, console); }

  FakeFileSystem files;
  FixedClock clock;
  FakeConsole console;
};

TEST_F(ConverterRun, ExitStatusFollowsTheOutcome) {
  struct Case {
    std::string name;
    std::string target;
    std::function<void(FakeFileSystem&)> setUp;
    int status;
  };
  const std::vector<Case> cases = {
      {"written", "C:\\out\\a.htm", nullptr, EXIT_WRITTEN},
      {"refused by a check", "C:\\nowhere\\a.htm", nullptr, EXIT_REFUSED},
      {"overwrite cancelled", "C:\\out\\a.htm",
       [](FakeFileSystem& files) { files.AddFile("C:\\out\\a.htm", "mine"); }, EXIT_REFUSED},
      {"write failure", "C:\\out\\a.htm",
       [](FakeFileSystem& files) { files.FailWritesTo("C:\\out\\a.htm", 10); }, EXIT_FAILED},
      {"read failure", "C:\\out\\a.htm",
       [](FakeFileSystem& files) { files.AddFile("C:\\in\\a.txt", "a\r\n").failReadAfter = 1; },
       EXIT_FAILED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    files = FakeFileSystem();
    console = FakeConsole();
    SetUp();
    if (c.setUp) c.setUp(files);
    EXPECT_EQ(Run(SingleJob("C:\\in\\a.txt", c.target)), c.status);
    EXPECT_EQ(console.out.size(), c.status == EXIT_WRITTEN ? 1u : 0u);
    EXPECT_EQ(console.err.empty(), c.status == EXIT_WRITTEN);
    if (c.status == EXIT_WRITTEN) {
      EXPECT_EQ(files.Contents("C:\\out\\a.htm").substr(0, 16), "<!--MORVEL1.3-->");
    }
  }
}

TEST_F(ConverterRun, CancelledOverwriteLeavesTheFileAndForceReplacesIt) {
  files.AddFile("C:\\out\\a.htm", "mine");
  EXPECT_EQ(Run(SingleJob("C:\\in\\a.txt", "C:\\out\\a.htm")), EXIT_REFUSED);
  EXPECT_EQ(files.Contents("C:\\out\\a.htm"), "mine");

  Batch forced = SingleJob("C:\\in\\a.txt", "C:\\out\\a.htm");
  forced.answers.overwrite = true;
  EXPECT_EQ(Run(forced), EXIT_WRITTEN);
  EXPECT_NE(files.Contents("C:\\out\\a.htm"), "mine");
}

TEST_F(ConverterRun, YesWritesThePageUnderTheCorrectedName) {
  Batch batch = SingleJob("C:\\in\\a.txt", "C:\\out\\a.txt");
  batch.answers.fixExtension = true;
  EXPECT_EQ(Run(batch), EXIT_WRITTEN);
  EXPECT_TRUE(files.Find("C:\\out\\a.htm"));
  ASSERT_EQ(console.out.size(), 1u);
  EXPECT_NE(console.out[0].find(DisplayPath("C:\\out\\a.htm")), std::string::npos);
}

TEST_F(ConverterRun, OutDirGoesOnPastAFailingMemberAndSumsUp) {
  files.FailWritesTo("C:\\out\\b.htm", 5);
  files.AddFile("C:\\in\\c", "c\r\n");
  const int status = Run(
      ManyJobs("C:\\out", {"C:\\in\\a.txt", "C:\\in\\missing.txt", "C:\\in\\b.txt", "C:\\in\\c"}));
  EXPECT_EQ(status, EXIT_FAILED);
  EXPECT_TRUE(files.Find("C:\\out\\a.htm"));
  EXPECT_TRUE(files.Find("C:\\out\\c.htm"));
  ASSERT_FALSE(console.err.empty());
  EXPECT_EQ(console.err.back(),
            "morvel-convert: 2 of 4 pages written, 1 refused or cancelled, 1 failed");
  // Each message names the source it is about.
  EXPECT_NE(console.err[0].find("C:\\in\\missing.txt: "), std::string::npos) << console.err[0];
  EXPECT_EQ(console.out.size(), 2u);
}

TEST_F(ConverterRun, OutDirSummaryOnStandardOutputWhenAllIsWell) {
  for (const bool quiet : {false, true}) {
    files = FakeFileSystem();
    console = FakeConsole();
    SetUp();
    Batch batch = ManyJobs("C:\\out", {"C:\\in\\a.txt", "C:\\in\\b.txt"});
    batch.quiet = quiet;
    batch.answers.overwrite = true;
    EXPECT_EQ(Run(batch), EXIT_WRITTEN);
    EXPECT_TRUE(console.err.empty());
    if (quiet) {
      EXPECT_TRUE(console.out.empty());
    } else {
      ASSERT_EQ(console.out.size(), 3u);
      EXPECT_EQ(console.out.back(), "morvel-convert: 2 of 2 pages written");
    }
  }
}

TEST_F(ConverterRun, TwoSourcesOfOneNameNeverReplaceEachOthersPage) {
  files.AddFile("C:\\in\\A.md", "other\r\n");
  Batch batch = ManyJobs("C:\\out", {"C:\\in\\a.txt", "C:\\in\\A.md"});
  batch.answers.overwrite = true;
  EXPECT_EQ(Run(batch), EXIT_REFUSED);
  EXPECT_NE(files.Contents("C:\\out\\a.htm").find("a"), std::string::npos);
  EXPECT_EQ(files.Contents("C:\\out\\a.htm").find("other"), std::string::npos);
  ASSERT_EQ(console.err.size(), 2u);
  EXPECT_NE(console.err[0].find("was written from C:\\in\\a.txt"), std::string::npos)
      << console.err[0];
}

TEST_F(ConverterRun, APageNeverReplacesAListedSource) {
  struct Case {
    std::string name;
    std::string listed;  // the second source, as typed
  };
  const std::vector<Case> cases = {
      {"the same spelling", "C:\\out\\a.htm"},
      {"another spelling of the same file", "C:\\in\\alias.htm"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    files = FakeFileSystem();
    console = FakeConsole();
    SetUp();
    files.AddFile("C:\\out\\a.htm", "mine");
    files.AddAlias("C:\\in\\alias.htm", "C:\\out\\a.htm");
    Batch batch = ManyJobs("C:\\out", {"C:\\in\\a.txt", c.listed});
    batch.answers.overwrite = true;
    EXPECT_EQ(Run(batch), EXIT_REFUSED);
    EXPECT_EQ(files.Contents("C:\\out\\a.htm"), "mine");
    ASSERT_FALSE(console.err.empty());
    EXPECT_NE(console.err[0].find("C:\\in\\a.txt: "), std::string::npos) << console.err[0];
    EXPECT_NE(console.err[0].find("would replace " + c.listed), std::string::npos)
        << console.err[0];
  }
}

TEST_F(ConverterRun, OutDirPictureIsCopiedBesideItsPage) {
  files.AddFile("C:\\in\\cat.png", "PNG");
  EXPECT_EQ(Run(ManyJobs("C:\\out", {"C:\\in\\cat.png"})), EXIT_WRITTEN);
  EXPECT_EQ(files.Contents("C:\\out\\cat.png"), "PNG");
  EXPECT_NE(files.Contents("C:\\out\\cat.htm").find("cat.png"), std::string::npos);
}

TEST(PagePathFor, NameWithoutExtensionPlusHtmInTheFolder) {
  FakeFileSystem files;
  files.AddFolder("C:\\in");
  files.AddFile("C:\\in\\Notes.TXT");
  struct Case {
    std::string source, outDir, page;
  };
  const std::vector<Case> cases = {
      {"C:\\in\\a.txt", "C:\\out", "C:\\out\\a.htm"},
      {"C:\\in\\a.b.txt", "C:\\out", "C:\\out\\a.b.htm"},
      {"C:\\in\\readme", "C:\\out", "C:\\out\\readme.htm"},
      {"C:\\in.d\\readme", "C:\\out", "C:\\out\\readme.htm"},
      {"C:\\in\\a.txt", "C:\\", "C:\\a.htm"},
      {"C:\\in\\表.txt", "C:\\out", "C:\\out\\表.htm"},
      // The trail byte of 表 is 0x5C: the folder does not end in a separator.
      {"C:\\in\\a.txt", "C:\\表", "C:\\表\\a.htm"},
      {"C:\\in\\n*.txt", "C:\\out", "C:\\out\\Notes.htm"},
      {"C:\\in\\x*.txt", "C:\\out", "C:\\out\\x*.htm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PagePathFor(c.source, c.outDir, files), c.page) << c.source << " in " << c.outDir;
  }
}

}  // namespace
}  // namespace morvel::cli
