// The frame exchange as the rest of the driver sees it: the pending command,
// its buffers and the port state.
#pragma once

#include <array>

namespace ecf::transport {

// The last command prepared, kept so that it can be sent again.
struct PendingCommand {
  int wire_code = 0;
  unsigned char *args = nullptr;
  unsigned args_size = 0;
  int args_len = 0;
  unsigned char *frame = nullptr;
  unsigned frame_size = 0;
  unsigned char classe = 0;
  int expected = 0;  // tamanho_esperado
  // Bytes the printer sends after what `expected` takes: the closing
  // pre-check reads variable 17 at the close's length, one byte short.
  int tail = 0;
  std::array<char, 16> capture{};  // arquivo_captura; empty when none
};

PendingCommand &pending();

// Recorded size of ECFIF_buffer_protocolo.
unsigned &answer_size();

// Set once the port is set up; cleared by time-outs and the end of protocol.
bool &porta_configurada();

bool extended_protocol();

// Prepares and sends a command; the caller wraps it in the host's envelope.
int prepare_and_send(int wire_code, const unsigned char *args, int len, int data_bytes,
                     unsigned char classe);

// Sends the pending command again (with the closing pre-check of command 34).
int send_pending();

// Releases the pending command's buffers and the answer buffer.
int release_buffers();

}  // namespace ecf::transport
