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
