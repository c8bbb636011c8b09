/* libecfbmtc: the fiscal-printer driver's interface for hosts. */
#ifndef ECFBMTC_H
#define ECFBMTC_H
#include "ecfbmtc/cheques.h"
#include "ecfbmtc/config.h"
#include "ecfbmtc/dayclose.h"
#include "ecfbmtc/documents.h"
#include "ecfbmtc/info.h"
#include "ecfbmtc/receipt.h"
#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#endif
