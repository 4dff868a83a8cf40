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
// Where a run starts and its busy flag cannot be written: "\n(" + the file and the
// system's reason + ")" follow. The solver's own text for the same fault.
inline constexpr char kCalcDatWriteFailed[] = "CALC.DAT が書き込めません.";
// A result file that does not fit the run: the file's path and the reason follow.
inline constexpr char kBadResultFile[] =
    "計算結果ファイルの内容が計算データと合わないため、読み込みませんでした。";

// Reasons for refusing a result file (ours). A record is named by its line, from 1.
inline constexpr char kKkaMeshMismatch[] = "メッシュの節点数が計算データと合いません";
inline constexpr char kKkaShort[] = "節点%lld個に対して計算結果が%lld行しかありません";
inline constexpr char kKkaLong[] = "節点%lld個に対して計算結果が%lld行あり、多すぎます";
inline constexpr char kKkaFieldCount[] = "%lld行目の値が%d個です（10個のはずです）";
inline constexpr char kKkaNotNumber[] = "%lld行目の%d番目の値（%s）が数値ではありません";
inline constexpr char kKkaNotFinite[] = "%lld行目の%sが有限の値ではありません";
inline constexpr char kKkaTooWide[] = "%lld行目の%sが欄の幅に収まらない大きさです";
inline constexpr char kKkaPosition[] = "%lld行目の座標（%.3f, %.3f）が節点（%d, %d）の位置ではありません";
inline constexpr char kKkaDepth[] = "%lld行目の水深%.3fが計算データの水深%.3fと合いません";
inline constexpr char kKkaNegative[] = "%lld行目の%sが負の値です（%.4f）";
inline constexpr char kKkaRefraction[] = "%lld行目の屈折係数が%.4fです（0以上か、値なしを表す-99のはずです）";
inline constexpr char kKkaDirection[] = "%lld行目の波向%.4f度が-90度から90度の範囲を外れています";
// The ten values of a result record, in the order the solver writes them.
inline constexpr const char* kKkaFieldNames[10] = {
    "X座標", "Y座標", "水深", "波高比", "屈折係数", "最大波高比", "周期比", "波向", "波高比のX成分", "波高比のY成分",
};

}  // namespace wv::calcmsg
