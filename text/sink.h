// The one-method writer that the line transforms and the page writer write through.
#pragma once

#include <string>
#include <string_view>

namespace morvel {

class Sink {
 public:
  virtual ~Sink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// Collects everything written, for tests and for building text in memory.
class StringSink final : public Sink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

}  // namespace morvel
