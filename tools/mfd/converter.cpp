// Stand-in of the maker's detail-tape converters for the emulator:
//   bemamfd OUTPUT DOWNLOAD KIND START END NUMBER
// writes the text of the download file to OUTPUT. It exits non-zero and
// writes nothing when the download file is not one of the stand-in's.
#include <cstdio>
#include <cstring>
#include <string>

#include "download_format.h"

int main(int argc, char **argv) {
  if (argc != 7) return 2;
  FILE *in = std::fopen(argv[2], "rb");
  if (in == nullptr) return 1;
  std::string data;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) data.append(buf, n);
  std::fclose(in);
  const size_t magic = std::strlen(kDownloadMagic);
  if (data.compare(0, magic, kDownloadMagic) != 0) return 1;
  FILE *out = std::fopen(argv[1], "wb");
  if (out == nullptr) return 1;
  const bool written =
      std::fwrite(data.data() + magic, 1, data.size() - magic, out) == data.size() - magic;
  if (std::fclose(out) != 0 || !written) {
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
