// The two yields the driver calls while it waits. They block on the open
// line, so a waiting driver costs almost no processor time yet sees a byte
// as soon as it arrives.
#include "platform/host_common.h"
#include "platform/serial.h"

#include "serial_port.h"

extern "C" void SERIPC_escalador(void) {
  ecfhost::serial_yield();
}

extern "C" void ECFCOMUM_escalador(void) {
  ecfhost::common_yield();
}
