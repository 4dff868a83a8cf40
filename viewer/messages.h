// Every text the viewer shows the user, in one place (UTF-8; the program's own texts).
#pragma once

namespace wv::viewer_text {

inline constexpr char kAppTitle[] = "Q-SONA領域抽出ﾌﾟﾛｸﾞﾗﾑ";

// Output commands.
inline constexpr char kSetAreaFirst[] = "領域を設定してください。";
inline constexpr char kCaptionQsona[] = "Q-SONA";
inline constexpr char kCaptionDxf[] = "3D DXF";
inline constexpr char kCaptionDxfWrite[] = "DXF";
inline constexpr char kFileOpenError[] = "FILE OPEN ERROR";
// The file's first point record names no datum the conversion knows ('1' or '2').
inline constexpr char kUnknownDatum[] =
    "測地系が判別できません。\n最初のデータの測地系(60桁目)が 1 (世界測地系) または 2 (日本測地系) ではありません。";

// Opening a file.
inline constexpr char kCannotOpen[] = "ファイルを開けません。";
inline constexpr char kTooFewLines[] = "Q-SONAファイルとして読み込めません。データが2行未満です。";

// Start-up.
inline constexpr char kNoVersion[] = "ﾊﾞｰｼﾞｮﾝが読み込めませんでした。";
inline constexpr char kCaptionSysver[] = "SYSVER";

// Status bar prompts of the mouse modes.
inline constexpr char kPromptZoomIn[] = "拡大";
inline constexpr char kPromptZoomOut[] = "縮小";
inline constexpr char kPromptRectZoomIn[] = "領域拡大";
inline constexpr char kPromptRectZoomOut[] = "領域縮小";
inline constexpr char kPromptArea[] = "出力領域－ドラッグして領域指定";

// 3D DXF dialog.
inline constexpr char kDxfDialogCaption[] = "DXF出力ﾀﾞｲｱﾛｸﾞ";
inline constexpr char kDxfUnitGroup[] = "座標単位";
inline constexpr char kDxfUnitMillimetre[] = "ミリ";
inline constexpr char kDxfUnitMetre[] = "メートル";
inline constexpr char kDxfZoneLabel[] = "系番号";

}  // namespace wv::viewer_text
