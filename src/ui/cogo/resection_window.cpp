#include "ui/cogo/resection_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "export/figures.h"
#include "cogo/resection.h"

namespace korvane::ui {
namespace {

const char* const kCoordinate = "坐标以米为单位，X为纵坐标（北），Y为横坐标（东）";
const char* const kAngle = "角度输入格式例：45度30分15秒则输入：45.3015";
const char* const kNote =
    "在P点按顺时针方向观测：α=∠BPC（自B方向顺时针转至C方向），β=∠CPA（自C方向顺时针转至A方向）。\n"
    "A、B、C三点所确定的圆为危险圆（半径R）：P点距危险圆小于R/5时提醒，小于R/100时不予计算。";

}  // namespace

ResectionWindow::ResectionWindow(MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : PlaneToolWindow(messages, parent, "hfjh", "后方交会") {
  auto* layout = new QVBoxLayout(this);
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  addBox(grid, 0, 0, "Text_XA", "XA", kCoordinate, false);
  addBox(grid, 0, 2, "Text_YA", "YA", kCoordinate, false);
  addBox(grid, 1, 0, "Text_XB", "XB", kCoordinate, false);
  addBox(grid, 1, 2, "Text_YB", "YB", kCoordinate, false);
  addBox(grid, 2, 0, "Text_XC", "XC", kCoordinate, false);
  addBox(grid, 2, 2, "Text_YC", "YC", kCoordinate, false);
  addBox(grid, 3, 0, "Text_alpha", "α（∠BPC）", kAngle, false);
  addBox(grid, 3, 2, "Text_beta", "β（∠CPA）", kAngle, false);
  addBox(grid, 4, 0, "Text_XP", "测站XP", "结果：P点纵坐标（米）", true);
  addBox(grid, 4, 2, "Text_YP", "测站YP", "结果：P点横坐标（米）", true);
  addBox(grid, 5, 0, "Text_R", "危险圆半径R", "过A、B、C三点的圆的半径（米）", true);
  addBox(grid, 5, 2, "Text_wxy", "P至危险圆", "P点到危险圆的距离（米）", true);
  layout->addWidget(page);
  auto* note = new QLabel(QString::fromUtf8(kNote), this);
  note->setObjectName("Label_sm");
  layout->addWidget(note);
  offerExports(files);
  layout->addWidget(buildButtons());
}

void ResectionWindow::compute() {
  const std::vector<std::string> figures =
      texts({"Text_XA", "Text_YA", "Text_XB", "Text_YB", "Text_XC", "Text_YC", "Text_alpha", "Text_beta"});
  const cogo::resection::Result r = cogo::resection::Resect(figures);
  if (refused(r.refusal)) return;
  showResults({{"Text_XP", r.x}, {"Text_YP", r.y}, {"Text_R", r.radiusText}, {"Text_wxy", r.dangerText}});
  showFigure(exporting::ResectionFigure(figures, r));
  warn(r.warning);
}

}  // namespace korvane::ui
