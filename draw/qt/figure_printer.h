// A calculation figure on a QPrinter: the sheet of the drawing conditions as the page, a
// PDF file when no printer is set up, and the print preview. The plot store is only read,
// so the preview may render the figure as often as it likes; its owner frees it once.
#pragma once

#include "draw/print_figure.h"

#include <QPageSize>
#include <string>

class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace wv {

// The page of a paper size index (A0-A5, then JIS B1-B5); A4 for an unknown index.
QPageSize::PageSizeId PageSizeIdForPaper(int paperSize);

// Page size and orientation (0 landscape, else portrait) of the drawing conditions, no
// page margins, printable area = sheet: the sheet's own margins are the offsets the
// figure carries.
void ConfigureFigurePrinter(QPrinter& printer, int paperSize, int orientation);

// Prints the figure on a configured printer. False when the printer cannot be painted on
// or the store holds no figure.
bool PrintFigureOnPrinter(QPrinter& printer, const PrintFigureRequest& request);

// Prints the figure into a PDF file on the sheet of its drawing conditions (high
// resolution). The file is written beside the target and renamed over it when complete.
// False, with `err` set and the target untouched, when it cannot be written.
bool PrintFigureToPdf(const std::string& path, const PrintFigureRequest& request, std::string* err);

// The print preview of the figure on a printer configured for its sheet; the dialog
// renders the request whenever it repaints, so the request's data must outlive it.
QPrintPreviewDialog* CreateFigurePreview(QPrinter& printer, const PrintFigureRequest& request,
                                         QWidget* parent);

}  // namespace wv
