#pragma once
// A report laid out on A4 pages, for the printer and for PDF files alike:
// the text (the plain results table in the monospaced font, or an HTML
// report), then its sketch, on the last page where it fits below the text
// and on a page of its own where it does not, and "第 N 页 / 共 M 页" at the
// foot of every page. The fonts are the ones whose text reads back from the
// PDF exactly (see PdfSansFamilies).
#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <string>
#include <vector>

#include "core/sketch.h"
#include "report/report_file.h"

class QPagedPaintDevice;

namespace korvane::render {

struct PrintableReport {
  enum class Body { PlainText, Html };
  Body body = Body::PlainText;
  QString text;           // the table's lines, or the HTML report
  QString title;          // the document's title (the PDF's properties)
  Sketch picture;         // none when it has no operations
  QSizeF pictureSize;     // the picture's proportions (its pixels on the screen)
  QString pictureCaption; // a line below the picture, or empty
};

// Paints the report onto the device's pages (a printer, a PDF writer), whose
// page size the caller has set; returns the number of pages, 0 when the
// device could not be painted on.
int PaintReport(QPagedPaintDevice& device, const PrintableReport& report);

// The report as a PDF document on A4 pages with its fonts embedded; empty
// when it could not be made.
QByteArray ReportPdfBytes(const PrintableReport& report);

// "磁盘满，空间不够!" for a full disk (or quota), else the writer's own text.
std::string PdfWriteErrorText(int error, const std::string& writerText);

// Writes the PDF file through the atomic writer. The destination is refused
// before anything is made when it is read-only, no regular file, or one of
// `inputs`.
report::ReportWrite WriteReportPdf(const std::string& path, const PrintableReport& report,
                                const std::vector<std::string>& inputs = {});

}  // namespace korvane::render
