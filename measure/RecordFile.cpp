#include "measure/RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace kvelt {
namespace {

// As many links in a row as the kernel follows.
constexpr int kMaxLinkHops = 40;

long WriteToDescriptor(int descriptor, const char* data, std::size_t size) {
  long written = -1;
  do {
    written = static_cast<long>(::write(descriptor, data, size));
  } while (written < 0 && errno == EINTR);
  return written;
}

// A FIFO, socket or other special file could block the writer or swallow the line.
bool MayBeWritten(const struct stat& info) { return S_ISREG(info.st_mode) || S_ISCHR(info.st_mode); }

// Opens the last path component itself, never a link there. O_NONBLOCK: a FIFO without a reader
// fails at once instead of waiting for one. Read access (when the file grants it) lets the last
// byte be checked for a line end.
int OpenWithoutFollowing(const std::string& path) {
  constexpr int kFlags = O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW;
  int descriptor = -1;
  do {
    descriptor = ::open(path.c_str(), O_RDWR | kFlags, 0666);
    if (descriptor < 0 && errno == EACCES) descriptor = ::open(path.c_str(), O_WRONLY | kFlags, 0666);
  } while (descriptor < 0 && errno == EINTR);
  return descriptor;
}

// Opens the file for appending, following links one at a time and each only when the user or
// root owns it. -1 with `why` set when it cannot be opened.
int OpenForAppend(const std::string& path, std::string& why) {
  if (path.empty()) {
    why = "no file name";
    return -1;
  }
  std::filesystem::path current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    const int descriptor = OpenWithoutFollowing(current);
    if (descriptor >= 0) return descriptor;
    // O_NOFOLLOW refuses a link with ELOOP, or (O_CREAT in a sticky folder) EACCES: lstat tells.
    const int error = errno;
    struct stat link {};
    if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      why = std::strerror(error);
      return -1;
    }
    if (link.st_uid != ::geteuid() && link.st_uid != 0) {
      why = "a symbolic link owned by another user (uid " + std::to_string(link.st_uid) + ") is not followed";
      return -1;
    }
    std::error_code readError;
    const std::filesystem::path target = std::filesystem::read_symlink(current, readError);
    if (readError) {
      why = readError.message();
      return -1;
    }
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  why = std::strerror(ELOOP);
  return -1;
}

// What must come before a line so that it starts a line of its own: nothing when the file is
// empty, unreadable or ends in LF, LF after a lone CR, else CR LF.
std::string_view MissingLineEnd(int descriptor, const struct stat& info) {
  if (!S_ISREG(info.st_mode) || info.st_size == 0) return {};
  char last = '\n';
  if (::pread(descriptor, &last, 1, info.st_size - 1) != 1) return {};
  if (last == '\n') return {};
  return last == '\r' ? std::string_view("\n") : std::string_view("\r\n");
}

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
  std::string why;
  const int descriptor = OpenForAppend(path, why);
  if (descriptor < 0) {
    return AppendResult::OpenFailed;
  }
  struct stat before {};
  if (::fstat(descriptor, &before) != 0 || !MayBeWritten(before)) {
    ::close(descriptor);
    return AppendResult::OpenFailed;
  }
  std::string text;
  if (!line.empty()) text = MissingLineEnd(descriptor, before);
  text += line;
  const long written = writer(descriptor, text.data(), text.size());
  const bool complete = written >= 0 && static_cast<std::size_t>(written) == text.size();
  if (!complete) {
    RemovePartialLine(descriptor, before, written);
  }
  const bool closed = ::close(descriptor) == 0;
  return complete && closed ? AppendResult::Written : AppendResult::WriteFailed;
}

std::string AppendOpenProblem(const std::string& path) {
  std::string why;
  const int descriptor = OpenForAppend(path, why);
  if (descriptor < 0) return why;
  struct stat info {};
  if (::fstat(descriptor, &info) == 0 && !MayBeWritten(info)) why = "not a regular file";
  ::close(descriptor);
  return why;
}

}  // namespace kvelt
