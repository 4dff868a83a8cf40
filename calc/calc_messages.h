// Every text of the calculation engine that the user sees, in one place. UTF-8; the
// UI service and the file writers convert at their boundary.
#pragma once

namespace wv::calcmsg {

// Captions of the progress window.
inline constexpr char kDepthCalcCaption[] = "水深計算中";
inline constexpr char kDepthInputCaption[] = "水深入力中";


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
