// Every text of the drawing and plot output that the user sees, in one place. UTF-8 here.
#pragma once

namespace wv::msg {

// The job files of the converters.
inline constexpr char kDxfJobFailed[] = "dxf_conv.tmp作成に失敗しました。";
inline constexpr char kDxfCaption[] = "DXF_CONV";
inline constexpr char kBfoJobFailed[] = "bfo_conv.tmp作成に失敗しました。";
inline constexpr char kBfoCaption[] = "BFO_CONV";

// The converters are programs of their own; these say what became of a run. The
// arguments are the program's name, then the folder, job file or output file.
inline constexpr char kConverterMissing[] =
    "変換プログラム %s が見つかりません。\n(フォルダ: %s)\n"
    "pdata000.plt と %s はそのフォルダに残してあります。";
inline constexpr char kConverterNotStarted[] = "変換プログラム %s を起動できませんでした。\n(%s)";
inline constexpr char kConverterExitCode[] = "変換プログラム %s が異常終了しました。(終了コード %d)";
inline constexpr char kConverterSignal[] = "変換プログラム %s が異常終了しました。(シグナル %d)";
inline constexpr char kConverterNoOutput[] = "変換プログラム %s は出力ファイルを作成しませんでした。\n%s";

// The figure composition.
inline constexpr char kPlotFileFailed[] = "pdata000.plt作成に失敗しました。";
inline constexpr char kPlotCaption[] = "PDATA000";
// A scale of 0 or below would put every coordinate at infinity; the argument is the scale.
inline constexpr char kPlotBadScale[] = "縮尺 1/%d では図を作成できません。作図条件の縮尺を設定してください。";

// A figure printed to a PDF file when no printer is set up; the file's path goes before.
inline constexpr char kPdfCannotWrite[] = "：このファイルに書き込めません。";
inline constexpr char kPdfNoFigure[] = "：印刷する図がありません。";

}  // namespace wv::msg
