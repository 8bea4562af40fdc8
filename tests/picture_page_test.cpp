// Picture inputs: the extension test, the copy beside the page, and the picture page.
#include "engine/picture_page.h"

#include <gtest/gtest.h>

#include "engine/morvel.h"
#include "tests/support/fake_platform.h"
#include "tests/support/plain_options.h"

namespace morvel {
namespace {

using testing::ANSWER_OK;
using testing::ASK;
using testing::FakePlatform;
using testing::INFORM;
using testing::ShownMessage;
using testing::WARN;

const std::string HEAD =
    "<!--MORVEL1.3-->\r\n<HTML><HEAD><TITLE>T</TITLE></HEAD>\r\n"
    "<BODY bgcolor=\"FFFFFF\" text=\"000000\">\r\n";
const std::string STAMP_BOX =
    "<TABLE border=\"1\" align=\"right\">\r\n<TR><TD>\r\n"
    "<SPAN style=\"font-size:10px\">更新日　2002年　3月16日　9時5分</SPAN>\r\n"
    "</TD></TR>\r\n</TABLE>\r\n<BR>";
const std::string FOOTER = "\r\n</BODY>\r\n</HTML>";
const ShownMessage COPY_FAILED{"画像ファイルをコピーできませんでした。", "MORVEL", WARN};
const ShownMessage WRITE_FAILED{"ファイルの書き込みに失敗しました。", "MORVEL", WARN};
const ShownMessage OVERWRITE{"このファイルはすでに存在しています。\n上書きしてもよろしいですか？",
                             "上書き", ASK};

ShownMessage Completed(const std::string& target) {
  return {target + "が作成できました。", "完了", INFORM};
}

std::string PicturePage(const std::string& name, const std::string& border) {
  return HEAD + "<BR>\r\n<CENTER><IMG src=\"" + name + "\" border=\"" + border + "\"></CENTER>" +
         FOOTER;
}

TEST(PictureExtension, MatchesKnownPrefixesInAnyCase) {
  struct Case {
    std::string_view extension;
    bool picture;
  };
  const Case cases[] = {
      {"jpg", true},   {"JPG", true},  {"jpeg", true}, {"Png", true},   {"gif", true},
      {"bmp", true},   {"dib", true},  {"rle", true},  {"jpgx", true},  {"bmp2", true},
      {"pngs", true},  {"JPEG", true}, {"jp", false},  {"jpe", false},  {"tif", false},
      {"tiff", false}, {"txt", false}, {"", false},    {"xjpg", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPictureExtension(c.extension), c.picture) << c.extension;
}

TEST(PictureDestination, PutsThePictureNameInTheTargetFolder) {
  struct Case {
    std::string_view source, target, destination;
  };
  const Case cases[] = {
      {"C:\\pics\\cat.png", "C:\\web\\cat.htm", "C:\\web\\cat.png"},
      {"C:\\pics\\\x95\x5C\x8E\x86.png", "C:\\web\\a.htm",
       "C:\\web\\\x95\x5C\x8E\x86.png"},                                      // 表紙
      {"C:\\pics\\cat.png", "C:\\\x95\x5C\\a.htm", "C:\\\x95\x5C\\cat.png"},  // folder 表
  };
  for (const auto& c : cases) EXPECT_EQ(PictureDestination(c.source, c.target), c.destination);
}

class PicturePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.files.AddFolder("C:\\pics");
    fake.files.AddFolder("C:\\web");
    fake.files.AddFile("C:\\pics\\cat.png", "PNG-BYTES");
    options.stampEnabled = false;
    options.imageBorder = 2;
  }
  ConversionOutcome Convert(std::string source, std::string target) {
    ConversionRequest request = testing::RequestFor(std::move(source), std::move(target), options);
    return ConvertFile(request, fake.platform);
  }

  FakePlatform fake;
  ConversionOptions options;
};

TEST_F(PicturePageTest, CopiesThePictureAndShowsIt) {
  EXPECT_EQ(Convert("C:\\pics\\cat.png", "C:\\web\\cat.htm"), ConversionOutcome::Written);
  EXPECT_EQ(fake.files.Contents("C:\\web\\cat.htm"), PicturePage("cat.png", "2"));
  EXPECT_EQ(fake.files.Contents("C:\\web\\cat.png"), "PNG-BYTES");
  EXPECT_EQ(fake.user.shown, std::vector{Completed("C:\\web\\cat.htm")});
}

TEST_F(PicturePageTest, PutsTheUpdateBoxBeforeThePicture) {
  options.stampEnabled = true;
  Convert("C:\\pics\\cat.png", "C:\\web\\cat.htm");
  EXPECT_EQ(
      fake.files.Contents("C:\\web\\cat.htm"),
      HEAD + STAMP_BOX + "<BR>\r\n<CENTER><IMG src=\"cat.png\" border=\"2\"></CENTER>" + FOOTER);
}

TEST_F(PicturePageTest, WritesTheBorderAsASignedNumber) {
  struct Case {
    std::uint32_t border;
    std::string text;
  };
  const Case cases[] = {
      {0, "0"}, {4294967291u, "-5"}, {2147483648u, "-2147483648"}, {2147483647, "2147483647"}};
  for (const auto& c : cases) {
    options.imageBorder = c.border;
    fake.user.Answer(ANSWER_OK);  // overwrite the previous page
    Convert("C:\\pics\\cat.png", "C:\\web\\cat.htm");
    EXPECT_EQ(fake.files.Contents("C:\\web\\cat.htm"), PicturePage("cat.png", c.text));
  }
}

TEST_F(PicturePageTest, WritesTheNameUnescaped) {
  fake.files.AddFile("C:\\pics\\my cat&\x95\x5C.JPG", "JPEG");
  Convert("C:\\pics\\my cat&\x95\x5C.JPG", "C:\\web\\p.htm");
  EXPECT_EQ(fake.files.Contents("C:\\web\\p.htm"), PicturePage("my cat&\x95\x5C.JPG", "2"));
  EXPECT_EQ(fake.files.Contents("C:\\web\\my cat&\x95\x5C.JPG"), "JPEG");
}

// A picture's page is code page 932 unless a UTF-8 page is asked for; then its head declares
// it and the picture's name is UTF-8 too.
TEST_F(PicturePageTest, WritesAUtf8PageOnlyWhenAskedTo) {
  fake.files.AddFile("C:\\pics\\\x95\x5C.png", "PNG");  // 表.png
  std::string utf8Page = PicturePage("\xE8\xA1\xA8.png", "2");
  utf8Page.insert(utf8Page.find("<TITLE>"),
                  "<META charset=\"UTF-8\"><META name=\"viewport\" "
                  "content=\"width=device-width, initial-scale=1\">");
  const std::pair<PageEncodingChoice, std::string> cases[] = {
      {PageEncodingChoice::Auto, PicturePage("\x95\x5C.png", "2")},
      {PageEncodingChoice::CodePage932, PicturePage("\x95\x5C.png", "2")},
      {PageEncodingChoice::Utf8, utf8Page}};
  for (const auto& [encoding, page] : cases) {
    ConversionRequest request =
        testing::RequestFor("C:\\pics\\\x95\x5C.png", "C:\\web\\p.htm", options);
    request.pageEncoding = encoding;
    request.answers.overwrite = true;
    EXPECT_EQ(ConvertFile(request, fake.platform), ConversionOutcome::Written);
    EXPECT_EQ(fake.files.Contents("C:\\web\\p.htm"), page);
  }
}

TEST_F(PicturePageTest, NeverOverwritesAFileOfThePicturesName) {
  fake.files.AddFile("C:\\web\\cat.png", "ALREADY-HERE");
  EXPECT_EQ(Convert("C:\\pics\\cat.png", "C:\\web\\cat.htm"), ConversionOutcome::Written);
  EXPECT_EQ(fake.files.Contents("C:\\web\\cat.png"), "ALREADY-HERE");
  EXPECT_EQ(fake.user.shown, std::vector{Completed("C:\\web\\cat.htm")});
}

TEST_F(PicturePageTest, ShowsThePictureInPlaceWhenThePageGoesBesideIt) {
  EXPECT_EQ(Convert("C:\\pics\\cat.png", "C:\\pics\\cat.htm"), ConversionOutcome::Written);
  EXPECT_EQ(fake.files.Contents("C:\\pics\\cat.png"), "PNG-BYTES");
  EXPECT_EQ(fake.files.Contents("C:\\pics\\cat.htm"), PicturePage("cat.png", "2"));
}

TEST_F(PicturePageTest, UsesTheStoredNameOfAWildcardMatch) {
  fake.files.AddFile("C:\\pics\\Dog.GIF", "GIF");
  Convert("C:\\pics\\*.gif", "C:\\web\\dog.htm");
  EXPECT_EQ(fake.files.Contents("C:\\web\\dog.htm"), PicturePage("Dog.GIF", "2"));
  EXPECT_EQ(fake.files.Contents("C:\\web\\Dog.GIF"), "GIF");
}

TEST_F(PicturePageTest, TreatsOtherExtensionsAndNoExtensionAsText) {
  for (const char* name : {"photo.jpe", "photo.tiff", "photo", "photo."}) {
    fake.files.AddFile(std::string("C:\\pics\\") + name, "text\r\n");
    const std::string target = std::string("C:\\web\\") + name + "x.htm";
    Convert(std::string("C:\\pics\\") + name, target);
    // A text page with the default "<BR>&<P>" tags: a line end, then the line without its own.
    EXPECT_EQ(fake.files.Contents(target), HEAD + "\r\ntext" + FOOTER) << name;
  }
}

TEST_F(PicturePageTest, ClosesThePageBeforeTheCompletionAppears) {
  std::string onDiskWhileShown;
  fake.user.whileShown = [&](const ShownMessage&) {
    onDiskWhileShown = fake.files.Contents("C:\\web\\cat.htm");
  };
  Convert("C:\\pics\\cat.png", "C:\\web\\cat.htm");
  EXPECT_EQ(onDiskWhileShown, PicturePage("cat.png", "2"));
}

// A page that would show a picture which is not there is not written: the page the user
// agreed to replace stays, and so it does when the page itself cannot be written.
TEST_F(PicturePageTest, KeepsTheOldPageWhenTheCopyOrAWriteFails) {
  struct Case {
    const char* name;
    bool copyFails;
    std::optional<std::size_t> failWriteAfter;
    bool failClose;
    ShownMessage expected;
  };
  const Case cases[] = {
      {"copy fails", true, std::nullopt, false, COPY_FAILED},
      {"write fails", false, 10, false, WRITE_FAILED},
      {"close fails", false, SIZE_MAX, true, WRITE_FAILED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform here;
    here.files.AddFolder("C:\\pics");
    here.files.AddFolder("C:\\web");
    here.files.AddFile("C:\\pics\\cat.png", "PNG");
    here.files.AddFile("C:\\web\\cat.htm", "old page");
    if (c.copyFails) here.files.failCopyTo = "C:\\web\\cat.png";
    if (c.failWriteAfter)
      here.files.FailWritesTo("C:\\web\\cat.htm", *c.failWriteAfter, c.failClose);
    ConversionRequest request =
        testing::RequestFor("C:\\pics\\cat.png", "C:\\web\\cat.htm", ConversionOptions{});
    EXPECT_EQ(ConvertFile(request, here.platform), ConversionOutcome::Failed);
    EXPECT_EQ(here.user.shown, (std::vector{OVERWRITE, c.expected}));
    EXPECT_EQ(here.files.Contents("C:\\web\\cat.htm"), "old page");
    EXPECT_EQ(here.files.PendingWrites(), 0);
  }
}

}  // namespace
}  // namespace morvel
