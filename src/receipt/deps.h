// What the receipt calls from transport, setup and documents, until their
// headers land.
#ifndef ECF_RECEIPT_DEPS_H
#define ECF_RECEIPT_DEPS_H

#include <cstddef>
#include <cstdint>

extern "C" {
// transport
int ECFBMTC_exec_argum(int comando, const unsigned char *argumentos, int tamanho);
int ECFBMTC_exec(int comando);
int ECFBMTC_le_parametro(unsigned char variavel);
int ECFBMTC_le_estado_do_ecf(unsigned char *estado);
int ECFBMTCAUX_bcd_para_texto(char *destino, const unsigned char *origem, int n);
extern unsigned char *ECFIF_buffer_protocolo;
extern int ECFIF_tam_resposta_ecf;
extern int ECFBMTCAUX_status_execucao;
extern int ECFBMTCAUX_o_que_repetir;

// settings
extern int ECFBMTC_flags;
extern int ECFBMTCAUX_codigo_cbranco;
extern int ECFBMTCAUX_forca_multiplicacao;
extern char ECFBMTC_unidade_do_item[3];

// persistent record
extern unsigned char BMTCLOCAL_d[2559];
struct ECFIF_descritor_nvmem {
  void *endereco;
  unsigned short tamanho;
  unsigned char tipo;
  unsigned char flags;
};
extern struct ECFIF_descritor_nvmem ECFIF_nvmem;

// configuration
extern int ECFBMTC_modelo_ecf;
extern int ECFBMTC_num_col_ecf;
extern int BMTCLOCAL_flg_vers;
extern unsigned char *ECFBMTC_formas_pagto;
int ECFBMTC_carrega_formas_pagto(void);

// documents
int ECFIF_fim_cnf(void);
int ECFIF_fim_cnf_vinc(void);
int BMTCLOCAL_cnf_eh_simulado(int codigo);
}

namespace deps {

// Offsets of the persistent record's fields.
inline constexpr std::size_t linhas_publicidade = 0;
inline constexpr std::size_t linhas_descritivo = 400;
inline constexpr std::size_t qtd_pagtos_vinculaveis = 600;
inline constexpr std::size_t pagtos_vinculaveis = 601;
inline constexpr std::size_t consumidor_cpf_cnpj = 1771;
inline constexpr std::size_t consumidor_nome = 1801;
inline constexpr std::size_t consumidor_endereco = 1832;
inline constexpr std::size_t codigo_cnf = 2533;
inline constexpr std::size_t valor_cnf = 2537;
inline constexpr std::size_t forma_pagto_cnf = 2545;
inline constexpr std::size_t total_pago = 2549;
inline constexpr std::size_t estado_doc = 2557;

inline unsigned char *campo(std::size_t offset) { return BMTCLOCAL_d + offset; }
inline void marca_alterado() { ECFIF_nvmem.flags |= 1u; }

inline std::int32_t le_i32(std::size_t offset) {
  const unsigned char *p = campo(offset);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}
inline void grava_i32(std::size_t offset, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  unsigned char *p = campo(offset);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
}

}  // namespace deps

#endif
