#include "engine/text_page.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <variant>

#include "engine/kept_source.h"
#include "engine/text_reader.h"
#include "text/code_page_932.h"
#include "text/encoding.h"
#include "text/encoding_classifier.h"
#include "text/kana.h"
#include "text/utf16_to_utf8.h"

namespace morvel {

namespace {

// ---------------------------------------------------------------------------------------------
// Choosing how a text is read

// The first bytes of a text, read to choose how it is read. 64 KiB is standard input's share
// for the choice; a file's decides there too when it can, and is checked on as it is written.
constexpr std::size_t HEAD_SIZE = EncodingClassifier::STANDARD_INPUT_LIMIT;

struct Head {
  std::string bytes;
  bool failed = false;  // a read failed
};

// Reads `size` bytes (fewer at the end of the input), handing them to `classifier` when there
// is one; it decides at the end of the input. The whole head is read even when the classifier
// decides sooner: the page's language is found in it before the page is begun.
Head ReadHead(ByteReader& source, std::size_t size, EncodingClassifier* classifier) {
  Head head;
  head.bytes.resize(size);
  std::size_t filled = 0;
  while (filled < size) {
    const auto count = source.Read(head.bytes.data() + filled, size - filled);
    if (!count) {
      head.failed = true;
      break;
    }
    if (*count == 0) {
      if (classifier) classifier->Finish();
      break;
    }
    if (classifier) classifier->Write(std::string_view(head.bytes.data() + filled, *count));
    filled += *count;
  }
  head.bytes.resize(filled);
  return head;
}

// How a text is read.
struct Reading {
  TextForm form;
  std::size_t markLength = 0;
  // False for a file's likelier encoding while the classifier, reading beside the writing, has
  // not decided: a later byte may overturn it.
  bool settled = true;
};

Reading ForcedReading(TextEncodingChoice choice, std::string_view head) {
  const auto markOf = [head](std::string_view mark) {
    return head.starts_with(mark) ? mark.size() : 0;
  };
  switch (choice) {
    case TextEncodingChoice::Utf8:
      return {{InputEncoding::Utf8, true}, markOf(UTF8_MARK)};
    case TextEncodingChoice::Utf16Le:
      return {{InputEncoding::Utf16Le}, markOf(UTF16LE_MARK)};
    case TextEncodingChoice::Utf16Be:
      return {{InputEncoding::Utf16Be}, markOf(UTF16BE_MARK)};
    case TextEncodingChoice::CodePage932:
    case TextEncodingChoice::Auto:
      break;
  }
  return {{InputEncoding::CodePage932}};
}

// `detected` decided. UTF-8 without a mark is checked as it is written only for standard input,
// which was decided on its first bytes; any other source has been checked whole.
Reading DetectedReading(DetectedEncoding detected, bool standardInput) {
  switch (detected) {
    case DetectedEncoding::Utf8:
      return {{InputEncoding::Utf8, standardInput}};
    case DetectedEncoding::Utf8WithMark:
      return {{InputEncoding::Utf8, true}, UTF8_MARK.size()};
    case DetectedEncoding::Utf16Le:
      return {{InputEncoding::Utf16Le}, UTF16LE_MARK.size()};
    case DetectedEncoding::Utf16Be:
      return {{InputEncoding::Utf16Be}, UTF16BE_MARK.size()};
    case DetectedEncoding::CodePage932:
    case DetectedEncoding::Undecided:
      break;
  }
  return {{InputEncoding::CodePage932}};
}

// The reading that the classifier's latest bytes call for instead of `reading`, which they settle
// when they confirm it; nothing while `reading` stands. Undecided text that has shown a valid
// character of 0x80 or above is likelier UTF-8 than code page 932.
std::optional<Reading> Overturned(Reading& reading, const EncodingClassifier& classifier) {
  const DetectedEncoding detected = classifier.Encoding();
  if (detected == DetectedEncoding::Undecided) {
    if (reading.form.encoding == InputEncoding::CodePage932 && classifier.SawNonAscii()) {
      return Reading{{InputEncoding::Utf8}, 0, false};
    }
    return std::nullopt;
  }
  const Reading found = DetectedReading(detected, false);
  if (found.form.encoding != reading.form.encoding) return found;
  reading.settled = true;
  return std::nullopt;
}

PageEncoding PageEncodingFor(PageEncodingChoice choice, const TextForm& form) {
  switch (choice) {
    case PageEncodingChoice::CodePage932:
      return PageEncoding::CodePage932;
    case PageEncodingChoice::Utf8:
      return PageEncoding::Utf8;
    case PageEncodingChoice::Auto:
      break;
  }
  return form.encoding == InputEncoding::CodePage932 ? PageEncoding::CodePage932
                                                     : PageEncoding::Utf8;
}

// True when `head`, the first bytes of a text after its mark, holds a kana character before the
// text's end.
bool HeadHoldsKana(std::string_view head, InputEncoding encoding) {
  switch (encoding) {
    case InputEncoding::CodePage932:
      CutAtEndOfText(head);
      return HoldsKana(*Cp932ToUtf8(head, Unmapped::ReplacementCharacter));
    case InputEncoding::Utf8:
      CutAtEndOfText(head);
      return HoldsKana(head);
    case InputEncoding::Utf16Le:
    case InputEncoding::Utf16Be: {
      Utf16ToUtf8 converter(encoding == InputEncoding::Utf16Be);
      std::string utf8;
      converter.Write(head, utf8);
      return HoldsKana(utf8);
    }
  }
  return false;
}

// The language the page names (see PageLanguageChoice), found in the text's head.
std::string PageLanguage(const ConversionRequest& request, PageEncoding pageEncoding,
                         InputEncoding encoding, std::string_view head) {
  switch (request.language) {
    case PageLanguageChoice::Named:
      return request.languageTag;
    case PageLanguageChoice::None:
      return {};
    case PageLanguageChoice::Auto:
      break;
  }
  const bool japanese = pageEncoding == PageEncoding::Utf8 && HeadHoldsKana(head, encoding);
  return japanese ? "ja" : "";
}

// ---------------------------------------------------------------------------------------------
// Reading a text

// The bytes read for the choice, from the end of the mark on, then the rest of the source.
class ReplayReader final : public ByteReader {
 public:
  ReplayReader(std::string_view head, ByteReader& rest) : head_(head), rest_(rest) {}
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    if (head_.empty()) return rest_.Read(buffer, capacity);
    const std::size_t count = std::min(capacity, head_.size());
    std::memcpy(buffer, head_.data(), count);
    head_.remove_prefix(count);
    return count;
  }

 private:
  std::string_view head_;
  ByteReader& rest_;
};

// Hands what it reads to a classifier too, when it has one.
class ClassifyingReader final : public ByteReader {
 public:
  ClassifyingReader(ByteReader& source, EncodingClassifier* classifier)
      : source_(source), classifier_(classifier) {}
  std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
    const auto count = source_.Read(buffer, capacity);
    if (classifier_ && count && *count > 0) classifier_->Write(std::string_view(buffer, *count));
    return count;
  }

 private:
  ByteReader& source_;
  EncodingClassifier* classifier_;
};

// ---------------------------------------------------------------------------------------------
// Where each pass reads the text

// Standard input is read once and decided on its first bytes. A file is opened afresh for each
// pass while it is the same regular file, unchanged since it was first opened: a file that
// changed would mix two texts in one page. Any other source (a pipe, a device) gives its bytes
// once, so they are kept while a later pass may need them.
class PassSource {
 public:
  PassSource(const ConversionRequest& request, OpenedFiles& opened, FileSystem& files)
      : request_(request), opened_(opened), files_(files) {
    if (request.input) return;
    version_ = opened.input->Version();
    if (!version_) kept_.emplace(*opened.input, files);
  }

  ByteReader& Current() {
    if (request_.input) return *request_.input;
    return kept_ ? *kept_ : *opened_.input;
  }
  KeptSource* Kept() { return kept_ ? &*kept_ : nullptr; }

  // Goes back to the text's first byte; false when the file can no longer be read as it was.
  bool Rewind() {
    if (kept_) {
      kept_->Rewind();
      return true;
    }
    opened_.input.reset();
    opened_.input = files_.OpenForReading(request_.sourcePath);
    return opened_.input && opened_.input->Version() == version_;
  }

 private:
  const ConversionRequest& request_;
  OpenedFiles& opened_;
  FileSystem& files_;
  std::optional<FileVersion> version_;
  std::optional<KeptSource> kept_;
};

// ---------------------------------------------------------------------------------------------
// One pass over a text

// How a pass ended: the page's problems, or the reading to write the text in afresh, the text
// having turned out to be in another encoding than the one it was written in (the unfinished
// page is then abandoned, never put in place).
using Pass = std::variant<BodyProblems, Reading>;

// The reading a pass writes in, with the head read to choose it. `startAgain`: the text was
// classified whole without writing (its page goes to a stream, which cannot be taken back), and
// the pass starts again in `reading`.
struct Choice {
  Reading reading;
  Head head;
  bool startAgain = false;
};

// Step one: choose the reading. A reading settled by an earlier pass or given by the request is
// taken as it is; otherwise the head is classified, and while it leaves the encoding open the
// likelier one is written (the earlier pass's, or UTF-8 once a valid character of 0x80 or above
// was seen) with the classifier reading on beside the writing.
std::variant<Choice, BodyProblems> ChooseReading(const ConversionRequest& request,
                                                 ByteReader& source, EncodingClassifier& classifier,
                                                 const std::optional<Reading>& planned,
                                                 bool streamed) {
  const bool standardInput = request.input != nullptr;
  const bool classify =
      !(planned && planned->settled) && request.textEncoding == TextEncodingChoice::Auto;
  Choice choice;
  choice.head = ReadHead(source, HEAD_SIZE, classify ? &classifier : nullptr);
  if (choice.head.failed) return BodyProblems{.readFailed = true};
  if (planned && planned->settled) {
    choice.reading = *planned;
  } else if (!classify) {
    choice.reading = ForcedReading(request.textEncoding, choice.head.bytes);
  } else if (classifier.Encoding() != DetectedEncoding::Undecided) {
    choice.reading = DetectedReading(classifier.Encoding(), standardInput);
  } else if (streamed) {
    ClassifyingReader rest(source, &classifier);
    TextReader reader(rest);
    std::string_view block;
    while (classifier.Encoding() == DetectedEncoding::Undecided && reader.Read(block)) continue;
    if (reader.Failed()) return BodyProblems{.readFailed = true};
    choice.reading = DetectedReading(classifier.Finish(), false);
    choice.startAgain = true;
  } else {
    choice.reading = planned.value_or(Reading{
        {classifier.SawNonAscii() ? InputEncoding::Utf8 : InputEncoding::CodePage932}, 0, false});
  }
  return choice;
}

// Step two: write the page in the chosen reading. While the reading is unsettled the classifier
// reads on; a byte that overturns the reading ends the pass with the reading it calls for, and
// one that confirms it settles it (a kept source then keeps no more).
Pass WriteBody(const ConversionRequest& request, Platform& platform, Choice& choice,
               ByteReader& source, EncodingClassifier& classifier, KeptSource* kept,
               ByteWriter& output) {
  Reading& reading = choice.reading;
  const auto settle = [&] {
    if (kept && reading.settled) kept->StopKeeping();
  };
  settle();
  const PageEncoding pageEncoding = PageEncodingFor(request.pageEncoding, reading.form);
  PageWriter page(output);
  const std::string_view head(choice.head.bytes);
  const std::string_view text = head.substr(std::min(reading.markLength, head.size()));
  WritePageHead(page, request.options, request.title, platform.clock, pageEncoding,
                PageLanguage(request, pageEncoding, reading.form.encoding, text));
  ReplayReader replay(text, source);
  const bool utf16 = reading.form.encoding == InputEncoding::Utf16Le ||
                     reading.form.encoding == InputEncoding::Utf16Be;
  TextReader reader(replay, utf16 ? EndOfText::AtStreamEnd : EndOfText::AtByte1A);
  TextInput input(reading.form, pageEncoding, request.options, page);

  // While the reading is unsettled (never UTF-16), the classifier takes the text after the
  // head as the reader hands it on, cut at its end of text already.
  std::size_t headLeft = text.size();
  std::string_view block;
  bool valid = true;
  while (valid && !input.Ended() && reader.Read(block)) {
    const std::size_t fromHead = std::min(headLeft, block.size());
    headLeft -= fromHead;
    if (!reading.settled) {
      if (fromHead < block.size()) classifier.WriteText(block.substr(fromHead));
      if (auto next = Overturned(reading, classifier)) return *next;
      settle();
    }
    valid = input.Write(block);
  }
  BodyProblems problems;
  if (reader.Failed()) {
    input.FinishWithoutCheck();
    problems.readFailed = true;
  } else {
    if (!reading.settled) {
      classifier.Finish();
      if (auto next = Overturned(reading, classifier)) return *next;
    }
    input.Finish();
  }
  problems.invalid = input.Invalid();
  problems.readFailed = problems.readFailed || problems.invalid.line != 0;
  EndPage(page, problems);
  return problems;
}

// A page written to standard output, or to a target that is a pipe or a device.
bool IsStream(const ConversionRequest& request, const ByteWriter& output) {
  return request.output != nullptr || output.IsStream();
}

Pass WritePass(const ConversionRequest& request, Platform& platform, PassSource& source,
               ByteWriter& output, const std::optional<Reading>& planned) {
  EncodingClassifier classifier(request.input ? EncodingClassifier::STANDARD_INPUT_LIMIT
                                              : EncodingClassifier::WHOLE_TEXT);
  auto chosen =
      ChooseReading(request, source.Current(), classifier, planned, IsStream(request, output));
  if (auto* problems = std::get_if<BodyProblems>(&chosen)) return *problems;
  Choice& choice = std::get<Choice>(chosen);
  if (choice.startAgain) return choice.reading;
  return WriteBody(request, platform, choice, source.Current(), classifier, source.Kept(), output);
}

// A text takes at most three passes: code page 932 while it is ASCII, UTF-8 from its first other
// character, code page 932 again at a byte UTF-8 does not allow. (Japanese code page 932 text is
// decided on its first characters, in one pass.)
constexpr int MOST_PASSES = 3;

}  // namespace

BodyProblems WriteTextPage(const ConversionRequest& request, Platform& platform,
                           OpenedFiles& opened) {
  PassSource source(request, opened, platform.files);
  std::optional<Reading> planned;
  for (int pass = 1; pass <= MOST_PASSES; ++pass) {
    ByteWriter& output = request.output ? *request.output : *opened.output;
    Pass result = WritePass(request, platform, source, output, planned);
    if (auto* problems = std::get_if<BodyProblems>(&result)) return *problems;
    planned = std::get<Reading>(result);
    // The abandoned page is removed and a new one begun; a page on a stream is only begun once
    // its text is settled, so it has nothing to take back.
    if (!IsStream(request, output)) {
      opened.output.reset();
      opened.output = platform.files.OpenForWriting(request.targetPath);
      if (!opened.output) return {.targetUnopenable = true};
    }
    if (!source.Rewind()) return {.readFailed = true};
  }
  // Every pass settles more of the encoding than the one before, so this is not reached.
  return {.readFailed = true};
}

}  // namespace morvel
