#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/pages/StatusSink.h"

class QLabel;
class QListWidget;
class QStatusBar;

namespace kvelt {
class TLangTable;
}  // namespace kvelt

namespace kvelt::hid {
class CounterSession;
}  // namespace kvelt::hid

namespace kvelt::app {

// The device list ("Ustawienia programu") and the status bar: its two panels show a message
// key's text in the active language (shown again after a language change) or a plain text, and
// the counter's state after every device change, with what keeps the counter from the program
// (the access hint or the program that holds it) in panel 0 and as both panels' tooltip.
class DeviceStatusPage : public StatusSink {
 public:
  struct Controls {
    QStatusBar* Bar = nullptr;
    std::array<QLabel*, 2> Panels{};
    QListWidget* DeviceList = nullptr;  // ListBox1
  };
  // `session` gives the counter session, none before it is created and after it ended;
  // `newStream` runs when the counter starts a new stream of reports.
  DeviceStatusPage(const Controls& controls, const TLangTable& texts,
                   std::function<const hid::CounterSession*()> session, std::function<void()> newStream);

  QString PanelText(int panel) const;
  // A text of no message key; a language change leaves it as it is. Panels other than 0 and 1
  // are ignored.
  void SetPanelText(int panel, const QString& text);
  void SetPanelTextAndRepaint(int panel, const QString& text);
  void ShowStatusMessage(int panel, std::string_view key) override;
  void ShowStatusMessageAndRepaint(int panel, std::string_view key) override;
  // Both panels in the active language: the message each last showed, and the access hint.
  void Refresh();

  // The device list: emptied before the session lists the devices again, one line per device.
  void ClearDevices();
  void ListDevice(const std::string& label);
  // The devices changed: the list emptied and filled again by the session (which gives every
  // device back but the connected counter and chooses the counter; ShowCounterState follows).
  // Without a session (after it ended) the list stays empty.
  void DeviceChange(hid::CounterSession* session);

  // What keeps the counter from the program in the active language; empty when nothing does.
  QString CurrentAccessHint() const;
  // Shows the current hint in panel 0 and as the tooltip of both panels; takes a hint that is
  // no longer true out of panel 0.
  void ShowAccessHint();
  // The counter's state after a device change or a freed lock; a newly found obstacle is
  // reported once on stderr.
  void ShowCounterState();

 private:
  Controls controls_;
  const TLangTable& texts_;
  std::function<const hid::CounterSession*()> session_;
  std::function<void()> newStream_;
  // The message key each panel shows, empty for a text of no key.
  std::array<std::string, 2> keys_{};
  // The hint panel 0 shows now; empty when it shows none.
  QString shownAccessHint_;
  // The session's connection count last seen.
  std::uint64_t connectionsSeen_ = 0;
  // The counter was last found unusable (reported once on stderr).
  bool noAccessReported_ = false;
};

}  // namespace kvelt::app
