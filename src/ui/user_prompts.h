#pragma once
// The message boxes and file dialogs the windows put to the user, behind
// small interfaces so that the windows can be driven without a person.
#include <QString>
#include <QStringList>

#include "core/message.h"

class QWidget;

namespace korvane {

// Message boxes and file dialogs are kept above every other window, the
// always-on-top plot window and start-data dialog included, so that a box
// that holds the keyboard is never hidden behind them.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal box with the message's text, title and icon and an OK button.
  virtual void inform(QWidget* parent, const Message& message) = 0;
  // A modal OK/Cancel question; true means OK.
  virtual bool askOkCancel(QWidget* parent, const Message& question) = 0;
  // A modal 是/否 question; true means 是. `defaultYes` picks the button Enter presses.
  virtual bool askYesNo(QWidget* parent, const Message& question, bool defaultYes) = 0;
  // The About box of the program.
  virtual void about(QWidget* parent, const QString& title, const QString& text) = 0;
};

class QtMessageBoxes : public MessageBoxes {
 public:
  void inform(QWidget* parent, const Message& message) override;
  bool askOkCancel(QWidget* parent, const Message& question) override;
  bool askYesNo(QWidget* parent, const Message& question, bool defaultYes) override;
  void about(QWidget* parent, const QString& title, const QString& text) override;
};

// What a file dialog is asked: its title, its filter list (entries such as
// "数据文件(*.DAT)") and the folder it starts in.
struct FileDialogRequest {
  QString title;
  QStringList filters;
  QString folder;
  QString defaultSuffix;  // appended when the chosen name has no suffix
  bool confirmOverwrite = true;  // the save dialog asks before replacing a file
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path, or an empty text when the user cancelled.
  virtual QString openFile(QWidget* parent, const FileDialogRequest& request) = 0;
  // The chosen path (the dialog asks before an existing file is replaced),
  // or an empty text when the user cancelled.
  virtual QString saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
};

class QtFileDialogs : public FileDialogs {
 public:
  QString openFile(QWidget* parent, const FileDialogRequest& request) override;
  QString saveFile(QWidget* parent, const FileDialogRequest& request) override;
};

// The name with the default suffix appended when it has none.
QString WithDefaultSuffix(const QString& path, const QString& suffix);

}  // namespace korvane
