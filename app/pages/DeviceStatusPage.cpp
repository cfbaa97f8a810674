#include "app/pages/DeviceStatusPage.h"

#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QWidget>
#include <cstdio>
#include <utility>

#include "app/pages/PageText.h"
#include "app/widgets/ClickFilter.h"
#include "app/widgets/TextBox.h"
#include "device/AccessHint.h"
#include "device/DeviceLabel.h"
#include "device/qt/CounterSession.h"
#include "device/qt/ProgramAccessHint.h"
#include "i18n/TLangTable.h"
#include "text/ControlEscape.h"

namespace kvelt::app {
namespace {

bool IsPanel(int panel) { return panel == 0 || panel == 1; }

constexpr std::string_view kRefreshing = "IDS_4";

}  // namespace

DeviceStatusPage::DeviceStatusPage(const Controls& controls, const TLangTable& texts,
                                   std::function<const hid::CounterSession*()> session, Events events)
    : controls_(controls), texts_(texts), session_(std::move(session)), events_(std::move(events)) {
  for (std::size_t panel = 0; panel < clicks_.size(); ++panel) {
    clicks_[panel] = new ClickFilter(controls_.Panels[panel], [this] { OpenAccessHintBox(); });
  }
  if (controls_.Window != nullptr) plainTitle_ = controls_.Window->windowTitle();
}

DeviceStatusPage::~DeviceStatusPage() = default;

QString DeviceStatusPage::PanelText(int panel) const {
  return IsPanel(panel) ? controls_.Panels[static_cast<std::size_t>(panel)]->text() : QString();
}

void DeviceStatusPage::SetPanelText(int panel, const QString& text) {
  if (IsPanel(panel)) {
    controls_.Panels[static_cast<std::size_t>(panel)]->setText(text);
    keys_[static_cast<std::size_t>(panel)].clear();
    if (panel == 0) outcomeShown_ = false;
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
  if (outcomeShown_) ShowOutcome();
  ShowDeviceList();
  ShowTitle();
  ShowAccessHint();
  ShowReadouts();
}

void DeviceStatusPage::ShowReadouts() {
  const hid::CounterSession* session = session_();
  if (session == nullptr || !events_.Readouts) return;
  const hid::CounterState state = session->State();
  events_.Readouts(state == hid::CounterState::Connected,
                   PageText(texts_, state == hid::CounterState::Absent ? "IDS_221" : "IDS_222"), Outcome());
}

void DeviceStatusPage::ClearDevices() {
  controls_.DeviceList->clear();
  listed_.clear();
}

void DeviceStatusPage::DeviceChange(hid::CounterSession* session) {
  ClearDevices();
  if (session != nullptr) {
    refreshing_ = true;
    // The message the refresh displaces stays beside its outcome (as one an outcome carried).
    if (!outcomeShown_) {
      carriedKey_ = keys_[0] != kRefreshing ? keys_[0] : std::string();
      carriedText_ = keys_[0].empty() ? PanelText(0) : QString();
    }
    session->RebuildDeviceList();
  }
}

void DeviceStatusPage::ListDevice(const hid::SessionDevice& device) {
  ListedDevice listed{device.Label, {}};
  if (hid::IsCounterLabel(device.ProductString)) {
    if (device.Simulated) {
      listed.MarkKey = "IDS_219";
    } else if (!device.Access) {
      listed.MarkKey = "IDS_218";
    }
  }
  listed_.push_back(std::move(listed));
  controls_.DeviceList->addItem(QString());
  ShowDeviceList();
  ShowStatusMessage(0, kRefreshing);
  ShowStatusMessage(1, "IDS_2");
}

void DeviceStatusPage::ShowDeviceList() {
  const int count = std::min(controls_.DeviceList->count(), static_cast<int>(listed_.size()));
  for (int i = 0; i < count; ++i) {
    const ListedDevice& listed = listed_[static_cast<std::size_t>(i)];
    QString text = QString::fromStdString(listed.Label);
    if (!listed.MarkKey.empty()) text += PageText(texts_, listed.MarkKey);
    controls_.DeviceList->item(i)->setText(text);
  }
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
  for (std::size_t panel = 0; panel < clicks_.size(); ++panel) {
    controls_.Panels[panel]->setToolTip(hint);
    clicks_[panel]->SetEnabled(!hint.isEmpty());
  }
}

void DeviceStatusPage::OpenAccessHintBox() {
  QString text = CurrentAccessHint();
  if (text.isEmpty()) return;
  const hid::CounterSession* session = session_();
  if (session->State() == hid::CounterState::NoAccess) {
    // The commands once more on a line of their own, ready to be copied.
    const hid::AccessHint hint = hid::ProgramAccessHint(session->AccessError());
    if (hint.Failure() == hid::OpenFailure::NoPermission) {
      text += QStringLiteral("\n\n") + QString::fromStdString(hint.Commands());
    }
  }
  auto* box = new TextBox(PageText(texts_, "IDS_223"), text, PageText(texts_, "IDS_224"),
                          PageText(texts_, "IDS_225"), controls_.Window);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

QString DeviceStatusPage::Outcome() const {
  const hid::CounterSession* session = session_();
  if (session == nullptr) return QString();
  switch (session->State()) {
    case hid::CounterState::Connected: {
      if (session->CounterSimulated()) return PageText(texts_, "IDS_214");
      QString text = PageText(texts_, "IDS_213");
      const std::string& serial = session->Counter()->SerialNumber;
      if (!serial.empty())
        text += QStringLiteral(" (S/N %1)").arg(QString::fromStdString(EscapeControlCharacters(serial)));
      return text;
    }
    case hid::CounterState::NoAccess:
      return PageText(texts_, "IDS_216");
    case hid::CounterState::InUse:
      return QString::fromStdString(session->ObstacleText(texts_.ActiveLanguage()));
    case hid::CounterState::Absent:
      break;
  }
  return PageText(texts_, "IDS_215");
}

void DeviceStatusPage::ShowOutcome() {
  QString text = Outcome();
  const QString carried = carriedKey_.empty() ? carriedText_ : PageText(texts_, carriedKey_);
  if (!carried.isEmpty()) text += QStringLiteral(" · ") + carried;
  SetPanelText(0, text);
  outcomeShown_ = true;
}

void DeviceStatusPage::ShowTitle() {
  if (controls_.Window == nullptr) return;
  const hid::CounterSession* session = session_();
  const bool simulated = session != nullptr && session->CounterSimulated();
  controls_.Window->setWindowTitle(simulated ? PageText(texts_, "IDS_211") : plainTitle_);
}

void DeviceStatusPage::ShowCounterState() {
  const hid::CounterSession* session = session_();
  if (session == nullptr) {
    return;
  }
  const bool connected = session->State() == hid::CounterState::Connected;
  ShowStatusMessage(1, !connected ? "IDS_2" : session->CounterSimulated() ? "IDS_212" : "IDS_1");
  if (connected && session->Connections() != connectionsSeen_) {
    // A new stream of reports: what counts the reports starts afresh.
    connectionsSeen_ = session->Connections();
    if (events_.NewStream) events_.NewStream();
  }
  // The end of a refresh, or a change of state while panel 0 tells the last one: the outcome.
  if (refreshing_ || outcomeShown_ || keys_[0] == kRefreshing || PanelText(0).isEmpty()) ShowOutcome();
  refreshing_ = false;
  ShowTitle();
  ShowAccessHint();
  ShowReadouts();
  const std::string obstacle = session->ObstacleText(2);
  if (!obstacle.empty() && !noAccessReported_) {
    std::fprintf(stderr, "kvelt-pc: %s\n", obstacle.c_str());
  }
  noAccessReported_ = !obstacle.empty();
}

}  // namespace kvelt::app
