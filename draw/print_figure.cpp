#include "draw/print_figure.h"

#include "draw/plot_renderer.h"
#include "draw/print_color_map.h"

namespace wv {

int PrintFigure(CDC& dc, const PrintFigureRequest& request) {
    if (request.store.GetPageCount() < 1 || request.store.GetPage(0) == nullptr) return -1;
    PlotRenderer renderer(PrintMapping::FromDevice(dc, request.printFactor, request.sheetOffsetX,
                                                   request.sheetOffsetY));
    const PrintMapping& map = renderer.Mapping();
    // Area fills only on a colour raster device: a pen plotter cannot fill, and on two
    // colours the fills would print black over the figure.
    if (map.m_nNumColors > 2 && map.m_nPrinterTech != DT_PLOTTER) {
        const CZmn_Inf& z = request.doc.m_zmn;
        const PrintView view{request.doc, request.viewAngle};
        // The renderer's page gives the legend its layer-0 colour.
        renderer.SetPage(request.store.GetPage(0));
        if (z.m_bColorContour == 1)
            PrintColorMap(renderer, view, dc);
        else if (z.m_bFillLand == 1)
            PrintLandFill(renderer, view, dc, 1);
    }
    return renderer.PrintPlotData(dc, request.store, 0);
}

}  // namespace wv
