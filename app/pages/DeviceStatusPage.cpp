#include "app/pages/DeviceStatusPage.h"

#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <cstdio>
#include <utility>

#include "app/pages/PageText.h"
#include "device/qt/CounterSession.h"
#include "i18n/TLangTable.h"

namespace kvelt::app {
namespace {

bool IsPanel(int panel) { return panel == 0 || panel == 1; }

}  // namespace

DeviceStatusPage::DeviceStatusPage(const Controls& controls, const TLangTable& texts,
                                   std::function<const hid::CounterSession*()> session,
                                   std::function<void()> newStream)
    : controls_(controls), texts_(texts), session_(std::move(session)), newStream_(std::move(newStream)) {}

QString DeviceStatusPage::PanelText(int panel) const {
  return IsPanel(panel) ? controls_.Panels[static_cast<std::size_t>(panel)]->text() : QString();
}

void DeviceStatusPage::SetPanelText(int panel, const QString& text) {
  if (IsPanel(panel)) {
    controls_.Panels[static_cast<std::size_t>(panel)]->setText(text);
    keys_[static_cast<std::size_t>(panel)].clear();
  }
}

void DeviceStatusPage::SetPanelTextAndRepaint(int panel, const QString& text) {
  SetPanelText(panel, text);
  controls_.Bar->repaint();
}

void DeviceStatusPage::ShowStatusMessage(int panel, std::string_view key) {
  if (IsPanel(panel)) {
    SetPanelText(panel, PageText(texts_, key));
    keys_[static_cast<std::size_t>(panel)] = std::string(key);
  }
}

void DeviceStatusPage::ShowStatusMessageAndRepaint(int panel, std::string_view key) {
  ShowStatusMessage(panel, key);
  controls_.Bar->repaint();
}

void DeviceStatusPage::Refresh() {
  for (int panel = 0; panel < 2; ++panel) {
    // A copy: showing the message stores the key again.
    const std::string key = keys_[static_cast<std::size_t>(panel)];
    if (!key.empty()) {
      ShowStatusMessage(panel, key);
    }
  }
  ShowAccessHint();
}

void DeviceStatusPage::ClearDevices() { controls_.DeviceList->clear(); }

void DeviceStatusPage::DeviceChange(hid::CounterSession* session) {
  ClearDevices();
  if (session != nullptr) {
    session->RebuildDeviceList();
  }
}

void DeviceStatusPage::ListDevice(const std::string& label) {
  controls_.DeviceList->addItem(QString::fromStdString(label));
  ShowStatusMessage(0, "IDS_4");
  ShowStatusMessage(1, "IDS_2");
}

QString DeviceStatusPage::CurrentAccessHint() const {
  const hid::CounterSession* session = session_();
  if (session == nullptr) {
    return QString();
  }
  return QString::fromStdString(session->ObstacleText(texts_.ActiveLanguage()));
}

void DeviceStatusPage::ShowAccessHint() {
  const QString hint = CurrentAccessHint();
  if (!hint.isEmpty()) {
    SetPanelText(0, hint);
  } else if (!shownAccessHint_.isEmpty() && PanelText(0) == shownAccessHint_) {
    SetPanelText(0, QString());  // the obstacle is gone: its text would no longer be true
  }
  shownAccessHint_ = hint;
  controls_.Panels[0]->setToolTip(hint);
  controls_.Panels[1]->setToolTip(hint);
}

void DeviceStatusPage::ShowCounterState() {
  const hid::CounterSession* session = session_();
  if (session == nullptr) {
    return;
  }
  const bool connected = session->State() == hid::CounterState::Connected;
  ShowStatusMessage(1, connected ? "IDS_1" : "IDS_2");
  if (connected && session->Connections() != connectionsSeen_) {
    // A new stream of reports: what counts the reports starts afresh.
    connectionsSeen_ = session->Connections();
    newStream_();
  }
  ShowAccessHint();
  const std::string obstacle = session->ObstacleText(2);
  if (!obstacle.empty() && !noAccessReported_) {
    std::fprintf(stderr, "kvelt-pc: %s\n", obstacle.c_str());
  }
  noAccessReported_ = !obstacle.empty();
}

}  // namespace kvelt::app
