// The files and programs the driver uses, all through here, so that tests
// can make any of these operations fail.
#pragma once

#include <cstddef>
#include <cstdio>

namespace ecf::core::arquivos {

// An open file, closed on scope exit.
class Arquivo {
 public:
  Arquivo() = default;
  explicit Arquivo(std::FILE *f) : f_(f) {}
  ~Arquivo();
  Arquivo(Arquivo &&o) noexcept : f_(o.f_) { o.f_ = nullptr; }
  Arquivo &operator=(Arquivo &&o) noexcept;
  Arquivo(const Arquivo &) = delete;
  Arquivo &operator=(const Arquivo &) = delete;
  explicit operator bool() const { return f_ != nullptr; }
  std::FILE *get() const { return f_; }

 private:
  std::FILE *f_ = nullptr;
};

// Opens a regular file for reading; a fifo or a device could block or never
// end, so anything else is refused.
Arquivo abre_leitura(const char *caminho);
// Opens for appending, creating the file when missing.
Arquivo abre_acrescimo(const char *caminho);
// Opens for writing from the start, creating or emptying the file.
Arquivo abre_escrita(const char *caminho);
// True when a regular file of that name exists.
bool existe(const char *caminho);
// Writes all n bytes and hands them to the system; false on any shortfall.
bool escreve(const Arquivo &a, const void *dados, std::size_t n);
// Reads up to n bytes; the count read, or -1.
long le(const Arquivo &a, void *destino, std::size_t n);
bool renomeia(const char *de, const char *para);
bool remove(const char *caminho);

// Starts a program with its argument vector (argv[0] is the program, looked
// up on PATH unless it holds a slash; no shell: each argument reaches the
// program as one word, whatever it holds) and waits for it at most
// `limite_s` seconds, after which it is killed. Its exit status, or -1 when
// it could not start, died by a signal or overran the limit.
int executa(const char *const argv[], int limite_s);

// Test hook: the n-th operation from now (1 = the next) fails, as if the
// system had refused it; 0 disarms it.
void falha_na_operacao(int n);

}  // namespace ecf::core::arquivos
