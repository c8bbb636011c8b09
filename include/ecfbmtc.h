/* libecfbmtc: the fiscal-printer driver's interface for hosts.

   Contract of every function declared here:
   - Call from one thread, one call at a time. Every call runs to its end
     inside the host's call; waits yield through the host's schedulers.
   - Texts are NUL-terminated strings; null only where a function says so.
     Amounts, prices, quantities and percentages are strings of decimal
     digits with implied decimals.
   - An int result is 0 on success, else a result code:
       1 printer failure         2 invalid argument (or refused by the printer)
       5, 9, 11, 12, 20 printer status bits   15 not offered by this printer
       16, 39 refused by execution status     19 index outside a table
       34 refused, no rule (ECFBMTC_ultima_falha holds ST2)
       36 frame refused or serial fault       37 time-out
       40 line errors             44 no memory, or a file that cannot be opened
       42 no working memory for the arguments    45 export stopped
     Operations that make codes of their own say so below.
   - A function that sends a command blocks until the answer or a time-out:
     up to 60 s per byte sent and 30 s for the answer, renewed while the
     printer reports itself busy, at most ten minutes in all per command;
     up to three attempts when the printer refuses the frame. Functions
     said to send nothing never block.
   - No C++ exception ever leaves the library. */
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
