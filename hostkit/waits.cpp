// The two yields the driver calls while it waits. Both block briefly on the
// open line, so a waiting driver costs almost no processor time yet sees a
// byte within about a millisecond of its arrival.
#include "platform/host_common.h"
#include "platform/serial.h"

#include "serial_port.h"

extern "C" void SERIPC_escalador(void) {
  ecfhost::wait_briefly();
}

extern "C" void ECFCOMUM_escalador(void) {
  ecfhost::wait_briefly();
}
