// Every text of the calculation engine that the user sees, in one place. UTF-8; the
// UI service and the file writers convert at their boundary.
#pragma once

namespace wv::calcmsg {

// Captions of the progress window.
inline constexpr char kDepthCalcCaption[] = "水深計算中";
inline constexpr char kDepthInputCaption[] = "水深入力中";
inline constexpr char kDepthContourCaption[] = "水深図作成中";
inline constexpr char kResultContourCaption[] = "ｺﾝﾀﾃﾞｰﾀ作成中";

// A contour run with more levels than can be traced (ours; the run is refused and the
// earlier contours stay).
inline constexpr char kDepthContourTitle[] = "水深図作成";
inline constexpr char kResultContourTitle[] = "ｺﾝﾀﾃﾞｰﾀ作成";
inline constexpr char kTooManyLevels[] =
    "等高線の本数が100000本を超えるため作成できません。\n範囲と間隔を見直してください。";


// The result loader.
inline constexpr char kLoaderCaption[] = "CAL";
inline constexpr char kNeedDepths[] = "水深計算を行ってください";
inline constexpr char kNeedWaveCalc[] = "波浪計算を行ってください";
inline constexpr char kLoadedCaption[] = "結果更新";
inline constexpr char kLoadedSaving[] = "計算結果を読み込みました。ﾃﾞｰﾀﾌｧｲﾙに保存します。";
// The run whose results are asked for is still going on: "現在【" + title + "】を計算中です".
inline constexpr char kRunningHead[] = "現在【";
inline constexpr char kRunningTail[] = "】を計算中です";
// A result file that does not fit the run: the file's path and the reason follow.
inline constexpr char kBadResultFile[] =
    "計算結果ファイルの内容が計算データと合わないため、読み込みませんでした。";

}  // namespace wv::calcmsg
