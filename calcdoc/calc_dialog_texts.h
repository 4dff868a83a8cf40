// The texts of the calculation view's dialogs, in one place. UTF-8; the UI service and
// the dialog host convert at their boundary.
#pragma once

namespace wv::dlgtext {

// Output-point result list.
inline constexpr char kResultListCaption[] = "各算出位置の計算結果";
inline constexpr char kResultListNote[] = "算出方法は、算出点を囲むメッシュ４点の平均値です。";
inline constexpr char kClose[] = "閉じる";
inline constexpr char kPointNameColumn[] = "算出点名称";
inline constexpr char kDirectionColumn[] = "屈折後波向";
inline constexpr const char* kValueColumns[] = {"有義波高(m)", "有義波高比", "換算沖波波高(m)", "換算沖波波高比"};
inline constexpr char kNoValueText[] = "――――――";
inline constexpr char kNoDirectionText[] = "―――";

// Height check.
inline constexpr char kHeightCheckCaption[] = "高さ確認";
inline constexpr char kHeightCheckLabel[] = "確認ｺﾝﾀｰ値";
inline constexpr char kNoSuchContour[] = "指定数値のｺﾝﾀｰは存在しません。";
inline constexpr char kContourCaption[] = "コンター指定";

// Contour display conditions.
inline constexpr char kContourCondCaption[] = "ｺﾝﾀｰ表示条件";
inline constexpr char kLower[] = "下限値";
inline constexpr char kUpper[] = "上限値";
inline constexpr char kDispRange[] = "表示範囲(m)";
inline constexpr char kCalcRange[] = "計算範囲(m)";
inline constexpr char kContRange[] = "ｺﾝﾀ-範囲(m)";
inline constexpr char kColorRange[] = "色の範囲(m)";
inline constexpr char kInterval[] = "表示間隔(m)";
inline constexpr char kExtraLevel[] = "任意表示(m)";
inline constexpr char kDoubleClickDeletes[] = "ダブルクリックで削除";
inline constexpr char kRegister[] = "登録";
inline constexpr char kDeleteAll[] = "全削除";
inline constexpr char kTilde[] = "～";
inline constexpr char kIntervalNotPositive[] = "ｺﾝﾀｰ間隔は正数を指定して下さい。";
inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "ｷｬﾝｾﾙ";

// Digital-map display interval.
inline constexpr char kVectorIntervalCaption[] = "ベクトルの表示間隔";
inline constexpr char kMapIntervalCaption[] = "デジタルマップの表示間隔";
inline constexpr char kAcross[] = "横";
inline constexpr char kDown[] = "縦";
inline constexpr char kMeshPitch[] = "ﾒｯｼｭﾋﾟｯﾁ(m)";
inline constexpr char kBasePoint[] = "基準座標(m)";
inline constexpr char kBaseX[] = "Ｘ";
inline constexpr char kBaseY[] = "Ｙ";
inline constexpr char kDisplayRangeM[] = "表示範囲(m)";
inline constexpr char kCalcRangeM[] = "計算範囲(m)";
inline constexpr char kStepNotPositive[] = "数値間隔は正数を指定して下さい。";
inline constexpr char kStepNotMultiple[] = "数値間隔はﾒｯｼｭﾋﾟｯﾁの整数倍で指定して下さい。";
inline constexpr char kStepCaption[] = "間隔指定";
inline constexpr char kRangeEqual[] = "表示範囲は同じ数値を指定しないで下さい。";
inline constexpr char kRangeCaption[] = "範囲指定";
inline constexpr char kBaseOutside[] = "基準座標は計算領域内で指定して下さい。";
inline constexpr char kBaseCaption[] = "基準指定";

// AutoCAD version and the wait box.
inline constexpr char kAcadCaption[] = "AutoCADのﾊﾞｰｼﾞｮﾝ";
inline constexpr char kReadingCaption[] = "計算結果ﾌｧｲﾙ読込中";
inline constexpr char kPleaseWait[] = "しばらくお待ちください";

// Save As.
inline constexpr char kSaveAsTitle[] = "名前を付けて保存";
inline constexpr char kSaveIn[] = "保存する場所:";
inline constexpr char kFileName[] = "ファイル名(&N):";
inline constexpr char kFileType[] = "ファイルの種類(&T):";
inline constexpr char kTydFilter[] = "Tyd Files (*.tyd)";
inline constexpr char kSave[] = "保存(&S)";
inline constexpr char kNameHasSeparator[] = "名前に「\\」や「/」は使えません。";
inline constexpr char kNameInvalid[] = "このファイル名は使えません。";
inline constexpr char kNameIsFolder[] = "同じ名前のフォルダがあります。別の名前を指定してください。";
// "<name> は既に存在します。\n上書きしますか?"
inline constexpr char kOverwriteTail[] = " は既に存在します。\n上書きしますか?";

}  // namespace wv::dlgtext
