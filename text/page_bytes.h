// A growable buffer of page bytes that the text page writer writes into directly.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "text/sink.h"

namespace morvel {

// Write() takes text whose line ends are "\n" and stores each as CR LF; the
// Reserve()/CommitTo() pair stores bytes that are already in page form. Memory is only ever
// grown, so a buffer that is cleared and refilled costs no allocation.
class PageBytes final : public Sink {
 public:
  void Write(std::string_view text) override;

  // Room for at least `count` more bytes after the stored ones; returns where they start.
  // Write there, then CommitTo() the end of what was written. Any other call may move the
  // room.
  char* Reserve(std::size_t count);
  void CommitTo(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

  void Clear() { size_ = 0; }

  std::size_t Size() const { return size_; }
  std::string_view View() const { return {data_.get(), size_}; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace morvel
