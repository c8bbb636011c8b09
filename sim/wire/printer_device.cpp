// Kept apart from device.cpp so that a device with a handler of its own
// links without the fiscal side.
#include "wire/device.h"

namespace ecfsim {

Device::Device(Printer &printer, WireConfig config)
    : Device([&printer](uint16_t command,
                        std::string_view args) { return printer.execute(command, args); },
             config) {}

}  // namespace ecfsim
