#include "ui/shell/user_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace korvane::ui {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Critical: return QMessageBox::Critical;
  }
  return QMessageBox::Information;
}

// A box or dialog that stays above the windows that are kept on top.
void KeepAbove(QWidget* dialog) { dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true); }

// Runs a box or dialog; one put up while work shows the busy cursor (a
// question during a computation) shows the ordinary pointer.
int Run(QDialog& dialog) {
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int answer = dialog.exec();
  if (busy) QApplication::restoreOverrideCursor();
  return answer;
}

}  // namespace

void QtMessageBoxes::inform(QWidget* parent, const Message& message) {
  QMessageBox box(ToQtIcon(message.icon), QString::fromStdString(message.title),
                  QString::fromStdString(message.text), QMessageBox::Ok, parent);
  KeepAbove(&box);
  Run(box);
}

bool QtMessageBoxes::askOkCancel(QWidget* parent, const Message& question) {
  QMessageBox box(ToQtIcon(question.icon), QString::fromStdString(question.title),
                  QString::fromStdString(question.text), QMessageBox::Ok | QMessageBox::Cancel,
                  parent);
  KeepAbove(&box);
  return Run(box) == QMessageBox::Ok;
}

bool QtMessageBoxes::askYesNo(QWidget* parent, const Message& question, bool defaultYes) {
  QMessageBox box(ToQtIcon(question.icon), QString::fromStdString(question.title),
                  QString::fromStdString(question.text), QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton(QString::fromUtf8("是"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QString::fromUtf8("否"), QMessageBox::NoRole);
  box.setDefaultButton(defaultYes ? yes : no);
  box.setEscapeButton(no);
  KeepAbove(&box);
  Run(box);
  return box.clickedButton() == yes;
}

Answer QtMessageBoxes::askYesNoCancel(QWidget* parent, const Message& question) {
  QMessageBox box(ToQtIcon(question.icon), QString::fromStdString(question.title),
                  QString::fromStdString(question.text), QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton(QString::fromUtf8("是"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QString::fromUtf8("否"), QMessageBox::NoRole);
  QPushButton* cancel = box.addButton(QString::fromUtf8("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  KeepAbove(&box);
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  if (box.clickedButton() == no) return Answer::No;
  return Answer::Cancel;
}

bool SaveBeforeLeaving(MessageBoxes& messages, QWidget* parent, const std::function<bool()>& save) {
  const Message question{"观测数据尚未保存，是否保存？", "提示", MessageIcon::Question};
  switch (messages.askYesNoCancel(parent, question)) {
    case Answer::Yes: return save();
    case Answer::No: return true;
    case Answer::Cancel: return false;
  }
  return false;
}

void QtMessageBoxes::about(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setText(text);
  box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
  KeepAbove(&box);
  Run(box);
}

namespace {

QString ChooseFile(QWidget* parent, const FileDialogRequest& request, bool saving) {
  QFileDialog dialog(parent, request.title, request.folder);
  KeepAbove(&dialog);
  dialog.setNameFilters(request.filters);
  if (saving) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (Run(dialog) != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace

QString QtFileDialogs::openFile(QWidget* parent, const FileDialogRequest& request) {
  return ChooseFile(parent, request, false);
}

QString QtFileDialogs::saveFile(QWidget* parent, const FileDialogRequest& request) {
  return ChooseFile(parent, request, true);
}

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
  if (path.isEmpty() || suffix.isEmpty()) return path;
  if (!QFileInfo(path).suffix().isEmpty()) return path;
  QString clean = suffix;
  while (clean.startsWith('*') || clean.startsWith('.')) clean.remove(0, 1);
  return clean.isEmpty() ? path : path + "." + clean;
}

}  // namespace korvane::ui
