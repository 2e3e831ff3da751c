#pragma once
// The pictures of the batch program are painted with text, which needs a GUI
// application object; the program has no screen, so it uses the offscreen
// platform unless the caller chose another one.
#include <QGuiApplication>

#include <memory>

namespace korvane::cli {

// Starts the application object when none runs yet (the caller keeps it while
// it paints) and keeps Qt's own notices (runtime folders, fonts) off standard
// error, where only the command's messages and Qt's critical ones belong.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();

}  // namespace korvane::cli
