#pragma once

// What the user is told when the counter is present but its device node cannot be opened for
// reading and writing: why (no permission, busy, other failure) and, for a missing permission,
// the udev rule to install and the exact commands. Polish (language 1) and English (2).

#include <string>

namespace kvelt::hid {

enum class OpenFailure {
  None,          // the node opened
  NoPermission,  // EACCES, EPERM
  Busy,          // EBUSY: another program holds the node exclusively
  Other,         // an I/O error or anything else
};

OpenFailure ClassifyOpenError(int error);

class AccessHint {
 public:
  // rulePath: the udev rule file where it really is (the installed copy, or the source tree's).
  AccessHint(int openError, std::string rulePath);

  OpenFailure Failure() const { return failure_; }
  // Empty when the node opened. Any language other than 1 gets English.
  std::string Text(int language) const;
  // The shell commands that install the rule and apply it to the nodes present.
  std::string Commands() const;

 private:
  // True when udev already reads rules from the folder the rule file is in.
  bool RuleInPlace() const;

  int error_;
  OpenFailure failure_;
  std::string rulePath_;
};

}  // namespace kvelt::hid
