// The serial line: port set-up, frame transmission and the answer receiver.
#pragma once

namespace ecf::transport {

// A printer may hold the line while it prints, and each hold earns another
// window; past this much in all it is taken as stuck, not busy.
constexpr long printer_hold_limit_s = 600;

// A streamed answer renews its deadline with every byte, so a printer that
// never ends one is given up on past these, far above a whole fiscal memory
// read at 9600 baud (a couple of megabytes, under an hour).
constexpr long stream_limit_bytes = 16L * 1024 * 1024;
constexpr long stream_limit_s = 6 * 3600;

void set_up_port();

// Up to three attempts of sending the frame of command `wire_code` and
// receiving its answer, followed by the status check.
int exchange(const unsigned char *frame, int length, int wire_code);

// Collects one answer into ECFIF_buffer_protocolo and normalises it.
int receive_answer();

// Turns the status bytes of a complete answer into a result code.
int status_check();

// Appends bytes to the pending command's capture file.
int append_capture(const unsigned char *data, int length);

}  // namespace ecf::transport
