#pragma once

namespace kvelt::hid {

// Closes a descriptor of a hidraw node without making the caller wait for the kernel: hidraw's
// release takes a lock that every write in flight to any hidraw node holds, up to usbhid's 5 s
// on a counter that stopped reading. While a write of this process is in flight the close
// happens on a thread of its own.
void CloseNode(int fd);

}  // namespace kvelt::hid
