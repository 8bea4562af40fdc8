// The text page writer's fast path. While nothing is held from an earlier block, the writer
// goes from one significant byte to the next (a line end, a tab, a character to escape, the
// "h" of a possible "http://"; SignificantBytes finds them 64 bytes at a time), copies the run
// of ordinary bytes before it, and applies that byte's rule. It stops where the block leaves
// a rule undecided, and Feed() takes the bytes from there.
#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/text_body_writer.h"

namespace morvel {

namespace {

// True when the line that starts at `start`, with at least two bytes there to read, has text:
// its first byte is neither a LF nor a CR that a LF follows.
bool TextFollows(const char* start) {
  // (The two bytes as one word, CR LF in the order they come.)
  std::uint16_t two;
  std::memcpy(&two, start, sizeof two);
  const std::uint16_t crLf = std::endian::native == std::endian::little ? 0x0A0D : 0x0D0A;
  return (start[0] != '\n') & (two != crLf);
}

// The same anywhere in the block. A line that the block cuts off before that is known is not
// opened yet; what opens it later writes its opening.
bool LineHasText(std::string_view block, std::size_t start) {
  if (block.size() - start >= 2) return TextFollows(block.data() + start);
  return start < block.size() && block[start] != '\n' && block[start] != '\r';
}

}  // namespace

void TextBodyWriter::Write(std::string_view block) {
  PageCursor out = PageCursor::Open(page_);
  std::size_t at = 0;
  while (at < block.size()) {
    if (!pendingCr_ && !inAddress_ && search_.Matched() == 0) {
      at = Scan(block, at, out);
      if (at == block.size()) break;
    } else if (inAddress_ && entity_.empty()) {
      // The bulk of an address that an earlier block began.
      const AddressStop stop = AddressEnd(block, at, escaping_);
      if (stop.at > at) {
        address_.append(block.substr(at, stop.at - at));
        at = stop.at;
        continue;
      }
    }
    out = Feed(out, block[at++]);
  }
  out.Close(page_);
}

// Writes the block from `from` on; returns where it stopped: the end of the block, or a byte
// that Feed() has to take.
inline __attribute__((always_inline)) std::size_t TextBodyWriter::Scan(std::string_view block,
                                                                       std::size_t from,
                                                                       PageCursor& out) {
#ifdef MORVEL_AVX2_SCAN
  if (significant_.UsesAvx2()) return ScanAvx2(block, from, out);
#endif
  return ScanBlocks<false>(block, from, out);
}

#ifdef MORVEL_AVX2_SCAN
// The scan compiled for AVX2, with the AVX2 marks inlined into its loop; taken only where the
// processor has AVX2. (The cursor is copied in and out so that it stays in registers.)
__attribute__((target("avx2"))) std::size_t TextBodyWriter::ScanAvx2(std::string_view block,
                                                                     std::size_t from,
                                                                     PageCursor& out) {
  PageCursor cursor = out;
  const std::size_t stop = ScanBlocks<true>(block, from, cursor);
  out = cursor;
  return stop;
}
#endif

template <bool avx2>
inline __attribute__((always_inline)) std::size_t TextBodyWriter::ScanBlocks(std::string_view block,
                                                                             std::size_t from,
                                                                             PageCursor& out) {
  const char* const data = block.data();
  const std::size_t size = block.size();
  replay_.Know(from, search_);
  if (LineHasText(block, from)) {
    out = out.WithRoom(page_, ShortPiece::CAPACITY);
    out.Put(lineEnds_.BeforeText());
  }
  std::size_t copied = from;  // the bytes before this are on the page

  // 64 bytes at a time while READ_AHEAD more follow them, then byte by byte.
  constexpr Step PIECES = avx2 ? Step::PiecesAvx2 : Step::Pieces;
  std::size_t base = from;
  while (size - base >= SignificantBytes::BLOCK + READ_AHEAD) {
    std::size_t next = base + SignificantBytes::BLOCK;
#ifdef MORVEL_AVX2_SCAN
    std::uint64_t marks =
        avx2 ? significant_.MarkAvx2(data + base) : significant_.Mark(data + base);
#else
    std::uint64_t marks = significant_.Mark(data + base);
#endif
    // Room for every step these 64 bytes take, made once: each writes its run and at most one
    // piece, and the last one's fixed-size copies store up to AHEAD_COPY bytes past.
    if (marks != 0) {
      out = out.WithRoom(page_, base + SignificantBytes::BLOCK - copied +
                                    SignificantBytes::BLOCK * ShortPiece::CAPACITY +
                                    PageCursor::AHEAD_COPY);
    }
    for (; marks != 0; marks &= marks - 1) {
      const std::size_t at = base + static_cast<unsigned>(std::countr_zero(marks));
      const After after = TakeSignificant<PIECES>(block, at, copied, out);
      if (after == After::Stop) return StopAt(block, at, copied, out);
      if (after == After::Resume) {
        next = copied;
        break;
      }
    }
    base = next;
  }
  for (std::size_t at = base; at < size; ++at) {
    const bool nextIsT = at + 1 == size || data[at + 1] == 't';
    if (!significant_.IsSignificant(data[at], nextIsT)) continue;
    const After after = TakeSignificant<Step::Exact>(block, at, copied, out);
    if (after == After::Stop) return StopAt(block, at, copied, out);
    if (after == After::Resume) at = copied - 1;
  }
  // A CR at the end may start a line end that the next block completes.
  return StopAt(block, data[size - 1] == '\r' ? size - 1 : size, copied, out);
}

// The significant byte at `at`: copies the run from `copied` up to it and applies its rule.
template <TextBodyWriter::Step step>
inline __attribute__((always_inline)) TextBodyWriter::After TextBodyWriter::TakeSignificant(
    std::string_view block, std::size_t at, std::size_t& copied, PageCursor& out) {
  static_assert(READ_AHEAD >= PageCursor::AHEAD_COPY &&
                ShortPiece::CAPACITY >= LineEnds::LONGEST_PIECE);
  const char byte = block[at];
  if (byte == 'h') return TakeLinkStart<step>(block, at, copied, out);
  // (The scan made room for the steps that take whole pieces.)
  if constexpr (step == Step::Exact) out = out.WithRoom(page_, at - copied + ShortPiece::CAPACITY);
  const char* const run = block.data() + copied;
  const auto copyRun = [&](std::size_t length) {
    if constexpr (step == Step::Exact) {
      out.Copy(run, length);
    } else {
      // Four pieces where the scan has AVX2, a register each; two otherwise, as a build for
      // processors without SSE2 copies a piece a word at a time.
      out.CopyAhead<step == Step::PiecesAvx2 ? 4 : 2>(run, length);
    }
  };
  if constexpr (step == Step::Exact) {
    if (byte == '\n') {
      // CR LF is one line end: the CR before the LF is not copied.
      const bool crLf = at > copied && block[at - 1] == '\r';
      copyRun(at - copied - (crLf ? 1 : 0));
      out.Put(lineEnds_.AtLineEnd(LineHasText(block, at + 1)));
    } else {
      copyRun(at - copied);
      out.PutFourToTwenty(replacements_[byte]);
    }
  } else {
    // A line end and a replacement are taken the same way, with no branch on which it is:
    // which comes next is the text's to decide, so a branch on it would often be guessed
    // wrong. (At `copied` the byte before is on the page already, so the byte itself is read.)
    const bool lineEnd = byte == '\n';
    const bool crLf = lineEnd & (block[at - (at > copied ? 1 : 0)] == '\r');
    copyRun(at - copied - (crLf ? 1 : 0));
    out.PutUpToThirtyTwo(lineEnds_.AtLineEndOr(lineEnd, TextFollows(block.data() + at + 1),
                                               replacements_[byte]));
  }
  copied = at + 1;
  return After::Next;
}

// An "h" followed by "t" (or by what the scan did not look at): an address starts here when
// "http://" does and the search is at rest before it. The address is written as an anchor
// when the block holds the byte that ends it; otherwise Feed() takes it from its "h".
template <TextBodyWriter::Step step>
inline __attribute__((always_inline)) TextBodyWriter::After TextBodyWriter::TakeLinkStart(
    std::string_view block, std::size_t at, std::size_t& copied, PageCursor& out) {
  if (block.size() - at < LINK_PREFIX.size()) return After::Stop;
  if (std::memcmp(block.data() + at, LINK_PREFIX.data(), LINK_PREFIX.size()) != 0 ||
      !replay_.At(block, at).AtRest()) {
    return After::Next;  // an ordinary byte, copied with the run it stands in
  }
  const std::size_t start = at + LINK_PREFIX.size();
#ifdef MORVEL_AVX2_SCAN
  const AddressStop end = step == Step::PiecesAvx2 ? AddressEndAvx2(block, start, escaping_)
                                                   : AddressEnd(block, start, escaping_);
#else
  const AddressStop end = AddressEnd(block, start, escaping_);
#endif
  if (!end.decided) return After::Stop;
  out = out.WithRoom(page_, at - copied);
  out.Copy(block.data() + copied, at - copied);
  out = PutAnchor(out, page_, block.substr(at, end.at - at), replacements_);
  // The search goes on at the byte that ended the address, with nothing matched: that byte is
  // none of "http://"'s, and a lead byte only inside the address could carry.
  copied = end.at;
  replay_.Know(end.at, LinkSearch(leadBytes_));
  return After::Resume;
}

// Copies the run up to `at` and leaves the rest of the block to Feed(), with the search as it
// stands there; a partly matched "http://" that ends there is left to Feed() too, which holds
// it until the match completes or breaks (the search is at rest before its "h").
inline __attribute__((always_inline)) std::size_t TextBodyWriter::StopAt(std::string_view block,
                                                                         std::size_t at,
                                                                         std::size_t copied,
                                                                         PageCursor& out) {
  search_ = linking_ ? replay_.At(block, at) : LinkSearch(leadBytes_);
  at -= search_.Matched();
  search_ = search_.Matched() > 0 ? LinkSearch(leadBytes_) : search_;
  out = out.WithRoom(page_, at - copied);
  out.Copy(block.data() + copied, at - copied);
  return at;
}

}  // namespace morvel
