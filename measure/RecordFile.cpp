#include "measure/RecordFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvelt {
namespace {

long WriteToDescriptor(int descriptor, const char* data, std::size_t size) {
  long written = -1;
  do {
    written = static_cast<long>(::write(descriptor, data, size));
  } while (written < 0 && errno == EINTR);
  return written;
}

// A FIFO, socket or other special file could block the writer or swallow the line.
bool MayBeWritten(const struct stat& info) { return S_ISREG(info.st_mode) || S_ISCHR(info.st_mode); }

// Drops the bytes a failed write left at the end of a regular file, unless the size says that
// someone else has appended since the size was taken: their data is never cut.
void RemovePartialLine(int descriptor, const struct stat& before, long written) {
  if (!S_ISREG(before.st_mode) || written <= 0) {
    return;
  }
  struct stat now {};
  if (::fstat(descriptor, &now) != 0 || now.st_size != before.st_size + written) {
    return;
  }
  [[maybe_unused]] const int cut = ::ftruncate(descriptor, before.st_size);
}

}  // namespace

AppendResult AppendLineToFile(const std::string& path, std::string_view line) {
  return AppendLineToFile(path, line, &WriteToDescriptor);
}

AppendResult AppendLineToFile(const std::string& path, std::string_view line, LineWriter writer) {
  if (path.empty()) {
    return AppendResult::OpenFailed;
  }
  // O_NONBLOCK: a FIFO without a reader fails at once instead of waiting for one.
  const int descriptor =
      ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    return AppendResult::OpenFailed;
  }
  struct stat before {};
  if (::fstat(descriptor, &before) != 0 || !MayBeWritten(before)) {
    ::close(descriptor);
    return AppendResult::OpenFailed;
  }
  const long written = writer(descriptor, line.data(), line.size());
  const bool complete = written >= 0 && static_cast<std::size_t>(written) == line.size();
  if (!complete) {
    RemovePartialLine(descriptor, before, written);
  }
  const bool closed = ::close(descriptor) == 0;
  return complete && closed ? AppendResult::Written : AppendResult::WriteFailed;
}

}  // namespace kvelt
