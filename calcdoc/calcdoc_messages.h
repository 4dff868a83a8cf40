// Every text of the calculation document (archives, commands) that the user sees, in one place.
// UTF-8; the UI service converts at its boundary.
#pragma once

namespace wv::docmsg {

// The depth calculation command.
inline constexpr char kDepthCaption[] = "水深計算";
inline constexpr char kSetAreaFirst[] = "計算領域を設定してください";
inline constexpr char kAreaTooLargeForMemory[] =
    "計算領域のメッシュが多すぎて、水深計算に必要なメモリーが確保できません。";
inline constexpr char kStartCaption[] = "開始確認";
inline constexpr char kDepthStartQuestion[] =
    "水深計算を開始します。\n\n※波浪計算済みの場合は、波浪再計算の必要があります。";
// Land blocks left as sea; each line names one block (numbered from 1).
inline constexpr char kBlocksSkippedHead[] = "次の地形ﾌﾞﾛｯｸは陸域にしていません。";
inline constexpr char kBlockWalkLoops[] = "地形ﾌﾞﾛｯｸ%d: 地形線をたどって外形を閉じられません";
inline constexpr char kBlockEndInside[] = "地形ﾌﾞﾛｯｸ%d: 地形線が計算領域の中で途切れています";

// Archives. The file's path comes first, then one of these, then the detail.
inline constexpr char kCannotOpen[] = "ファイルを開けません。";
inline constexpr char kCannotRead[] = "ファイルを読み込めません。ファイルが壊れているか、形式が違います。";
inline constexpr char kCannotSave[] = "ファイルに保存できません。";
inline constexpr char kNoMemoryToRead[] = "メモリーが足りないため、ファイルを読み込めません。";
// A .TYD beside the .DPT of another calculation: both paths come first, then these three
// lines, the second with the area's and the mesh's node counts (x×y) and spacings.
inline constexpr char kPairMismatch[] = "この計算ファイルと水深ファイルは別々の計算のものです。";
inline constexpr char kPairAreaAndMesh[] = "計算領域 %d×%d・間隔 %sm、水深ファイルのメッシュ %d×%d・間隔 %sm";
// A .TYD past its depths whose .DPT is not there or holds no mesh: both paths come first,
// then one of these (or kCannotOpen with the system's reason), then kPairOpenBeforeMesh.
inline constexpr char kMeshFileMissing[] = "水深ファイルがありません。";
inline constexpr char kMeshFileEmpty[] = "水深ファイルにメッシュがありません。";
inline constexpr char kPairOpenBeforeMesh[] =
    "計算条件を水深計算前の状態で開きますか？\nメッシュは水深計算またはメッシュファイル入力で作り直してください。";

// Solver input and batch input.
inline constexpr char kNeedDepths[] = "水深計算を行ってください。";
inline constexpr char kWaveCaption[] = "波条件";
inline constexpr char kNeedWaveConditions[] = "波条件を設定してください。";
inline constexpr char kFewDirections[] = "方向分割数は3以上を設定してください。";
inline constexpr char kNoFrequencies[] = "周波数分割数は1以上を設定してください。";
inline constexpr char kCalCaption[] = "ＣＡＬデータ作成";
inline constexpr char kCannotCreateCal[] =
    "計算データファイルがオープンできません。\n連続計算を実行している可能性があります。";
// A value the fixed columns of the solver input cannot hold; the detail follows.
inline constexpr char kValueTooWide[] = "計算データの値が書式の桁数に収まりません。";
inline constexpr char kCannotCreateDec[] = "連続計算用データファイル(.DEC)が作成できません。";
inline constexpr char kDecWritten[] = "連続計算用にＤＥＣデータを作成しました";

// The calculate command.
inline constexpr char kWaveStartQuestion[] = "波浪計算を開始します。";
inline constexpr char kWaveCalcCaption[] = "波浪計算";
inline constexpr char kCannotOpenCalcDat[] = "CALC.DAT がオープンできません";
// "現在【" + the running calculation's name + "】を計算中です"
inline constexpr char kRunningHead[] = "現在【";
inline constexpr char kRunningTail[] = "】を計算中です";

// Mesh and result CSV files.
inline constexpr char kCsvInCaption[] = "ＣＳＶデータ入力";
inline constexpr char kCsvOutCaption[] = "ＣＳＶデータ作成";
inline constexpr char kCannotOpenMeshFile[] = "メッシュファイルがオープンできません";
inline constexpr char kCannotOpenResultFile[] = "計算結果ファイルがオープンできません";
inline constexpr char kSplitQuestion[] = "横方向ﾒｯｼｭ数が250を超えています。分割出力しますか？";
inline constexpr char kConfirmCaption[] = "確認";
inline constexpr char kMeshInputTitle[] = "水深入力中";
// The input's own refusals (the counts, then the memory).
inline constexpr char kMeshCountTooLarge[] = "メッシュ数が多すぎます。横・縦とも99999以下のファイルを指定してください。";
inline constexpr char kMeshTooLargeForMemory[] = "メッシュが大きすぎて、メモリに読み込めません。";
// A file the input cannot use says what is wrong with it; nothing changes.
inline constexpr char kMeshHeaderMissing[] =
    "メッシュファイルの1行目に、横メッシュ数・縦メッシュ数・メッシュ間隔がありません。";
inline constexpr char kMeshCountTooSmall[] = "メッシュ数が足りません。横・縦とも2以上のファイルを指定してください。";
inline constexpr char kMeshSpacingTooSmall[] = "メッシュ間隔が小さすぎます。0.0001以上のファイルを指定してください。";
inline constexpr char kMeshSpacingTooLarge[] = "メッシュ間隔が大きすぎて、メッシュの位置を扱えません。";
inline constexpr char kMeshSplitLineShort[] =
    "横メッシュ数が250を超えていますが、2行目の値が250個に足りません。";
inline constexpr char kMeshAllLand[] = "水深のあるメッシュがありません。";
// The file's name, its line (the header is line 1) and the place of the value in that line.
inline constexpr char kMeshDepthTooLarge[] = "%s\n%d行目%d列目の水深が大きすぎて扱えません。";
// The value kinds as the result file's header names them.
inline constexpr const char* kResultKindNames[] = {"有義波高", "有義波高比", "換算沖波波高", "換算沖波波高比"};

// What a damaged calculation file's reason names (the archive reasons of the platform
// put these into their sentences).
inline constexpr char kWhatSideVersion[] = "DPTファイルのバージョン";
inline constexpr char kWhatTydVersion[] = "計算ファイルのバージョン";
inline constexpr char kWhatSavedValueType[] = "保存された値の種類";
inline constexpr char kWhatTriangles[] = "三角形";
inline constexpr char kWhatTriangleEdge[] = "三角形の辺";
inline constexpr char kWhatTriangleNode[] = "三角形の頂点";
inline constexpr char kWhatEdgeSides[] = "辺の両側の三角形";
inline constexpr char kWhatEdgeSide[] = "辺の側の三角形";
inline constexpr char kWhatDir16[] = "16方位の波向";
inline constexpr char kWhatPaperSize[] = "用紙サイズ";
inline constexpr char kWhatLandColour[] = "陸地の色";
inline constexpr char kWhatValueType[] = "値の種類";
inline constexpr char kWhatLabelPositions[] = "出力点ラベルの位置";
// The node's number or the count follows.
inline constexpr char kNodePlacedTwice[] = "二か所に置かれたメッシュの節点があります：";
inline constexpr char kNodesOffGrid[] = "格子の位置を持たないメッシュの節点があります：";
// The solver input's value that does not fit its column, before the value itself.
inline constexpr char kFieldBreaking[] = "砕波の有無";
inline constexpr char kFieldDirBins[] = "方向分割数";
inline constexpr char kFieldSmax[] = "方向集中度";
inline constexpr char kFieldDirRange[] = "方向の範囲";
inline constexpr char kFieldFreqs[] = "周期分割数";
inline constexpr char kFieldCounts[] = "メッシュ数";
inline constexpr char kFieldSpacing[] = "メッシュ間隔";
inline constexpr char kFieldPeriodHeight[] = "周期と波高";
inline constexpr char kFieldDirTide[] = "波向と潮位";
inline constexpr char kFieldDepth[] = "水深";

}  // namespace wv::docmsg
