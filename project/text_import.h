// The text-file importers of the project editor: comma-separated points, comma-separated
// polylines and Q-SONA bathymetry. Each reads the whole file into an ImportGeometry (or
// refuses it) before the merge touches a table. Lines are read whole, whatever their
// length; a trailing CR is dropped.
#pragma once

#include "project/import_geometry.h"

#include <string>
#include <vector>

namespace wv {

// Splits text into lines (LF or CR LF). A last line without its end counts.
std::vector<std::string> SplitTextLines(const std::string& text);

// CSV points: "x,y" per line (survey coordinates: "y,x"), rounded to 3 decimals. Rows
// without a comma, or whose fields hold no number (a header such as "X,Y"), are skipped.
ImportGeometry ReadCsvPoints(const std::vector<std::string>& lines, bool surveyCoordinates);

// CSV polylines: rows of exactly five numbers (kind 1 or 2, height, first coordinate,
// second coordinate, line number). Consecutive accepted rows with the same line number
// and kind form one polyline; each of its points gets reference - the first row's height.
// A polyline of one row gives nothing. Skipped rows neither continue nor end a polyline.
ImportGeometry ReadCsvLines(const std::vector<std::string>& lines, double reference,
                            bool surveyCoordinates);

struct QsonaImportOptions {
    double reference = 0.0;  // 変換基準高(m)
    int zone = 1;            // plane rectangular zone 1..19
};

struct QsonaImportResult {
    bool datumFound = false;  // a point record with '1' or '2' in the datum column
    ImportGeometry geometry;
};

// Q-SONA: the coastline ('L'), depth line ('N') and low-tide line ('M') records turned into
// plane coordinates by Meshgate (its northing is the point's y, its easting the x). The
// ellipsoid is that of the first point record; lines that are not point records are
// passed over. Polylines are keyed by record type and line number as in ReadCsvLines;
// the height of every point is reference - the first record's depth in metres.
QsonaImportResult ReadQsonaLines(const std::vector<std::string>& lines,
                                 const QsonaImportOptions& options);

}  // namespace wv
