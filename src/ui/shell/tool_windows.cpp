#include "ui/shell/tool_windows.h"

#include "ui/cogo/centring_window.h"
#include "ui/cogo/intersection_window.h"
#include "ui/cogo/one_way_height_window.h"
#include "ui/cogo/resection_window.h"
#include "ui/geodesy/distance_reduction_window.h"
#include "ui/geodesy/gauss_window.h"
#include "ui/geodesy/geodetic_window.h"
#include "ui/help/help_window.h"
#include "ui/levelling/levelling_window.h"
#include "ui/network/network_window.h"
#include "ui/shell/window_shell.h"
#include "ui/standards/standards_window.h"
#include "ui/traverse/rigorous_window.h"
#include "ui/utilities/calculator_window.h"
#include "ui/utilities/splitter_window.h"
#include "ui/utilities/total_station_window.h"

namespace korvane::ui {

void RegisterToolWindows(WindowShell& shell, MessageBoxes& messages, FileDialogs& files, QWidget* owner,
                         const std::function<bool()>& leaveGuard) {
  using Keep = WindowShell::Keep;
  // The weighted and total-station windows end the program through the
  // main window and its goodbye, their unsaved-rows question already answered.
  shell.add("rigorous", Keep::ForProgram, [&messages, &files, leaveGuard] {
    auto* window = new RigorousWindow(messages, files);
    window->setLeaveGuard(leaveGuard);
    return window;
  }, WindowShell::End::ThroughMainWindow);
  shell.add("totalStation", Keep::Afresh, [&messages, &files, leaveGuard] {
    auto* window = new TotalStationWindow(messages, files);
    window->setLeaveGuard(leaveGuard);
    return window;
  }, WindowShell::End::ThroughMainWindow);
  shell.add("network", Keep::ForProgram, [&messages, &files] { return new NetworkWindow(messages, files); });
  shell.add("splitter", Keep::ForProgram, [&messages, &files] { return new SplitterWindow(messages, files); });
  shell.add("levelling", Keep::UntilClosed, [&messages, &files] { return new LevellingWindow(messages, files); });
  shell.add("gauss", Keep::UntilClosed, [&messages, &files] { return new GaussWindow(messages, files); });
  shell.add("geodetic", Keep::UntilClosed, [&messages] { return new GeodeticWindow(messages); });
  shell.add("calculator", Keep::UntilClosed, [&messages] { return new CalculatorWindow(messages); });
  shell.add("distanceReduction", Keep::UntilClosed, [&messages] { return new DistanceReductionWindow(messages); });
  shell.add("oneWayHeight", Keep::UntilClosed, [&messages] { return new OneWayHeightWindow(messages); });
  shell.add("intersection", Keep::UntilClosed,
            [owner, &messages, &files] { return new IntersectionWindow(messages, files, owner); });
  shell.add("resection", Keep::UntilClosed, [owner, &messages, &files] { return new ResectionWindow(messages, files, owner); });
  shell.add("centring", Keep::UntilClosed, [owner, &messages] { return new CentringWindow(messages, owner); });
  shell.add("standards", Keep::UntilClosed, [] { return new StandardsWindow; });
  shell.add("help", Keep::ForProgram, [owner] { return new HelpWindow(owner); });
}

}  // namespace korvane::ui
