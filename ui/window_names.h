#pragma once

namespace vk41 {

// The program's windows by their design names: how one window reaches
// another through the application without knowing its class.
inline constexpr const char* kTexttt = "Texttt";     // description, the start-up window
inline constexpr const char* kObjectt = "Objectt";   // the installation scheme
inline constexpr const char* kBlUsl = "Bl_Usl";      // the conditions block
inline constexpr const char* kModBFrm = "ModB_Frm";  // the Modbus exchange
// Opened from the Modbus window's CRC cells: a row's CRC step by step.
inline constexpr const char* kCrcSteps = "CRC_Steps";
// The editor of the conditions block's program, opened from the conditions
// block and from the scheme.
inline constexpr const char* kUslEdit = "Usl_Edit";
// Debugging the program the controller runs: the trace and the breakpoints,
// the controller's inputs and outputs with their forcing, and the plant's
// trends over time.
inline constexpr const char* kDebugFrm = "Debug_Frm";
inline constexpr const char* kIoFrm = "Io_Frm";
inline constexpr const char* kTrendFrm = "Trend_Frm";
// The controller on a real bus: serving it and the frames it received,
// opened from the scheme and from the Modbus window.
inline constexpr const char* kBusFrm = "Bus_Frm";

}  // namespace vk41
