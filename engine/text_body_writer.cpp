#include "engine/text_body_writer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "text/escape.h"
#include "text/page_bytes.h"

namespace morvel {

namespace {

// Page bytes of the line ends and tags.
constexpr std::string_view PAGE_LINE_END = "\r\n";
constexpr std::string_view PAGE_BREAK_LINE = "<BR>\r\n";
constexpr std::string_view PAGE_PARAGRAPH_LINE = "<P>\r\n";

// The "<BR>&<P>" mode's memory of the previous line.
constexpr int AFTER_BREAK = 0;  // no line yet, or the previous line was empty
constexpr int AFTER_TEXT = 1;   // the previous line had text

// Replacements are padded to PADDED bytes and copied whole: a fixed-size copy costs no
// decision. A run of bytes is copied in blocks too, up to COPY_BLOCK bytes past its end.
constexpr std::size_t PADDED = 16;
constexpr std::size_t COPY_BLOCK = 64;
// The most that one step of the fast path writes besides the run it copies.
constexpr std::size_t STEP_ROOM = 32 + COPY_BLOCK;
constexpr std::size_t MIN_ROOM = 64 * 1024;
// An address longer than this is escaped onto the page a piece of this size at a time.
constexpr std::size_t ADDRESS_PIECE = 4096;

static_assert(MAX_REPLACEMENT <= PADDED);

// Copies `length` bytes. Where COPY_BLOCK readable bytes follow them, a short run is copied
// as one block of COPY_BLOCK bytes and a longer one in 16-byte pieces, writing up to
// COPY_BLOCK bytes past the end (the caller has room there): most runs between two
// significant bytes are short.
inline __attribute__((always_inline)) char* CopyRun(const char* from, std::size_t length,
                                                    const char* textEnd, char* out) {
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

// What each byte becomes on the page (Replacement()), padded for a fixed-size copy; a length
// of 0 keeps the byte.
struct PageReplacements {
  struct Entry {
    std::array<char, PADDED> bytes{};
    std::size_t length = 0;
  };
  std::array<Entry, 256> entries{};

  explicit constexpr PageReplacements(bool escapeSpecials) {
    for (std::size_t byte = 0; byte < entries.size(); ++byte) {
      const std::string_view text = Replacement(static_cast<char>(byte), escapeSpecials);
      std::copy(text.begin(), text.end(), entries[byte].bytes.begin());
      entries[byte].length = text.size();
    }
  }
  const Entry& operator[](char byte) const { return entries[static_cast<unsigned char>(byte)]; }
};

namespace {
constexpr PageReplacements ESCAPED(true);
constexpr PageReplacements TABS_ONLY(false);
}  // namespace

TextBodyWriter::TextBodyWriter(const ConversionOptions& options, PageWriter& page, ScanPath scan)
    : page_(page),
      escaping_(options.escapeSpecials),
      linking_(options.autoLinkEnabled),
      tagged_(options.lineTagsEnabled),
      paragraphs_(tagged_ && options.lineTagMode == LineTagMode::BreaksAndParagraphs),
      significant_(escaping_, linking_, scan),
      replacements_(escaping_ ? ESCAPED : TABS_ONLY),
      paragraphState_(AFTER_BREAK) {}

// ---------------------------------------------------------------------------------------------
// The page buffer

inline void TextBodyWriter::Room(std::size_t count) {
  if (static_cast<std::size_t>(limit_ - out_) < count) MoveRoom(count);
}

void TextBodyWriter::MoveRoom(std::size_t count) {
  page_.Bytes().CommitTo(out_);
  page_.FlushWhenFull();
  const std::size_t room = std::max(count, MIN_ROOM);
  out_ = page_.Bytes().Reserve(room);
  limit_ = out_ + room;
}

void TextBodyWriter::Begin() {
  out_ = page_.Bytes().Reserve(MIN_ROOM);
  limit_ = out_ + MIN_ROOM;
}

void TextBodyWriter::End() {
  page_.Bytes().CommitTo(out_);
  page_.FlushWhenFull();
}

// ---------------------------------------------------------------------------------------------
// The rules' output

inline void TextBodyWriter::OpenLine() {
  if (!paragraphs_ || lineOpen_) return;
  Put(paragraphState_ == AFTER_TEXT ? PAGE_BREAK_LINE : PAGE_LINE_END);
  paragraphState_ = AFTER_TEXT;
  lineOpen_ = true;
}

inline void TextBodyWriter::EndLine() {
  if (!tagged_) {
    Put(PAGE_LINE_END);
  } else if (!paragraphs_) {
    Put(PAGE_BREAK_LINE);
  } else if (!lineOpen_) {
    Put(paragraphState_ == AFTER_TEXT ? PAGE_PARAGRAPH_LINE : PAGE_BREAK_LINE);
    paragraphState_ = AFTER_BREAK;
  }
  lineOpen_ = false;
  search_ = LinkSearch{};
}

inline void TextBodyWriter::Put(std::string_view bytes) {
  Room(bytes.size());
  out_ = PutBytes(out_, bytes);
}

void TextBodyWriter::PutText(std::string_view text) {
  OpenLine();
  Put(text);
}

void TextBodyWriter::PutEscaped(char byte) {
  OpenLine();
  Room(PADDED);
  const PageReplacements::Entry& replacement = replacements_[byte];
  if (replacement.length == 0) {
    *out_++ = byte;
  } else {
    out_ = PutBytes(out_, {replacement.bytes.data(), replacement.length});
  }
}

void TextBodyWriter::PutAnchor(std::string_view address) {
  OpenLine();
  Put(ANCHOR_OPEN);
  if (address.size() <= ADDRESS_PIECE) {
    // Nearly every address: escaped once, then copied.
    Room(2 * PADDED * address.size() + ANCHOR_MIDDLE.size());
    char* const escaped = out_;
    out_ = EscapeAddress(address, out_);
    const auto length = static_cast<std::size_t>(out_ - escaped);
    out_ = PutBytes(out_, ANCHOR_MIDDLE);
    std::memcpy(out_, escaped, length);
    out_ += length;
  } else {
    // A long one is escaped twice, a piece at a time, so that the page buffer does not grow
    // with it.
    PutLongAddress(address);
    Put(ANCHOR_MIDDLE);
    PutLongAddress(address);
  }
  Put(ANCHOR_CLOSE);
}

void TextBodyWriter::PutLongAddress(std::string_view address) {
  for (; !address.empty(); address.remove_prefix(std::min(address.size(), ADDRESS_PIECE))) {
    const std::string_view piece = address.substr(0, ADDRESS_PIECE);
    Room(PADDED * piece.size());
    out_ = EscapeAddress(piece, out_);
  }
}

char* TextBodyWriter::EscapeAddress(std::string_view address, char* out) const {
  // An address holds no byte that ends it, so only "&" and ">" can be replaced.
  for (const char byte : address) {
    const PageReplacements::Entry& replacement = replacements_[byte];
    if (replacement.length == 0) {
      *out++ = byte;
    } else {
      std::memcpy(out, replacement.bytes.data(), PADDED);
      out += replacement.length;
    }
  }
  return out;
}

void TextBodyWriter::EndAddress() {
  PutAnchor(address_);
  address_.clear();
  inAddress_ = false;
  search_ = LinkSearch{};
}

// ---------------------------------------------------------------------------------------------
// The calls

void TextBodyWriter::Write(std::string_view block) {
  Begin();
  std::size_t at = 0;
  while (at < block.size()) {
    if (!pendingCr_ && !inAddress_ && search_.Matched() == 0) {
      at = Scan(block, at);
      if (at == block.size()) break;
    } else if (inAddress_ && entity_.empty()) {
      // The bulk of an address that an earlier block began.
      const AddressStop stop = AddressEnd(block, at);
      if (stop.at > at) {
        address_.append(block.substr(at, stop.at - at));
        at = stop.at;
        continue;
      }
    }
    Feed(block[at++]);
  }
  End();
}

void TextBodyWriter::WriteReference(std::string_view reference) {
  Begin();
  CompletePending();
  OpenLine();
  Put(reference);
  End();
}

void TextBodyWriter::Finish() {
  Begin();
  CompletePending();
  End();
}

// ---------------------------------------------------------------------------------------------
// The fast path

std::size_t TextBodyWriter::Scan(std::string_view block, std::size_t from) {
  const char* const data = block.data();
  const char* const textEnd = data + block.size();
  const std::size_t size = block.size();
  known_ = from;
  knownState_ = search_;

  // In the "<BR>&<P>" mode a line opens with what the line before it was, once it is known
  // to have text; an empty line is written whole at its end. A line that starts with a CR
  // which the block cuts from its next byte stays undecided: Feed() takes that CR.
  const auto openIfText = [&](std::size_t start) {
    if (!paragraphs_ || lineOpen_ || start == size || data[start] == '\n') return;
    if (data[start] == '\r' && (start + 1 == size || data[start + 1] == '\n')) return;
    OpenLine();
  };
  openIfText(from);

  char* out = out_;
  std::size_t copied = from;  // the bytes before this are on the page
  // Stops the scan at `at`, whose byte Feed() takes next, or before the partly matched
  // "http://" that ends there: Feed() holds those bytes until the match completes or breaks.
  // The search is at rest before the "h" that starts a match.
  const auto stopAt = [&](std::size_t at) {
    search_ = linking_ ? SearchAt(block, at) : LinkSearch{};
    at -= search_.Matched();
    if (search_.Matched() > 0) search_ = LinkSearch{};
    Room(at - copied + STEP_ROOM);
    out_ = CopyRun(data + copied, at - copied, textEnd, out_);
    return at;
  };

  // Deals with the significant byte at `at` and the run before it. True when it went on past
  // `at`, to `copied`, where the scan resumes; sets `stopped` when Feed() has to go on.
  bool stopped = false;
  const auto step = [&](std::size_t at) __attribute__((always_inline)) {
    const char byte = data[at];
    if (linking_ && byte == 'h') {
      if (size - at < LINK_PREFIX.size()) {
        out_ = out;
        stopped = true;
        return false;
      }
      if (std::memcmp(data + at, LINK_PREFIX.data(), LINK_PREFIX.size()) != 0 ||
          !SearchAt(block, at).AtRest()) {
        return false;  // an ordinary byte, copied with the run it stands in
      }
      const AddressStop end = AddressEnd(block, at + LINK_PREFIX.size());
      out_ = out;
      if (!end.decided) {
        stopped = true;
        return false;
      }
      Room(at - copied + STEP_ROOM);
      out_ = CopyRun(data + copied, at - copied, textEnd, out_);
      PutAnchor(block.substr(at, end.at - at));
      out = out_;
      // The search goes on at the byte that ended the address, with nothing matched: that
      // byte is none of "http://"'s, and a lead byte only inside the address could carry.
      copied = known_ = end.at;
      knownState_ = LinkSearch{};
      return true;
    }

    if (static_cast<std::size_t>(limit_ - out) < at - copied + STEP_ROOM) {
      out_ = out;
      Room(at - copied + STEP_ROOM);
      out = out_;
    }
    out = CopyRun(data + copied, at - copied, textEnd, out);
    copied = at + 1;
    if (byte == '\n') {
      // CR LF is one line end: the CR just copied is taken back.
      if (at > from && data[at - 1] == '\r') --out;
      out_ = out;
      EndLine();
      openIfText(at + 1);
      out = out_;
    } else {
      const PageReplacements::Entry& replacement = replacements_[byte];
      std::memcpy(out, replacement.bytes.data(), PADDED);
      out += replacement.length;
    }
    return false;
  };

  // Whole blocks first, while a run's block copy stays inside the text.
  std::size_t block64 = from;
  while (block64 + SignificantBytes::BLOCK + COPY_BLOCK <= size) {
    std::uint64_t marks = significant_.Mark(data + block64);
    std::size_t next = block64 + SignificantBytes::BLOCK;
    for (; marks != 0; marks &= marks - 1) {
      const std::size_t at = block64 + static_cast<std::size_t>(std::countr_zero(marks));
      if (step(at)) {
        next = copied;
        break;
      }
      if (stopped) return stopAt(at);
    }
    block64 = next;
  }
  // Then the rest byte by byte.
  for (std::size_t at = block64; at < size; ++at) {
    const bool nextIsT = at + 1 == size || data[at + 1] == 't';
    if (!significant_.IsSignificant(data[at], nextIsT)) continue;
    if (step(at)) at = copied - 1;
    if (stopped) return stopAt(at);
  }
  // A CR at the end may start a line end that the next block completes.
  out_ = out;
  return stopAt(data[size - 1] == '\r' ? size - 1 : size);
}

LinkSearch TextBodyWriter::SearchAt(std::string_view block, std::size_t at) {
  // The search is at rest after most bytes, so it is replayed only from the last of those.
  std::size_t start = at;
  while (start > known_ && !RestsLinkSearch(block[start - 1])) --start;
  LinkSearch state = start == known_ ? knownState_ : LinkSearch{};
  for (; start < at; ++start) state.Step(block[start]);
  known_ = at;
  knownState_ = state;
  return state;
}

TextBodyWriter::AddressStop TextBodyWriter::AddressEnd(std::string_view block,
                                                       std::size_t from) const {
  for (std::size_t at = from; at < block.size(); ++at) {
    const char byte = block[at];
    if (EndsAddress(byte)) return {at, true};
    if (byte == '&' && !escaping_) {
      switch (AddressEndAtEntity(block.substr(at))) {
        case EntityEnd::Ends:
          return {at, true};
        case EntityEnd::Undecided:
          return {at, false};
        case EntityEnd::Continues:
          break;
      }
    }
  }
  return {block.size(), false};
}

// ---------------------------------------------------------------------------------------------
// The slow path

void TextBodyWriter::Feed(char byte) {
  if (pendingCr_) {
    pendingCr_ = false;
    if (byte == '\n') {
      EndLine();
      return;
    }
    PutText("\r");
  }
  if (inAddress_ && ContinueAddress(byte)) return;
  if (linking_) {
    const std::size_t held = search_.Matched();
    if (search_.Step(byte)) {
      inAddress_ = true;
      address_.assign(LINK_PREFIX);
      return;
    }
    if (search_.Matched() > held) return;  // held until the match completes or breaks
    if (held > 0) PutText(LINK_PREFIX.substr(0, held));
  }
  if (byte == '\n') {
    EndLine();
  } else if (byte == '\r') {
    pendingCr_ = true;
  } else {
    PutEscaped(byte);
  }
}

bool TextBodyWriter::ContinueAddress(char byte) {
  if (!entity_.empty()) {
    entity_.push_back(byte);
    switch (AddressEndAtEntity(entity_)) {
      case EntityEnd::Undecided:
        return true;
      case EntityEnd::Ends: {
        EndAddress();
        const std::string text = std::move(entity_);
        entity_.clear();
        for (const char textByte : text) Feed(textByte);
        return true;
      }
      case EntityEnd::Continues:
        // "&" and the letters after it belong to the address; `byte` is looked at afresh.
        address_.append(entity_, 0, entity_.size() - 1);
        entity_.clear();
        break;
    }
  }
  if (EndsAddress(byte)) {
    EndAddress();
    return false;
  }
  if (byte == '&' && !escaping_) {
    entity_.assign(1, byte);
  } else {
    address_.push_back(byte);
  }
  return true;
}

void TextBodyWriter::CompletePending() {
  if (inAddress_) {
    // Letters after "&" that no entity completed belong to the address.
    address_.append(entity_);
    entity_.clear();
    EndAddress();
  } else if (search_.Matched() > 0) {
    PutText(LINK_PREFIX.substr(0, search_.Matched()));
  }
  search_ = LinkSearch{};
  if (pendingCr_) {
    pendingCr_ = false;
    PutText("\r");
  }
}

}  // namespace morvel
