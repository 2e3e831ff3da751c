#pragma once
// 打印… and 保存为PDF… of the results windows: the report on A4 pages in the
// print preview, from which it goes to a printer (the printer dialog), or
// written as a PDF file through the atomic writer.
#include <QString>

#include "render/report_pdf.h"

class QWidget;

namespace korvane::ui {

class FileDialogs;
class MessageBoxes;

// Object names of the two commands in every window that has them.
inline constexpr const char* kPrintCommand = "dy";
inline constexpr const char* kPdfCommand = "bcpdf";
inline constexpr const char* kPrintCaption = "打印…";
inline constexpr const char* kPdfCaption = "保存为PDF…";

// Opens the print preview (window-modal, object name "printPreview") of the
// report; it closes itself when printed or cancelled.
void PrintReport(QWidget* parent, const render::PrintableReport& report);

// Asks for the file's name (".pdf" appended when it has no ending), writes
// it and tells a refusal or an error. `folder` is where the dialog opens and
// becomes the chosen file's folder.
void SaveReportPdf(QWidget* parent, FileDialogs& files, MessageBoxes& messages, const render::PrintableReport& report,
                   QString& folder);

}  // namespace korvane::ui
