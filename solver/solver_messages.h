// Every text of the solver library that the user sees, in one place (UTF-8; message
// boxes and the progress window take UTF-8, files get CP932 at the boundary).
#pragma once

namespace wv::solv::msg {

inline constexpr const char kCaptionError[] = "Error";
inline constexpr const char kNoMemory[] = "計算に必要な仮想ﾒﾓﾘｰが確保できません.";
inline constexpr const char kNoCalFile[] = "計算用データファイル(.CAL)が見つかりません.";
inline constexpr const char kDialogFailed[] = "ダイアログの生成に失敗しました.";
inline constexpr const char kIlucgsFailed[] = "ERROR AT SIMULTANEOUS EQUATION  ILUCGS";
inline constexpr const char kDispersionLand[] = "分散関係式において陸地を解こうとしている.";
inline constexpr const char kDispersionFailed[] = "分散関係式がうまく解けていない！";

inline constexpr const char kNormalEnd[] = "処理は正常終了しました.";
inline constexpr const char kCaptionEnd[] = "終了";
inline constexpr const char kAskAbort[] = "処理を中断しますか？";
inline constexpr const char kCaptionAbort[] = "実行中断";

// Progress window.
inline constexpr const char kCaptionPrefix[] = "計算中 - ";
inline constexpr const char kLabelNodes[] = "計算メッシュ点数：";
inline constexpr const char kLabelNodesUnit[] = "点";
inline constexpr const char kLabelMemory[] = "必要メモリー量：約";
inline constexpr const char kLabelMemoryUnit[] = "KB";
inline constexpr const char kButtonCancel[] = "ｷｬﾝｾﾙ";

// Refusals and failures of our own. The .CAL refusal is the first line, followed by a
// blank line and the detail that names the record and what is wrong with it.
inline constexpr const char kBadCalFile[] = "計算用データファイル(.CAL)の内容が正しくありません.";
inline constexpr const char kAlreadyRunning[] =
    "別の波浪計算を実行中です. 同時に2つの計算はできません.";
inline constexpr const char kKkaCreateFailed[] = "計算結果ファイル(.KKA)が作成できません.";
inline constexpr const char kKkaWriteFailed[] = "計算結果ファイル(.KKA)の書き込みに失敗しました.";
inline constexpr const char kStatusWriteFailed[] = "CALC.DAT が書き込めません.";
inline constexpr const char kTimeWriteFailed[] = "TIME.TMP が書き込めません.";
inline constexpr const char kNonFinite[] =
    "計算値が有限の数になりませんでした. 計算を中止します.";
inline constexpr const char kNoRequest[] = "計算要求がありません.";
inline constexpr const char kUnexpectedFailure[] =
    "計算中に予期しないエラーが発生しました. 計算を中止します.";

// Details of a .CAL refusal (printf formats).
inline constexpr const char kDetailMissingRecord[] =
    "%d行目がありません (ファイルが途中で終わっています).";
inline constexpr const char kDetailNotNumeric[] = "%d行目 (%s) が数値として読めません.";
inline constexpr const char kDetailMissingDepths[] =
    "水深データが %lld 個必要ですが %lld 個しかありません.";
inline constexpr const char kDetailDirMismatch[] =
    "方向分割数 %d が計算要求の方向分割数 %d と一致しません.";
inline constexpr const char kDetailFreqMismatch[] =
    "周波数分割数 %d が計算要求の周波数分割数 %d と一致しません.";
inline constexpr const char kDetailMeshTooLarge[] =
    "格子点数 NX=%d, NY=%d が作業領域 (NX は %lld 以下, NY は %lld 以下) に収まりません.";
inline constexpr const char kDetailMeshNegative[] =
    "格子点数 NX=%d, NY=%d が正しくありません (NX は 0 以上, NY は 1 以上).";
inline constexpr const char kDetailFewDirections[] = "方向分割数は 3 以上が必要です (%d).";
inline constexpr const char kDetailFewFrequencies[] = "周波数分割数は 1 以上が必要です (%d).";
inline constexpr const char kDetailPeriod[] = "有義波周期は正の値が必要です (%g).";
inline constexpr const char kDetailHeight[] = "有義波高は 0 以上が必要です (%g).";
inline constexpr const char kDetailHeightTooLarge[] = "有義波高 %g m では計算できません.";
inline constexpr const char kDetailSpacing[] = "格子間隔 DX, DY は正の値が必要です (%g, %g).";
inline constexpr const char kDetailDirectionRange[] =
    "主波向 %g 度, 方向範囲 -%g 度 〜 +%g 度 にエネルギーを持つ方向分割がありません.";
inline constexpr const char kDetailCoordinates[] =
    "格子点の座標 (X0, Y0, DX, DY) が結果ファイルの欄 (F10.3) に収まりません.";
inline constexpr const char kDetailDepthField[] =
    "%d行目の水深 %g が結果ファイルの欄 (F10.3) に収まりません.";

// Field names used in kDetailNotNumeric.
inline constexpr const char kFieldOutput[] = "出力選択";
inline constexpr const char kFieldBreaking[] = "砕波";
inline constexpr const char kFieldLateral[] = "側方境界";
inline constexpr const char kFieldDump[] = "出力ダンプ";
inline constexpr const char kFieldDirDiv[] = "方向分割数";
inline constexpr const char kFieldSmax[] = "Smax";
inline constexpr const char kFieldDirRange[] = "方向範囲";
inline constexpr const char kFieldFreqDiv[] = "周波数分割数";
inline constexpr const char kFieldMeshCount[] = "格子点数";
inline constexpr const char kFieldSpacing[] = "格子間隔";
inline constexpr const char kFieldOrigin[] = "原点座標";
inline constexpr const char kFieldWave[] = "有義波周期・波高";
inline constexpr const char kFieldDirection[] = "主波向";
inline constexpr const char kFieldDepth[] = "水深";

}  // namespace wv::solv::msg
