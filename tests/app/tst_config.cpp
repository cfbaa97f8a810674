// The configuration page through the real window over the simulated counter: what each button
// sends, refusals and their colour, every reply, the two-step outputs exchanges, read-back.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>
#include <vector>

#include "app/Main.h"
#include "app/MessageBoxes.h"
#include "app/pages/ConfigurationPage.h"
#include "app/widgets/EditBoxBackground.h"
#include "app/widgets/TBitBtn.h"
#include "config/DeviceCommands.h"
#include "device/qt/CounterSession.h"
#include "device/sim/SimulatedHidBackend.h"
#include "i18n/qt/TLangCombo.h"
#include "protocol/ByteOrder.h"
#include "protocol/ChannelFrame.h"
#include "tests/app/support/WindowControls.h"

using kvelt::app::EditBoxBackground;
using kvelt::hid::sim::SimulatedHidBackend;
using Bytes = std::vector<quint8>;
using kvelt::apptest::Ui;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }
QString Sep() { return QLocale::system().decimalPoint(); }
QString Localized(const char* text) { return QString::fromUtf8(text).replace(u',', Sep()); }

class SimWindow {
 public:
  SimWindow() {
    previous_ = kvelt::app::SetMessageBoxPresenter(
        [this](const kvelt::app::MessageBoxRequest& request) { boxes.push_back(request); });
    kvelt::app::ProgramOptions options;
    options.ConfigDir = dir_.path();
    options.Simulate = true;
    window_ = std::make_unique<TFMain>(options);
  }
  ~SimWindow() {
    window_.reset();
    kvelt::app::SetMessageBoxPresenter(std::move(previous_));
  }
  TFMain& W() { return *window_; }
  kvelt::hid::sim::SimulatedCounter& Counter() {
    return dynamic_cast<SimulatedHidBackend*>(&window_->Session()->Backend())->Counter();
  }
  bool Connected() { return window_->CurrentDevice() != nullptr; }
  // The reports written since the last call: code first, zero fill cut to `length` bytes.
  std::vector<Bytes> Sent(std::size_t length = 31) {
    std::vector<Bytes> sent;
    for (const auto& report : Counter().ReceivedReports()) {
      Bytes body(report.begin() + 1, report.end());
      body.resize(length);
      sent.push_back(body);
    }
    Counter().ClearReceivedReports();
    return sent;
  }
  std::vector<kvelt::app::MessageBoxRequest> boxes;

 private:
  QTemporaryDir dir_;
  kvelt::app::MessageBoxPresenter previous_;
  std::unique_ptr<TFMain> window_;
};

void Feed(TFMain& window, Bytes report) {
  report.resize(64);
  window.HidDataReceived(nullptr, 1, report.data(), static_cast<quint16>(report.size()));
}

Bytes F32(float v) {
  Bytes b(4);
  kvelt::StoreF32Le(b.data(), v);
  return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace

class ConfigTest : public QObject {
  Q_OBJECT

 private slots:
  void buttonsSendTheirPayloads_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::addColumn<Bytes>("expected");
    QTest::newRow("resolution 1000 ch1") << "button_set_res0"
                                         << "1000" << 0 << Bytes{104, 0, 0xA0, 0x0F, 0, 0, 0};
    QTest::newRow("resolution 65535 ch4") << "button_set_res3"
                                          << "65535" << 0 << Bytes{104, 3, 0xFC, 0xFF, 3, 0, 0};
    QTest::newRow("resolution 0 ch2") << "button_set_res1"
                                      << "0" << 0 << Bytes{104, 1, 0, 0, 0, 0, 0};
    QTest::newRow("coefficient 1,5 ch3")
        << "button_set_coeff2" << Localized("1,5") << 0 << Cat({{105, 2}, F32(1.5f), {0}});
    QTest::newRow("zero marker Tak ch2") << "button_set_zero1"
                                         << "" << 1 << Bytes{116, 1, 1, 0};
    QTest::newRow("get resolution ch3") << "button_get_res2"
                                        << "" << 0 << Bytes{114, 2, 0};
    QTest::newRow("get coefficient ch4") << "button_get_coeff3"
                                         << "" << 0 << Bytes{115, 3, 0};
    QTest::newRow("get zero ch1") << "button_get_zero0"
                                  << "" << 0 << Bytes{117, 0, 0};
    QTest::newRow("clear position 3") << "button_clear2"
                                      << "" << 0 << Bytes{106, 2, 0};
    QTest::newRow("gate time pos 11") << "SpeedButton2"
                                      << "" << 11 << Bytes{110, 0x50, 0xC3, 0, 0, 0};
    QTest::newRow("gate time pos 2") << "SpeedButton2"
                                     << "" << 2 << Bytes{110, 50, 0, 0, 0, 0};
    QTest::newRow("address 247") << "BitBtn8"
                                 << "" << 246 << Bytes{109, 247, 0};
    QTest::newRow("address 1") << "BitBtn8"
                               << "" << 0 << Bytes{109, 1, 0};
    QTest::newRow("baud 115200") << "BitBtn9"
                                 << "" << 3 << Bytes{111, 3, 0};
    QTest::newRow("read outputs") << "BitBtn1"
                                  << "" << 0 << Bytes{108, 0, 0};
  }
  void buttonsSendTheirPayloads() {
    QFETCH(QString, button);
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(Bytes, expected);
    SimWindow sim;
    TFMain& w = sim.W();
    QTRY_VERIFY(sim.Connected());
    const QChar digit = button.back();
    if (button.startsWith(QStringLiteral("button_set_res")))
      Ui(w).edit_res[digit.digitValue()]->setText(text);
    if (button.startsWith(QStringLiteral("button_set_coeff")))
      Ui(w).edit_coeff[digit.digitValue()]->setText(text);
    if (button.startsWith(QStringLiteral("button_set_zero")))
      Ui(w).edit_zero[digit.digitValue()]->setCurrentIndex(position);
    if (button == QStringLiteral("SpeedButton2")) Ui(w).TimeList->setCurrentIndex(position);
    if (button == QStringLiteral("BitBtn8")) Ui(w).mod_adr->setCurrentIndex(position);
    if (button == QStringLiteral("BitBtn9")) Ui(w).mod_br->setCurrentIndex(position);
    sim.Sent();
    auto* control = w.Control<QAbstractButton>(button.toLatin1().constData());
    QVERIFY(control != nullptr);
    control->click();
    const auto sent = sim.Sent(expected.size());
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(sent[0], expected);
  }

  void gateTimeItemsAreTheSentValuesLabels() {
    SimWindow sim;
    const auto& labels = kvelt::GateTimeLabels();
    QCOMPARE(Ui(sim.W()).TimeList->count(), static_cast<int>(labels.size()));
    for (int i = 0; i < Ui(sim.W()).TimeList->count(); ++i) {
      QCOMPARE(Ui(sim.W()).TimeList->itemText(i),
               QString::fromUtf8(labels[static_cast<std::size_t>(i)].data(),
                                 static_cast<qsizetype>(labels[static_cast<std::size_t>(i)].size())));
    }
  }

  void refusedValuesAreMarkedAndNotSent_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    const QString range = Utf8("Wpisz liczbę całkowitą od 0 do 65535");
    QTest::newRow("resolution empty") << "button_set_res0"
                                      << "" << range;
    QTest::newRow("resolution 65536") << "button_set_res1"
                                      << "65536" << range;
    QTest::newRow("resolution -1") << "button_set_res2"
                                   << "-1" << range;
    QTest::newRow("resolution 1x") << "button_set_res3"
                                   << "1x" << range;
    QTest::newRow("coefficient empty") << "button_set_coeff0"
                                       << "" << Utf8("Wpisz liczbę");
    QTest::newRow("coefficient other separator") << "button_set_coeff1" << (Sep() == u',' ? "1.5" : "1,5")
                                                 << Utf8("Oczekiwany separator dziesiętny: ") + Sep();
    QTest::newRow("coefficient text") << "button_set_coeff2"
                                      << "abc" << Utf8("Wpisz liczbę");
    QTest::newRow("coefficient beyond a single") << "button_set_coeff3"
                                                 << "1e39" << Utf8("Liczba poza zakresem");
  }
  void refusedValuesAreMarkedAndNotSent() {
    QFETCH(QString, button);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    SimWindow sim;
    TFMain& w = sim.W();
    QTRY_VERIFY(sim.Connected());
    const int c = button.back().digitValue();
    QLineEdit* box = button.contains(QStringLiteral("res")) ? Ui(w).edit_res[c] : Ui(w).edit_coeff[c];
    box->setText(text);
    sim.Sent();
    const QString panel = w.StatusPanelText(0);
    w.Control<QAbstractButton>(button.toLatin1().constData())->click();
    QVERIFY(sim.Sent().empty());
    QCOMPARE(box->palette().color(QPalette::Base), QColor(253, 124, 102));
    QCOMPARE(w.StatusPanelText(0), panel);
    QCOMPARE(box->toolTip(), reason);
    QTest::keyClick(box, Qt::Key_0);
    QCOMPARE(box->palette().color(QPalette::Base), EditBoxBackground::Normal(box));
    QCOMPARE(box->toolTip(), QString());
  }

  // Enter in a box presses the write button of its row.
  void enterPressesTheRowsWriteButton_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Bytes>("expected");
    QTest::newRow("resolution ch2") << "edit_res1"
                                    << "1000" << Bytes{104, 1, 0xA0, 0x0F, 0, 0};
    QTest::newRow("coefficient ch4") << "edit_coeff3" << Localized("1,5") << Cat({{105, 3}, F32(1.5f)});
    QTest::newRow("output threshold") << "out2_N"
                                      << "5" << Bytes{107};
  }
  void enterPressesTheRowsWriteButton() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(Bytes, expected);
    SimWindow sim;
    TFMain& w = sim.W();
    QTRY_VERIFY(sim.Connected());
    auto* edit = w.Control<QLineEdit>(box.toLatin1().constData());
    if (box.startsWith(u"out")) {
      w.Control<QCheckBox>(box.left(4).append(QStringLiteral("_A")).toLatin1().constData())->setChecked(true);
    }
    edit->setText(text);
    sim.Sent();
    QTest::keyClick(edit, Qt::Key_Return);
    const auto sent = sim.Sent(expected.size());
    QVERIFY(!sent.empty());
    QCOMPARE(sent[0], expected);
  }

  // The gate-time list shows what the frames report, once per change, so a choice not yet sent
  // stays; a time the list lacks leaves it without a choice, which the button refuses.
  void gateTimeListFollowsTheFrames() {
    SimWindow sim;
    TFMain& w = sim.W();
    const auto frame = [](int channel, std::uint16_t gateTimeMs) {
      kvelt::ChannelFrame f;
      f.Code = static_cast<std::uint8_t>(100 + channel);
      f.GateTimeMs = gateTimeMs;
      const auto bytes = kvelt::EncodeChannelFrame(f);
      return Bytes(bytes.begin(), bytes.end());
    };
    Feed(w, frame(0, 1000));
    QCOMPARE(Ui(w).TimeList->currentText(), QStringLiteral("1,00   [s]"));
    Ui(w).TimeList->setCurrentIndex(3);
    Feed(w, frame(2, 1000));
    QCOMPARE(Ui(w).TimeList->currentIndex(), 3);
    Feed(w, frame(1, 50000));
    QCOMPARE(Ui(w).TimeList->currentIndex(), 11);
    Feed(w, frame(3, 30));
    QCOMPARE(Ui(w).TimeList->currentIndex(), -1);
    Ui(w).SpeedButton2->click();
    QVERIFY(EditBoxBackground::IsMarkedRefused(Ui(w).TimeList));
    QCOMPARE(Ui(w).TimeList->toolTip(), Utf8("Wybierz pozycję z listy"));
  }

  void repliesFillTheBoxes() {
    SimWindow sim;
    TFMain& w = sim.W();
    Ui(w).DivList->setCurrentIndex(2);
    Feed(w, Cat({{114, 2}, {0xA3, 0x0F, 0, 0}}));  // 4003
    QCOMPARE(Ui(w).edit_res[2]->text(), QStringLiteral("1000"));
    Feed(w, Cat({{115, 1}, F32(2.5f)}));
    QCOMPARE(Ui(w).edit_coeff[1]->text(), Localized("2,50"));
    Ui(w).DivList->setCurrentIndex(0);
    Feed(w, Cat({{115, 0}, F32(2.75f)}));
    QCOMPARE(Ui(w).edit_coeff[0]->text(), QStringLiteral("3"));
    Feed(w, {117, 3, 1});
    QCOMPARE(Ui(w).edit_zero[3]->currentIndex(), 1);
    Feed(w, {117, 3, 0xFF});
    QCOMPARE(Ui(w).edit_zero[3]->currentIndex(), -1);
    // No selection: the set button has no flag to send.
    QTRY_VERIFY(sim.Connected());
    sim.Sent();
    Ui(w).button_set_zero[3]->click();
    QVERIFY(sim.Sent().empty());
    // Channel bytes outside 0..3 change nothing.
    const QString panel = w.StatusPanelText(0);
    Feed(w, Cat({{114, 4}, {0xA0, 0x0F, 0, 0}}));
    Feed(w, Cat({{115, 0xFF}, F32(9.0f)}));
    Feed(w, {117, 4, 1});
    QCOMPARE(Ui(w).edit_res[0]->text(), QString());
    QCOMPARE(Ui(w).edit_coeff[3]->text(), QString());
    QCOMPARE(Ui(w).edit_zero[0]->currentIndex(), 0);
    QCOMPARE(w.StatusPanelText(0), panel);
  }

  void acknowledgementsShowTheirText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("104") << 104 << Utf8("Rozdzielczość enkodera została zmieniona");
    QTest::newRow("105") << 105 << Utf8("Mnożnik został zmieniony");
    QTest::newRow("106") << 106 << Utf8("Pozycja została wyzerowana");
    QTest::newRow("109") << 109 << Utf8("Adres MODBUS został ustawiony");
    QTest::newRow("110") << 110 << Utf8("Czas próbkowania został zmieniony");
    QTest::newRow("111") << 111 << Utf8("Prędkość MODBUS została ustawiona");
    QTest::newRow("112") << 112 << Utf8("Konfiguracja wyjść została zapisana do urządzenia");
    QTest::newRow("116") << 116 << Utf8("Znacznik zera został zmieniony");
  }
  void acknowledgementsShowTheirText() {
    QFETCH(int, code);
    QFETCH(QString, text);
    SimWindow sim;
    Feed(sim.W(), {static_cast<quint8>(code)});
    QCOMPARE(sim.W().StatusPanelText(0), text);
  }

  void enablingRuleFollowsTheTick() {
    SimWindow sim;
    const TOutputRowControls row = Ui(sim.W()).OutputRows[1];
    EditBoxBackground::MarkRefused(row.N);
    row.A->click();
    for (QWidget* c : std::initializer_list<QWidget*>{row.W, row.B, row.N, row.T, row.C, row.M, row.S}) {
      QVERIFY(c->isEnabled());
    }
    QVERIFY(!EditBoxBackground::IsMarkedRefused(row.N));
    row.A->click();
    for (QWidget* c : std::initializer_list<QWidget*>{row.W, row.B, row.N, row.T, row.C, row.M, row.S}) {
      QVERIFY(!c->isEnabled());
    }
  }

  void badThresholdsAreAllMarkedAndNothingIsSentThenALate107SendsThePreviousHalf() {
    SimWindow sim;
    TFMain& w = sim.W();
    QTRY_VERIFY(sim.Connected());
    // A good write: output 1 used, "Pozycja [2]", "większa", 100; row 5 with [or], 7, active.
    Ui(w).OutputRows[0].A->setChecked(true);
    Ui(w).OutputRows[0].W->setCurrentIndex(1);
    Ui(w).OutputRows[0].B->setCurrentIndex(1);
    Ui(w).OutputRows[0].N->setText(QStringLiteral("100"));
    Ui(w).OutputRows[4].T->setCurrentIndex(2);
    Ui(w).OutputRows[4].C->setCurrentIndex(1);
    Ui(w).OutputRows[4].S->setCurrentIndex(1);
    sim.Sent();
    Ui(w).BitBtn2->click();
    auto sent = sim.Sent();
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(Bytes(sent[0].begin(), sent[0].begin() + 7), (Bytes{107, 0x01, 0x0B, 0x00, 0x00, 0xC8, 0x42}));
    QCOMPARE(sent[0][25], quint8{0});  // row 5 off: enable 0, its lists carried
    const kvelt::OutputsSecondHalf good = w.ConfigurationLogic().KeptOutputsSecondHalf();
    QCOMPARE(good.Entries[4].Selector, quint8{12});
    QCOMPARE(good.Entries[4].State, quint8{1});

    // Bad text in out3_N and out5_M: both marked, nothing sent, the kept half unchanged.
    Ui(w).OutputRows[2].A->setChecked(true);
    Ui(w).OutputRows[2].N->setText(QStringLiteral("x"));
    Ui(w).OutputRows[4].A->setChecked(true);
    Ui(w).OutputRows[4].N->setText(QStringLiteral("1"));
    Ui(w).OutputRows[4].M->setText(QStringLiteral("y"));
    Ui(w).BitBtn2->click();
    QVERIFY(sim.Sent().empty());
    QVERIFY(EditBoxBackground::IsMarkedRefused(Ui(w).OutputRows[2].N));
    QVERIFY(EditBoxBackground::IsMarkedRefused(Ui(w).OutputRows[4].M));
    QVERIFY(!EditBoxBackground::IsMarkedRefused(Ui(w).OutputRows[4].N));

    // A late 107 sends the previous successful second half.
    Feed(w, {107});
    sent = sim.Sent();
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(sent[0][0], quint8{112});
    QCOMPARE(sent[0][25], quint8{12});
    QCOMPARE(sent[0][30], quint8{1});
  }

  void listsWithoutSelectionAreMarkedAndNothingIsSent_data() {
    QTest::addColumn<Bytes>("reply");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("marked");
    Bytes zero = {117, 2, 0xFF};
    Bytes first(31, 0);
    first[0] = 108;
    first[1 + 1] = 0x7F;  // rows 1 and 3: source outside its list
    first[1 + 6 * 2 + 1] = 0x7F;
    Bytes second(31, 0);
    second[0] = 113;
    second[1 + 6 * 1 + 5] = 0xFF;  // row 2: state outside its list
    second[1 + 6 * 4] = 0x3F;      // row 5: logic outside its list
    QTest::newRow("zero marker") << zero << "button_set_zero2" << QStringList{"edit_zero2"};
    QTest::newRow("outputs, first half") << first << "BitBtn2" << QStringList{"out1_W", "out3_W"};
    QTest::newRow("outputs, second half") << second << "BitBtn2" << QStringList{"out2_S", "out5_T"};
  }

  void listsWithoutSelectionAreMarkedAndNothingIsSent() {
    QFETCH(Bytes, reply);
    QFETCH(QString, button);
    QFETCH(QStringList, marked);
    SimWindow sim;
    TFMain& w = sim.W();
    QTRY_VERIFY(sim.Connected());
    Feed(w, reply);
    sim.Sent();
    w.Control<QAbstractButton>(button.toLatin1().constData())->click();
    QVERIFY(sim.Sent().empty());
    QStringList refused;
    for (QComboBox* list : w.centralWidget()->findChildren<QComboBox*>()) {
      if (EditBoxBackground::IsMarkedRefused(list)) {
        refused << list->objectName();
      }
    }
    refused.sort();
    marked.sort();
    QCOMPARE(refused, marked);
    for (const QString& name : marked) {
      QCOMPARE(w.Control<QComboBox>(name.toLatin1().constData())->toolTip(), Utf8("Wybierz pozycję z listy"));
    }
    // The colour shows on the list's face, not only in its palette.
    for (const QString& name : marked) {
      auto* list = w.Control<QComboBox>(name.toLatin1().constData());
      list->setEnabled(true);
      const QColor face = list->grab().toImage().pixelColor(list->width() / 4, list->height() / 2);
      QVERIFY2(face.red() - face.green() > 40 && face.red() - face.blue() > 40, qPrintable(face.name()));
    }
    QVERIFY(sim.boxes.empty());
    // A choice gives a list its normal colour back.
    for (const QString& name : marked) {
      auto* list = w.Control<QComboBox>(name.toLatin1().constData());
      list->setCurrentIndex(0);
      QVERIFY(!EditBoxBackground::IsMarkedRefused(list));
    }
    w.Control<QAbstractButton>(button.toLatin1().constData())->click();
    QCOMPARE(sim.Sent().size(), std::size_t{1});
  }

  void unasked108FillsTheRowsAndRequests113() {
    SimWindow sim;
    TFMain& w = sim.W();
    QTRY_VERIFY(sim.Connected());
    Ui(w).DivList->setCurrentIndex(0);
    sim.Sent();
    const QString panel = w.StatusPanelText(0);
    Bytes first(31, 0);
    first[0] = 108;
    first[1] = 1;
    first[2] = 13;  // row 1 on, "Pozycja [4]", "większa"
    const Bytes t = F32(2.75f);
    std::copy(t.begin(), t.end(), first.begin() + 3);
    first[7] = 2;  // row 2: enable 2 leaves it off
    first[13] = 1;
    first[14] = 0x7F;  // row 3 on, selector outside the lists
    Feed(w, first);
    QVERIFY(Ui(w).OutputRows[0].A->isChecked());
    QVERIFY(Ui(w).OutputRows[0].N->isEnabled());
    QCOMPARE(Ui(w).OutputRows[0].W->currentIndex(), 3);
    QCOMPARE(Ui(w).OutputRows[0].B->currentIndex(), 1);
    QCOMPARE(Ui(w).OutputRows[0].N->text(), QStringLiteral("3"));
    QVERIFY(!Ui(w).OutputRows[1].A->isChecked());
    QCOMPARE(Ui(w).OutputRows[1].N->text(), QStringLiteral("0"));
    QCOMPARE(Ui(w).OutputRows[2].W->currentIndex(), -1);
    auto sent = sim.Sent();
    QCOMPARE(sent.size(), std::size_t{1});
    Bytes request(31, 0);
    request[0] = 113;
    QCOMPARE(sent[0], request);
    QCOMPARE(w.StatusPanelText(0), panel);
    // A list without a selection: the write sends nothing.
    Ui(w).BitBtn2->click();
    QVERIFY(sim.Sent().empty());

    Bytes second(31, 0);
    second[0] = 113;
    second[1] = 12;
    const Bytes m = F32(-1.5f);
    std::copy(m.begin(), m.end(), second.begin() + 2);
    second[6] = 1;
    second[12] = 0xFF;  // row 2 state outside the list
    Feed(w, second);
    QCOMPARE(Ui(w).OutputRows[0].T->currentIndex(), 2);
    QCOMPARE(Ui(w).OutputRows[0].C->currentIndex(), 1);
    QCOMPARE(Ui(w).OutputRows[0].M->text(), QStringLiteral("-2"));
    QCOMPARE(Ui(w).OutputRows[0].S->currentIndex(), 1);
    QVERIFY(!Ui(w).OutputRows[0].C->isHidden());
    QVERIFY(!Ui(w).OutputRows[0].M->isHidden());
    QVERIFY(Ui(w).OutputRows[1].C->isHidden());
    QCOMPARE(Ui(w).OutputRows[1].S->currentIndex(), -1);
    QCOMPARE(w.StatusPanelText(0), Utf8("Konfiguracja wyjść została odczytana z urządzenia"));
  }

  void writeAndReadBackAgainstTheSimulatedCounter() {
    SimWindow sim;
    TFMain& w = sim.W();
    QTRY_VERIFY(sim.Connected());
    Ui(w).edit_res[1]->setText(QStringLiteral("2048"));
    Ui(w).button_set_res[1]->click();
    QTRY_COMPARE(w.StatusPanelText(0), Utf8("Rozdzielczość enkodera została zmieniona"));
    Ui(w).edit_coeff[2]->setText(Localized("0,25"));
    Ui(w).button_set_coeff[2]->click();
    QTRY_COMPARE(w.StatusPanelText(0), Utf8("Mnożnik został zmieniony"));
    Ui(w).edit_zero[3]->setCurrentIndex(1);
    Ui(w).button_set_zero[3]->click();
    QTRY_COMPARE(w.StatusPanelText(0), Utf8("Znacznik zera został zmieniony"));
    for (int k = 0; k < 5; ++k) {
      const TOutputRowControls row = Ui(w).OutputRows[static_cast<std::size_t>(k)];
      row.A->setChecked(k != 3);
      row.W->setCurrentIndex(k % 4);
      row.B->setCurrentIndex(k % 2);
      row.N->setText(QString::number(10 * (k + 1)));
      row.T->setCurrentIndex(k % 3);
      row.C->setCurrentIndex((k + 1) % 2);
      row.M->setText(QString::number(-5 * k));
      row.S->setCurrentIndex(k % 2);
    }
    Ui(w).BitBtn2->click();
    QTRY_COMPARE(w.StatusPanelText(0), Utf8("Konfiguracja wyjść została zapisana do urządzenia"));

    // Everything cleared on the screen, then read back.
    Ui(w).edit_res[1]->clear();
    Ui(w).edit_coeff[2]->clear();
    Ui(w).edit_zero[3]->setCurrentIndex(0);
    for (TOutputRowControls& row : Ui(w).OutputRows) {
      row.A->setChecked(false);
      for (QComboBox* list : {row.W, row.B, row.T, row.C, row.S}) list->setCurrentIndex(0);
      row.N->clear();
      row.M->clear();
    }
    Ui(w).button_get_res[1]->click();
    Ui(w).button_get_coeff[2]->click();
    Ui(w).button_get_zero[3]->click();
    Ui(w).BitBtn1->click();
    QTRY_COMPARE(w.StatusPanelText(0), Utf8("Konfiguracja wyjść została odczytana z urządzenia"));
    QTRY_COMPARE(Ui(w).edit_res[1]->text(), QStringLiteral("2048"));
    QTRY_COMPARE(Ui(w).edit_coeff[2]->text(), Localized("0,25"));
    QTRY_COMPARE(Ui(w).edit_zero[3]->currentIndex(), 1);
    for (int k = 0; k < 5; ++k) {
      const TOutputRowControls row = Ui(w).OutputRows[static_cast<std::size_t>(k)];
      QCOMPARE(row.A->isChecked(), k != 3);
      QCOMPARE(row.W->currentIndex(), k % 4);
      QCOMPARE(row.B->currentIndex(), k % 2);
      // Row 4 was off: its threshold went out as 0; row 1 had logic "---": second threshold 0.
      QCOMPARE(row.N->text(), k == 3 ? QStringLiteral("0")
                                     : Localized(QByteArray::number(10 * (k + 1)).append(",00").constData()));
      QCOMPARE(row.T->currentIndex(), k % 3);
      QCOMPARE(row.C->currentIndex(), (k + 1) % 2);
      const bool secondSent = k != 3 && k % 3 != 0;
      QCOMPARE(row.M->text(), secondSent ? Localized(QByteArray::number(-5 * k).append(",00").constData())
                                         : QStringLiteral("0"));
      QCOMPARE(row.S->currentIndex(), k % 2);
      QCOMPARE(row.C->isHidden(), k % 3 == 0);
    }

    // The information box shows the values of the channel's latest frame.
    QTRY_VERIFY(w.Readings()[1].ResolutionX4 == 4 * 2048);
    Ui(w).InfoButtons[1]->click();
    QCOMPARE(sim.boxes.size(), std::size_t{1});
    QCOMPARE(sim.boxes[0].Icon, kvelt::app::MessageIcon::Information);
    QCOMPARE(sim.boxes[0].Title, QStringLiteral("Enkoder 2"));
    QVERIFY(sim.boxes[0].Text.contains(Utf8("Rozdzielczość: 2048 [imp/obr]")));
    QVERIFY(sim.boxes[0].Text.contains(Localized("Mnożnik: 1,00")));
  }

  // The page with every row in use and the second comparisons shown, as a read leaves it, in
  // both languages: every list is wide enough for its longest item. With KVELT_SCREENSHOT_DIR set
  // the pages are saved there as config-pl.png and config-en.png.
  void configurationPageFitsInBothLanguages() {
    for (const int language : {1, 2}) {
      SimWindow sim;
      TFMain& w = sim.W();
      w.ActivateLanguage(language);
      Ui(w).LangCombo1->setCurrentIndex(language - 1);
      Bytes first(31, 0), second(31, 0);
      first[0] = 108;
      second[0] = 113;
      for (int k = 0; k < 5; ++k) {
        first[static_cast<std::size_t>(6 * k + 1)] = 1;
        first[static_cast<std::size_t>(6 * k + 2)] = static_cast<quint8>(k % 4 + 10 * (k % 2));
        const Bytes n = F32(100.0f * static_cast<float>(k + 1));
        std::copy(n.begin(), n.end(), first.begin() + 6 * k + 3);
        second[static_cast<std::size_t>(6 * k + 1)] = static_cast<quint8>(1 + k % 2 + 10 * ((k + 1) % 2));
        const Bytes m = F32(250.5f * static_cast<float>(k + 1));
        std::copy(m.begin(), m.end(), second.begin() + 6 * k + 2);
        second[static_cast<std::size_t>(6 * k + 6)] = static_cast<quint8>(k % 2);
      }
      Feed(w, first);
      Feed(w, second);
      Ui(w).edit_res[0]->setText(QStringLiteral("1000"));
      Ui(w).edit_coeff[0]->setText(Localized("1,00"));
      Ui(w).PageControl1->setCurrentWidget(Ui(w).TabSheet3);
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      QApplication::processEvents();
      for (const TOutputRowControls& row : Ui(w).OutputRows) {
        QVERIFY(row.M->isVisible());
        for (QComboBox* list : {row.W, row.B, row.T, row.C, row.S}) {
          QVERIFY2(list->width() >= list->minimumSizeHint().width(),
                   qPrintable(list->objectName() + QStringLiteral(" too narrow: ") + list->currentText()));
        }
      }
      const QString dir = qEnvironmentVariable("KVELT_SCREENSHOT_DIR");
      if (!dir.isEmpty()) {
        QVERIFY(w.grab().save(
            dir + (language == 1 ? QStringLiteral("/config-pl.png") : QStringLiteral("/config-en.png"))));
      }
    }
  }
};

QTEST_MAIN(ConfigTest)
#include "tst_config.moc"
