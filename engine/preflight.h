// The checks that run before anything is written, in their fixed order.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <variant>

#include "engine/conversion_request.h"

namespace morvel {

// The files of a request once every check has passed. A stream the caller opened itself is not
// held here: `input` or `output` stays empty for it.
struct OpenedFiles {
  std::unique_ptr<ByteReader> input;
  std::unique_ptr<ByteWriter> output;
};

// Either every check passed and the request's files are open, or how the request ended
// (Refused or Failed), the user told and nothing open.
using PreflightResult = std::variant<OpenedFiles, ConversionOutcome>;

// Runs every check, rewriting both paths of `request` as the user agreed, and opens both
// files; the checks of an end that the request gives as a stream are skipped.
PreflightResult RunPreflightChecks(ConversionRequest& request, Platform& platform);

}  // namespace morvel
