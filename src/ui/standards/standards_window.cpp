#include "ui/standards/standards_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "standards/standards_table.h"
#include "ui/shell/platform.h"
#include "ui/widgets/qt_text.h"

namespace korvane::ui {
namespace {

QTableWidget* ReadOnlyTable(const char* name, const standards::TextTable& content) {
  auto* table = new QTableWidget(static_cast<int>(content.rows.size()), static_cast<int>(content.headers.size()));
  table->setObjectName(name);
  QStringList headers;
  for (const std::string& h : content.headers) headers << Q(h);
  table->setHorizontalHeaderLabels(headers);
  for (int r = 0; r < table->rowCount(); ++r)
    for (int c = 0; c < table->columnCount(); ++c) table->setItem(r, c, new QTableWidgetItem(Q(content.rows[r][c])));
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->resizeColumnsToContents();
  table->verticalHeader()->setVisible(false);
  return table;
}

QWidget* LevellingPage() {
  auto* page = new QWidget;
  auto* column = new QVBoxLayout(page);
  column->addWidget(ReadOnlyTable("grid_szxc", standards::LevellingStandardsTable()));
  for (const std::string& note : standards::LevellingStandardsNotes()) {
    auto* label = new QLabel(Q(note), page);
    label->setWordWrap(true);
    column->addWidget(label);
  }
  return page;
}

}  // namespace

StandardsWindow::StandardsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("form_gcclcygf");
  setWindowTitle(QString::fromUtf8("工程测量常用规范"));
  auto* layout = new QVBoxLayout(this);
  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("tabs");
  tabs->addTab(ReadOnlyTable("grid_dxxc", standards::TraverseStandardsTable()), QString::fromUtf8("导线测量限差"));
  tabs->addTab(LevellingPage(), QString::fromUtf8("水准测量限差"));
  layout->addWidget(tabs);
  FitToScreen(this, {1000, 560});
}

void StandardsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  CentreOnFirstShow(this, centred_);
}

}  // namespace korvane::ui
