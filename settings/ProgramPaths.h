#pragma once

#include <string>
#include <string_view>

namespace kvelt {

// Where the program's own files are, for a copy run from its build tree and for an installed
// copy. An installed executable lives in the prefix's bin folder; a built one never does (it
// stays in build/<preset>/app or .../cli), so the executable's folder tells the two apart.
class ProgramPaths {
 public:
  static constexpr std::string_view kUdevRuleName = "70-kvelt.rules";
  // The rule's folder under the install prefix.
  static constexpr std::string_view kInstalledUdevRulesDir = "lib/udev/rules.d";
  // The rule's folder in the source tree.
  static constexpr std::string_view kSourceUdevRulesDir = "packaging/udev";

  // True when `executableDir` (absolute, with or without a trailing '/') is a prefix's bin folder.
  static bool RunsInstalled(std::string_view executableDir);

  // The install prefix of an installed copy (the parent of its bin folder); empty for a built one.
  static std::string InstallPrefix(std::string_view executableDir);

  // The udev rule file the access hint names: <prefix>/lib/udev/rules.d/70-kvelt.rules for an
  // installed copy, <source tree>/packaging/udev/70-kvelt.rules for a built one.
  static std::string UdevRulePath(std::string_view executableDir);

  // The source tree this copy was built from.
  static std::string_view SourceDir();
};

}  // namespace kvelt
