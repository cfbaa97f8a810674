#include "tests/app/support/WindowFixture.h"

#include <QFile>
#include <QTextStream>

#include "app/widgets/AppFonts.h"
#include "protocol/ChannelFrame.h"

namespace kvelt::apptest {

WindowFixture::WindowFixture(const QStringList& iniLines) {
  kvelt::app::AppFonts::EnsureTahoma();
  previous_ = kvelt::app::SetMessageBoxPresenter(
      [this](const kvelt::app::MessageBoxRequest& request) { boxes_.push_back(request); });
  if (!iniLines.isEmpty()) {
    QFile file(IniPath());
    if (file.open(QIODevice::WriteOnly)) {
      file.write((iniLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    }
  }
  Reopen();
}

WindowFixture::~WindowFixture() {
  window_.reset();
  kvelt::app::SetMessageBoxPresenter(std::move(previous_));
}

void WindowFixture::Reopen() {
  window_.reset();
  kvelt::app::ProgramOptions options;
  options.ConfigDir = dir_.path();
  window_ = std::make_unique<TFMain>(options);
}

QString WindowFixture::IniPath() const { return dir_.filePath(QStringLiteral("config.ini")); }

QStringList WindowFixture::IniLines() const {
  QFile file(IniPath());
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\n"));
  for (QString& line : lines) {
    if (line.endsWith(u'\r')) {
      line.chop(1);
    }
  }
  while (!lines.isEmpty() && lines.back().isEmpty()) {
    lines.removeLast();
  }
  return lines;
}

std::vector<quint8> ChannelFrameBytes(int channel, float position, float speed) {
  ChannelFrame frame;
  frame.Code = static_cast<std::uint8_t>(100 + channel);
  frame.Position = position;
  frame.Speed = speed;
  const auto bytes = EncodeChannelFrame(frame);
  return {bytes.begin(), bytes.end()};
}

void Feed(TFMain& window, const std::vector<quint8>& report) {
  window.HidDataReceived(nullptr, 1, report.data(), static_cast<quint16>(report.size()));
}

}  // namespace kvelt::apptest
