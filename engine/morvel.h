// The conversion engine as its front ends (the window, the command line, the web page) see it:
// the request and its settings, ConvertFile, the platform it runs on with the user it asks and
// tells, the path rules a front end applies itself, and the way across between the engine's
// code page 932 text and UTF-8. Front ends include this header and nothing else of engine/ or
// text/.
#pragma once

#include "engine/conversion_options.h"
#include "engine/conversion_request.h"
#include "engine/engine_text.h"
#include "engine/outside_world.h"
#include "engine/request_paths.h"
#include "engine/user_messages.h"

namespace morvel {

// Checks both paths in their fixed order, asking and telling the user through
// `platform.user`, then writes the page for the request's source at its target. Nothing is
// written to disk before every check has passed.
ConversionOutcome ConvertFile(ConversionRequest& request, Platform& platform);

}  // namespace morvel
