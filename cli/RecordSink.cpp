#include "cli/RecordSink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace kvelt::cli {
namespace {

bool IsStreamNode(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
}

}  // namespace

RecordSink::RecordSink(std::string path) : path_(std::move(path)) {
  stream_ = path_ == "-" || IsStreamNode(path_);
}

RecordSink::~RecordSink() {
  if (owned_ && descriptor_ >= 0) ::close(descriptor_);
}

AppendResult RecordSink::Open() {
  if (!stream_) return AppendLineToFile(path_, "");
  if (path_ == "-") {
    descriptor_ = STDOUT_FILENO;
    return AppendResult::Written;
  }
  // A FIFO opened for writing without a reader fails at once when non-blocking: then the reader
  // is waited for.
  descriptor_ = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor_ < 0 && errno == ENXIO) {
    std::fprintf(stderr, "kvelt: waiting for a reader of %s\n", path_.c_str());
    descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
  }
  if (descriptor_ < 0) return AppendResult::OpenFailed;
  owned_ = true;
  const int flags = ::fcntl(descriptor_, F_GETFL);
  if (flags >= 0) ::fcntl(descriptor_, F_SETFL, flags & ~O_NONBLOCK);
  return AppendResult::Written;
}

AppendResult RecordSink::Write(std::string_view line) {
  if (!stream_) return AppendLineToFile(path_, line);
  if (descriptor_ < 0) return AppendResult::OpenFailed;
  while (!line.empty()) {
    const ssize_t written = ::write(descriptor_, line.data(), line.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      readerGone_ = errno == EPIPE;
      return AppendResult::WriteFailed;
    }
    line.remove_prefix(static_cast<std::size_t>(written));
  }
  return AppendResult::Written;
}

}  // namespace kvelt::cli
