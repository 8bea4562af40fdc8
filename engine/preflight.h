// The checks that run before anything is written, in their fixed order.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "engine/convert_file.h"

namespace morvel {

// What a request holds once every check has passed. A stream the caller opened itself
// (RequestExtras) is not held here: `input` or `output` stays empty for it.
struct OpenedRequest {
  std::unique_ptr<ByteReader> input;
  std::unique_ptr<ByteWriter> output;
  // Position of the "." before the input's extension in the rewritten source path, if any.
  std::optional<std::size_t> sourceExtensionDot;
};

// Runs every check, rewriting both paths as the user agreed, and opens both files; the checks
// of an end that `extras` gives as a stream are skipped. On any failure the user has been
// told, nothing is open, and the outcome says how it ended.
struct PreflightResult {
  std::optional<OpenedRequest> opened;
  ConversionOutcome outcome = ConversionOutcome::Refused;
};

PreflightResult RunPreflightChecks(std::string& sourcePath, std::string& targetPath,
                                   RequestExtras extras, Platform& platform);

}  // namespace morvel
