// Pages replaced on a real POSIX file system: only whole pages take the old one's place, even
// when the process is killed or the disk fills up.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/convert_file.h"
#include "platform/native_platform.h"
#include "platform/replacement_file_posix.h"
#include "tests/support/fake_platform.h"
#include "tests/support/plain_options.h"

namespace morvel {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "morvel-replace-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  std::string operator/(std::string_view name) const { return path + "/" + std::string(name); }
  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream(*this / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string Read(std::string_view name) const {
    std::ifstream in(*this / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> List() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string path;
};

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
      Folder folder;
      if (c.oldPage) {
        folder.Write("page.htm", "old");
        chmod((folder / "page.htm").c_str(), 0640);
      }
      if (c.staleTemporary) folder.Write(".page.htm.morvel-tmp", "stale");
      {
        auto page = OpenReplacement(folder / "page.htm", kind);
        ASSERT_TRUE(page);
        ASSERT_TRUE(page->Write("new"));
        EXPECT_EQ(folder.Read("page.htm"), c.oldPage ? "old" : "");
        if (c.commit) {
          EXPECT_TRUE(page->Commit());
        }
      }
      const bool present = c.commit || c.oldPage;
      EXPECT_EQ(folder.List(),
                present ? std::vector<std::string>{"page.htm"} : std::vector<std::string>{});
      if (present) {
        EXPECT_EQ(folder.Read("page.htm"), c.commit ? "new" : "old");
      }
      struct stat info {};
      if (c.oldPage && stat((folder / "page.htm").c_str(), &info) == 0) {
        EXPECT_EQ(info.st_mode & 07777, 0640u);
      }
    }
  }
}

TEST(PageReplacement, ALinkedPageIsReplacedWhereTheLinkLeads) {
  Folder folder;
  fs::create_directory(folder / "real");
  folder.Write("real/page.htm", "old");
  fs::create_symlink("real/page.htm", folder / "page.htm");
  fs::create_symlink("real/new.htm", folder / "dangling.htm");
  for (const char* link : {"page.htm", "dangling.htm"}) {
    auto page = OpenReplacement(folder / link);
    ASSERT_TRUE(page);
    ASSERT_TRUE(page->Write("new"));
    ASSERT_TRUE(page->Commit());
    EXPECT_TRUE(fs::is_symlink(folder / link));
  }
  EXPECT_EQ(folder.Read("real/page.htm"), "new");
  EXPECT_EQ(folder.Read("real/new.htm"), "new");
}

TEST(PageReplacement, APictureCopyAppearsWholeAndNeverOverAnotherFile) {
  Folder folder;
  auto taken = OpenNewFile(folder / "a.png");
  ASSERT_TRUE(taken);
  ASSERT_TRUE(taken->Write("copy"));
  folder.Write("a.png", "theirs");  // another program takes the name meanwhile
  EXPECT_FALSE(taken->Commit());
  {
    auto abandoned = OpenNewFile(folder / "b.png");
    ASSERT_TRUE(abandoned);
    ASSERT_TRUE(abandoned->Write("copy"));
  }
  EXPECT_EQ(folder.Read("a.png"), "theirs");
  EXPECT_EQ(folder.List(), std::vector<std::string>{"a.png"});
}

// Converts `source` over the page `target` in a child process with the given limit on file
// sizes, and returns how the child ended.
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
    // Engine paths: "\\" between folders.
    std::string from = source, to = target;
    std::replace(from.begin(), from.end(), '/', '\\');
    std::replace(to.begin(), to.end(), '/', '\\');
    const auto outcome =
        ConvertFile(from, to, testing::PlainOptions(), "FFFFFF", "000000", "T", platform);
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
  Folder folder;
  folder.Write("in.txt", LongText());
  folder.Write("page.htm", "old page");
  const int status = ConvertInChild(folder / "in.txt", folder / "page.htm", 64 * 1024);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  EXPECT_EQ(folder.Read("page.htm"), "old page");
  EXPECT_EQ(folder.List(), (std::vector<std::string>{"in.txt", "page.htm"}));
}

TEST(PageReplacement, AFullDiskLeavesTheOldPage) {
  Folder folder, small;
  if (mount("tmpfs", small.path.c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "no small file system can be mounted here: " << std::strerror(errno);
  }
  folder.Write("in.txt", LongText());
  small.Write("page.htm", "old page");
  const int status = ConvertInChild(folder / "in.txt", small / "page.htm", RLIM_INFINITY);
  EXPECT_EQ(small.Read("page.htm"), "old page");
  EXPECT_EQ(small.List(), std::vector<std::string>{"page.htm"});
  umount(small.path.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
}

}  // namespace
}  // namespace morvel
