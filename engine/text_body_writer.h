// The body of a text page: the input, escaped, linked and tagged under the switches of one
// conversion, written to the page as it comes.
//
// Where each rule lives:
//   text_body_scan.cpp       Write() and the fast path: find the next significant byte, copy
//                            the run before it, apply the byte's rule
//   text_body_writer.cpp     the slow path, a byte at a time, for what a block cut leaves
//                            undecided, and the end of the text
//   text_body_line_ends.h    line ends and the "<BR>" and "<P>" tags
//   text_body_links.h        addresses and their anchors
//   text_body_replacements.h what "&", "\"", "<", ">" and the tab become
//   page_cursor.h            the page buffer and the one cursor that writes it
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/page_cursor.h"
#include "engine/page_writer.h"
#include "engine/text_body_line_ends.h"
#include "engine/text_body_links.h"
#include "engine/text_body_replacements.h"
#include "text/links.h"
#include "text/significant_bytes.h"
#include "text/sink.h"

namespace morvel {

// One per conversion. Lines end in LF or CR LF (both are one line end; a CR anywhere else is
// text); the page gets CR LF. Every tab becomes six ideographic spaces; "&", "\"", "<" and ">"
// become entities when escaping is on; every address that begins with "http://" becomes an
// anchor when linking is on; line ends get the tags of the line tags switch. What the writer
// holds between calls is what those rules still have to decide: the "<BR>&<P>" state, a CR
// that may start a line end, a partly matched "http://" and the address being linked, which is
// written twice. So memory grows with the longest address, never with a line.
class TextBodyWriter final : public Sink {
 public:
  // `encoding`: the text's and the page's. In code page 932 a lead byte takes the next byte
  // into its character when looking for "http://"; in UTF-8 no byte of a multi-byte character
  // is ASCII, so every byte stands alone, and a tab becomes the UTF-8 ideographic spaces.
  // `scan` is for tests, which take every path on every build.
  TextBodyWriter(const ConversionOptions& options, PageWriter& page,
                 PageEncoding encoding = PageEncoding::CodePage932,
                 ScanPath scan = ChosenScanPath());

  // The next bytes of the input, cut anywhere.
  void Write(std::string_view block) override;

  // A numeric character reference such as "&#9731;", written as it stands, never escaped. It
  // is text of its line; it ends an address being linked and a partly matched "http://".
  void WriteReference(std::string_view reference) override;

  // The input has ended: writes what is held. The last line needs no line end.
  void Finish();

 private:
  struct Switches {
    bool escaping;
    bool linking;
    LineTags tags;
  };
  static Switches SwitchesOf(const ConversionOptions& options);
  TextBodyWriter(Switches switches, PageWriter& page, PageEncoding encoding, ScanPath scan);

  // The fast path (text_body_scan.cpp), taken while nothing is held. How the scan goes on
  // after a significant byte: at the next one, from `copied` (past an anchor), or stopping
  // there for Feed().
  enum class After { Next, Resume, Stop };
  std::size_t Scan(std::string_view block, std::size_t from, PageCursor& out);
  std::size_t ScanAvx2(std::string_view block, std::size_t from, PageCursor& out);
  template <bool avx2>
  [[gnu::always_inline]] std::size_t ScanBlocks(std::string_view block, std::size_t from,
                                                PageCursor& out);
  // The bytes that the scan's 64 at a time leave after them, for fixed-size pieces.
  static constexpr std::size_t READ_AHEAD = 128;
  // How a step writes: exactly the bytes it takes (near the end of the block), or in whole
  // pieces (READ_AHEAD bytes follow the 64 being looked at), with AVX2 or not.
  enum class Step { Exact, Pieces, PiecesAvx2 };
  template <Step step>
  [[gnu::always_inline]] After TakeSignificant(std::string_view block, std::size_t at,
                                               std::size_t& copied, PageCursor& out);
  template <Step step>
  [[gnu::always_inline]] After TakeLinkStart(std::string_view block, std::size_t at,
                                             std::size_t& copied, PageCursor& out);
  std::size_t StopAt(std::string_view block, std::size_t at, std::size_t copied, PageCursor& out);

  // The slow path (text_body_writer.cpp): one byte through every rule, whatever is held.
  [[nodiscard]] PageCursor Feed(PageCursor out, char byte);
  [[nodiscard]] PageCursor FeedEntity(PageCursor out, char byte);
  void TakeAddressByte(char byte);
  [[nodiscard]] PageCursor EndAddress(PageCursor out);
  // Writes what is held as if the text ended here.
  [[nodiscard]] PageCursor CompletePending(PageCursor out);
  [[nodiscard]] PageCursor PutText(PageCursor out, std::string_view text);
  [[nodiscard]] PageCursor PutEscaped(PageCursor out, char byte);
  [[nodiscard]] PageCursor PutLineEnd(PageCursor out);

  PageWriter& page_;
  const bool escaping_;
  const bool linking_;
  const LeadByteRule leadBytes_;
  const SignificantBytes significant_;
  const Replacements& replacements_;
  LineEnds lineEnds_;

  bool pendingCr_ = false;  // a CR that a LF may still make a line end
  LinkSearch search_;       // before the next byte
  bool inAddress_ = false;
  std::string address_;  // the raw address so far
  std::string entity_;   // escaping off: "&" in the address and what may still make it end it
  SearchReplay replay_;  // the fast path's record of the search
};

}  // namespace morvel
