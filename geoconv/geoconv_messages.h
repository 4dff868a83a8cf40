// Every text of the coordinate and Q-SONA record code that the user can see (UTF-8).
#pragma once

namespace wv::geomsg {

// Why a Q-SONA record cannot be written (shown after the output file's name).
inline constexpr char kQsonaFieldOverflow[] = "Q-SONAの欄に値が収まりません";
inline constexpr char kQsonaPointNumberRange[] = "Q-SONAの点番号が範囲を超えています";

}  // namespace wv::geomsg
