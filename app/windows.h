#pragma once

namespace vk41 {

class App;

// The program's windows by their design names.
inline constexpr const char* kTexttt = "Texttt";     // description, the start-up window
inline constexpr const char* kObjectt = "Objectt";   // the installation scheme
inline constexpr const char* kBlUsl = "Bl_Usl";      // the conditions block
inline constexpr const char* kModBFrm = "ModB_Frm";  // the Modbus exchange
// Opened from the Modbus window's CRC cells: a row's CRC step by step.
inline constexpr const char* kCrcSteps = "CRC_Steps";

// Registers every window, the start-up window first.
void registerWindows(App& app);

}  // namespace vk41
