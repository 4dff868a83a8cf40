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
// Node counts whose product a calculation file cannot hold (core/cal_area.h, MeshCountsFit).
inline constexpr char kCountTooLarge[] = "ﾒｯｼｭ数が多すぎます。縦×横が2147483647以下になるように指定して下さい。";

// What a reader was reading when it refused a damaged file (the archive reasons put it
// into "…の数が正しくありません" and "…の途中でファイルが終わっています").
inline constexpr char kWhatAreaCountX[] = "計算領域の横メッシュ数";
inline constexpr char kWhatAreaCountY[] = "計算領域の縦メッシュ数";
inline constexpr char kWhatAreaCount[] = "計算領域のメッシュ数";
inline constexpr char kWhatCalcState[] = "計算状態";
inline constexpr char kWhatDirDiv[] = "方向分割数";
inline constexpr char kWhatFreqDiv[] = "周期分割数";
inline constexpr char kWhatPointLinks[] = "測点につながる線の数";
inline constexpr char kWhatPoint[] = "測点";
inline constexpr char kWhatLine[] = "線";
inline constexpr char kWhatExtraLevels[] = "コンターの追加の値";
inline constexpr char kWhatMarkedSegments[] = "印の付いたコンター線分";
inline constexpr char kWhatContourLineNo[] = "コンター線の番号";
inline constexpr char kWhatContourPointNo[] = "コンター点の番号";
inline constexpr char kWhatContourPoints[] = "コンター点";
inline constexpr char kWhatContourCapacity[] = "コンター線の表の大きさ";
inline constexpr char kWhatContourLines[] = "コンター線";
inline constexpr char kWhatBlockCapacity[] = "陸地ブロックの表の大きさ";
inline constexpr char kWhatBlockGrowth[] = "陸地ブロックの表の増分";
inline constexpr char kWhatBlocks[] = "陸地ブロック";
inline constexpr char kWhatOutlines[] = "ブロックの外形";
inline constexpr char kWhatOutlineVertices[] = "外形の頂点";
inline constexpr char kWhatMeshNodes[] = "メッシュの節点";
inline constexpr char kWhatMeshCountX[] = "横メッシュ数";
inline constexpr char kWhatMeshCountY[] = "縦メッシュ数";
inline constexpr char kWhatNodeTable[] = "節点の番号表";
inline constexpr char kWhatNodeIndex[] = "節点の番号";
inline constexpr char kWhatOutputCapacity[] = "出力点の表の大きさ";
inline constexpr char kWhatOutputCount[] = "出力点の数";
inline constexpr char kWhatOutputPoints[] = "出力点";
inline constexpr char kWhatOutputUse[] = "出力点の使用区分";
inline constexpr char kWhatCheckPoints[] = "水深チェック図のコンター点";
inline constexpr char kWhatCheckSegments[] = "水深チェック図のコンター線分";
inline constexpr char kWhatCheckStart[] = "水深チェック図の線分の始点";
inline constexpr char kWhatCheckEnd[] = "水深チェック図の線分の終点";
inline constexpr char kWhatTriEdges[] = "三角網の辺";
inline constexpr char kWhatTriEdgeNode[] = "三角網の辺の端点";
// The tables of slots: %s is the record ("測点", "線"), %d its slot.
inline constexpr char kWhatTableSize[] = "%sの表の大きさ";
inline constexpr char kWhatTableGrowth[] = "%sの表の増分";
inline constexpr char kWhatSlot[] = "%sの番号";
inline constexpr char kSlotStoredTwice[] = "%sの番号 %d が二度記録されています";
inline constexpr char kSlotStoredFree[] = "番号 %d の%sが未使用のまま記録されています";
// %d x %d: the node counts of the mesh.
inline constexpr char kMeshWithoutNodes[] = "%d × %d のメッシュに節点の位置がありません";

}  // namespace wv::msg
