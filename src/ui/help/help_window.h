#pragma once
// The help window: the user manual, compiled into the program, shown in a
// text browser with its table of contents, back and forward.
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace korvane::ui {

// Where the manual lies among the program's resources.
QUrl HelpDocumentUrl();
// False only when the program was built without its manual.
bool HelpDocumentAvailable();

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  QTextBrowser* browser() const { return browser_; }
  // Goes to a section of the manual by its anchor ("" for the contents).
  void showSection(const QString& anchor);

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace korvane::ui
