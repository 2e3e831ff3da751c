#pragma once
// A long computation run off the interface thread: the window keeps drawing
// while it works, and a dialog with 取消 comes up when it takes more than a
// moment. The window takes no other input meanwhile.
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace korvane::ui {

// How long a computation runs before the dialog with 取消 is shown.
inline constexpr int kProgressDelayMs = 400;

// Runs work(stop) on a worker thread and waits for it with the interface
// live. 取消 raises stop, which work may look at to end early; the result is
// then dropped (nullopt). The worker always ends before this returns, and an
// exception it throws is thrown again here.
template <typename Work>
auto RunOffInterface(QWidget* window, const QString& what, Work work)
    -> std::optional<decltype(work(std::declval<const std::atomic<bool>&>()))> {
  using Result = decltype(work(std::declval<const std::atomic<bool>&>()));
  std::atomic<bool> stop{false};
  std::optional<Result> result;
  std::exception_ptr failure;
  QEventLoop loop;
  QProgressDialog progress(what, QString::fromUtf8("取消"), 0, 0, window);
  progress.setObjectName("progressDialog");
  progress.setWindowTitle(window->windowTitle());
  progress.setWindowModality(Qt::WindowModal);
  progress.setAutoReset(false);
  progress.setAutoClose(false);
  QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
    stop = true;
    progress.setLabelText(QString::fromUtf8("正在停止…"));
  });
  bool done = false;
  std::thread worker([&] {
    try {
      Result r = work(std::as_const(stop));
      QMetaObject::invokeMethod(&loop, [&, r = std::move(r)]() mutable {
        result = std::move(r);
        done = true;
        loop.quit();
      }, Qt::QueuedConnection);
    } catch (...) {
      failure = std::current_exception();
      QMetaObject::invokeMethod(&loop, [&] {
        done = true;
        loop.quit();
      }, Qt::QueuedConnection);
    }
  });
  // A moment with the window drawn but taking no clicks or keys; then, if the
  // work goes on, the dialog, which holds the window until the work ends.
  QTimer::singleShot(kProgressDelayMs, &loop, [&] {
    if (!done) loop.quit();
  });
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!done) {
    progress.show();
    loop.exec();
  }
  worker.join();
  progress.hide();
  if (failure) std::rethrow_exception(failure);
  if (stop) return std::nullopt;
  return result;
}

}  // namespace korvane::ui
