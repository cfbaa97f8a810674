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

// Sets `failure` to an error number of the system.
void FailWith(AppendFailure& failure, int error) {
  failure.What = AppendFailure::Cause::System;
  failure.Error = error;
  failure.Text = std::strerror(error);
}

// Opens the file for appending, following links one at a time and each only when the user or
// root owns it. -1 with `failure` set when it cannot be opened.
int OpenForAppend(const std::string& path, AppendFailure& failure) {
  if (path.empty()) {
    failure = {AppendFailure::Cause::NoName, 0, "no file name"};
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
      FailWith(failure, error);
      return -1;
    }
    if (link.st_uid != ::geteuid() && link.st_uid != 0) {
      failure = {
          AppendFailure::Cause::ForeignLink, 0,
          "a symbolic link owned by another user (uid " + std::to_string(link.st_uid) + ") is not followed"};
      return -1;
    }
    std::error_code readError;
    const std::filesystem::path target = std::filesystem::read_symlink(current, readError);
    if (readError) {
      FailWith(failure, readError.value());
      return -1;
    }
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  FailWith(failure, ELOOP);
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

AppendResult AppendLineToFile(const std::string& path, std::string_view line, AppendFailure& failure) {
  return AppendLineToFile(path, line, &WriteToDescriptor, failure);
}

AppendResult AppendLineToFile(const std::string& path, std::string_view line, LineWriter writer) {
  AppendFailure failure;
  return AppendLineToFile(path, line, writer, failure);
}

AppendResult AppendLineToFile(const std::string& path, std::string_view line, LineWriter writer,
                              AppendFailure& failure) {
  const int descriptor = OpenForAppend(path, failure);
  if (descriptor < 0) {
    return AppendResult::OpenFailed;
  }
  struct stat before {};
  if (::fstat(descriptor, &before) != 0 || !MayBeWritten(before)) {
    failure = {AppendFailure::Cause::NotAFile, 0, "not a regular file"};
    ::close(descriptor);
    return AppendResult::OpenFailed;
  }
  std::string text;
  if (!line.empty()) text = MissingLineEnd(descriptor, before);
  text += line;
  errno = 0;
  const long written = writer(descriptor, text.data(), text.size());
  const bool complete = written >= 0 && static_cast<std::size_t>(written) == text.size();
  if (!complete) {
    // A short write that set no error number ran out of room.
    FailWith(failure, errno != 0 ? errno : ENOSPC);
    RemovePartialLine(descriptor, before, written);
  }
  const bool closed = ::close(descriptor) == 0;
  if (complete && !closed) FailWith(failure, errno);
  return complete && closed ? AppendResult::Written : AppendResult::WriteFailed;
}

AppendFailure AppendOpenFailure(const std::string& path) {
  AppendFailure failure;
  const int descriptor = OpenForAppend(path, failure);
  if (descriptor < 0) return failure;
  struct stat info {};
  if (::fstat(descriptor, &info) == 0 && !MayBeWritten(info)) {
    failure = {AppendFailure::Cause::NotAFile, 0, "not a regular file"};
  }
  ::close(descriptor);
  return failure;
}

std::string AppendOpenProblem(const std::string& path) { return AppendOpenFailure(path).Text; }

}  // namespace kvelt
