// UTF-8 input onto a text page: read, turned into code page 932, and handed to the body writer.
#pragma once

#include <cstddef>

#include "engine/outside_world.h"
#include "engine/text_body_writer.h"
#include "engine/text_reader.h"

namespace morvel {

// Writes everything `reader` gives onto `body` through a Utf8TextDecoder.
// Returns the line (from 1) that holds the first byte UTF-8 does not allow, where the writing
// stopped, or 0 when the text read was valid. A failed read is the reader's to report; the
// body is not finished.
std::size_t WriteUtf8Text(TextReader& reader, TextBodyWriter& body);

}  // namespace morvel
