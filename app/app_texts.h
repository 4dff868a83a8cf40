// Every text of the application shell that the user sees (UTF-8).
#pragma once

namespace wv::apptext {

inline constexpr char kAppTitle[] = "Wavora";
inline constexpr char kRegistryKey[] = "KTR Applications";

inline constexpr char kTydDocString[] = "\nTyd\nTyd\nTyd ﾌｧｲﾙ (*.tyd)\n.tyd\nTyd.Document\nTyd Document";
inline constexpr char kTikDocString[] = "\nTik\nTik\nTik ﾌｧｲﾙ (*.tik)\n.tik\nTik.Document\nTik Document";

inline constexpr char kIdleText[] = "準備できてます・・・・・";
inline constexpr char kPositionWidthText[] = "99999999.999/99999999.999/-99.9";

inline constexpr char kOpenProjectTitle[] = "ﾌﾟﾛｼﾞｪｸﾄを開く";
inline constexpr char kProjectFilter[] = "ﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙ(*.TIK)";
inline constexpr char kProjectPattern[] = "*.TIK";

inline constexpr char kNoVersion[] = "ﾊﾞｰｼﾞｮﾝが読み込めませんでした。";
inline constexpr char kNoVersionCaption[] = "SYSVER";
inline constexpr char kAboutCaption[] = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char kAboutVersionPrefix[] = "ﾊﾞｰｼﾞｮﾝ ";
inline constexpr char kPdfFailed[] = "PDFファイルを開けません。";
inline constexpr char kPdfCaption[] = "PDF";
inline constexpr char kInfFailed[] = "FILE OPEN ERROR";
inline constexpr char kInfCaption[] = "INF";
inline constexpr char kHelpPdf[] = "wavora.pdf";
inline constexpr char kOverviewPdf[] = "商品概説.pdf";
inline constexpr char kUpdater[] = "Selfpatch";
inline constexpr char kUpdaterInfo[] = "Selfpatch.inf";
inline constexpr char kUpdateArgument[] = "/update";

// Texts of our own.
inline constexpr char kUpdaterMissing[] = "更新プログラム Selfpatch を起動できません。";
inline constexpr char kUpdaterCaption[] = "更新";
inline constexpr char kStartFolderTooLong[] =
    "起動フォルダのパスが長すぎます (512 バイトまで)。短いパスのフォルダから起動してください。";
inline constexpr char kNotAvailable[] = "この機能はまだ使えません。";
inline constexpr char kNewCalcTitle[] = "新規作成";
inline constexpr char kTydFilter[] = "Tyd ﾌｧｲﾙ (*.tyd)";
inline constexpr char kTydPattern[] = "*.TYD";
inline constexpr char kCannotCreate[] = "ファイルを作成できません。";
inline constexpr char kNewProjectTitle[] = "ﾌﾟﾛｼﾞｪｸﾄの新規作成";
inline constexpr char kPrintSetupCaption[] = "ﾌﾟﾘﾝﾀの設定";

// Data selection tree.
inline constexpr char kTreeCaption[] = "データの選択";
inline constexpr char kTreeClose[] = "閉じる";
inline constexpr char kTreeRootPrefix[] = "ﾌﾟﾛｼﾞｪｸﾄ(";
inline constexpr char kTreeRootSuffix[] = ")";
inline constexpr char kTreeProjectPrefix[] = " [地形データ] ";
inline constexpr char kTreeCalcPrefix[] = " [屈折データ] ";

}  // namespace wv::apptext
