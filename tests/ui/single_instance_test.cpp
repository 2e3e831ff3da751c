// The single-instance lock lives where only the user can make it: the
// session's runtime folder when it is the user's own, else a private folder
// under the home. A lock another user holds in the shared temporary folder
// never keeps the program from starting.
#include <sys/stat.h>

#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>

#include "ui/shell/platform.h"

using korvane::ui::SingleInstance;

class SingleInstanceTest : public QObject {
  Q_OBJECT
 private slots:
  void lockFolder_data();
  void lockFolder();
  void lockInTheTemporaryFolderDoesNotBlock();
};

namespace {

int ModeOf(const QString& path) {
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return -1;
  return static_cast<int>(info.st_mode & 0777);
}

}  // namespace

// Rows: how XDG_RUNTIME_DIR is set, and whether the lock is in it (else
// under the home).
void SingleInstanceTest::lockFolder_data() {
  QTest::addColumn<QString>("runtime");  // "private", "shared", "relative" or "unset"
  QTest::addColumn<bool>("inRuntime");
  QTest::newRow("the user's own runtime folder") << "private" << true;
  QTest::newRow("runtime folder others may enter") << "shared" << false;
  QTest::newRow("runtime folder as a relative path") << "relative" << false;
  QTest::newRow("no runtime folder") << "unset" << false;
}

void SingleInstanceTest::lockFolder() {
  QFETCH(QString, runtime);
  QFETCH(bool, inRuntime);
  QTemporaryDir home, runtimeDir;
  QVERIFY(home.isValid() && runtimeDir.isValid());
  const QByteArray oldHome = qgetenv("HOME"), oldRuntime = qgetenv("XDG_RUNTIME_DIR");
  qputenv("HOME", home.path().toLocal8Bit());
  ::chmod(runtimeDir.path().toLocal8Bit().constData(), runtime == "shared" ? 01777 : 0700);
  if (runtime == "unset") qunsetenv("XDG_RUNTIME_DIR");
  else if (runtime == "relative") qputenv("XDG_RUNTIME_DIR", "run");
  else qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());

  const QString path = SingleInstance::LockPath("korvane-lock-test");
  const QString folder = QFileInfo(path).absolutePath();
  {
    SingleInstance first("korvane-lock-test");
    SingleInstance second("korvane-lock-test");
    QVERIFY(first.acquired());
    QVERIFY(!second.acquired());
    QVERIFY(QFileInfo::exists(path));
  }
  qputenv("HOME", oldHome);
  if (oldRuntime.isEmpty()) qunsetenv("XDG_RUNTIME_DIR");
  else qputenv("XDG_RUNTIME_DIR", oldRuntime);

  QVERIFY2(!path.startsWith(QDir::tempPath() + "/korvane"), qPrintable(path));
  if (inRuntime) {
    QCOMPARE(folder, QDir::cleanPath(runtimeDir.path()));
  } else {
    QCOMPARE(folder, home.path() + "/.korvane/run");
    QCOMPARE(ModeOf(folder), 0700);
  }
}

void SingleInstanceTest::lockInTheTemporaryFolderDoesNotBlock() {
  // A live lock of the name the program once used in the temporary folder,
  // held here as another user's would be.
  const QString key = QString("korvane-lock-test-%1").arg(QCoreApplication::applicationPid());
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = QFileInfo(QDir::homePath()).fileName();
  QLockFile squatter(QDir::tempPath() + "/" + key + "-" + user + ".lock");
  QVERIFY(squatter.tryLock(0));
  QTemporaryDir home;
  const QByteArray oldHome = qgetenv("HOME"), oldRuntime = qgetenv("XDG_RUNTIME_DIR");
  qputenv("HOME", home.path().toLocal8Bit());
  qunsetenv("XDG_RUNTIME_DIR");
  bool acquired = false;
  {
    SingleInstance instance(key);
    acquired = instance.acquired();
  }
  qputenv("HOME", oldHome);
  if (!oldRuntime.isEmpty()) qputenv("XDG_RUNTIME_DIR", oldRuntime);
  QVERIFY(acquired);
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
