#pragma once

#include <QString>
#include <functional>

namespace kvelt::app {

enum class MessageIcon { Information, Error };

struct MessageBoxRequest {
  MessageIcon Icon = MessageIcon::Information;
  QString Title;
  QString Text;
};

using MessageBoxPresenter = std::function<void(const MessageBoxRequest&)>;

// Shows a modal message box with the icon and a single OK button and returns when the user has
// dismissed it. Every box of the program goes through here.
void ShowMessageBox(MessageIcon icon, const QString& title, const QString& text);

// Puts another presenter in place (tests record the boxes instead of showing them); an empty one
// brings back the modal boxes. Returns the presenter that was in place.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

}  // namespace kvelt::app
