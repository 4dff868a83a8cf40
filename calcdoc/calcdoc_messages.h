// Every text of the calculation document's commands that the user sees, in one place.
// UTF-8; the UI service converts at its boundary.
#pragma once

namespace wv::docmsg {

// The depth calculation command.
inline constexpr char kDepthCaption[] = "水深計算";
inline constexpr char kSetAreaFirst[] = "計算領域を設定してください";
inline constexpr char kStartCaption[] = "開始確認";
inline constexpr char kDepthStartQuestion[] =
    "水深計算を開始します。\n\n※波浪計算済みの場合は、波浪再計算の必要があります。";
// Land blocks left as sea; each line names one block (numbered from 1).
inline constexpr char kBlocksSkippedHead[] = "次の地形ﾌﾞﾛｯｸは陸域にしていません。";
inline constexpr char kBlockWalkLoops[] = "地形ﾌﾞﾛｯｸ%d: 地形線をたどって外形を閉じられません";
inline constexpr char kBlockEndInside[] = "地形ﾌﾞﾛｯｸ%d: 地形線が計算領域の中で途切れています";

}  // namespace wv::docmsg
