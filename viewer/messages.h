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

// About box.
inline constexpr char kAboutCaption[] = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char kVersionPrefix[] = "ﾊﾞｰｼﾞｮﾝ ";

// Frame: the settings key of the two small programs, menus, the untitled document.
inline constexpr char kSettingsOrganisation[] = "Local AppWizard-Generated Applications";
inline constexpr char kUntitled[] = "無題";
inline constexpr char kMenuFile[] = "ﾌｧｲﾙ(&F)";
inline constexpr char kMenuOpen[] = "開く(&O)...";
inline constexpr char kMenuAreaOutput[] = "領域内ﾃﾞｰﾀ出力";
inline constexpr char kMenuOutputQsona[] = "Q-SONAﾌｧｲﾙ(&B)...";
inline constexpr char kMenuOutputDxf[] = "3D DXFﾌｧｲﾙ(&D)...";
inline constexpr char kMenuRecentNone[] = "最近使ったﾌｧｲﾙ";
inline constexpr char kMenuExit[] = "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)";
inline constexpr char kMenuView[] = "表示(&V)";
inline constexpr char kMenuZoomIn[] = "拡大";
inline constexpr char kMenuZoomOut[] = "縮小";
inline constexpr char kMenuZoomAll[] = "全体";
inline constexpr char kMenuLowTide[] = "低潮線";
inline constexpr char kMenuToolBar[] = "ﾂｰﾙ ﾊﾞｰ(&T)";
inline constexpr char kMenuStatusBar[] = "ｽﾃｰﾀｽ ﾊﾞｰ(&S)";
inline constexpr char kMenuSettings[] = "設定(&S)";
inline constexpr char kMenuSetArea[] = "領域設定";
inline constexpr char kMenuHelp[] = "ﾍﾙﾌﾟ(&H)";
inline constexpr char kMenuAbout[] = "ﾊﾞｰｼﾞｮﾝ情報(&A)...";
inline constexpr char kAllFilesFilter[] = "すべてのﾌｧｲﾙ (*)";
inline constexpr char kDxfFilesFilter[] = "Dxf Files (*.dxf)";

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
