// Every text the platform layer shows, in one place (UTF-8): the dialog kit's messages
// and the reasons a damaged archive is refused for.
#pragma once

namespace wv::msg {

// Caption of the exchange's own messages: the program's name, as the framework used it.
inline constexpr char kExchangeCaption[] = "Wavora";
inline constexpr char kEnterInteger[] = "整数を入力してください。";
// %1 and %2: the lowest and the highest value accepted.
inline constexpr char kEnterIntegerRange[] = "%1 から %2 までの整数を入力してください。";
// %1: the byte limit.
inline constexpr char kTextTooLong[] = "%1 バイト（全角は 2 バイト）以内で入力してください。";
// A text holding a character that code page 932 has no form for (it cannot be typed;
// only a text put into the edit by other means can hold one).
inline constexpr char kTextNotCp932[] = "使用できない文字が含まれています。";

// A program started and waited for that ended by a signal (its name goes before).
inline constexpr char kProgramNoExitCode[] = "：終了コードを返さずに終わりました";
// Line settings of the serial port that the terminal cannot take.
inline constexpr char kSerialBadSettings[] = "この回線設定は使えません";

// Why an archive cannot be read, shown in parentheses under "ファイルを読み込めません。…".
// %s: what was being read, as its reader names it ("測点", "計算領域の横メッシュ数");
// %lld: the value found.
inline constexpr char kArchiveNotForReading[] = "読み込み用に開いたファイルではありません";
inline constexpr char kArchiveEnd[] = "ファイルが途中で終わっています";
inline constexpr char kArchiveEndIn[] = "%sの途中でファイルが終わっています";
inline constexpr char kArchiveBadCount[] = "%sの数が正しくありません：%lld";
inline constexpr char kArchiveBadValue[] = "%sが正しくありません：%lld";
// The MFC layout marks a Unicode string so; this system never writes one.
inline constexpr char kArchiveBadString[] = "文字列の長さが壊れています";

}  // namespace wv::msg
