#include "ui/shell/platform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPixmap>
#include <QLockFile>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "render/chinese_fonts.h"

namespace korvane::ui {

QString ProgramDir() { return QCoreApplication::applicationDirPath(); }

namespace {

bool FolderIsWritable(const QString& dir) {
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) return false;
  QTemporaryFile probe(dir + "/.korvane-probe-XXXXXX");
  return probe.open();
}

}  // namespace

QString StartDataDir() {
  const QString overrideDir = qEnvironmentVariable("KORVANE_DATA_DIR");
  if (!overrideDir.isEmpty()) {
    QDir().mkpath(overrideDir);
    return QDir(overrideDir).absolutePath();
  }
  const QString besideProgram = ProgramDir();
  if (FolderIsWritable(besideProgram)) return besideProgram;
  QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (appData.isEmpty()) appData = QDir::homePath() + "/.korvane";
  QDir().mkpath(appData);
  return appData;
}

SingleInstance::SingleInstance(const QString& key) {
  lock_ = std::make_unique<QLockFile>(LockPath(key));
  lock_->setStaleLockTime(0);  // a lock of a crashed process is removed
  acquired_ = lock_->tryLock(0);
  // A lock that cannot be made at all (a home folder without write
  // permission) says nothing about another instance: the program starts.
  if (!acquired_ && lock_->error() != QLockFile::LockFailedError) lock_.reset();
}

bool SingleInstance::acquired() const { return acquired_ || !lock_; }

SingleInstance::~SingleInstance() { release(); }

void SingleInstance::release() {
  if (acquired_ && lock_) lock_->unlock();
  acquired_ = false;
}

QString SingleInstance::DefaultKey() {
  const QString key = qEnvironmentVariable("KORVANE_INSTANCE_KEY");
  return key.isEmpty() ? QStringLiteral("korvane") : key;
}

namespace {

// A folder only its owner may enter: the user's own, so that no other user
// can hold the lock in it.
bool PrivateFolder(const QString& dir) {
  struct stat info {};
  const QByteArray path = QFile::encodeName(dir);
  return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
         (info.st_mode & 077) == 0;
}

}  // namespace

QString SingleInstance::LockPath(const QString& key) {
  // The session's runtime folder when it is the user's own; otherwise a
  // private folder under the home, made for it. Never the shared temporary
  // folder, where another user could hold the lock first.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && PrivateFolder(runtime))
    return QDir::cleanPath(runtime) + "/" + key + ".lock";
  const QString dir = QDir::homePath() + "/.korvane/run";
  QDir().mkpath(dir);
  QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return dir + "/" + key + ".lock";
}

void KeepOnTop(QWidget* window) {
  window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

namespace {

// What the window's frame adds to its size. Before the desktop has framed
// the window this is not known yet: room for a title bar and borders is
// kept instead.
QSize FrameAround(const QWidget* window) {
  if (window->windowFlags() & Qt::FramelessWindowHint) return {0, 0};
  const QSize known = window->frameGeometry().size() - window->geometry().size();
  if (known.height() > 0) return known;
  return {16, 48};
}

}  // namespace

void BringUp(QWidget* window) {
  window->show();
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->raise();
  window->activateWindow();
}

void CentreOnFirstShow(QWidget* window, bool& centred) {
  if (centred || (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) return;
  window->adjustSize();
  CentreOnScreen(window);
  centred = true;
}

void CentreOnScreen(QWidget* window, int dy) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  QSize size = window->frameGeometry().size();
  int titleRoom = 0;
  // A window shown already but not yet framed by the desktop is placed by
  // its inside: room is kept for the frame, whose title bar goes above it.
  if (window->testAttribute(Qt::WA_WState_Created) && size == window->size()) {
    const QSize frame = FrameAround(window);
    size += frame;
    titleRoom = frame.height() - frame.width() / 2;
  }
  const int x = area.x() + (area.width() - size.width()) / 2;
  const int y = area.y() + std::max(0, (area.height() - size.height()) / 2 + dy) + titleRoom;
  window->move(x, y);
}

namespace {

// Moves the window's content into a scroll area that fills the window. The
// widgets the layout places go with the layout; boxes floating over them
// (the grids' edit boxes) are moved along so that they stay over their cells.
void PutInScrollArea(QWidget* window) {
  auto* scroll = new QScrollArea;
  scroll->setObjectName("fitArea");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  QWidget* content = nullptr;
  if (auto* main = qobject_cast<QMainWindow*>(window)) {
    content = main->takeCentralWidget();
    scroll->setWidget(content);
    main->setCentralWidget(scroll);
  } else {
    content = new QWidget;
    content->setObjectName("fitContent");
    const QList<QWidget*> floating = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    content->setLayout(window->layout());
    for (QWidget* child : floating) {
      if (child->parentWidget() == window && !child->isWindow()) child->setParent(content);
    }
    scroll->setWidget(content);
    auto* fill = new QVBoxLayout(window);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(scroll);
  }
  // A window that follows the pointer over its background still sees it.
  if (window->hasMouseTracking()) {
    for (QWidget* w : {static_cast<QWidget*>(scroll), scroll->viewport(), content}) w->setMouseTracking(true);
  }
}

}  // namespace

void FitToScreen(QWidget* window, QSize wanted) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) {
    window->resize(wanted);
    return;
  }
  window->ensurePolished();
  const QSize room = screen->availableGeometry().size() - FrameAround(window);
  const QSize least = window->minimumSizeHint();
  if (least.width() > room.width() || least.height() > room.height()) PutInScrollArea(window);
  window->resize(wanted.boundedTo(room));
  // Centred at once, so that even a first showing without a centring of
  // its own opens inside the free area.
  CentreOnScreen(window);
}

BusyCursor::BusyCursor() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // What a dialog just closed covered is painted now, not after the work.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && !window->isMinimized()) window->repaint();
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

bool OpenDocument(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

namespace {

QString FirstAvailable(const QStringList& families, const QString& fallback) {
  const QStringList known = QFontDatabase::families();
  for (const QString& family : families) {
    if (known.contains(family)) return family;
  }
  return fallback;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(28, 78, 128));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    // The traverse from known point to known point, stations as dots.
    const QPointF stations[] = {{10, 50}, {22, 30}, {36, 38}, {46, 18}, {55, 12}};
    painter.setPen(QPen(QColor(255, 255, 255), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(stations, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 80, 60));
    for (const QPointF& p : {stations[0], stations[4]}) painter.drawRect(QRectF(p.x() - 5, p.y() - 5, 10, 10));
    painter.setBrush(QColor(255, 220, 90));
    for (int i = 1; i < 4; ++i) painter.drawEllipse(stations[i], 4.5, 4.5);
    painter.end();
    icon.addPixmap(picture);
  }
  return icon;
}

QFont UiFont(int pointSize) {
  const QString family = FirstAvailable(render::ChineseSansFamilies(), QFont().family());
  QFont font(family, pointSize);
  return font;
}

QFont TableFont(int pointSize) {
  const QString family =
      FirstAvailable(render::ChineseMonoFamilies(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  QFont font(family, pointSize);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

QFont GreetingFont(int pointSize) {
  const QString family = FirstAvailable(render::ChineseKaiFamilies(), UiFont().family());
  QFont font(family, pointSize);
  font.setBold(true);
  return font;
}

}  // namespace korvane::ui
