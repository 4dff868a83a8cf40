// Reading the lines of a DXF drawing for the terrain: the layer table of a 2D drawing
// (each layer's kind and depth come from its name), then a counting pass and a reading
// pass over the entities. The whole file is read and checked before anything is
// returned, so a refused file leaves the project as it was.
#pragma once

#include "project/import_geometry.h"

#include <optional>
#include <string>
#include <vector>

namespace wv {

// One group-code / value pair of a DXF text file. Values keep their bytes (layer names
// may be code page 932 or UTF-8 by the file's version); a trailing CR is dropped.
struct DxfPair {
    int code = 0;
    std::string value;
};

class DxfFile {
public:
    // Reads and splits the file into pairs. Lines may be of any length. A binary DXF, a
    // group code that is not an integer, or a file that ends inside a pair is refused:
    // the result is empty and `error` holds the message (UTF-8, naming the file).
    static std::optional<DxfFile> Load(const std::string& path, std::string& error);
    // The same for text already in memory; `name` is used in the messages.
    static std::optional<DxfFile> Parse(const std::string& text, const std::string& name,
                                        std::string& error);

    const std::vector<DxfPair>& Pairs() const { return m_pairs; }
    // $ACADVER of the header ("AC1009", "AC1015", ...), empty when absent.
    const std::string& Version() const { return m_version; }
    // From AC1021 on, DXF text is UTF-8; before, it is the drawing's code page (932).
    bool IsUtf8() const;

private:
    std::vector<DxfPair> m_pairs;
    std::string m_version;
};

// Line kinds a layer gives the lines drawn on it.
inline constexpr int kLayerUndefined = 0;  // 未定義
inline constexpr int kLayerTerrain = 1;    // 地形線
inline constexpr int kLayerDepth = 2;      // 水深線

struct DxfLayer {
    std::string name;  // bytes as in the file
    int attribute = kLayerUndefined;
    double value = 0.0;  // metres
};

// A layer's attribute and value from its name: a digit in the second place and 'T' or
// 'H' in the first gives 地形線 or 水深線 with the rest of the name ('_' for '.') as the
// value, rounded to one decimal ("T12_5" -> 12.5). Anything else is 未定義, 0.0.
DxfLayer LayerFromName(const std::string& name);

// The layers of the drawing's layer table, every entry up to the table's end (the count
// in the table header is only a hint). Empty when the drawing has no layer table.
std::vector<DxfLayer> ReadDxfLayers(const DxfFile& file);

// The layer name as the user sees it.
std::string LayerDisplayName(const DxfFile& file, const std::string& name);

enum class DxfMode { Plane, ThreeD };

// Number of segments the entities of the drawing give (S): the size of the work arrays.
int CountDxfSegments(const DxfFile& file, DxfMode mode);

// Options of the import dialogs.
struct DxfImportOptions {
    bool millimetres = false;    // "ミリ": coordinates (and z) in millimetres
    double reference = 0.0;      // 変換基準高(m)
};

// Points and segments of the drawing's entities, at most `segmentLimit` segments and
// 2 * segmentLimit + 5 points, with coordinates scaled and rounded to 3 decimals and the
// heights of new points (2D: reference - layer value; 3D: reference - z, to 1 decimal).
// `layers` is the (edited) layer list; it is not used in 3D.
ImportGeometry ReadDxfGeometry(const DxfFile& file, DxfMode mode, const std::vector<DxfLayer>& layers,
                               const DxfImportOptions& options, int segmentLimit);

}  // namespace wv
