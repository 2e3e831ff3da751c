#pragma once
// Every tool window of the program registered with the shell, and how each
// lives: the weighted, network and splitter windows keep their tables for
// the program's life; the total-station window starts afresh at each
// opening; the others go when closed.
#include <functional>

class QWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;
class WindowShell;

// `owner` is the main window (the parent of the small plane tools);
// `leaveGuard` asks about unsaved rows before the weighted or total-station
// window ends the program, false to stay.
void RegisterToolWindows(WindowShell& shell, MessageBoxes& messages, FileDialogs& files, QWidget* owner,
                         const std::function<bool()>& leaveGuard);

}  // namespace korvane::ui
