#include "app/pages/RefusalText.h"

#include "app/pages/PageText.h"

namespace kvelt::app {

QString RefusalText(const TLangTable& texts, ValueRefusal refusal, std::string_view decimalSeparator) {
  switch (refusal) {
    case ValueRefusal::WholeNumberRange:
      return PageText(texts, "IDS_203");
    case ValueRefusal::SeparatorExpected:
      return PageText(texts, "IDS_204")
          .arg(QString::fromUtf8(decimalSeparator.data(), static_cast<qsizetype>(decimalSeparator.size())));
    case ValueRefusal::NotANumber:
      return PageText(texts, "IDS_205");
    case ValueRefusal::OutOfRange:
      return PageText(texts, "IDS_206");
    case ValueRefusal::NoChoice:
      return PageText(texts, "IDS_207");
  }
  return {};
}

}  // namespace kvelt::app
