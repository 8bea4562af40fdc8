// Pages replaced on a real POSIX file system: only whole pages take the old one's place, even
// when the process is killed or the disk fills up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "engine/morvel.h"
#include "platform/native_platform.h"
#include "platform/posix_io.h"
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

const TemporaryKind BOTH_KINDS[] = {TemporaryKind::UnnamedWherePossible, TemporaryKind::Named};

std::string KindName(TemporaryKind kind) {
  return kind == TemporaryKind::Named ? "named" : "unnamed where possible";
}

// A name of the temporary shape, as a killed run leaves it or another run holds it.
constexpr const char* OTHER_TEMPORARY = ".morvel-0123456789az.tmp";

TEST(PageReplacement, OnlyACommittedPageTakesThePlace) {
  enum Other { NONE, ABANDONED, LIVE };  // another run's temporary file in the folder
  struct Case {
    const char* label;
    bool oldPage;
    bool commit;
    Other other;
    std::string name = "page.htm";
  };
  const std::string longest = std::string(251, 'n') + ".htm";  // 255 bytes, the most allowed
  const Case cases[] = {
      {"new page", false, true, NONE},
      {"replaced page", true, true, ABANDONED},
      {"abandoned new page", false, false, ABANDONED},
      {"abandoned replacement", true, false, LIVE},
      {"replaced page beside a live run", true, true, LIVE},
      {"longest name, new", false, true, NONE, longest},
      {"longest name, replaced", true, true, NONE, longest},
  };
  for (const auto kind : BOTH_KINDS) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.label + (", " + KindName(kind)));
      TempFolder folder;
      if (c.oldPage) {
        folder.WriteFile(c.name, "old");
        chmod(PosixPath(folder, c.name).c_str(), 0640);
        // Where the file system has user attributes, the replacement keeps them.
        setxattr(PosixPath(folder, c.name).c_str(), "user.note", "kept", 4, 0);
      }
      std::vector<std::string> left;  // besides the page
      int other = -1;
      if (c.other != NONE) {
        folder.WriteFile(OTHER_TEMPORARY, "theirs");
        other = open(PosixPath(folder, OTHER_TEMPORARY).c_str(), O_RDONLY | O_CLOEXEC);
        if (c.other == LIVE) {
          ASSERT_EQ(flock(other, LOCK_EX), 0);
          left.push_back(OTHER_TEMPORARY);
        }
      }
      {
        auto page = OpenReplacement(PosixPath(folder, c.name), kind);
        ASSERT_TRUE(page);
        ASSERT_TRUE(page->Write("new"));
        EXPECT_EQ(folder.ReadFile(c.name).value_or(""), c.oldPage ? "old" : "");
        if (c.commit) {
          EXPECT_TRUE(page->Commit());
        }
      }
      if (other >= 0) close(other);
      const bool present = c.commit || c.oldPage;
      if (present) left.push_back(c.name);
      std::sort(left.begin(), left.end());
      EXPECT_EQ(folder.List(), left);
      if (present) {
        EXPECT_EQ(folder.ReadFile(c.name), c.commit ? "new" : "old");
      }
      struct stat info {};
      if (c.oldPage && stat(PosixPath(folder, c.name).c_str(), &info) == 0) {
        EXPECT_EQ(info.st_mode & 07777, 0640u);
        char note[8] = {};
        const bool attributes =
            getxattr(PosixPath(folder, c.name).c_str(), "user.note", note, sizeof note) >= 0 ||
            errno != ENODATA;
        EXPECT_TRUE(attributes) << "user.note lost";
      }
    }
  }
}

// Whatever stands at a temporary name, today's or an earlier version's, that no run created
// as a file of its own is neither followed, nor removed, nor in the way.
TEST(PageReplacement, PlantedNamesNeitherBlockNorAreFollowed) {
  for (const auto kind : BOTH_KINDS) {
    SCOPED_TRACE(KindName(kind));
    TempFolder folder, elsewhere;
    elsewhere.WriteFile("precious", "precious");
    const std::string precious = PosixPath(elsewhere, "precious");
    folder.MakeFolder(".page.htm.morvel-tmp");
    fs::create_symlink(precious, PosixPath(folder, ".other.htm.morvel-tmp"));
    folder.MakeFolder(".morvel-aaaaaaaaaaaa.tmp");
    fs::create_symlink(precious, PosixPath(folder, ".morvel-bbbbbbbbbbbb.tmp"));
    ASSERT_EQ(mkfifo(PosixPath(folder, ".morvel-cccccccccccc.tmp").c_str(), 0600), 0);
    const auto planted = folder.List();
    for (const char* name : {"page.htm", "other.htm", "page.htm"}) {
      auto page = OpenReplacement(PosixPath(folder, name), kind);
      ASSERT_TRUE(page);
      ASSERT_TRUE(page->Write(name));
      EXPECT_TRUE(page->Commit());
      EXPECT_EQ(folder.ReadFile(name), name);
    }
    auto left = folder.List();
    std::erase_if(left, [](const std::string& name) { return name.ends_with(".htm"); });
    EXPECT_EQ(left, planted);
    EXPECT_EQ(elsewhere.ReadFile("precious"), "precious");
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

// One conversion in a process of its own, as the converter runs it: replacing without asking,
// interruptions handled.
struct Child {
  std::string source;  // an engine path, or empty to read `input`
  std::string target;
  TemporaryKind kind = TemporaryKind::UnnamedWherePossible;
  std::string title = "T";
  int input[2] = {-1, -1};  // a pipe whose reading end carries the text
  rlim_t fileSizeLimit = RLIM_INFINITY;
  int othersInput = -1;  // another child's pipe, which this one must not hold open
};

// Starts `c`; the child exits with 0 when the page was written, 3 otherwise.
pid_t Start(const Child& c) {
  const pid_t child = fork();
  if (child != 0) return child;
  const rlimit limit{c.fileSizeLimit, c.fileSizeLimit};
  setrlimit(RLIMIT_FSIZE, &limit);
  RemoveTemporariesWhenInterrupted();
  ReportRefusedWritesAsFailures();
  for (const int fd : {c.input[1], c.othersInput}) {
    if (fd >= 0) close(fd);
  }
  auto files = MakeNativeFileSystem(c.kind);
  testing::ScriptedUser user;
  testing::FixedClock clock;
  Platform platform{*files, user, clock};
  std::unique_ptr<ByteReader> input;
  if (c.input[0] >= 0) input = std::make_unique<DescriptorReader>(c.input[0]);
  ConversionRequest request = testing::RequestFor(c.source, c.target);
  request.title = c.title;
  request.input = input.get();
  const auto outcome = ConvertFile(request, platform);
  _exit(outcome == ConversionOutcome::Written ? 0 : 3);
}

int WaitFor(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

int ConvertInChild(const std::string& source, const std::string& target, rlim_t fileSizeLimit) {
  return WaitFor(
      Start({source, target, TemporaryKind::UnnamedWherePossible, "T", {-1, -1}, fileSizeLimit}));
}

std::string LongText(std::size_t size = 1'000'000) {
  std::string text;
  while (text.size() < size) text += "a line of text & <more>\r\n";
  return text;
}

// Two runs on one page at once, both with their pages open (their text comes through pipes
// that close together), each with a temporary file of its own: both succeed and the page left
// is the whole page of one of them, whether a page was there before or not.
TEST(PageReplacement, TwoRunsAtOnceLeaveTheWholePageOfOne) {
  const std::string text = LongText(40'000);  // less than a pipe holds
  TempFolder expected;
  expected.WriteFile("in.txt", text);
  for (const char* title : {"A", "B"}) {
    ASSERT_EQ(WaitFor(Start({expected.Path("in.txt"), expected.Path(title + std::string(".htm")),
                             TemporaryKind::Named, title})),
              0);
  }
  const std::string pageA = expected.ReadFile("A.htm").value();
  const std::string pageB = expected.ReadFile("B.htm").value();
  for (const auto kind : BOTH_KINDS) {
    TempFolder folder;
    const std::string page = PosixPath(folder, "page.htm");
    for (int pair = 0; pair < 50; ++pair) {
      SCOPED_TRACE(KindName(kind) + ", pair " + std::to_string(pair));
      if (pair % 2 == 0) {
        folder.WriteFile("page.htm", "old");
      } else {
        unlink(page.c_str());
      }
      Child a{{}, folder.Path("page.htm"), kind, "A"}, b{{}, folder.Path("page.htm"), kind, "B"};
      ASSERT_TRUE(pipe(a.input) == 0 && pipe(b.input) == 0);
      a.othersInput = b.input[1];
      b.othersInput = a.input[1];
      const pid_t children[] = {Start(a), Start(b)};
      for (Child* c : {&a, &b}) {
        close(c->input[0]);
        EXPECT_TRUE(WriteAll(c->input[1], text));
      }
      close(a.input[1]);
      close(b.input[1]);
      for (const pid_t child : children) EXPECT_EQ(WaitFor(child), 0);
      const std::string left = folder.ReadFile("page.htm").value_or("");
      EXPECT_TRUE(left == pageA || left == pageB) << left.size() << " bytes";
      ASSERT_EQ(folder.List(), std::vector<std::string>{"page.htm"});
    }
  }
}

// Interrupted half-way, a run removes its temporary file and dies by the signal. A run
// killed outright leaves the named one, which the next conversion into the folder removes.
TEST(PageReplacement, AnInterruptedRunLeavesTheOldPageAndNothingElse) {
  const std::string text = LongText(300'000);
  for (const auto kind : BOTH_KINDS) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
      SCOPED_TRACE(KindName(kind) + ", " + strsignal(signal));
      TempFolder folder;
      folder.WriteFile("page.htm", "old page");
      Child c{{}, folder.Path("page.htm"), kind};
      ASSERT_EQ(pipe(c.input), 0);
      const pid_t child = Start(c);
      close(c.input[0]);
      // The pipe holds far less than the text: once it is all in, the child has written more
      // than one block of its page.
      EXPECT_TRUE(WriteAll(c.input[1], text));
      kill(child, signal);
      close(c.input[1]);
      const int status = WaitFor(child);
      EXPECT_EQ(folder.ReadFile("page.htm"), "old page");
      if (signal == SIGKILL) {
        EXPECT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(folder.List().size(), kind == TemporaryKind::Named ? 2u : 1u);
        folder.WriteFile("in.txt", "x");
        EXPECT_EQ(ConvertInChild(folder.Path("in.txt"), folder.Path("other.htm"), RLIM_INFINITY),
                  0);
        EXPECT_EQ(folder.List(), (std::vector<std::string>{"in.txt", "other.htm", "page.htm"}));
      } else {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.List(), std::vector<std::string>{"page.htm"});
      }
    }
  }
}

// An interruption that comes once the page is in place is held over: the run ends as the success
// it is, unless it goes on to another conversion, which the interruption then stops.
TEST(PageReplacement, AnInterruptionAfterThePageIsInPlaceEndsTheRunAsASuccess) {
  for (const bool another : {false, true}) {
    SCOPED_TRACE(another ? "another conversion follows" : "the last conversion");
    TempFolder folder;
    folder.WriteFile("page.htm", "old page");
    const pid_t child = fork();
    if (child == 0) {
      RemoveTemporariesWhenInterrupted();
      auto page = OpenReplacement(PosixPath(folder, "page.htm"), TemporaryKind::Named);
      if (!page || !page->Write("new page") || !page->Commit()) _exit(3);
      raise(SIGTERM);
      if (another) StopIfInterrupted();
      _exit(0);
    }
    const int status = WaitFor(child);
    EXPECT_EQ(folder.ReadFile("page.htm"), "new page");
    if (another) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
  }
}

// Past the file size limit a write fails like one on a full disk.
TEST(PageReplacement, AFileSizeLimitFailsTheWriteAndLeavesTheOldPage) {
  TempFolder folder;
  folder.WriteFile("in.txt", LongText());
  folder.WriteFile("page.htm", "old page");
  const int status = ConvertInChild(folder.Path("in.txt"), folder.Path("page.htm"), 64 * 1024);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
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
