// The page of a text: the text's encoding chosen (found from its bytes, or as the request
// says), and the page written from it in the encoding the page takes.
#pragma once

#include "engine/conversion_request.h"
#include "engine/page_body.h"
#include "engine/preflight.h"

namespace morvel {

// Writes the page of the request's text, from `opened` (or the request's streams). The text's
// encoding is chosen before anything reaches the page's place: a file's likelier encoding is
// written as it is classified, and should a later byte overturn it, that unfinished page is
// abandoned and the file written again from its start in the right one, reopening both files
// in `opened`.
BodyProblems WriteTextPage(const ConversionRequest& request, Platform& platform,
                           OpenedFiles& opened);

}  // namespace morvel
