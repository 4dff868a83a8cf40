#include "draw/qt/figure_printer.h"

#include "draw/draw_messages.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/qt/qt_dc.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <cerrno>

namespace wv {

QPageSize::PageSizeId PageSizeIdForPaper(int paperSize) {
    // The B sizes of the drawing conditions are the Japanese ones (B4 257 x 364 mm).
    static constexpr QPageSize::PageSizeId kIds[] = {
        QPageSize::A0,    QPageSize::A1,    QPageSize::A2,    QPageSize::A3,
        QPageSize::A4,    QPageSize::A5,    QPageSize::JisB1, QPageSize::JisB2,
        QPageSize::JisB3, QPageSize::JisB4, QPageSize::JisB5,
    };
    if (paperSize < 0 || paperSize >= static_cast<int>(std::size(kIds))) return QPageSize::A4;
    return kIds[paperSize];
}

void ConfigureFigurePrinter(QPrinter& printer, int paperSize, int orientation) {
    printer.setFullPage(false);
    const QPageLayout layout(QPageSize(PageSizeIdForPaper(paperSize)),
                             orientation == 0 ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0));
    printer.setPageLayout(layout);
}

bool PrintFigureOnPrinter(QPrinter& printer, const PrintFigureRequest& request) {
    if (request.store.GetPage(0) == nullptr) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    int rc = 0;
    {
        CQtDC dc(&printer, &painter);
        rc = PrintFigure(dc, request);
    }
    painter.end();
    return rc == 0;
}

bool PrintFigureToPdf(const std::string& path, const PrintFigureRequest& request, std::string* err) {
    // The printer writes by name into the temporary file, which goes in place only when
    // the whole figure is in it.
    AtomicFile file;
    if (!file.Open(path, err)) return false;
    bool ok = false;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromLocal8Bit(file.TempPath().c_str()));
        printer.setColorMode(QPrinter::Color);
        ConfigureFigurePrinter(printer, request.doc.m_zmn.m_nPaperSize, request.doc.m_zmn.m_nPaperOrient);
        ok = PrintFigureOnPrinter(printer, request);
    }
    if (!ok || FileSize(file.TempPath()) <= 0) {
        file.Abandon();
        if (err) *err = path + (ok ? msg::kPdfCannotWrite : msg::kPdfNoFigure);
        return false;
    }
    return file.Commit(err);
}

QPrintPreviewDialog* CreateFigurePreview(QPrinter& printer, const PrintFigureRequest& request,
                                         QWidget* parent) {
    ConfigureFigurePrinter(printer, request.doc.m_zmn.m_nPaperSize, request.doc.m_zmn.m_nPaperOrient);
    auto* dialog = new QPrintPreviewDialog(&printer, parent);
    const PrintFigureRequest copy = request;
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [copy](QPrinter* p) { PrintFigureOnPrinter(*p, copy); });
    return dialog;
}

}  // namespace wv
