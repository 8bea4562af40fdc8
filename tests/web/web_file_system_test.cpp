// The web page's files in memory: the held file is found in its folder only, reads from its
// start at every opening, and what is written joins the downloads only once it is complete.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/web_platform.h"

namespace morvel {
namespace {

std::string ReadAll(ByteReader& reader) {
  std::string text;
  char buffer[3];
  while (const auto count = reader.Read(buffer, sizeof buffer)) {
    if (*count == 0) break;
    text.append(buffer, *count);
  }
  return text;
}

TEST(WebFileSystem, FindsTheHeldFileInItsFolderOnly) {
  WebFileSystem files;
  std::memcpy(files.HoldSource("Note.txt", 4), "text", 4);
  EXPECT_EQ(files.SourcePath(), "source\\Note.txt");
  const struct {
    std::string_view path;
    std::optional<std::string> found;
  } CASES[] = {
      {"source\\Note.txt", "Note.txt"},  {"SOURCE\\note.TXT", "Note.txt"},
      {"source\\*.txt", "Note.txt"},     {"source\\Other.txt", std::nullopt},
      {"pages\\Note.txt", std::nullopt}, {"Note.txt", std::nullopt},
  };
  for (const auto& c : CASES) EXPECT_EQ(files.FindFirst(c.path), c.found) << c.path;
  EXPECT_TRUE(files.IsFolder("source") && files.IsFolder("Pages") && !files.IsFolder("other"));
  EXPECT_TRUE(files.IdentityOf("source\\Note.txt"));
  EXPECT_FALSE(files.IdentityOf("pages\\Note.htm"));

  // Every opening reads the text again from its start, in the same version.
  for (int opening = 0; opening < 2; ++opening) {
    const auto reader = files.OpenForReading("source\\Note.txt");
    EXPECT_EQ(ReadAll(*reader), "text");
    EXPECT_EQ(reader->Version(), (FileVersion{*files.IdentityOf("source\\Note.txt"), 4, 0}));
  }
  files.HoldUnreadableSource("Gone.txt");
  EXPECT_EQ(files.FindFirst("source\\Gone.txt"), "Gone.txt");
  EXPECT_FALSE(files.OpenForReading("source\\Gone.txt"));
}

TEST(WebFileSystem, KeepsWhatIsWrittenOnlyOnceItIsComplete) {
  WebFileSystem files;
  std::memcpy(files.HoldSource("photo.png", 3), "PNG", 3);
  EXPECT_FALSE(files.OpenForWriting("source\\photo.htm"));  // only the pages' folder takes files
  files.OpenForWriting("pages\\dropped.htm")->Write("half");
  EXPECT_TRUE(files.Written().empty());

  EXPECT_EQ(files.CopyIfAbsent("source\\photo.png", "pages\\photo.png"), CopyOutcome::Copied);
  EXPECT_EQ(files.CopyIfAbsent("source\\photo.png", "pages\\PHOTO.png"),
            CopyOutcome::DestinationExists);
  auto page = files.OpenForWriting("pages\\photo.htm");
  EXPECT_TRUE(page->Write("<HTML>") && page->Commit());
  ASSERT_EQ(files.Written().size(), 2u);
  EXPECT_EQ(files.Written()[0].name, "photo.png");
  EXPECT_EQ(files.Written()[0].bytes, "PNG");
  EXPECT_EQ(files.Written()[1].bytes, "<HTML>");
  EXPECT_EQ(files.FindFirst("pages\\photo.htm"), "photo.htm");

  files.Clear();
  EXPECT_TRUE(files.Written().empty());
  EXPECT_EQ(files.SourcePath(), "");
}

}  // namespace
}  // namespace morvel
