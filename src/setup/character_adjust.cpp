// Characters of the host's texts as the printer is to print them.
#include "ecfbmtc/setup.h"
#include "platform/platform.h"

extern "C" int ECFIF_ajusta_carac(int c) {
  return K8859_filtra_carac(c);
}
