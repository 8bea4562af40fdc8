// How the body of a page went, and the end every page has.
#pragma once

#include "engine/page_parts.h"
#include "engine/page_writer.h"
#include "engine/text_input.h"

namespace morvel {

// What went wrong while the page was being written, in the order it is reported.
struct BodyProblems {
  bool writeFailed = false;
  bool targetUnopenable = false;  // the page could not be opened again to start afresh
  InvalidText invalid{};          // a read failure too: the text is not valid in its encoding
  bool readFailed = false;
  bool copyFailed = false;
};

// Writes the footer and puts the page in its place when the body had no problem. The page takes
// the old one's place only when all of it is there.
inline void EndPage(PageWriter& page, BodyProblems& problems) {
  page.Write(PAGE_FOOTER);
  const bool complete = !problems.readFailed && !problems.copyFailed;
  problems.writeFailed = !(complete ? page.Finish() : page.WritesSucceeded());
}

}  // namespace morvel
