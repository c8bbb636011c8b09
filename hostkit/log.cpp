// Log library: timestamped lines appended to the file named by ECF_LOG_FILE,
// or to stderr when it is unset.
#include "platform/log.h"

#include "log_sink.h"

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>

namespace {

int modo_inicial() {
  const char *texto = std::getenv("ECF_LOG_MODE");
  if (texto == nullptr || *texto == '\0') return 0;
  char *fim = nullptr;
  const long v = std::strtol(texto, &fim, 0);
  return (*fim != '\0' || v < 0 || v > 0xFFFF) ? 0 : static_cast<int>(v);
}

// Owns the log file descriptor; follows ECF_LOG_FILE when it changes.
class Destino {
 public:
  void escreve(std::string_view linha) {
    const std::lock_guard trava(mutex_);
    int fd = descritor();
    while (!linha.empty()) {
      const ssize_t n = ::write(fd, linha.data(), linha.size());
      if (n <= 0) break;  // a log that cannot be written must not stop the driver
      linha.remove_prefix(static_cast<std::size_t>(n));
    }
  }

  bool em_stderr() {
    const std::lock_guard trava(mutex_);
    return descritor() == STDERR_FILENO;
  }

 private:
  int descritor() {
    const char *nome = std::getenv("ECF_LOG_FILE");
    const std::string desejado = nome != nullptr ? nome : "";
    if (fd_ < 0 || desejado != nome_) {
      fecha();
      nome_ = desejado;
      if (!nome_.empty())
        fd_ = ::open(nome_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
      proprio_ = fd_ >= 0;
      if (fd_ < 0) fd_ = STDERR_FILENO;
    }
    return fd_;
  }

  void fecha() {
    if (proprio_ && fd_ >= 0) ::close(fd_);
    fd_ = -1;
    proprio_ = false;
  }

  std::mutex mutex_;
  std::string nome_;
  int fd_ = -1;
  bool proprio_ = false;
};

// Never destroyed: the driver may still log from other static destructors.
Destino &destino() {
  static Destino *d = new Destino;
  return *d;
}

constexpr std::size_t max_linha = 4096;
constexpr std::size_t tam_carimbo = 24;  // "YYYY-MM-DD HH:MM:SS.mmm "

// Formats the local time stamp that starts every line.
std::size_t carimbo(char *dst, std::size_t cap) {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  const time_t t = tv.tv_sec;
  tm local{};
  localtime_r(&t, &local);
  const int n = std::snprintf(dst, cap, "%04d-%02d-%02d %02d:%02d:%02d.%03d ",
                              (local.tm_year + 1900) % 10000, (local.tm_mon + 1) % 100,
                              local.tm_mday % 100, local.tm_hour % 100, local.tm_min % 100,
                              local.tm_sec % 100, static_cast<int>(tv.tv_usec / 1000) % 1000);
  return n < 0 ? 0 : std::min(static_cast<std::size_t>(n), cap - 1);
}

constexpr char hex[] = "0123456789ABCDEF";
constexpr int bytes_por_linha = 16;

}  // namespace

namespace ecfhost {

void log_line(std::string_view texto) {
  std::array<char, tam_carimbo + max_linha + 2> linha{};
  std::size_t n = carimbo(linha.data(), linha.size());
  while (!texto.empty() && (texto.back() == '\n' || texto.back() == '\r')) texto.remove_suffix(1);
  const std::size_t k = std::min(texto.size(), max_linha);
  std::copy_n(texto.data(), k, linha.data() + n);
  n += k;
  linha[n++] = '\n';
  destino().escreve(std::string_view(linha.data(), n));
}

bool log_on_stderr() {
  return destino().em_stderr();
}

}  // namespace ecfhost

extern "C" {

int ECFLOG_modo = modo_inicial();

void ECFLOG_print(const char *formato, ...) {
  if (formato == nullptr) return;
  std::array<char, max_linha + 1> texto{};
  va_list args;
  va_start(args, formato);
  const int n = std::vsnprintf(texto.data(), texto.size(), formato, args);
  va_end(args);
  if (n < 0) return;
  ecfhost::log_line(
      std::string_view(texto.data(), std::min(static_cast<std::size_t>(n), max_linha)));
}

// "label[n]: hex bytes |ascii|", sixteen bytes a line; further lines carry
// the offset of their first byte.
void ECFLOG_dump(const char *rotulo, const void *dados, int tamanho) {
  const char *nome = rotulo != nullptr ? rotulo : "(null)";
  const auto *bytes = static_cast<const unsigned char *>(dados);
  const int total = (bytes == nullptr || tamanho < 0) ? 0 : tamanho;
  int pos = 0;
  do {
    std::array<char, 256> linha{};
    int n = pos == 0 ? std::snprintf(linha.data(), 160, "%.100s[%d]:", nome, total)
                     : std::snprintf(linha.data(), 160, "  +%04X:", static_cast<unsigned>(pos));
    n = std::clamp(n, 0, 159);
    const int fim = std::min(total, pos + bytes_por_linha);
    std::size_t i = static_cast<std::size_t>(n);
    for (int j = pos; j < pos + bytes_por_linha && total > 0; ++j) {
      linha[i++] = ' ';
      linha[i++] = j < fim ? hex[bytes[j] >> 4] : ' ';
      linha[i++] = j < fim ? hex[bytes[j] & 0x0F] : ' ';
    }
    if (total > 0) {
      linha[i++] = ' ';
      linha[i++] = ' ';
      linha[i++] = '|';
      for (int j = pos; j < fim; ++j)
        linha[i++] = (bytes[j] >= 0x20 && bytes[j] < 0x7F) ? static_cast<char>(bytes[j]) : '.';
      linha[i++] = '|';
    }
    ecfhost::log_line(std::string_view(linha.data(), i));
    pos = fim;
  } while (pos < total);
}

}  // extern "C"
