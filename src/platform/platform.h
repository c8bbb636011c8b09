/* Every platform interface the driver calls: a real host or the test platform
   provides them. */
#ifndef ECF_PLATFORM_PLATFORM_H
#define ECF_PLATFORM_PLATFORM_H
#include "platform/alloc.h"
#include "platform/clock.h"
#include "platform/decimal8.h"
#include "platform/host_common.h"
#include "platform/log.h"
#include "platform/serial.h"
#include "platform/text.h"
#endif
