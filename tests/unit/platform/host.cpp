// Host common library, log, allocation and text helpers. The 8-byte decimals
// are the host kit's own, so the driver meets a real host's arithmetic.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform_state.h"

namespace ecftest {

namespace {
std::vector<std::string> g_log;
HostRecord g_host;
int g_alloc_budget = -1;
int g_live = 0;
}  // namespace

const std::vector<std::string> &log_lines() {
  return g_log;
}
bool log_has(std::string_view line) {
  for (const auto &l : g_log)
    if (l == line) return true;
  return false;
}
void clear_log() {
  g_log.clear();
}
HostRecord &host() {
  return g_host;
}
void fail_allocations_after(int successes) {
  g_alloc_budget = successes;
}
int live_allocations() {
  return g_live;
}

namespace detail {
void reset_host() {
  g_log.clear();
  g_host = HostRecord{};
  g_alloc_budget = -1;
}
}  // namespace detail

}  // namespace ecftest

extern "C" {

unsigned char ECFIF_cfg[100];
int ECFIF_porta_serial = 1;
int ECFIF_veloc_serial = 9600;
int ECFIF_versao_firmware = 0;
int ECFIF_inicio_dia_com_lx = 0;
int (*ECFIF_pfunc_assina_paf)(const char *, const char *) = nullptr;

int ECFIF_envelope_inicia(void) {
  return ++ecftest::g_host.envelope_inicia, 0;
}
int ECFIF_envelope_termina(void) {
  return ++ecftest::g_host.envelope_termina, 0;
}
int ECFIF_avisa_txt_motivo(int tipo, const char *texto) {
  ecftest::g_host.notices.emplace_back(tipo, texto ? texto : "(null)");
  return 0;
}
void ECFCOMUM_escalador(void) {
  ecftest::detail::tick();
}
int ECFCOMUM_tratou_argumento(const char *argumento) {
  ecftest::g_host.common_args.emplace_back(argumento ? argumento : "(null)");
  return ecftest::g_host.common_result;
}

int ECFLOG_modo = 0;

void ECFLOG_print(const char *formato, ...) {
  if (formato == nullptr) return;
  va_list ap;
  va_start(ap, formato);
  va_list copy;
  va_copy(copy, ap);
  const int n = std::vsnprintf(nullptr, 0, formato, copy);
  va_end(copy);
  std::string line(n > 0 ? static_cast<std::size_t>(n) : 0u, '\0');
  if (n > 0) std::vsnprintf(line.data(), line.size() + 1, formato, ap);
  va_end(ap);
  ecftest::g_log.push_back(std::move(line));
}

void ECFLOG_dump(const char *rotulo, const void *dados, int tamanho) {
  std::string line = rotulo ? rotulo : "(null)";
  line += ':';
  const auto *p = static_cast<const unsigned char *>(dados);
  char tmp[4];
  for (int i = 0; p != nullptr && i < tamanho; ++i) {
    std::snprintf(tmp, sizeof tmp, " %02X", p[i]);
    line += tmp;
  }
  ecftest::g_log.push_back(std::move(line));
}

int KALLOC_alocou(void *endereco_do_ponteiro, unsigned tamanho) {
  auto **slot = static_cast<void **>(endereco_do_ponteiro);
  if (slot == nullptr) return 0;
  if (ecftest::g_alloc_budget == 0) {
    *slot = nullptr;
    return 0;
  }
  if (ecftest::g_alloc_budget > 0) --ecftest::g_alloc_budget;
  *slot = std::calloc(tamanho ? tamanho : 1, 1);
  if (*slot == nullptr) return 0;
  ++ecftest::g_live;
  return 1;
}

int KALLOC_libera(void *endereco_do_ponteiro) {
  auto **slot = static_cast<void **>(endereco_do_ponteiro);
  if (slot == nullptr) return 0;
  if (*slot != nullptr) {
    std::free(*slot);
    --ecftest::g_live;
  }
  *slot = nullptr;
  return 0;
}

// Latin-1 letters with accents print as their plain ASCII letters.
int K8859_filtra_carac(int c) {
  static const char latin1_upper[] =
      "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYPsaaaaaaaceeeeiiiidnooooo/ouuuuypy";
  const int b = c & 0xFF;
  if (b >= 0xC0) return static_cast<unsigned char>(latin1_upper[b - 0xC0]);
  return b;
}

const char *TRATARG_compara(const char *texto, const char *palavra, int modo) {
  if (texto == nullptr || palavra == nullptr) return nullptr;
  const std::size_t n = std::strlen(palavra);
  if (modo == 1) return std::strncmp(texto, palavra, n) == 0 ? texto + n : nullptr;
  return std::strcmp(texto, palavra) == 0 ? texto : nullptr;
}

int TRATARG_pegou_int(int *destino, const char *texto, const char *palavra, int) {
  const char *resto = TRATARG_compara(texto, palavra, 1);
  if (resto == nullptr || destino == nullptr) return 0;
  *destino = std::atoi(resto);
  return 1;
}

char EXTENSO_txt_moeda_sing[22] = " Real";
char EXTENSO_txt_moeda_plur[22] = " Reais";

}  // extern "C"

#include "../../../hostkit/decimal8.cpp"
