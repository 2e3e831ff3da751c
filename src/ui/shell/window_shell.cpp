#include "ui/shell/window_shell.h"

#include <QAction>
#include <QWidget>

#include "ui/shell/platform.h"

namespace korvane::ui {

WindowShell::WindowShell(QWidget* home) : QObject(home), home_(home) {}

WindowShell::~WindowShell() {
  // Nothing the shell opened outlives it, whether shown, hidden or kept.
  for (auto& [name, entry] : entries_) delete entry.window;
}

void WindowShell::add(const QString& window, Keep keep, Make make, End end) {
  entries_[window] = Entry{keep, std::move(make), end, nullptr};
}

void WindowShell::route(QAction* entry, const QString& window, Show show) {
  routes_.push_back(Route{entry, window});
  connect(entry, &QAction::triggered, this, [this, window, show = std::move(show)] { open(window, show); });
}

QWidget* WindowShell::window(const QString& window) const {
  const auto found = entries_.find(window);
  return found == entries_.end() ? nullptr : found->second.window.data();
}

QStringList WindowShell::windows() const {
  QStringList names;
  for (const auto& [name, entry] : entries_) names << name;
  return names;
}

QWidget* WindowShell::make(Entry& entry) {
  QWidget* made = entry.make();
  made->setAttribute(Qt::WA_DeleteOnClose, entry.keep == Keep::UntilClosed);
  // The two signals a window may have; one without them has no such way out.
  const QMetaObject* meta = made->metaObject();
  if (meta->indexOfSignal("leaveToolRequested()") >= 0)
    connect(made, SIGNAL(leaveToolRequested()), this, SLOT(leaveSender()));
  if (meta->indexOfSignal("endProgramRequested()") >= 0) {
    if (entry.end == End::AtOnce) {
      connect(made, SIGNAL(endProgramRequested()), this, SLOT(endProgram()));
    } else {
      connect(made, SIGNAL(endProgramRequested()), this, SIGNAL(endThroughMainWindow()));
    }
  }
  return made;
}

void WindowShell::leaveSender() { leave(qobject_cast<QWidget*>(sender())); }

void WindowShell::leave(QWidget* window) {
  if (window && window->isVisible()) window->close();
  if (ending_ || !home_) return;
  home_->show();
  home_->raise();
  home_->activateWindow();
}

QWidget* WindowShell::open(const QString& name, const Show& show) {
  Entry& entry = entries_.at(name);
  if (entry.window && entry.keep == Keep::Afresh && !entry.window->isVisible()) {
    delete entry.window;
  }
  if (!entry.window) entry.window = make(entry);
  // A minimised window comes back as it was left.
  if (entry.window->isMinimized()) entry.window->setWindowState(entry.window->windowState() & ~Qt::WindowMinimized);
  if (show) {
    show(entry.window);
  } else {
    BringUp(entry.window);
  }
  return entry.window;
}

bool WindowShell::endProgram() {
  if (exit_.confirm && !exit_.confirm()) return false;
  endProgramAnswered();
  return true;
}

void WindowShell::endProgramAnswered() {
  ending_ = true;
  if (exit_.beforeEnd) exit_.beforeEnd();
  if (exit_.instance) exit_.instance->release();
  if (exit_.end) exit_.end();
}

}  // namespace korvane::ui
