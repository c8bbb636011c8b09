#include "core/files.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>

#include "core/reset.h"

extern char **environ;

namespace ecf::core::arquivos {

namespace {

int g_falha = 0;
const Reinicio reinicio([] { g_falha = 0; });

// Counts one operation down; true when this one is to fail.
bool falha_agora() {
  if (g_falha <= 0) return false;
  return --g_falha == 0;
}

}  // namespace

void falha_na_operacao(int n) {
  g_falha = n < 0 ? 0 : n;
}

Arquivo::~Arquivo() {
  if (f_ != nullptr) std::fclose(f_);
}

Arquivo &Arquivo::operator=(Arquivo &&o) noexcept {
  if (this != &o) {
    if (f_ != nullptr) std::fclose(f_);
    f_ = o.f_;
    o.f_ = nullptr;
  }
  return *this;
}

Arquivo abre_leitura(const char *caminho) {
  if (caminho == nullptr || falha_agora()) return {};
  const int fd = ::open(caminho, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return {};
  }
  std::FILE *f = ::fdopen(fd, "r");
  if (f == nullptr) ::close(fd);
  return Arquivo(f);
}

Arquivo abre_acrescimo(const char *caminho) {
  if (caminho == nullptr || falha_agora()) return {};
  return Arquivo(std::fopen(caminho, "ae"));
}

Arquivo abre_escrita(const char *caminho) {
  if (caminho == nullptr || falha_agora()) return {};
  return Arquivo(std::fopen(caminho, "we"));
}

bool existe(const char *caminho) {
  struct stat st {};
  return caminho != nullptr && ::stat(caminho, &st) == 0 && S_ISREG(st.st_mode);
}

bool escreve(const Arquivo &a, const void *dados, std::size_t n) {
  if (!a || falha_agora()) return false;
  return std::fwrite(dados, 1, n, a.get()) == n && std::fflush(a.get()) == 0;
}

long le(const Arquivo &a, void *destino, std::size_t n) {
  if (!a || falha_agora()) return -1;
  const std::size_t lidos = std::fread(destino, 1, n, a.get());
  if (lidos < n && std::ferror(a.get())) return -1;
  return static_cast<long>(lidos);
}

bool renomeia(const char *de, const char *para) {
  if (de == nullptr || para == nullptr || falha_agora()) return false;
  return std::rename(de, para) == 0;
}

bool remove(const char *caminho) {
  if (caminho == nullptr || falha_agora()) return false;
  return std::remove(caminho) == 0;
}

namespace {

long long agora_ms() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Blocks until the child may have ended or `ms` have passed: on its process
// descriptor where the system offers one, else a short sleep.
void espera_filho(int pidfd, long long ms) {
  const int passo = static_cast<int>(ms < 20 ? ms : 20);
  if (pidfd >= 0) {
    pollfd p{pidfd, POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(ms < 60000 ? ms : 60000));
    return;
  }
  const timespec t{0, static_cast<long>(passo) * 1000 * 1000};
  ::nanosleep(&t, nullptr);
}

}  // namespace

int executa(const char *const argv[], int limite_s) {
  if (argv == nullptr || argv[0] == nullptr || falha_agora()) return -1;
  pid_t pid = 0;
  if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char *const *>(argv), environ) !=
      0)
    return -1;
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  const long long prazo = agora_ms() + static_cast<long long>(limite_s < 0 ? 0 : limite_s) * 1000;
  int status = 0;
  bool terminou = false;
  for (;;) {
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      terminou = true;
      break;
    }
    if (r < 0) break;
    const long long resta = prazo - agora_ms();
    if (resta <= 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      break;
    }
    espera_filho(pidfd, resta);
  }
  if (pidfd >= 0) ::close(pidfd);
  return terminou && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace ecf::core::arquivos
