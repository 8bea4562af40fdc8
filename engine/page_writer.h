// Writes the page as text: every "\n" reaches the file as CR LF, every other byte unchanged.
// Output is buffered; the first failed write is remembered and nothing more is attempted.
#pragma once

#include <memory>
#include <string_view>

#include "engine/platform.h"
#include "text/sink.h"

namespace morvel {

class PageWriter final : public Sink {
 public:
  explicit PageWriter(ByteWriter& file);

  void Write(std::string_view bytes) override;

  // Flushes the buffer and closes the file. False when any write or the close failed.
  bool Finish();

 private:
  void Flush();

  ByteWriter& file_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace morvel
