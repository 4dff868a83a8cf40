// Every text of the calculation engine that the user sees, in one place. UTF-8; the
// UI service and the file writers convert at their boundary.
#pragma once

namespace wv::calcmsg {

// Captions of the progress window.
inline constexpr char kDepthCalcCaption[] = "水深計算中";
inline constexpr char kDepthInputCaption[] = "水深入力中";

}  // namespace wv::calcmsg
