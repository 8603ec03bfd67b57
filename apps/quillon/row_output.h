// The printers' way to the output stream: text built a row at a time in a buffer and written in
// blocks of about 64 KiB, so that a result of any size goes out as it is read, in few writes.
// Only finished rows are written: when the writer goes before a row is finished (a value that
// could not be read), that part is dropped and the rows before it are written.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>

namespace quillon::cli {

// The output could not be written (a reader that went away, a full disk): there is no point in
// reading further rows. `error` is the system's error number of the failed write.
class OutputFailed : public std::runtime_error {
 public:
  explicit OutputFailed(int error)
      : std::runtime_error(std::string("the output could not be written: ") +
                           std::strerror(error)),
        error_(error) {}
  int error() const { return error_; }

 private:
  int error_;
};

class RowOutput {
 public:
  static constexpr std::size_t kBlock = 64 * 1024;

  explicit RowOutput(std::ostream& out) : out_(out) { text_.reserve(kBlock + kBlock / 4); }
  ~RowOutput() {
    dropUnfinished();
    write();
  }
  RowOutput(const RowOutput&) = delete;
  RowOutput& operator=(const RowOutput&) = delete;

  // The text being built; what is added since the last endRow() is the unfinished row.
  std::string& text() { return text_; }

  // What was added since the last call is finished; a full block is written. Throws OutputFailed
  // when the stream cannot take it.
  void endRow() {
    finished_ = text_.size();
    if (finished_ >= kBlock) {
      errno = 0;
      write();
      if (!out_) throw OutputFailed(errno);
    }
  }

  // The same without writing: for a destructor, which must not throw.
  void markFinished() { finished_ = text_.size(); }

  void dropUnfinished() { text_.resize(finished_); }

 private:
  void write() {
    out_.write(text_.data(), static_cast<std::streamsize>(finished_));
    text_.erase(0, finished_);
    finished_ = 0;
  }

  std::ostream& out_;
  std::string text_;
  std::size_t finished_ = 0;
};

}  // namespace quillon::cli
