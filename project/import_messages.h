// Texts the importers show (UTF-8). The ones marked "ours" have no counterpart in the
// Windows program, which failed silently or read such files wrongly.
#pragma once

namespace wv::importmsg {

inline constexpr const char* kCaptionDxf = "DXF";
inline constexpr const char* kCaptionCsv = "CSV";
inline constexpr const char* kCaptionQsona = "Q-SONA";
inline constexpr const char* kCaptionTik = "Wavora";

inline constexpr const char* kFileOpenError = "FILE OPEN ERROR";
inline constexpr const char* kNoLayers = "レイヤデータがありません。読み込みを中止します。";
inline constexpr const char* kNoLines = "線データがありません。読み込みを中止します。";

// The project import reports as opening a project does.
inline constexpr const char* kTikCannotOpen = "ファイルを開けません。";
inline constexpr const char* kTikCannotRead =
    "ファイルを読み込めません。ファイルが壊れているか、形式が違います。";

// Ours: a DXF that cannot be read as pairs of text lines. %s is the file.
inline constexpr const char* kDxfBinary =
    "%s\nバイナリ形式の DXF ファイルは読み込めません。テキスト形式 (ASCII) で保存し直してください。";
inline constexpr const char* kDxfBadGroupCode =
    "%s\n%lld 行目のグループコードが整数ではありません。DXF ファイルが壊れています。";
inline constexpr const char* kDxfTruncated =
    "%s\nグループコードと値の組の途中でファイルが終わっています。DXF ファイルが壊れています。";
// Ours: a Q-SONA file whose first point record names no datum the conversion knows.
inline constexpr const char* kQsonaNoDatum =
    "%s\n測地系 ('1' 世界測地系 / '2' 日本測地系) を持つ点データがありません。読み込みを中止します。";

// Why a project file is refused, opened or imported (%d: slot numbers, the version).
inline constexpr const char* kTikLineWithoutPoint = "線 %d の端が、ない測点 %d を指しています";
inline constexpr const char* kTikPointWithoutLine = "測点 %d が、ない線 %d につながっています";
inline constexpr const char* kTikUnknownVersion = "プロジェクトファイルのバージョン %d は読み込めません";

}  // namespace wv::importmsg
