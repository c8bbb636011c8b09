#include "documents/report_type_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace documents {

namespace {

constexpr std::size_t max_linha = 46;
constexpr char fim_de_arquivo = 26;

bool digito(char c) {
  return c >= '0' && c <= '9';
}

class Descritor {
 public:
  explicit Descritor(int fd) : fd_(fd) {}
  ~Descritor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descritor(const Descritor &) = delete;
  Descritor &operator=(const Descritor &) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::optional<int> tipo_da_linha(std::string_view s) {
  const std::size_t fim = s.find('\n');
  if (fim == std::string_view::npos || fim > max_linha) return std::nullopt;
  const std::string_view linha = s.substr(0, fim);
  if (linha.find(fim_de_arquivo) != std::string_view::npos) return std::nullopt;
  std::size_t n = 0;
  while (n < linha.size() && digito(linha[n])) ++n;
  // The digits are followed by some character, the line feed at least.
  if (n < 1 || n > 2) return std::nullopt;
  int tipo = 0;
  for (std::size_t i = 0; i < n; ++i) tipo = tipo * 10 + (linha[i] - '0');
  return tipo;
}

std::optional<int> le_tipo_relatorio() {
  // Opened without waiting, so a pipe or device by that name cannot block.
  Descritor f(::open(arquivo_tipo_relatorio, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (f.fd() < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(f.fd(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  char buf[max_linha + 1];
  std::size_t n = 0;
  while (n < sizeof buf) {
    const ssize_t r = ::read(f.fd(), buf + n, sizeof buf - n);
    if (r <= 0) break;
    n += static_cast<std::size_t>(r);
  }
  return tipo_da_linha({buf, n});
}

}  // namespace documents
