#pragma once
// Message-box styles and results. The values are the classic message-box flags so that
// styles read from old data or written by habit keep their meaning on every host.

namespace korvath {

namespace MessageStyle {
inline constexpr unsigned Ok = 0x00;
inline constexpr unsigned OkCancel = 0x01;
inline constexpr unsigned AbortRetryIgnore = 0x02;
inline constexpr unsigned YesNoCancel = 0x03;
inline constexpr unsigned YesNo = 0x04;
inline constexpr unsigned RetryCancel = 0x05;
inline constexpr unsigned ButtonMask = 0x0F;

inline constexpr unsigned IconError = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconExclamation = 0x30;
inline constexpr unsigned IconInformation = 0x40;
inline constexpr unsigned IconMask = 0xF0;

// The box holds off input to every window of the program, not only its owner.
inline constexpr unsigned TaskModal = 0x2000;
}  // namespace MessageStyle

namespace MessageResult {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace MessageResult

}  // namespace korvath
