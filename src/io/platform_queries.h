// Internal: the pieces of platform_info that depend on the machine, open to tests.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace vexel {

inline constexpr uint32_t kFallbackSerial = 16390125;
inline constexpr uint32_t kDeviceIdMask = 0x5e17c0a9;

// A stable 32-bit serial from the text of a machine-id file; kFallbackSerial for empty text.
uint32_t serial_from_machine_id(const std::string& machine_id);
// The serial masked and written as its four bytes, least significant first, in upper-case hex.
std::string device_id_text(uint32_t serial);
// YYYY-MM-DD HH:MM:SS.
std::string time_text(const std::tm& time);
// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty; "" when none is.
std::string posix_ui_locale();
// The documents folder named by the XDG user-dirs file, else $HOME/Documents; "" when no home.
std::string documents_folder();
// XDG_DATA_HOME, else $HOME/.local/share; "" when neither can be named.
std::string data_home_folder();

}  // namespace vexel
