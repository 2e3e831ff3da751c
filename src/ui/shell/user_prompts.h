#pragma once
// The message boxes and file dialogs the windows put to the user, behind
// small interfaces so that the windows can be driven without a person.
#include <QString>
#include <QStringList>
#include <functional>

#include "core/message.h"

class QWidget;

namespace korvane::ui {

// Message boxes and file dialogs are kept above every other window, the
// always-on-top plot window and start-data dialog included, so that a box
// that holds the keyboard is never hidden behind them.
// The answer to a 是/否/取消 question.
enum class Answer { Yes, No, Cancel };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal box with the message's text, title and icon and an OK button.
  virtual void inform(QWidget* parent, const Message& message) = 0;
  // A modal OK/Cancel question; true means OK.
  virtual bool askOkCancel(QWidget* parent, const Message& question) = 0;
  // A modal 是/否 question; true means 是. `defaultYes` picks the button Enter presses.
  virtual bool askYesNo(QWidget* parent, const Message& question, bool defaultYes) = 0;
  // A modal 是/否/取消 question; Enter presses 是, Escape 取消.
  virtual Answer askYesNoCancel(QWidget* parent, const Message& question) = 0;
  // The About box of the program.
  virtual void about(QWidget* parent, const QString& title, const QString& text) = 0;
};

class QtMessageBoxes : public MessageBoxes {
 public:
  void inform(QWidget* parent, const Message& message) override;
  bool askOkCancel(QWidget* parent, const Message& question) override;
  bool askYesNo(QWidget* parent, const Message& question, bool defaultYes) override;
  Answer askYesNoCancel(QWidget* parent, const Message& question) override;
  void about(QWidget* parent, const QString& title, const QString& text) override;
};

// Observations typed or changed since they were last opened or saved are
// about to be left behind: asks "观测数据尚未保存，是否保存？". 是 runs `save`,
// 否 goes on without it, 取消 stays. True when the way on is free (saved, or
// declined); false when the user stays or the save did not happen.
bool SaveBeforeLeaving(MessageBoxes& messages, QWidget* parent, const std::function<bool()>& save);

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

}  // namespace korvane::ui
