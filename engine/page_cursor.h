// The page buffer as the text page writer fills it: room reserved after the bytes the page
// holds, written through one cursor, and committed when the writer hands the page back.
//
// The cursor is a value of two pointers, and nothing takes its address: the scan's inlined steps
// take it by reference, every other step by value, returning it. So it stays in registers while
// page bytes are stored through it. Room is made by WithRoom() before a step writes, and no
// step writes past it. Most steps write exactly the bytes they are given; the fixed-size ones
// (CopyAhead(), PutUpToThirtyTwo()) may store more after them, which the next step writes over
// or the page never takes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/page_writer.h"

namespace morvel {

// A piece of at most 32 page bytes, kept in 32 for fixed-size copies: a replacement (the tab's
// is 18 bytes in UTF-8), a tag.
struct ShortPiece {
  static constexpr std::size_t CAPACITY = 32;
  std::array<char, CAPACITY> bytes{};
  std::size_t length = 0;
  // For a piece of 4 to 20 bytes: where each of five 4-byte words starts that together cover
  // it exactly (every fourth byte, the last ones held back to end where the piece ends).
  std::array<std::uint8_t, 5> wordAt{};

  constexpr ShortPiece() = default;
  constexpr explicit ShortPiece(std::string_view text) : length(text.size()) {
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = text[i];
    const std::size_t last = length < 4 ? 0 : length - 4;
    for (std::size_t word = 0; word < wordAt.size(); ++word) {
      wordAt[word] = static_cast<std::uint8_t>(4 * word < last ? 4 * word : last);
    }
  }
  std::string_view View() const { return {bytes.data(), length}; }
};

// Copies exactly `length` (at most 32) bytes as two fixed-size copies that may overlap;
// returns the end of the copy.
template <typename Word>
[[gnu::always_inline]] inline char* CopyPair(char* to, const char* from, std::size_t length) {
  Word head;
  Word tail;
  std::memcpy(&head, from, sizeof head);
  std::memcpy(&tail, from + length - sizeof tail, sizeof tail);
  std::memcpy(to, &head, sizeof head);
  std::memcpy(to + length - sizeof tail, &tail, sizeof tail);
  return to + length;
}
struct Bytes16 {
  char bytes[16];
};
[[gnu::always_inline]] inline char* CopyShort(char* to, const char* from, std::size_t length) {
  if (length > 16) return CopyPair<Bytes16>(to, from, length);
  if (length >= 8) return CopyPair<std::uint64_t>(to, from, length);
  if (length >= 4) return CopyPair<std::uint32_t>(to, from, length);
  if (length >= 2) return CopyPair<std::uint16_t>(to, from, length);
  if (length == 1) *to = *from;
  return to + length;
}

class PageCursor {
 public:
  // The room that a cursor opens with, at least.
  static constexpr std::size_t MIN_ROOM = 64 * 1024;

  // A cursor at the end of what `page` holds, with room for `count` bytes.
  static PageCursor Open(PageWriter& page, std::size_t count = MIN_ROOM);
  // Commits what the cursor wrote and sends the page's buffer to the file when it is full.
  // The cursor is spent.
  void Close(PageWriter& page) const {
    page.Bytes().CommitTo(at_);
    page.FlushWhenFull();
  }
  // This cursor when `count` more bytes fit, otherwise one reopened with room for them (what
  // was written is committed first).
  [[nodiscard]] PageCursor WithRoom(PageWriter& page, std::size_t count) const {
    return Fits(count) ? *this : Reopen(*this, page, count);
  }
  bool Fits(std::size_t count) const { return static_cast<std::size_t>(end_ - at_) >= count; }

  // Writes `length` bytes from `from`; room for them has been made.
  [[gnu::always_inline]] void Copy(const char* from, std::size_t length) {
    if (length <= ShortPiece::CAPACITY) {
      CopyShort(at_, from, length);
    } else if (length <= 64) {
      // (More than 32 bytes.) 16-byte copies, the last one ending where the bytes end (it may
      // overlap the one before).
      for (std::size_t done = 0; done + 16 < length; done += 16) {
        std::memcpy(at_ + done, from + done, 16);
      }
      std::memcpy(at_ + length - 16, from + length - 16, 16);
    } else {
      std::memcpy(at_, from, length);
    }
    at_ += length;
  }
  // The piece CopyAhead() copies in, and the most it copies whatever the length: four pieces.
  static constexpr std::size_t AHEAD_PIECE = 32;
  static constexpr std::size_t AHEAD_COPY = 4 * AHEAD_PIECE;
  // Copy() as whole 32-byte pieces, at least `pieces` of them (2 or 4), for the scan where the
  // text goes on after `from` + `length`: it reads up to AHEAD_COPY - 1 bytes past them, which
  // must be there, and stores as far, into room made for `length` + AHEAD_COPY - 1 bytes. Runs
  // up to that many pieces long are copied with no decision on their length.
  template <std::size_t pieces>
  [[gnu::always_inline]] void CopyAhead(const char* from, std::size_t length) {
    static_assert(pieces == 2 || pieces == 4);
    if (length > 8 * AHEAD_PIECE) {
      std::memcpy(at_, from, length);
    } else {
      // Every piece is loaded before any is stored, so that they stay in registers whatever
      // the compiler assumes about the page and the text overlapping.
      using Piece = char __attribute__((vector_size(AHEAD_PIECE)));
      Piece piece0, piece1;
      std::memcpy(&piece0, from, AHEAD_PIECE);
      std::memcpy(&piece1, from + AHEAD_PIECE, AHEAD_PIECE);
      if constexpr (pieces == 4) {
        Piece piece2, piece3;
        std::memcpy(&piece2, from + 2 * AHEAD_PIECE, AHEAD_PIECE);
        std::memcpy(&piece3, from + 3 * AHEAD_PIECE, AHEAD_PIECE);
        std::memcpy(at_ + 2 * AHEAD_PIECE, &piece2, AHEAD_PIECE);
        std::memcpy(at_ + 3 * AHEAD_PIECE, &piece3, AHEAD_PIECE);
      }
      std::memcpy(at_, &piece0, AHEAD_PIECE);
      std::memcpy(at_ + AHEAD_PIECE, &piece1, AHEAD_PIECE);
      for (std::size_t done = pieces * AHEAD_PIECE; done < length; done += AHEAD_PIECE) {
        std::memcpy(at_ + done, from + done, AHEAD_PIECE);
      }
    }
    at_ += length;
  }
  [[gnu::always_inline]] void Put(std::string_view bytes) { Copy(bytes.data(), bytes.size()); }
  [[gnu::always_inline]] void Put(const ShortPiece& piece) {
    at_ = CopyShort(at_, piece.bytes.data(), piece.length);
  }
  // A piece, such as a line end or a replacement, as one 32-byte copy; room for 32 has been
  // made.
  [[gnu::always_inline]] void PutUpToThirtyTwo(const ShortPiece& piece) {
    std::memcpy(at_, piece.bytes.data(), ShortPiece::CAPACITY);
    at_ += piece.length;
  }
  // A piece of 4 to 20 bytes, such as any replacement of a significant byte, as five 4-byte
  // copies at the piece's own word offsets: exact, with no decision on the length.
  [[gnu::always_inline]] void PutFourToTwenty(const ShortPiece& piece) {
    const std::size_t at1 = piece.wordAt[1];
    const std::size_t at2 = piece.wordAt[2];
    const std::size_t at3 = piece.wordAt[3];
    const std::size_t at4 = piece.wordAt[4];
    // Every word is loaded before any is stored, so the five copies stay unrolled in
    // registers whatever the compiler assumes about the page and the piece overlapping.
    const char* const from = piece.bytes.data();
    std::uint32_t word0, word1, word2, word3, word4;
    std::memcpy(&word0, from, 4);
    std::memcpy(&word1, from + at1, 4);
    std::memcpy(&word2, from + at2, 4);
    std::memcpy(&word3, from + at3, 4);
    std::memcpy(&word4, from + at4, 4);
    std::memcpy(at_, &word0, 4);
    std::memcpy(at_ + at1, &word1, 4);
    std::memcpy(at_ + at2, &word2, 4);
    std::memcpy(at_ + at3, &word3, 4);
    std::memcpy(at_ + at4, &word4, 4);
    at_ += piece.length;
  }
  void Put(char byte) { *at_++ = byte; }
  // Lets `write` store bytes at the cursor itself, where room for them has been made: it takes
  // where they start and returns where they end.
  template <typename Write>
  [[gnu::always_inline]] void PutWith(Write write) {
    at_ = write(at_);
  }
  // Where the next byte goes.
  const char* At() const { return at_; }

 private:
  PageCursor(char* at, char* end) : at_(at), end_(end) {}
  // (Static, and the cursor passed by value: a cursor whose address is never taken stays in
  // registers.)
  static PageCursor Reopen(PageCursor cursor, PageWriter& page, std::size_t count);

  char* at_;
  char* end_;
};

}  // namespace morvel
