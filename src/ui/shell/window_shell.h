#pragma once
// The window shell: every tool window of the program is opened through it.
// A window is registered once by name with the way it is made and how long
// it lives; the menu entries that open it are routed to it. Opening a window
// again raises its one instance. Each window speaks to the shell with the
// same two signals, leaveToolRequested() (back to the main window) and
// endProgramRequested() (the program ends), and every way of ending the
// program goes through endProgram().
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QWidget;

namespace korvane::ui {

class SingleInstance;

class WindowShell : public QObject {
  Q_OBJECT
 public:
  enum class Keep {
    UntilClosed,  // deleted when closed; the next opening makes it anew
    ForProgram,   // kept with its contents, hidden when closed, deleted with the shell
    Afresh,       // kept while shown; an opening after it was closed makes it anew
  };
  // How a window's endProgramRequested() ends the program: at once, or by
  // closing the main window (its unsaved-rows question and the goodbye).
  enum class End { AtOnce, ThroughMainWindow };
  using Make = std::function<QWidget*()>;
  using Show = std::function<void(QWidget*)>;

  struct Route {
    QAction* entry;
    QString window;
  };

  // home: the main window, brought back when a window is left.
  explicit WindowShell(QWidget* home);
  ~WindowShell() override;

  void add(const QString& window, Keep keep, Make make, End end = End::AtOnce);
  // A menu entry opening a window; `show` brings it up (BringUp when empty).
  void route(QAction* entry, const QString& window, Show show = {});
  // Makes the window when it has none (or none it keeps), then shows it.
  QWidget* open(const QString& window, const Show& show = {});
  // The window's live instance, or null.
  QWidget* window(const QString& window) const;
  template <typename W>
  W* window(const QString& name) const { return qobject_cast<W*>(window(name)); }
  QStringList windows() const;
  const std::vector<Route>& routes() const { return routes_; }

  // The way out of the program. Asked first (false: the user stays), then
  // the start-data file is made read-only again, the single-instance lock
  // given up and the program ended.
  struct Exit {
    std::function<bool()> confirm;
    std::function<void()> beforeEnd;  // makes the start-data file read-only
    SingleInstance* instance = nullptr;
    std::function<void()> end;
  };
  void setExit(Exit exit) { exit_ = std::move(exit); }
  // Ends without asking again (the question was answered on the way here).
  void endProgramAnswered();
  bool ending() const { return ending_; }
  // The program is on its way out (the goodbye is shown): a window left now
  // brings nothing back.
  void beginEnding() { ending_ = true; }

 public slots:
  // Asks, then ends; false when the user stays.
  bool endProgram();

 signals:
  // A window's endProgramRequested() of End::ThroughMainWindow.
  void endThroughMainWindow();

 private slots:
  void leaveSender();

 private:
  struct Entry {
    Keep keep;
    Make make;
    End end;
    QPointer<QWidget> window;
  };
  QWidget* make(Entry& entry);
  void leave(QWidget* window);

  QWidget* home_;
  std::map<QString, Entry> entries_;
  std::vector<Route> routes_;
  Exit exit_;
  bool ending_ = false;
};

}  // namespace korvane::ui
