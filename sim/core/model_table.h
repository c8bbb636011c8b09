// The printer models this emulator can be: names as the printers report
// them, code, print width and what each model can do.
#pragma once

#include <cstdint>
#include <string_view>

namespace ecfsim {

struct ModelInfo {
  std::string_view reported_name;  // as in identity variable 60 (MFD)
  int code;
  int columns;
  uint8_t capability;  // bit 0 cheques, bit 1 authentication
  bool cutter;
  std::string_view serial_prefix;  // older models: first four serial digits
};

// nullptr when the code is not one of the 14 models.
const ModelInfo *find_model(int code);

inline bool model_is_mfd(int code) {
  return code >= 5 && code <= 14;
}
inline bool model_has_cmc7(int code) {
  return (code >= 6 && code <= 10) || code == 14;
}
inline bool model_has_slot_sensor(int code) {
  return code == 7 || code == 10;
}
inline bool model_takes_app_id(int code) {
  return code == 7 || code == 10 || code == 12;
}

}  // namespace ecfsim
