#include "engine/text_page.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <variant>

#include "engine/kept_source.h"
#include "engine/text_reader.h"
#include "text/encoding_classifier.h"

namespace morvel {

namespace {

// ---------------------------------------------------------------------------------------------
// Choosing how a text is read

// The first bytes of a text, read to choose how it is read. 64 KiB is standard input's share
// for the choice; a file's decides there too when it can, and is checked on as it is written.
constexpr std::size_t HEAD_SIZE = EncodingClassifier::STANDARD_INPUT_LIMIT;
constexpr std::size_t LONGEST_MARK = 3;

constexpr std::string_view UTF8_MARK = "\xEF\xBB\xBF";
constexpr std::string_view UTF16LE_MARK = "\xFF\xFE";
constexpr std::string_view UTF16BE_MARK = "\xFE\xFF";

struct Head {
  std::string bytes;
  bool failed = false;  // a read failed
};

// Reads up to `size` bytes (fewer at the end of the input), handing them to `classifier` when
// there is one, and stopping once it has decided; it decides at the end of the input.
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
    if (classifier && classifier->Encoding() != DetectedEncoding::Undecided) break;
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

// One attempt at a text page: its problems, or the reading to start again with when the text
// turned out to be in another encoding than the one it was being written in. The page is then
// unfinished; it is abandoned.
using Attempt = std::variant<BodyProblems, Reading>;

// `kept`: the source when it is a kept one, told when its bytes will not be needed again.
Attempt WriteTextAttempt(const ConversionRequest& request, Platform& platform, ByteReader& source,
                         KeptSource* kept, ByteWriter& output, std::optional<Reading> known,
                         std::optional<Reading> likelier) {
  const bool standardInput = request.input != nullptr;
  EncodingClassifier classifier(standardInput ? EncodingClassifier::STANDARD_INPUT_LIMIT
                                              : EncodingClassifier::WHOLE_TEXT);
  Head head;
  Reading reading;
  if (known) {
    head = ReadHead(source, known->markLength, nullptr);
    reading = *known;
  } else if (request.textEncoding != TextEncodingChoice::Auto) {
    head = ReadHead(source, LONGEST_MARK, nullptr);
    reading = ForcedReading(request.textEncoding, head.bytes);
  } else {
    head = ReadHead(source, HEAD_SIZE, &classifier);
    if (classifier.Encoding() != DetectedEncoding::Undecided) {
      reading = DetectedReading(classifier.Encoding(), standardInput);
    } else if (request.output) {
      // A page on a stream cannot be taken back: the file is classified whole first.
      ClassifyingReader rest(source, &classifier);
      TextReader reader(rest);
      std::string_view block;
      while (classifier.Encoding() == DetectedEncoding::Undecided && reader.Read(block)) continue;
      if (reader.Failed()) return BodyProblems{.readFailed = true};
      return DetectedReading(classifier.Finish(), false);
    } else {
      reading = likelier.value_or(Reading{
          {classifier.SawNonAscii() ? InputEncoding::Utf8 : InputEncoding::CodePage932}, 0, false});
    }
  }
  if (head.failed) return BodyProblems{.readFailed = true};
  if (kept && reading.settled) kept->StopKeeping();

  const PageEncoding pageEncoding = PageEncodingFor(request.pageEncoding, reading.form);
  PageWriter page(output);
  WritePageHead(page, request.options, request.title, platform.clock, pageEncoding);
  ClassifyingReader rest(source, reading.settled ? nullptr : &classifier);
  ReplayReader replay(
      std::string_view(head.bytes).substr(std::min(reading.markLength, head.bytes.size())), rest);
  const bool utf16 = reading.form.encoding == InputEncoding::Utf16Le ||
                     reading.form.encoding == InputEncoding::Utf16Be;
  TextReader reader(replay, utf16 ? EndOfText::AtStreamEnd : EndOfText::AtByte1A);
  TextInput input(reading.form, pageEncoding, request.options, page);

  std::string_view block;
  bool valid = true;
  while (valid && !input.Ended() && reader.Read(block)) {
    if (!reading.settled) {
      if (auto next = Overturned(reading, classifier)) return *next;
      if (kept && reading.settled) kept->StopKeeping();
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

}  // namespace

// A text goes round at most three times (code page 932 while it is ASCII,
// UTF-8 from its first other character, code page 932 again at a byte UTF-8 does not allow);
// Japanese code page 932 text is decided on its first characters.
BodyProblems WriteTextPage(const ConversionRequest& request, Platform& platform,
                           OpenedFiles& opened) {
  // A file is read again from the disk only while it is the same regular file, unchanged since
  // it was first opened: a file that changed would mix two texts in one page. Any other source
  // (a pipe, a device) gives its bytes once, so they are kept while a restart may need them.
  const std::optional<FileVersion> version = request.input ? std::nullopt : opened.input->Version();
  std::optional<KeptSource> kept;
  if (!request.input && !version) kept.emplace(*opened.input, platform.files);
  std::optional<Reading> known;
  std::optional<Reading> likelier;
  for (;;) {
    ByteReader& source = request.input ? *request.input : kept ? *kept : *opened.input;
    ByteWriter& output = request.output ? *request.output : *opened.output;
    Attempt attempt = WriteTextAttempt(request, platform, source, kept ? &*kept : nullptr, output,
                                       known, likelier);
    if (auto* problems = std::get_if<BodyProblems>(&attempt)) return *problems;
    const Reading next = std::get<Reading>(attempt);
    (next.settled ? known : likelier) = next;
    // Only a file starts again (standard input is decided on its first bytes), and a page on a
    // stream is only started once its file is decided.
    if (!request.output) {
      opened.output.reset();
      opened.output = platform.files.OpenForWriting(request.targetPath);
      if (!opened.output) return {.targetUnopenable = true};
    }
    if (kept) {
      kept->Rewind();
      continue;
    }
    opened.input.reset();
    opened.input = platform.files.OpenForReading(request.sourcePath);
    if (!opened.input || opened.input->Version() != version) return {.readFailed = true};
  }
}

}  // namespace morvel
