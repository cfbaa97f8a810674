#include "app/pages/FileProblemText.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "app/pages/PageText.h"

namespace kvelt::app {
namespace {

// The table's key for an error number; empty for one the table does not word.
std::string_view ErrorKey(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "IDS_193";
    case ENOENT:
      return "IDS_194";
    case EROFS:
      return "IDS_195";
    case ENOSPC:
    case EDQUOT:
      return "IDS_196";
    case EISDIR:
      return "IDS_197";
    case ENOTDIR:
      return "IDS_198";
    case EIO:
      return "IDS_202";
    case ENXIO:  // a FIFO without a reader, a device that is not there
      return "IDS_200";
    default:
      return {};
  }
}

}  // namespace

QString FileProblemText(const TLangTable& texts, const AppendFailure& failure) {
  switch (failure.What) {
    case AppendFailure::Cause::NoName:
      return PageText(texts, "IDS_199");
    case AppendFailure::Cause::NotAFile:
      return PageText(texts, "IDS_200");
    case AppendFailure::Cause::ForeignLink:
      return PageText(texts, "IDS_201");
    case AppendFailure::Cause::System:
      if (const std::string_view key = ErrorKey(failure.Error); !key.empty()) {
        return PageText(texts, key);
      }
      return QString::fromLocal8Bit(std::strerror(failure.Error));
    case AppendFailure::Cause::None:
      break;
  }
  return QString::fromStdString(failure.Text);
}

}  // namespace kvelt::app
