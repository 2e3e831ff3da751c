#include "ui/cogo/resection_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "export/figures.h"
#include "cogo/resection.h"

namespace korvane::ui {

ResectionWindow::ResectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : ToolWindow(messages, parent, "hfjh", "后方交会") {
  QGridLayout* grid = addFigures();
  a_ = addPoint(grid, 0, "A");
  b_ = addPoint(grid, 1, "B");
  c_ = addPoint(grid, 2, "C");
  alphaBox_ = addBox(grid, 3, 0, {"Text_alpha", "α（∠BPC）", kAngleTip}, false);
  betaBox_ = addBox(grid, 3, 2, {"Text_beta", "β（∠CPA）", kAngleTip}, false);
  result_ = addResultPoint(grid, 4, "测站");
  radiusBox_ = addBox(grid, 5, 0, {"Text_R", "危险圆半径R", "过A、B、C三点的圆的半径（米）"}, true);
  dangerBox_ = addBox(grid, 5, 2, {"Text_wxy", "P至危险圆", "P点到危险圆的距离（米）"}, true);
  offerExports(files);
  finish("Label_sm",
         "在P点按顺时针方向观测：α=∠BPC（自B方向顺时针转至C方向），β=∠CPA（自C方向顺时针转至A方向）。\n"
         "A、B、C三点所确定的圆为危险圆（半径R）：P点距危险圆小于R/5时提醒，小于R/100时不予计算。");
}

void ResectionWindow::compute() {
  const std::vector<std::string> figures = Texts({a_.x, a_.y, b_.x, b_.y, c_.x, c_.y, alphaBox_, betaBox_});
  const cogo::resection::Result r = cogo::resection::Resect(figures);
  if (refused(r.refusal)) return;
  showResults({{result_.x, r.x}, {result_.y, r.y}, {radiusBox_, r.radiusText}, {dangerBox_, r.dangerText}});
  showFigure(exporting::ResectionFigure(figures, r));
  warn(r.warning);
}

}  // namespace korvane::ui
