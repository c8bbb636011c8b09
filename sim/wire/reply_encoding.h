// How a reply goes on the wire in each protocol.
#pragma once

#include <cstdint>
#include <string>

#include "core/printer.h"

namespace ecfsim {

enum class Protocol : uint8_t { Basic, Extended };

// The protocol a request frame asks for by its start byte; other start
// bytes get `fallback`.
Protocol protocol_of_start(uint8_t start, Protocol fallback);

// The answer bytes for `reply`, from the 06h on:
//   StatusFirst  06 ST1 ST2 [E E] data [00 00]   (no data once refused)
//   DataFirst    06 data ST1 ST2 [E E]           (data even when refused)
//   Stream       06 ST1 ST2 [E E] text 03        (nothing after E once refused)
// [E E] is the execution status, low byte first, in the extended protocol
// only; [00 00] the two closing bytes the extended protocol puts after data.
std::string encode_reply(const Reply &reply, Protocol protocol);

inline bool is_refusal(const Reply &reply) {
  return (reply.st2 & 0x01) != 0;
}

}  // namespace ecfsim
