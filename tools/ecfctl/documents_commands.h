// The non-fiscal receipt, the linked receipt and the management report, as
// single commands and as operations of the sale script.
#pragma once

namespace ecfctl {

class Session;
struct Step;

// Runs one of the document operations of the script (nf-*, linked-*,
// report-*); returns the driver's result.
int run_document_step(Session &s, const Step &st);

}  // namespace ecfctl
