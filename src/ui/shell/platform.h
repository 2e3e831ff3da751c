#pragma once
// Everything the windows need from the desktop, in one place: where the
// start-data file lives, the single-instance guard, windows kept on top,
// opening a document, file attributes, synthetic
// keystrokes and the fonts that hold the Chinese glyphs.
#include <QFont>
#include <QIcon>
#include <QSize>
#include <QString>
#include <memory>

class QLockFile;
class QWidget;

namespace korvane::ui {

// The folder of the executable: the help document is looked for here.
QString ProgramDir();

// The folder of the start-data file and its marker: KORVANE_DATA_DIR when
// set, else the program's folder when it is writable, else the per-user
// application data folder (created when missing).
QString StartDataDir();

// Holds a lock for as long as it lives; a second holder of the same key in
// another process (or in this one) is refused. The lock lives in the user's
// own runtime folder (XDG_RUNTIME_DIR when it is a folder of the user's that
// nobody else may enter), else in ~/.korvane/run: never in the shared
// temporary folder, where another user could hold it.
class SingleInstance {
 public:
  // The key names the lock; KORVANE_INSTANCE_KEY overrides the default so
  // tests can run side by side.
  explicit SingleInstance(const QString& key = DefaultKey());
  ~SingleInstance();
  // Gives the lock up before the holder goes (the program's way out).
  void release();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  bool acquired() const;
  static QString DefaultKey();
  static QString LockPath(const QString& key);

 private:
  std::unique_ptr<QLockFile> lock_;
  bool acquired_ = false;
};

// Keeps a top-level window above the other windows (set before showing).
void KeepOnTop(QWidget* window);

// Moves a top-level window so that it is centred on its screen; dy shifts it
// vertically (negative: up).
void CentreOnScreen(QWidget* window, int dy = 0);
// From a window's showEvent: the first time it shows as a normal window it
// takes its natural size and is centred; `centred` remembers that it was.
void CentreOnFirstShow(QWidget* window, bool& centred);

// Brings a top-level window up: shown, out of its minimised state, raised and
// given the focus.
void BringUp(QWidget* window);

// Gives a top-level window the size it asks for, or less where the free
// area of its screen (the taskbar left out, the window's frame counted) is
// smaller, so that its title bar stays on the screen. A content that cannot
// shrink that far is first put in a scroll area. Called once, when the
// window has been built; it also centres the window.
void FitToScreen(QWidget* window, QSize wanted);

// The busy cursor, for as long as it lives, over work that may take more
// than a moment. It first lets the windows repaint, so that a dialog that
// has just closed does not stay painted over them while the work runs.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// Asks the desktop to open a document with its default program.
bool OpenDocument(const QString& path);

// A sans-serif font with Chinese glyphs, and a monospaced one in which a
// Chinese character is two columns wide (the results table lines up in it).
// The program's icon: a traverse between two known points, drawn at each size.
QIcon ProgramIcon();
QFont UiFont(int pointSize = 10);
QFont TableFont(int pointSize = 10);
// A brush-like font for the greetings, falling back to the UI font.
QFont GreetingFont(int pointSize);

}  // namespace korvane::ui
