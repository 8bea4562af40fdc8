#include "engine/conversion_request.h"

#include "text/encoding_classifier.h"
#include "text/utf8.h"

namespace morvel {

const std::size_t STANDARD_INPUT_SHARE = EncodingClassifier::STANDARD_INPUT_LIMIT;

bool IsLanguageTag(std::string_view tag) {
  constexpr std::size_t LONGEST_TAG = 35;
  if (tag.empty() || tag.size() > LONGEST_TAG) return false;
  for (const char c : tag) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && !(c >= '0' && c <= '9') && c != '-') return false;
  }
  return true;
}

bool IsPageTitle(std::string_view title) {
  for (std::size_t at = 0; at < title.size();) {
    const auto character = FirstUtf8Character(title.substr(at));
    if (!character) return false;
    at += character->length;
  }
  return true;
}

}  // namespace morvel
