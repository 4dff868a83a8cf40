// The largest terrain tables: the one bound that both the growth of a table and the
// reader of a project file apply, so that every table the program can build it can also
// read back.
#pragma once

#include <cstdio>
#include <string>

namespace wv {

// Largest slot count of the survey-point and line tables, and largest capacity of the
// land-block table. Growth stops here, and a file may announce at most this many.
//
// Free slots are not stored, so their number cannot be bounded by the file's size; the
// bound keeps a few hundred damaged bytes from making the reader allocate gigabytes (at
// 64 bytes a slot, a table this size takes 268 MB). It is 5000 slots grown 4190 times by
// 1000, the first size the tables reach past 4 Mi slots, and it is also 10 blocks grown
// by 10 many times over: every table a project starts with reaches it exactly, so a table
// that has grown all it may is full at the bound, never short of it, and its file reads.
inline constexpr int kMaxTableSlots = 4'195'000;

// How many more slots a table of `slotCount` slots can gain by growing in steps of
// `grow` without passing the bound.
inline constexpr long long GrowthRoom(long long slotCount, long long grow) {
    if (grow <= 0 || slotCount >= kMaxTableSlots) return 0;
    return (kMaxTableSlots - slotCount) / grow * grow;
}

// What the editor shows when a table has no free slot and may not grow: the sentence of
// the full output-point table, with the table's own name and the bound.
inline constexpr char kSurveyPointsFull[] = "測点の登録数は上限値(%d)に達しています。";
inline constexpr char kLinesFull[] = "線分の登録数は上限値(%d)に達しています。";
inline constexpr char kBlocksFull[] = "地形ﾌﾞﾛｯｸの登録数は上限値(%d)に達しています。";
inline constexpr char kTableFullCaption[] = "ｴﾗｰ";

// One of the three texts above with the bound filled in.
inline std::string TableFullMessage(const char* format) {
    char text[160];
    std::snprintf(text, sizeof text, format, kMaxTableSlots);
    return text;
}

}  // namespace wv
