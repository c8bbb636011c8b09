// The download file the stand-in download program writes and the stand-in
// converters read: this line, then the detail tape's text as the printer
// sent it.
#pragma once

inline constexpr char kDownloadMagic[] = "ECFSIM-MFD 1\n";
