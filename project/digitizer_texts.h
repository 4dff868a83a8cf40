// Texts the digitizer shows the user.
#pragma once

namespace wv::digitizer_text {

inline constexpr const char* kCaption = "通信エラー";
inline constexpr const char* kOpenError = "ポートオープンエラー";
inline constexpr const char* kConfigError = "ポート設定更新失敗.\n";
// The tablet's adapter was unplugged or the line dropped while a reading ran.
inline constexpr const char* kConnectionLost = "デジタイザとの接続が切れました。";

inline constexpr const char* kIdle = "アイドル中・・・";
inline constexpr const char* kWaitReference = "原点指定－デジタイザ入力待ち・・・";
inline constexpr const char* kWaitLeft = "水平基準左端点指定－デジタイザ入力待ち・・・";
inline constexpr const char* kWaitRight = "水平基準右端点指定－デジタイザ入力待ち・・・";

}  // namespace wv::digitizer_text
