#pragma once

// Notices that hidraw nodes came, went or changed, as one descriptor to wait on.
//
// Where udev runs, its own events are taken: they come after the rules have run, so a node
// that just appeared already has its final permissions. Where it does not (containers,
// minimal systems), the kernel's events are taken instead, and since a node may then appear
// in /dev only after its event (or change its mode later), /dev is watched for hidraw nodes
// too.

#include <memory>

#include "device/linux/UdevPointers.h"

namespace kvelt::hid {

class UeventWatch {
 public:
  enum class Source { Udev, Kernel };

  // Null when no watch can be set up (no netlink socket, for one).
  static std::unique_ptr<UeventWatch> Create(udev* context, Source source);
  ~UeventWatch();
  UeventWatch(const UeventWatch&) = delete;
  UeventWatch& operator=(const UeventWatch&) = delete;

  Source EventSource() const { return source_; }
  // Readable while something is pending; stays the same for the watch's life.
  int Fd() const { return epollFd_; }
  // Consumes what is pending without blocking; true when hidraw nodes may have changed.
  bool Drain();

 private:
  UeventWatch(Source source, UdevMonitorPtr monitor, int inotifyFd, int epollFd);
  bool DrainMonitor();
  bool DrainNodeWatch();

  Source source_;
  UdevMonitorPtr monitor_;
  int inotifyFd_;
  int epollFd_;
};

}  // namespace kvelt::hid
