// Every text the batch program shows, in one place (UTF-8).
#pragma once

namespace wv::batchmsg {

// The list: column headings and the state column.
inline constexpr char kColumnFile[] = "ファイル名";
inline constexpr char kColumnTitle[] = "タイトル";
inline constexpr char kColumnState[] = "状態";
inline constexpr char kStateWaiting[] = "待ち";
inline constexpr char kStateRunning[] = "計算中";
inline constexpr char kStateFinished[] = "終了";
inline constexpr char kStateAborted[] = "中断";

inline constexpr char kDocTitle[] = "連続計算";
inline constexpr char kAppTitle[] = "Tydchain";

// Open.
inline constexpr char kOpenDialogTitle[] = "連続計算用DECファイル読み込み";
inline constexpr char kOpenFilter[] = "DEC ﾌｧｲﾙ (*.dec *.DEC)";
inline constexpr char kDecCannotOpen[] = "連続計算用DECファイルが開けません。";
inline constexpr char kDecMalformed[] = "連続計算用DECファイルの内容が正しくありません。";
inline constexpr char kQueueFull[] = "連続計算に登録できるファイルは100件までです。次のファイルは登録しませんでした。";

// Delete and Delete all.
inline constexpr char kCannotDelete[] = "指定したデータは削除できません";
inline constexpr char kDeleteCaption[] = "削除";
inline constexpr char kCannotNow[] = "現在この操作を行うことはできません.";
inline constexpr char kDeleteAllQuestion[] = "登録されているデータを全て削除します.よろしいですか？";
inline constexpr char kConfirmCaption[] = "確認";

// "CALC.DAT" at Start, before each entry and at Delete all.
inline constexpr char kCalcCaption[] = "波浪変形計算";
inline constexpr char kCannotOpenCalcDat[] = "CALC.DAT がオープンできません";
// "現在【" + the running calculation's name + "】を計算中です"
inline constexpr char kRunningHead[] = "現在【";
inline constexpr char kRunningTail[] = "】を計算中です";

// The batch marker.
inline constexpr char kYnoFailed[] = "YNO：ファイル作成に失敗しました";
inline constexpr char kYnoCaption[] = "YNO";

// Closing while the solver runs.
inline constexpr char kCannotClose[] =
    "計算中のため終了できません。\n計算が終わるか中断されてから閉じてください。";
inline constexpr char kCloseCaption[] = "連続計算";

// Start-up and About.
inline constexpr char kNoVersion[] = "ﾊﾞｰｼﾞｮﾝが読み込めませんでした。";
inline constexpr char kNoVersionCaption[] = "SYSVER";
inline constexpr char kVersionPrefix[] = "ﾊﾞｰｼﾞｮﾝ ";

}  // namespace wv::batchmsg

namespace wv::batchmsg {

// Menus and commands.
inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuHelp[] = "ヘルプ(&H)";
inline constexpr char kCmdOpen[] = "開く(&O)...";
inline constexpr char kCmdDelete[] = "削除(&T)";
inline constexpr char kCmdDeleteAll[] = "全削除(&D)";
inline constexpr char kCmdStart[] = "開始(&S)";
inline constexpr char kCmdAbout[] = "ﾊﾞｰｼﾞｮﾝ情報(&A)...";
inline constexpr char kAboutTitle[] = "Tydchainのﾊﾞｰｼﾞｮﾝ情報";

}  // namespace wv::batchmsg
