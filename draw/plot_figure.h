// Figure composition: what a calculation view shows, written as the plot file
// "pdata000.plt" in the start folder and read straight back into the plot store that
// printing, the print preview and the DXF/BFO exports work from. Every printed or exported
// figure passes through here.
//
// The figure is a paper sheet: a frame showing a turned rectangle of the world at the
// drawing scale, a 10 mm title band above it, and the figure elements, each on a layer of
// its own:
//   1 frame, title band, title, condition cells, file label, scale   2 north mark
//   3 incident-direction mark      4 terrain lines     5 depth lines and their depths
//   6 land cells                   7 depth-check contours     8 result digital map
//   9 result contours (10, white, over a colour map when asked)  11 direction arrows
//   12 output points and their result labels   13 depth map   14 direction map
#pragma once

#include "calc/calc_doc_data.h"
#include "core/line.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"
#include "draw/plot_sheet.h"
#include "draw/plot_store.h"
#include "draw/plot_writer.h"
#include "platform/sysver.h"

#include <string>

namespace wv {

// The project's terrain and the installation's version text, as the figure reads them:
// the application-wide tables and the version read at start-up unless a test gives its own.
struct PlotSources {
    const CTik_Inf* tikInf = &g_tikInf;
    const CLine* lines = &g_lines;
    const CSansyutu* calcPoints = &g_calcPoints;
    // CP932 bytes, written into the file label as they are; empty: no version part.
    std::string versionCp932 = g_strVersionCp932;
};

// Where the figure lies on the paper: the printer renderer and the converters' job files
// add these to every plot coordinate.
struct SheetOffsets {
    double x = 0.0;  // the left margin, mm
    double y = 0.0;  // the bottom margin, mm
};

// Writes the figure of `view` (its document, its output-point values) seen at the view's
// angle in degrees into StartFolderFile("pdata000.plt") and reads it back into `store`,
// page 0. 0 when done; -1 when the scale is 0 or below (a message, nothing written), the
// file cannot be written (the message "pdata000.plt作成に失敗しました。", the earlier
// file kept) or it cannot be read back (no message; `store` unchanged). `offsets`, when
// given, receives the sheet offsets whatever the result.
int MakePlotFile(CTydViewData& view, double viewAngle, CPlotStore& store, SheetOffsets* offsets = nullptr,
                 const PlotSources& sources = PlotSources());

// The composition with its element writers, each writing its records through Writer().
// MakePlotFile runs one; tests open a writer of their own and call single elements.
class CPlotComposer {
public:
    CPlotComposer(CTydViewData& view, double viewAngle, const PlotSources& sources = PlotSources());
    virtual ~CPlotComposer() = default;
    CPlotComposer(const CPlotComposer&) = delete;
    CPlotComposer& operator=(const CPlotComposer&) = delete;

    int MakePlotFile(CPlotStore& store);
    const SheetOffsets& Offsets() const { return m_offsets; }

    CPlotWriter& Writer() { return m_writer; }
    const PlotSheet& Sheet() const { return m_sheet; }

    // The header after the title: SC, EM, SZ and the 14 layers.
    void WriteHeader();

    // The elements, in drawing order (MakePlotFile calls them so).
    virtual void PlotTitleBlock();
    virtual void PlotNorthMark(const WorldBox& box);
    virtual void PlotWaveMark(const WorldBox& box);
    virtual void PlotTerrainLines(const WorldBox& box);
    virtual void PlotLandCells();
    virtual void PlotDepthCheck(const WorldBox& box);
    virtual void PlotDepthMap(const WorldBox& box);
    virtual void PlotDirectionMap(const WorldBox& box);
    virtual void PlotResultMap(const WorldBox& box);
    virtual void PlotResultContours(const WorldBox& box);
    virtual void PlotDirectionArrows(const WorldBox& box);
    virtual void PlotCalcPoints(const WorldBox& box);

protected:
    // Makes the view's output-point values those of the current figure before the points
    // are written (the engine's UpdateCalcPointResults).
    virtual void UpdateCalcPointValues();

private:
    // Sheet position of a mark's world position when it is set and inside the frame.
    bool MarkOnSheet(CPointD pos, const WorldBox& box, double* X, double* Y) const;
    // A text (UTF-8) at the end E of a chain's segment E-F, 1 mm in along the segment and
    // centred across it, reading left to right.
    void ChainEndLabel(CPointD e, CPointD f, double value, int layer);
    // VJ of a UTF-8 text; returns its length in CP932 bytes.
    int Text(double x, double y, double size, const std::string& utf8, double angle, int layer);
    template <class Flag, class Value>
    void PlotDigitalMap(const WorldBox& box, int layer, Flag flag, Value value, const char* format, double h,
                        double k);

    CTydViewData& m_view;
    CTydDocData& m_doc;
    PlotSources m_src;
    PlotSheet m_sheet;
    SheetOffsets m_offsets;
    CPlotWriter m_writer;
};

// Display texts shared with the screen: a direction printed with one decimal, "0.0" where
// it would read "360.0" or "-0.0".
std::string FormatShownDirection(double degrees);

}  // namespace wv
