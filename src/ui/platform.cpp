#include "ui/platform.h"

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
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QUrl>
#include <QWidget>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "render/chinese_fonts.h"

namespace korvane::platform {

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

SingleInstance::~SingleInstance() {
  if (acquired_ && lock_) lock_->unlock();
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

void CentreOnScreen(QWidget* window, int dy) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = window->frameGeometry().size();
  const int x = area.x() + (area.width() - size.width()) / 2;
  const int y = area.y() + std::max(0, (area.height() - size.height()) / 2 + dy);
  window->move(x, y);
}

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
  const QString family = FirstAvailable(ChineseSansFamilies(), QFont().family());
  QFont font(family, pointSize);
  return font;
}

QFont TableFont(int pointSize) {
  const QString family =
      FirstAvailable(ChineseMonoFamilies(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  QFont font(family, pointSize);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

QFont GreetingFont(int pointSize) {
  const QString family = FirstAvailable(ChineseKaiFamilies(), UiFont().family());
  QFont font(family, pointSize);
  font.setBold(true);
  return font;
}

}  // namespace korvane::platform
