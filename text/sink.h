// The one-method writer that the parts of a page write through.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

class Sink {
 public:
  virtual ~Sink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

}  // namespace morvel
