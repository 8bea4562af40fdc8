#include "engine/conversion_request.h"

#include "text/encoding_classifier.h"
#include "text/utf8.h"

namespace morvel {

const std::size_t STANDARD_INPUT_SHARE = EncodingClassifier::STANDARD_INPUT_LIMIT;

bool IsPageTitle(std::string_view title) {
  for (std::size_t at = 0; at < title.size();) {
    const auto character = FirstUtf8Character(title.substr(at));
    if (!character) return false;
    at += character->length;
  }
  return true;
}

}  // namespace morvel
