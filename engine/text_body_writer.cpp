// The text page writer's settings, its slow path and the end of the text. The slow path takes
// one byte at a time through every rule; Write() (text_body_scan.cpp) hands it the bytes that
// a cut between blocks leaves undecided: a CR whose LF may follow, a partly matched "http://",
// an address that runs on, an entity that may end it.
#include "engine/text_body_writer.h"

#include <utility>

namespace morvel {

TextBodyWriter::Switches TextBodyWriter::SwitchesOf(const ConversionOptions& options) {
  // The one place that reads the conversion's options.
  return {.escaping = options.escapeSpecials,
          .linking = options.autoLinkEnabled,
          .tags = !options.lineTagsEnabled                         ? LineTags::None
                  : options.lineTagMode == LineTagMode::BreaksOnly ? LineTags::Breaks
                                                                   : LineTags::Paragraphs};
}

TextBodyWriter::TextBodyWriter(const ConversionOptions& options, PageWriter& page,
                               PageEncoding encoding, ScanPath scan)
    : TextBodyWriter(SwitchesOf(options), page, encoding, scan) {}

TextBodyWriter::TextBodyWriter(Switches switches, PageWriter& page, PageEncoding encoding,
                               ScanPath scan)
    : page_(page),
      escaping_(switches.escaping),
      linking_(switches.linking),
      leadBytes_(encoding == PageEncoding::Utf8 ? LeadByteRule::Off : LeadByteRule::CodePage932),
      significant_(escaping_, linking_, scan),
      replacements_(Replacements::For(escaping_, encoding)),
      lineEnds_(switches.tags),
      search_(leadBytes_),
      replay_(leadBytes_) {}

void TextBodyWriter::WriteReference(std::string_view reference) {
  PageCursor out = CompletePending(PageCursor::Open(page_));
  out = PutText(out, reference);
  out.Close(page_);
}

void TextBodyWriter::Finish() { CompletePending(PageCursor::Open(page_)).Close(page_); }

PageCursor TextBodyWriter::Feed(PageCursor out, char byte) {
  if (pendingCr_) {
    pendingCr_ = false;
    if (byte == '\n') return PutLineEnd(out);
    out = PutText(out, "\r");
  }
  if (inAddress_) {
    if (!entity_.empty()) return FeedEntity(out, byte);
    if (!EndsAddress(byte)) {
      TakeAddressByte(byte);
      return out;
    }
    out = EndAddress(out);
  }
  if (linking_) {
    const std::size_t held = search_.Matched();
    if (search_.Step(byte)) {
      inAddress_ = true;
      address_.assign(LINK_PREFIX);
      return out;
    }
    if (search_.Matched() > held) return out;  // held until the match completes or breaks
    if (held > 0) out = PutText(out, LINK_PREFIX.substr(0, held));
  }
  if (byte == '\n') return PutLineEnd(out);
  if (byte == '\r') {
    pendingCr_ = true;
    return out;
  }
  return PutEscaped(out, byte);
}

PageCursor TextBodyWriter::FeedEntity(PageCursor out, char byte) {
  entity_.push_back(byte);
  switch (AddressEndAtEntity(entity_)) {
    case EntityEnd::Undecided:
      return out;
    case EntityEnd::Ends: {
      out = EndAddress(out);
      const std::string text = std::exchange(entity_, {});
      for (const char textByte : text) out = Feed(out, textByte);
      return out;
    }
    case EntityEnd::Continues:
      break;
  }
  // "&" and the letters after it belong to the address; `byte` is looked at afresh.
  address_.append(entity_, 0, entity_.size() - 1);
  entity_.clear();
  return Feed(out, byte);
}

void TextBodyWriter::TakeAddressByte(char byte) {
  if (byte == '&' && !escaping_) {
    entity_.assign(1, byte);
  } else {
    address_.push_back(byte);
  }
}

PageCursor TextBodyWriter::EndAddress(PageCursor out) {
  out = out.WithRoom(page_, ShortPiece::CAPACITY);
  out.Put(lineEnds_.BeforeText());
  out = PutAnchor(out, page_, address_, replacements_);
  address_.clear();
  inAddress_ = false;
  search_.Restart();
  return out;
}

PageCursor TextBodyWriter::CompletePending(PageCursor out) {
  if (inAddress_) {
    // Letters after "&" that no entity completed belong to the address.
    address_.append(entity_);
    entity_.clear();
    out = EndAddress(out);
  } else if (search_.Matched() > 0) {
    out = PutText(out, LINK_PREFIX.substr(0, search_.Matched()));
  }
  search_.Restart();
  if (pendingCr_) {
    pendingCr_ = false;
    out = PutText(out, "\r");
  }
  return out;
}

PageCursor TextBodyWriter::PutText(PageCursor out, std::string_view text) {
  out = out.WithRoom(page_, ShortPiece::CAPACITY + text.size());
  out.Put(lineEnds_.BeforeText());
  out.Put(text);
  return out;
}

PageCursor TextBodyWriter::PutEscaped(PageCursor out, char byte) {
  out = out.WithRoom(page_, 2 * ShortPiece::CAPACITY);
  out.Put(lineEnds_.BeforeText());
  const ShortPiece& replacement = replacements_[byte];
  if (replacement.length == 0) {
    out.Put(byte);
  } else {
    out.Put(replacement);
  }
  return out;
}

PageCursor TextBodyWriter::PutLineEnd(PageCursor out) {
  out = out.WithRoom(page_, ShortPiece::CAPACITY);
  out.Put(lineEnds_.AtLineEnd(false));
  search_.Restart();
  return out;
}

}  // namespace morvel
