// The one-pass writer of whole runs of lines: most lines are escaped, linked and tagged as
// they are scanned, straight into the page buffer; a line it cannot decide alone goes through
// WriteLine().
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "engine/line_pipeline.h"
#include "text/escape.h"
#include "text/escaped_links.h"
#include "text/line_tags.h"
#include "text/links.h"

namespace morvel {

namespace {

// What the escaping writes for a byte, padded so that it can be copied as a 16-byte block.
struct Replacement {
  std::array<char, 16> bytes{};
  std::size_t length = 0;
};

constexpr Replacement MakeReplacement(std::string_view text) {
  Replacement replacement;
  for (std::size_t i = 0; i < text.size(); ++i) replacement.bytes[i] = text[i];
  replacement.length = text.size();
  return replacement;
}

constexpr std::array<Replacement, 256> MakeReplacements() {
  std::array<Replacement, 256> table{};
  table['&'] = MakeReplacement(AMPERSAND_ENTITY);
  table['"'] = MakeReplacement(QUOTE_ENTITY);
  table['<'] = MakeReplacement(LESS_THAN_ENTITY);
  table['>'] = MakeReplacement(GREATER_THAN_ENTITY);
  table['\t'] = MakeReplacement(TAB_REPLACEMENT);
  return table;
}

constexpr std::array<Replacement, 256> REPLACEMENT = MakeReplacements();

// Page bytes of the tags; the line end of the page is CR LF.
constexpr std::string_view PAGE_LINE_END = "\r\n";
constexpr std::string_view PAGE_BREAK_LINE = "<BR>\r\n";
constexpr std::string_view PAGE_PARAGRAPH_LINE = "<P>\r\n";

// The most that one step of WriteLines() writes besides the bytes it copies: a line end,
// the next line's opening or a replacement padded to 16 bytes, and the COPY_BLOCK bytes a
// run's copy may write past its end.
constexpr std::size_t COPY_BLOCK = 64;
constexpr std::size_t STEP_ROOM = 32 + COPY_BLOCK;
constexpr std::size_t MIN_ROOM = 64 * 1024;

// Copies `length` bytes. Where COPY_BLOCK readable bytes follow them, a short run is copied
// as one block of COPY_BLOCK bytes and a longer one in 16-byte pieces, writing up to
// COPY_BLOCK bytes past the end (the caller has room there): most runs between two
// significant bytes are short, and a fixed-size copy costs no decision.
char* CopyRun(const char* from, std::size_t length, const char* textEnd, char* out) {
  if (static_cast<std::size_t>(textEnd - from) >= length + COPY_BLOCK) {
    std::memcpy(out, from, COPY_BLOCK);
    for (std::size_t done = COPY_BLOCK; done < length; done += 16) {
      std::memcpy(out + done, from + done, 16);
    }
  } else if (length > 0) {
    std::memcpy(out, from, length);
  }
  return out + length;
}

}  // namespace

void LinePipeline::WriteLines(std::string_view text, PageBytes& page) {
  const bool tagged = options_.lineTagsEnabled == 1;
  const bool paragraphs = tagged && options_.lineTagMode != 1;
  const bool escaping = options_.escapeSpecials == 1;
  const bool linking = options_.autoLinkEnabled == 1;
  const char* const data = text.data();
  const char* const textEnd = data + text.size();
  const std::size_t size = text.size();

  // Page bytes go straight into the buffer's free room; `out` is where the next one goes.
  char* out = page.Reserve(MIN_ROOM);
  char* limit = out + MIN_ROOM;
  const auto pageOffset = [&] { return static_cast<std::size_t>(out - page.View().data()); };
  const auto makeRoom = [&](std::size_t count) {
    if (static_cast<std::size_t>(limit - out) >= count) return;
    page.CommitTo(out);
    const std::size_t room = std::max(count, MIN_ROOM);
    out = page.Reserve(room);
    limit = out + room;
  };

  std::size_t copied = 0;      // the text before this is on the page
  std::size_t lineStart = 0;   // the start of the line being written
  std::size_t lineOutput = 0;  // where that line's page bytes begin
  std::size_t linkSearch = 0;  // where the address search of the line stands
  int stateAtLineStart = paragraphState_;

  // In the "<BR>&<P>" mode a line with text opens with what the line before it was, and an
  // empty line is written whole at its end. The opening is written as the line starts, so
  // that its bytes can then be copied as they come.
  const auto startLine = [&](std::size_t start) {
    copied = lineStart = linkSearch = start;
    lineOutput = pageOffset();
    if (!paragraphs || start == size) return;
    const bool empty =
        data[start] == '\n' || (data[start] == '\r' && start + 1 < size && data[start + 1] == '\n');
    if (empty) return;
    stateAtLineStart = paragraphState_;
    out = PutBytes(out, paragraphState_ == PARAGRAPH_AFTER_TEXT ? PAGE_BREAK_LINE : PAGE_LINE_END);
    paragraphState_ = PARAGRAPH_AFTER_TEXT;
  };

  // Deals with the significant byte at `at` (`at` == size: the end of the text) and the
  // bytes before it. True when it went on past `at`, to `copied`: the scan resumes there.
  const auto step = [&](std::size_t at) __attribute__((always_inline)) {
    makeRoom(at - copied + STEP_ROOM);
    if (at == size) {  // the last line of the input, without an end
      out = CopyRun(data + copied, at - copied, textEnd, out);
      return false;
    }
    const char byte = data[at];

    if (linking && byte == 'h') {
      const bool prefix = size - at >= LINK_PREFIX.size() &&
                          std::memcmp(data + at, LINK_PREFIX.data(), LINK_PREFIX.size()) == 0;
      if (!prefix) return false;  // an ordinary byte, copied with the run it stands in
      if (escaping && StartsAddressAlone(data, linkSearch, at)) {
        out = CopyRun(data + copied, at - copied, textEnd, out);
        const std::size_t end = at + EscapedAddressLength(text.substr(at));
        makeRoom(2 * MAX_ESCAPED_GROWTH * (end - at) + STEP_ROOM);
        out = WriteEscapedLink(text.substr(at, end - at), out);
        // The search resumes at the byte that ended the address; any "http://" inside the
        // address belongs to its anchor.
        copied = linkSearch = end;
        return true;
      }
      // A line that may hold an address goes through the full per-line transforms instead:
      // what was written of it is taken back, and it starts again in the state it began in.
      if (paragraphs) paragraphState_ = stateAtLineStart;
      page.Truncate(lineOutput);
      const std::size_t next = WriteLineAt(text, lineStart, at, page);
      out = page.Reserve(MIN_ROOM);
      limit = out + MIN_ROOM;
      startLine(next);
      return true;
    }

    out = CopyRun(data + copied, at - copied, textEnd, out);
    if (byte == '\n') {
      // CR LF is one line end: the CR just copied is taken back.
      if (at > lineStart && data[at - 1] == '\r') --out;
      if (!tagged) {
        out = PutBytes(out, PAGE_LINE_END);
      } else if (!paragraphs) {
        out = PutBytes(out, PAGE_BREAK_LINE);
      } else if (at == lineStart || (at == lineStart + 1 && data[lineStart] == '\r')) {
        out = PutBytes(
            out, paragraphState_ == PARAGRAPH_AFTER_TEXT ? PAGE_PARAGRAPH_LINE : PAGE_BREAK_LINE);
        paragraphState_ = PARAGRAPH_AFTER_BREAK;
      }
      startLine(at + 1);
    } else {
      const Replacement& replacement = REPLACEMENT[static_cast<unsigned char>(byte)];
      std::memcpy(out, replacement.bytes.data(), replacement.bytes.size());
      out += replacement.length;
      copied = at + 1;
    }
    return false;
  };

  startLine(0);
  // Whole blocks first, while a run's block copy stays inside the text.
  std::size_t block = 0;
  while (block + SignificantBytes::BLOCK + COPY_BLOCK <= size) {
    std::uint64_t marks = significant_.Mark(data + block);
    std::size_t next = block + SignificantBytes::BLOCK;
    for (; marks != 0; marks &= marks - 1) {
      const std::size_t at = block + static_cast<std::size_t>(std::countr_zero(marks));
      if (step(at)) {
        next = copied;
        break;
      }
    }
    block = next;
  }
  // Then the rest byte by byte.
  for (std::size_t at = block; at < size; ++at) {
    const bool nextIsT = at + 1 == size || data[at + 1] == 't';
    if (significant_.IsSignificant(data[at], nextIsT) && step(at)) at = copied - 1;
  }
  if (lineStart < size) step(size);
  page.CommitTo(out);
}

}  // namespace morvel
