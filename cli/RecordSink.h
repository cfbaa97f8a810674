#pragma once

#include <string>
#include <string_view>

#include "measure/RecordFile.h"

namespace kvelt::cli {

// Where `kvelt record` puts its lines. A file keeps the window's rules: opened, appended to and
// closed for every line, a failed line cut back out. "-" is the standard output, and a pipe,
// FIFO or socket (also as /dev/stdout or /dev/fd/N) is opened once and written a whole line per
// write, so a reader gets each line as soon as it is made.
class RecordSink {
 public:
  // `path` in the file system's encoding. Does not open anything yet.
  explicit RecordSink(std::string path);
  ~RecordSink();
  RecordSink(const RecordSink&) = delete;
  RecordSink& operator=(const RecordSink&) = delete;

  // Opens a stream, or creates the file empty as the window's file choice does. A FIFO without a
  // reader is waited for (said on stderr). OpenFailed / WriteFailed as for a line.
  AppendResult Open();
  // Writes one whole line.
  AppendResult Write(std::string_view line);

  bool Stream() const { return stream_; }
  // The reader of the stream went away (EPIPE): the run ends, cleanly.
  bool ReaderGone() const { return readerGone_; }

 private:
  std::string path_;
  bool stream_ = false;
  bool readerGone_ = false;
  int descriptor_ = -1;
  bool owned_ = false;
};

}  // namespace kvelt::cli
