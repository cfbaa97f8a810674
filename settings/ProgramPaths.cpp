#include "settings/ProgramPaths.h"

namespace kvelt {
namespace {

constexpr std::string_view kBinDirName = "bin";

std::string_view WithoutTrailingSlashes(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') {
    path.remove_suffix(1);
  }
  return path;
}

std::string Joined(std::string_view folder, std::string_view sub, std::string_view name) {
  std::string path(WithoutTrailingSlashes(folder));
  if (path != "/") {
    path += '/';
  }
  path.append(sub).append("/").append(name);
  return path;
}

}  // namespace

bool ProgramPaths::RunsInstalled(std::string_view executableDir) {
  const std::string_view dir = WithoutTrailingSlashes(executableDir);
  const std::size_t slash = dir.rfind('/');
  return slash != std::string_view::npos && dir.substr(slash + 1) == kBinDirName;
}

std::string ProgramPaths::InstallPrefix(std::string_view executableDir) {
  if (!RunsInstalled(executableDir)) {
    return {};
  }
  const std::string_view dir = WithoutTrailingSlashes(executableDir);
  const std::size_t slash = dir.rfind('/');
  return slash == 0 ? std::string("/") : std::string(dir.substr(0, slash));
}

std::string ProgramPaths::UdevRulePath(std::string_view executableDir) {
  if (RunsInstalled(executableDir)) {
    return Joined(InstallPrefix(executableDir), kInstalledUdevRulesDir, kUdevRuleName);
  }
  return Joined(SourceDir(), kSourceUdevRulesDir, kUdevRuleName);
}

std::string_view ProgramPaths::SourceDir() { return KVELT_SOURCE_DIR; }

}  // namespace kvelt
