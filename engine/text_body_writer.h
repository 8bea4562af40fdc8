// The body of a text page: the input, escaped, linked and tagged under the switches of one
// conversion, written to the page as it comes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/conversion_options.h"
#include "engine/page_writer.h"
#include "text/links.h"
#include "text/significant_bytes.h"

namespace morvel {

struct PageReplacements;

// One per conversion. Lines end in LF or CR LF (both are one line end; a CR anywhere else is
// text); the page gets CR LF. Every tab becomes six ideographic spaces; "&", "\"", "<" and ">"
// become entities when `escapeSpecials` is on; every address that begins with "http://" becomes
// an anchor when `autoLinkEnabled` is on; when `lineTagsEnabled` is on, a line end gets "<BR>"
// (LineTagMode::BreaksOnly) or the "<BR>&<P>" mode joins lines of text with "<BR>" and makes an
// empty line after text a "<P>". What it holds between calls is what those rules still have to
// decide: the "<BR>&<P>" state, a CR that may start a line end, a partly matched "http://" and
// the address being linked, which is written twice. So memory grows with the longest address,
// never with a line.
class TextBodyWriter {
 public:
  // `scan` is for tests, which take both paths on every build.
  TextBodyWriter(const ConversionOptions& options, PageWriter& page,
                 ScanPath scan = ChosenScanPath());

  // The next bytes of the input, cut anywhere.
  void Write(std::string_view block);

  // A numeric character reference such as "&#9731;", written as it stands, never escaped. It
  // is text of its line; it ends an address being linked and a partly matched "http://".
  void WriteReference(std::string_view reference);

  // The input has ended: writes what is held. The last line needs no line end.
  void Finish();

 private:
  // The fast path, taken while nothing is held: writes the block from `from` on, finding the
  // significant bytes 64 at a time. Returns where it stopped: the end of the block, or a byte
  // that Feed() has to take (the start of an address or of a CR LF that the block may cut).
  std::size_t Scan(std::string_view block, std::size_t from);
  // The search's state before block[at], known from its state before block[known_] on.
  LinkSearch SearchAt(std::string_view block, std::size_t at);
  // How far an address goes in the block from `from` on: to the byte that ends it (`decided`),
  // or to where the block ends or leaves undecided whether an entity ends it.
  struct AddressStop {
    std::size_t at;
    bool decided;
  };
  AddressStop AddressEnd(std::string_view block, std::size_t from) const;

  // The slow path: one byte through every rule, whatever is held.
  void Feed(char byte);
  // Takes `byte` into the address being linked; false when it ends the address.
  bool ContinueAddress(char byte);
  // Writes what is held as if the text ended here.
  void CompletePending();

  // The rules' output.
  void OpenLine();
  void EndLine();
  void Put(std::string_view bytes);
  void PutText(std::string_view text);
  void PutEscaped(char byte);
  void PutAnchor(std::string_view address);
  void PutLongAddress(std::string_view address);
  // Writes `address` escaped at `out`, which has room for PADDED bytes a byte.
  char* EscapeAddress(std::string_view address, char* out) const;
  void EndAddress();

  // Room for `count` page bytes at out_, flushing the page when it is full.
  void Room(std::size_t count);
  void MoveRoom(std::size_t count);
  void Begin();
  void End();

  PageWriter& page_;
  const bool escaping_;
  const bool linking_;
  const bool tagged_;
  const bool paragraphs_;
  const SignificantBytes significant_;
  const PageReplacements& replacements_;

  char* out_ = nullptr;
  char* limit_ = nullptr;

  int paragraphState_;
  bool lineOpen_ = false;   // the "<BR>&<P>" mode has opened the line: it has text
  bool pendingCr_ = false;  // a CR that a LF may still make a line end
  LinkSearch search_;       // before the next byte
  bool inAddress_ = false;
  std::string address_;  // the raw address so far
  std::string entity_;   // escaping off: "&" in the address and what may still make it end it

  // Scan()'s record of the search: its state before block[known_].
  std::size_t known_ = 0;
  LinkSearch knownState_;
};

}  // namespace morvel
