#include "settings/AtomicFileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

namespace kvelt {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryInfix = ".tmp";
constexpr std::size_t kSuffixLength = 12;
// A temporary file this old belongs to no write still running (a write takes milliseconds).
constexpr auto kLeftoverAge = std::chrono::minutes(1);

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  bool Close() {
    const bool closed = fd_ < 0 || ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

fs::path FolderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

// A folder where someone else may put or swap a link: sticky (as /tmp), or writable by group or others.
bool SharedFolder(const fs::path& folder) {
  struct stat status {};
  return ::stat(folder.c_str(), &status) != 0 || (status.st_mode & (S_ISVTX | S_IWGRP | S_IWOTH)) != 0;
}

// The file a chain of symbolic links ends at, even when that file does not exist yet; nothing
// (with `why`) when a link of the chain lies in a shared folder.
std::optional<fs::path> FollowLinks(fs::path path, std::string& why) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
    if (SharedFolder(FolderOf(path))) {
      why = "a symbolic link in " + FolderOf(path).string() +
            ", which other users may write to, is not followed";
      return std::nullopt;
    }
    const fs::path target = fs::read_symlink(path, error);
    if (error) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;  // a loop; opening it fails
}

std::string RandomSuffix() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t bits = generator();
  std::string suffix;
  for (std::size_t i = 0; i < kSuffixLength; ++i, bits >>= 4) suffix += kDigits[bits & 0xF];
  return suffix;
}

bool IsTemporaryName(std::string_view name, std::string_view target) {
  const std::size_t stem = target.size() + kTemporaryInfix.size();
  if (name.size() != stem + kSuffixLength || name.substr(0, target.size()) != target ||
      name.substr(target.size(), kTemporaryInfix.size()) != kTemporaryInfix) {
    return false;
  }
  for (const char c : name.substr(stem)) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

// Removes temporary files of our own earlier writes that never reached their rename.
void RemoveLeftovers(const fs::path& target) {
  std::error_code error;
  const std::string name = target.filename().string();
  const auto oldEnough = fs::file_time_type::clock::now() - kLeftoverAge;
  for (fs::directory_iterator entry(FolderOf(target), error), end; !error && entry != end;
       entry.increment(error)) {
    if (!IsTemporaryName(entry->path().filename().string(), name)) continue;
    struct stat status {};
    if (::lstat(entry->path().c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_uid != ::geteuid()) {
      continue;
    }
    std::error_code ignored;
    if (fs::last_write_time(entry->path(), ignored) < oldEnough) fs::remove(entry->path(), ignored);
  }
}

bool WriteAll(int fd, std::string_view content, off_t offset) {
  while (!content.empty()) {
    const ssize_t count = ::pwrite(fd, content.data(), content.size(), offset);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(count));
    offset += count;
  }
  return true;
}

void SyncFolder(const fs::path& folder) {
  const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());  // best effort: some file systems refuse it
}

bool CutTo(int fd, off_t size) { return ::ftruncate(fd, size) == 0; }

// Every write covers the whole of the old content, so the file holds the old or the new text
// (at worst with blank padding after it), never the head of one and the tail of the other.
bool RewriteInPlace(int fd, off_t oldSize, std::string_view content, const ReplaceOptions& options,
                    std::string& why) {
  if (static_cast<off_t>(content.size()) >= oldSize) return WriteAll(fd, content, 0) && ::fsync(fd) == 0;
  if (!options.Padded) {
    why = "the file cannot be replaced and is not shortened in place";
    return false;
  }
  const std::string padded = options.Padded(static_cast<std::size_t>(oldSize));
  if (static_cast<off_t>(padded.size()) < oldSize) return false;
  const auto cut = options.Cut ? options.Cut : CutTo;
  return WriteAll(fd, padded, 0) && ::fsync(fd) == 0 && cut(fd, static_cast<off_t>(content.size())) &&
         ::fsync(fd) == 0;
}

enum class RenameOutcome { Done, TryInPlace, Failed };

// Gives the temporary file the owner, group and mode of the file it replaces.
bool TakeOverIdentity(int fd, const struct stat& old) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
    return false;
  }
  // After fchown, which clears set-user-id bits.
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

RenameOutcome ReplaceByRename(const fs::path& target, std::string_view content, const struct stat* old) {
  fs::path temporary;
  Descriptor file;
  for (int attempt = 0; attempt < 16 && file.Get() < 0; ++attempt) {
    temporary = target;
    temporary += std::string(kTemporaryInfix) + RandomSuffix();
    file.Reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, old ? 0600 : 0666));
    if (file.Get() < 0 && errno != EEXIST) break;
  }
  if (file.Get() < 0) return RenameOutcome::TryInPlace;
  std::error_code ignored;
  if (old && !TakeOverIdentity(file.Get(), *old)) {
    file.Close();
    fs::remove(temporary, ignored);
    return RenameOutcome::TryInPlace;
  }
  const bool written = WriteAll(file.Get(), content, 0) && ::fsync(file.Get()) == 0;
  if (!file.Close() || !written) {
    fs::remove(temporary, ignored);
    return RenameOutcome::Failed;  // most likely a full disk, where rewriting in place would do harm
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    fs::remove(temporary, ignored);
    return RenameOutcome::TryInPlace;
  }
  SyncFolder(FolderOf(target));
  return RenameOutcome::Done;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, std::string_view content) {
  std::string why;
  return ReplaceFileContent(path, content, ReplaceOptions{}, why);
}

bool ReplaceFileContent(const std::string& path, std::string_view content, const ReplaceOptions& options,
                        std::string& why) {
  const std::optional<fs::path> followed = FollowLinks(path, why);
  if (!followed) return false;
  const fs::path& target = *followed;
  RemoveLeftovers(target);
  // O_NONBLOCK: a FIFO must not hold the write up; it is refused below.
  Descriptor existing(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (existing.Get() < 0 && errno != ENOENT) return false;  // write-protected, a folder, a FIFO...
  struct stat old {};
  const bool replacing = existing.Get() >= 0;
  if (replacing && (::fstat(existing.Get(), &old) != 0 || !S_ISREG(old.st_mode))) return false;

  if (!replacing || old.st_nlink <= 1) {
    switch (ReplaceByRename(target, content, replacing ? &old : nullptr)) {
      case RenameOutcome::Done:
        return true;
      case RenameOutcome::Failed:
        return false;
      case RenameOutcome::TryInPlace:
        break;
    }
  }
  return replacing && RewriteInPlace(existing.Get(), old.st_size, content, options, why);
}

}  // namespace kvelt
