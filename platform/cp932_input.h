// What an edit with a code-page-932 byte limit accepts. The files that receive these
// texts count bytes (a double-byte character counts 2), so the limit is in bytes, and a
// character that code page 932 cannot hold would reach the file as '?', so it is never
// let in. Qt-free: the widget's validator calls these.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wv {

// Bytes the UTF-8 character takes in code page 932: 1 or 2, or 0 when CP932 has no
// such character.
int Cp932CharBytes(std::string_view utf8Char);

// Bytes a whole UTF-8 text takes in code page 932, or -1 when a character has no CP932
// form.
int Cp932ByteCount(std::string_view utf8);

// True when every character of the text has a CP932 form.
bool IsCp932Text(std::string_view utf8);

struct FittedEdit {
    std::string text;     // UTF-8: what the edit holds afterwards
    std::size_t cursor;   // cursor after the kept insertion, in characters
};

// An edit held `before` and the user's typing, pasting or deleting made it `after`.
// The inserted part (what lies between the common beginning and end of the two) loses
// every character outside CP932 and is cut after the last whole character that still
// fits in `maxBytes` (0 = no limit). Typing at the limit therefore changes nothing, and a
// text that already exceeds the limit (a longer stored name) can only shrink.
FittedEdit FitCp932Edit(std::string_view before, std::string_view after, int maxBytes);

// Splits UTF-8 into characters (code points); a malformed byte is one character.
std::size_t Utf8CharCount(std::string_view utf8);

}  // namespace wv
