// Status bytes and execution statuses as these printers report them.
#pragma once

#include <cstdint>

namespace ecfsim {

namespace st1 {
constexpr uint8_t kPaperEnd = 0x80;
constexpr uint8_t kPaperNearEnd = 0x40;
constexpr uint8_t kClockError = 0x20;
constexpr uint8_t kPrinterError = 0x10;
constexpr uint8_t kNotEsc = 0x08;
constexpr uint8_t kUnknownCommand = 0x04;
constexpr uint8_t kReceiptOpen = 0x02;
constexpr uint8_t kParameterCount = 0x01;
}  // namespace st1

namespace st2 {
constexpr uint8_t kInvalidParameter = 0x80;
constexpr uint8_t kFiscalMemoryFull = 0x40;
constexpr uint8_t kMemoryLost = 0x20;
constexpr uint8_t kRateNotProgrammed = 0x10;
constexpr uint8_t kRateTableFull = 0x08;
constexpr uint8_t kCancelNotAllowed = 0x04;
constexpr uint8_t kNoTaxpayer = 0x02;
constexpr uint8_t kNotExecuted = 0x01;
}  // namespace st2

namespace exec {
constexpr uint16_t kReceiptClosed = 8;
constexpr uint16_t kOutOfPaper = 11;
constexpr uint16_t kHeadLifted = 12;
constexpr uint16_t kOffLine = 13;
constexpr uint16_t kNotTotalled = 23;
constexpr uint16_t kBlockedUntilReduction = 63;
constexpr uint16_t kAwaitingReduction = 66;
constexpr uint16_t kZeroNonFiscal = 70;
constexpr uint16_t kNoReportOpen = 101;
constexpr uint16_t kNotEscOrFs = 141;
constexpr uint16_t kDaylightOnlyAfterReduction = 156;
constexpr uint16_t kAlreadyTotalled = 169;
}  // namespace exec

}  // namespace ecfsim
