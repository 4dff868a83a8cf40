// Every text of the core that the user sees, in one place, so a reader can find them all.
// The texts are UTF-8 here; whatever goes into a file is converted to CP932 on the way.
#pragma once

namespace wv::msg {

// The progress window of the long computations on the user-interface thread.
inline constexpr char kProgressCaption[] = "計算中";
inline constexpr char kProgressCancelButton[] = "キャンセル";
inline constexpr char kProgressCancelQuestion[] = "処理を中断します";
inline constexpr char kProgressCancelCaption[] = "中断";

}  // namespace wv::msg

namespace wv::msg {

// New calculation file and new project.
inline constexpr char kNewTydCaption[] = "新規作成";
inline constexpr char kNewTydExists[] = "指定した名前のﾌｧｲﾙは、指定された位置に既に存在しています.";
inline constexpr char kNewProjectCaption[] = "ﾌﾟﾛｼﾞｪｸﾄの作成";
inline constexpr char kNewProjectExists[] = "指定した名前のﾌﾟﾛｼﾞｪｸﾄは、指定された位置に既に存在しています.";
// A name holding a folder separator would put the file somewhere else.
inline constexpr char kNameHasSeparator[] = "名前に「\\」や「/」は使えません。";
// %1: the full path of what could not be created.
inline constexpr char kCannotCreate[] = "%1 を作成できませんでした。";

// Wave conditions: the checks of OK and their captions.
inline constexpr char kWaveSpecCaption[] = "主波向きの諸元";
inline constexpr char kDirDivPositive[] = "方向分割数は正数を指定して下さい。";
inline constexpr char kFreqDivPositive[] = "周期分割数は正数を指定して下さい。";
inline constexpr char kAreaCaption[] = "計算領域";
inline constexpr char kPitchPositive[] = "ﾒｯｼｭﾋﾟｯﾁは正数を指定して下さい。";
inline constexpr char kCountPositive[] = "ﾒｯｼｭ数は正数を指定して下さい。";

}  // namespace wv::msg
