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

namespace ecf::nv {

// The record fields the receipt uses.
struct Field {
  std::size_t offset;
  std::size_t width;
};
inline constexpr Field linhas_publicidade{0, 400};
inline constexpr Field linhas_descritivo{400, 200};
inline constexpr Field qtd_pagtos_vinculaveis{600, 1};
inline constexpr Field pagtos_vinculaveis{601, 1170};
inline constexpr Field consumidor_cpf_cnpj{1771, 30};
inline constexpr Field consumidor_nome{1801, 31};
inline constexpr Field consumidor_endereco{1832, 81};
inline constexpr Field codigo_cnf{2533, 4};
inline constexpr Field valor_cnf{2537, 8};
inline constexpr Field forma_pagto_cnf{2545, 4};
inline constexpr Field total_pago{2549, 8};
inline constexpr Field estado_doc{2557, 1};

inline void marca_alterado() { ECFIF_nvmem.flags |= 1u; }
inline unsigned char *campo(Field f) { return BMTCLOCAL_d + f.offset; }
inline void limpa(Field f) {
  for (std::size_t i = 0; i < f.width; ++i) campo(f)[i] = 0;
  marca_alterado();
}
inline std::uint8_t le_byte(Field f) { return BMTCLOCAL_d[f.offset]; }
inline void grava_byte(Field f, std::uint8_t v) {
  BMTCLOCAL_d[f.offset] = v;
  marca_alterado();
}
inline std::int32_t le_i32(Field f) {
  const unsigned char *p = campo(f);
  std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                    std::uint32_t(p[3]) << 24;
  return static_cast<std::int32_t>(v);
}
inline void grava_i32(Field f, std::int32_t valor) {
  auto v = static_cast<std::uint32_t>(valor);
  unsigned char *p = campo(f);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
  marca_alterado();
}
inline std::uint8_t estado_doc_atual() { return le_byte(estado_doc); }
inline void muda_estado_doc(std::uint8_t v) { grava_byte(estado_doc, v); }
inline char *texto(Field f) { return reinterpret_cast<char *>(campo(f)); }

}  // namespace ecf::nv

#endif
