#include "platform/qt/printer_setup.h"

#include <QPushButton>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace wv {

QPrinter& ProgramPrinter() {
    // Made on first use, after the application object: QPrinter asks the print system.
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

bool HasRealPrinter(const QPrinter& printer) {
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty()) return false;
    return !QPrinterInfo::printerInfo(printer.printerName()).isNull();
}

bool RunPrintSetup(QWidget* parent, const std::string& caption) {
    QPrintDialog dlg(&ProgramPrinter(), parent);
    dlg.setWindowTitle(QString::fromStdString(caption));
    // Setting up prints nothing: no page range to choose, and the button only confirms.
    dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dlg.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    for (QDialogButtonBox* box : dlg.findChildren<QDialogButtonBox*>())
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    return dlg.exec() == QDialog::Accepted;
}

}  // namespace wv
