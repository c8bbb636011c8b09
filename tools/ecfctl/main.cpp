// ecfctl: a command-line host for the fiscal-printer driver.
#include <getopt.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands.h"

namespace {

bool parse_long(const char *text, long min, long max, long &out) {
  errno = 0;
  char *end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < min || v > max) return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  ecfctl::Options opt;
  static const option long_options[] = {
      {"device", required_argument, nullptr, 'd'},   {"port", required_argument, nullptr, 'p'},
      {"speed", required_argument, nullptr, 'b'},    {"option", required_argument, nullptr, 'o'},
      {"protocol", required_argument, nullptr, 'P'}, {"log-file", required_argument, nullptr, 'l'},
      {"log-mode", required_argument, nullptr, 'm'}, {"state", required_argument, nullptr, 's'},
      {"lib-dir", required_argument, nullptr, 'L'},  {"quiet", no_argument, nullptr, 'q'},
      {"timing", no_argument, nullptr, 't'},         {"help", no_argument, nullptr, 'h'},
      {"version", no_argument, nullptr, 'V'},        {nullptr, 0, nullptr, 0},
  };
  int c;
  // "+": options end at the command, so its own arguments may start with "-".
  while ((c = getopt_long(argc, argv, "+d:p:b:o:P:l:m:s:L:qthV", long_options, nullptr)) != -1) {
    long v = 0;
    switch (c) {
      case 'd':
        opt.device = optarg;
        break;
      case 'p':
        if (!parse_long(optarg, 1, 255, v)) {
          std::fprintf(stderr, "ecfctl: --port takes a number from 1 to 255\n");
          return ecfctl::kExitUsage;
        }
        opt.port = static_cast<int>(v);
        break;
      case 'b':
        if (!parse_long(optarg, 50, 4000000, v)) {
          std::fprintf(stderr, "ecfctl: --speed takes bits per second, e.g. 9600 or 115200\n");
          return ecfctl::kExitUsage;
        }
        opt.speed = v;
        break;
      case 'o':
        opt.driver_options.emplace_back(optarg);
        break;
      case 'P': {
        std::string p = optarg;
        if (p != "basic" && p != "extended") {
          std::fprintf(stderr, "ecfctl: --protocol is basic or extended\n");
          return ecfctl::kExitUsage;
        }
        opt.driver_options.push_back(p == "extended" ? "ECFBEMATECH_PROTOCOLO=1"
                                                     : "ECFBEMATECH_PROTOCOLO=0");
        break;
      }
      case 'l':
        opt.log_file = optarg;
        break;
      case 'm':
        if (!parse_long(optarg, 0, 0xFFFF, v)) {
          std::fprintf(stderr, "ecfctl: --log-mode takes a number\n");
          return ecfctl::kExitUsage;
        }
        opt.log_mode = static_cast<int>(v);
        break;
      case 's':
        opt.state_path = optarg;
        break;
      case 'L':
        opt.lib_dir = optarg;
        break;
      case 'q':
        opt.quiet = true;
        break;
      case 't':
        opt.timing = true;
        break;
      case 'h':
        ecfctl::print_usage();
        return ecfctl::kExitOk;
      case 'V':
        std::printf("ecfctl %s\n", ECF_VERSION);
        return ecfctl::kExitOk;
      default:
        return ecfctl::kExitUsage;
    }
  }
  if (opt.state_path.empty()) {
    std::fprintf(stderr, "ecfctl: --state needs a file name\n");
    return ecfctl::kExitUsage;
  }
  std::vector<std::string> args(argv + optind, argv + argc);
  return ecfctl::run_command(opt, args);
}
