// Named states: what the printer reports open (estado_ecf), what the driver
// records open (estado_doc), the day (estado_dia) and the repeat codes
// (ECFBMTCAUX_o_que_repetir).
#pragma once

namespace ecf::core {

// Document states read from the printer (ECFBMTC_le_estado_do_ecf).
enum EstadoEcf : unsigned char {
  sem_documento_sem_dia = 1,
  sem_documento = 2,
  cupom_aberto = 3,
  cnf_aberto = 4,
  vinculado_aberto = 5,
  cupom_fase_final = 6,
  cupom_fase_final_pago = 7,
  relatorio_aberto = 9,
  sem_documento_sinalizado = 51,
  sem_documento_com_dia = 52,
};

// States 1, 2, 51 and 52: no document open.
constexpr bool sem_documento_aberto(unsigned char estado) {
  return estado == sem_documento_sem_dia || estado == sem_documento ||
         estado == sem_documento_sinalizado || estado == sem_documento_com_dia;
}
// States 3, 6 and 7: a fiscal receipt open.
constexpr bool cupom_fiscal_aberto(unsigned char estado) {
  return estado == cupom_aberto || estado == cupom_fase_final || estado == cupom_fase_final_pago;
}

// The document the driver believes open (record field estado_doc).
namespace doc {
inline constexpr unsigned char nenhum = 0;
inline constexpr unsigned char cupom_fiscal = 1;
inline constexpr unsigned char vinculado = 2;
inline constexpr unsigned char nao_fiscal = 3;
inline constexpr unsigned char relatorio = 4;
inline constexpr unsigned char pelos_flags = 5;  // set from the printer's own flags
}  // namespace doc

// The last day event (record field estado_dia).
namespace dia {
inline constexpr unsigned char nada = 0;
inline constexpr unsigned char reduzido = 5;  // Reduction Z made
inline constexpr unsigned char aberto = 6;    // day opened or a document of it begun
}  // namespace dia

// Which operation ECFIF_repete runs again; ultimo_comando sends the pending
// command again.
enum class Repete : int {
  ultimo_comando = 0,
  abre_com_relat = 1,
  le_relogio = 2,
  le_fabricacao = 3,
  fim_cnf = 4,
  fim_cnf_vinc = 5,
  fim_relat = 6,
  fim_venda = 7,
  inicia_cnf = 8,
  cnf_vinculado = 9,
  inicio_venda = 10,
  leitura_x_com_relat = 11,
  reducao_z = 12,
  imprime_total = 13,
};
inline constexpr int ultimo_codigo_repete = 13;

// Sets ECFBMTCAUX_o_que_repetir.
void marca_repeticao(Repete codigo);

// The operation that repeats `codigo` (1 to 13), or nullptr for any other
// code. For code 0 it is the settling of a command whose answer was lost
// (core/lost_answer.h), while one is pending. Operations not built yet answer 15 and send nothing.
using Operacao = int (*)();
Operacao operacao_a_repetir(int codigo);

// Result of an operation this driver does not offer (yet).
inline constexpr int nao_disponivel = 15;

}  // namespace ecf::core
