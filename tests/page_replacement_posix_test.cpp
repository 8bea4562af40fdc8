// Pages replaced on a real POSIX file system: only whole pages take the old one's place, even
// when the process is killed or the disk fills up.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "engine/convert_file.h"
#include "platform/native_platform.h"
#include "platform/replacement_file_posix.h"
#include "tests/support/fake_platform.h"
#include "tests/support/plain_options.h"
#include "tests/support/temp_folder.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

using testing::TempFolder;

// The POSIX path of `name` in `folder` (ASCII names only).
std::string PosixPath(const TempFolder& folder, std::string_view name) {
  std::string path = folder.Path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

TEST(PageReplacement, OnlyACommittedPageTakesThePlace) {
  struct Case {
    const char* name;
    bool oldPage;
    bool commit;
    bool staleTemporary;  // a hidden temporary left by a killed run
  };
  const Case cases[] = {
      {"new page", false, true, false},
      {"replaced page", true, true, true},
      {"abandoned new page", false, false, true},
      {"abandoned replacement", true, false, false},
  };
  for (const auto kind : {TemporaryKind::UnnamedWherePossible, TemporaryKind::Named}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (kind == TemporaryKind::Named ? ", named" : ""));
      TempFolder folder;
      if (c.oldPage) {
        folder.WriteFile("page.htm", "old");
        chmod(PosixPath(folder, "page.htm").c_str(), 0640);
      }
      if (c.staleTemporary) folder.WriteFile(".page.htm.morvel-tmp", "stale");
      {
        auto page = OpenReplacement(PosixPath(folder, "page.htm"), kind);
        ASSERT_TRUE(page);
        ASSERT_TRUE(page->Write("new"));
        EXPECT_EQ(folder.ReadFile("page.htm").value_or(""), c.oldPage ? "old" : "");
        if (c.commit) {
          EXPECT_TRUE(page->Commit());
        }
      }
      const bool present = c.commit || c.oldPage;
      EXPECT_EQ(folder.List(),
                present ? std::vector<std::string>{"page.htm"} : std::vector<std::string>{});
      if (present) {
        EXPECT_EQ(folder.ReadFile("page.htm"), c.commit ? "new" : "old");
      }
      struct stat info {};
      if (c.oldPage && stat(PosixPath(folder, "page.htm").c_str(), &info) == 0) {
        EXPECT_EQ(info.st_mode & 07777, 0640u);
      }
    }
  }
}

TEST(PageReplacement, ALinkedPageIsReplacedWhereTheLinkLeads) {
  TempFolder folder;
  folder.MakeFolder("real");
  folder.WriteFile("real\\page.htm", "old");
  fs::create_symlink("real/page.htm", PosixPath(folder, "page.htm"));
  fs::create_symlink("real/new.htm", PosixPath(folder, "dangling.htm"));
  for (const char* link : {"page.htm", "dangling.htm"}) {
    auto page = OpenReplacement(PosixPath(folder, link));
    ASSERT_TRUE(page);
    ASSERT_TRUE(page->Write("new"));
    ASSERT_TRUE(page->Commit());
    EXPECT_TRUE(fs::is_symlink(PosixPath(folder, link)));
  }
  EXPECT_EQ(folder.ReadFile("real\\page.htm"), "new");
  EXPECT_EQ(folder.ReadFile("real\\new.htm"), "new");
}

TEST(PageReplacement, APictureCopyAppearsWholeAndNeverOverAnotherFile) {
  TempFolder folder;
  auto taken = OpenNewFile(PosixPath(folder, "a.png"));
  ASSERT_TRUE(taken);
  ASSERT_TRUE(taken->Write("copy"));
  folder.WriteFile("a.png", "theirs");  // another program takes the name meanwhile
  EXPECT_FALSE(taken->Commit());
  {
    auto abandoned = OpenNewFile(PosixPath(folder, "b.png"));
    ASSERT_TRUE(abandoned);
    ASSERT_TRUE(abandoned->Write("copy"));
  }
  EXPECT_EQ(folder.ReadFile("a.png"), "theirs");
  EXPECT_EQ(folder.List(), std::vector<std::string>{"a.png"});
}

// Converts `source` over the page `target` (engine paths) in a child process with the given limit
// on file sizes, and returns how the child ended.
int ConvertInChild(const std::string& source, const std::string& target, rlim_t fileSizeLimit) {
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{fileSizeLimit, fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, SIG_DFL);  // the process is killed, not told, when it passes the limit
    auto files = MakeNativeFileSystem();
    testing::ScriptedUser user;
    testing::FixedClock clock;
    Platform platform{*files, user, clock};
    ConversionRequest request = testing::RequestFor(source, target);
    const auto outcome = ConvertFile(request, platform);
    _exit(outcome == ConversionOutcome::Written ? 0 : 3);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

std::string LongText() {
  std::string text;
  while (text.size() < 1'000'000) text += "a line of text & <more>\r\n";
  return text;
}

TEST(PageReplacement, AProcessKilledByAFileSizeLimitLeavesTheOldPage) {
  TempFolder folder;
  folder.WriteFile("in.txt", LongText());
  folder.WriteFile("page.htm", "old page");
  const int status = ConvertInChild(folder.Path("in.txt"), folder.Path("page.htm"), 64 * 1024);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  EXPECT_EQ(folder.ReadFile("page.htm"), "old page");
  EXPECT_EQ(folder.List(), (std::vector<std::string>{"in.txt", "page.htm"}));
}

TEST(PageReplacement, AFullDiskLeavesTheOldPage) {
  TempFolder folder, small;
  if (mount("tmpfs", PosixPath(small, "").c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "no small file system can be mounted here: " << std::strerror(errno);
  }
  folder.WriteFile("in.txt", LongText());
  small.WriteFile("page.htm", "old page");
  const int status = ConvertInChild(folder.Path("in.txt"), small.Path("page.htm"), RLIM_INFINITY);
  EXPECT_EQ(small.ReadFile("page.htm"), "old page");
  EXPECT_EQ(small.List(), std::vector<std::string>{"page.htm"});
  umount(PosixPath(small, "").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
}

}  // namespace
}  // namespace morvel
