#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/pages/StatusSink.h"

class ClickFilter;
class QLabel;
class QListWidget;
class QStatusBar;
class QWidget;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::hid {
class CounterSession;
struct SessionDevice;
}  // namespace kvelt::hid

namespace kvelt::app {

// The device list ("Ustawienia programu") and the status bar: its two panels show a message
// key's text in the active language (shown again after a language change) or a plain text, and
// the counter's state after every device change. Panel 0 ends each refresh of the list with its
// outcome (counter connected, not found, not accessible, in use), keeping a message the refresh
// displaced beside it; what keeps the counter from the program is both panels' tooltip and, on a
// click of either panel, a box the user can read whole and copy from. While the simulated counter
// is the counter, the window title and panel 1 say so.
class DeviceStatusPage : public StatusSink {
 public:
  struct Controls {
    QStatusBar* Bar = nullptr;
    std::array<QLabel*, 2> Panels{};
    QListWidget* DeviceList = nullptr;  // ListBox1
    QWidget* Window = nullptr;          // its title names the simulation
  };
  struct Events {
    // The counter starts a new stream of reports.
    std::function<void()> NewStream;
    // The counter's state for the read-outs: connected or not, what the user should do (short)
    // and why (the panel's outcome).
    std::function<void(bool connected, const QString& whatToDo, const QString& why)> Readouts;
  };
  // `session` gives the counter session, none before it is created and after it ended.
  DeviceStatusPage(const Controls& controls, const TLangTable& texts,
                   std::function<const hid::CounterSession*()> session, Events events);
  ~DeviceStatusPage() override;
  DeviceStatusPage(const DeviceStatusPage&) = delete;
  DeviceStatusPage& operator=(const DeviceStatusPage&) = delete;

  QString PanelText(int panel) const;
  // A text of no message key; a language change leaves it as it is. Panels other than 0 and 1
  // are ignored.
  void SetPanelText(int panel, const QString& text);
  void SetPanelTextAndRepaint(int panel, const QString& text);
  void ShowStatusMessage(int panel, std::string_view key) override;
  void ShowStatusMessageAndRepaint(int panel, std::string_view key) override;
  // Everything this page shows, in the active language: the panels' messages, the outcome, the
  // device list's marks, the title and the access hint.
  void Refresh();

  // The device list: emptied before the session lists the devices again, one line per device
  // (a counter that cannot be opened and the simulated one are marked).
  void ClearDevices();
  void ListDevice(const hid::SessionDevice& device);
  // The devices changed: the list emptied and filled again by the session (which gives every
  // device back but the connected counter and chooses the counter; ShowCounterState follows).
  // Without a session (after it ended) the list stays empty.
  void DeviceChange(hid::CounterSession* session);

  // What keeps the counter from the program in the active language; empty when nothing does.
  QString CurrentAccessHint() const;
  // The current hint as both panels' tooltip; a click on either panel shows it in a box.
  void ShowAccessHint();
  // Opens the box with the whole hint (selectable, with a copy button); nothing without a hint.
  void OpenAccessHintBox();
  // The counter's state after a device change or a freed lock; a newly found obstacle is
  // reported once on stderr.
  void ShowCounterState();

 private:
  struct ListedDevice {
    std::string Label;
    std::string MarkKey;  // the key of the mark after the label; empty for none
  };

  // The outcome of the last refresh in the active language; empty without a session.
  QString Outcome() const;
  void ShowOutcome();
  void ShowTitle();
  void ShowDeviceList();
  void ShowReadouts();

  Controls controls_;
  const TLangTable& texts_;
  std::function<const hid::CounterSession*()> session_;
  Events events_;
  std::array<ClickFilter*, 2> clicks_{};  // owned by the panels
  // The message key each panel shows, empty for a text of no key.
  std::array<std::string, 2> keys_{};
  std::vector<ListedDevice> listed_;
  // A refresh of the device list runs: its outcome goes to panel 0 when it ends.
  bool refreshing_ = false;
  // Panel 0 shows the outcome (with the message carried beside it).
  bool outcomeShown_ = false;
  // The message a refresh displaced from panel 0, shown beside the outcome: its key (shown in
  // the active language) or, for a text of no key, the text.
  std::string carriedKey_;
  QString carriedText_;  // or the plain text it displaced
  QString plainTitle_;
  // The session's connection count last seen.
  std::uint64_t connectionsSeen_ = 0;
  // The counter was last found unusable (reported once on stderr).
  bool noAccessReported_ = false;
};

}  // namespace kvelt::app
