// Every text the dialog kit shows, in one place (UTF-8).
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

}  // namespace wv::msg
