// Named fields of the persistent record BMTCLOCAL_d and small typed accessors.
// Every writer below marks the record as changed, so the host saves it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ecfbmtc/setup.h"

namespace ecf::nv {

struct Field {
  std::size_t offset;
  std::size_t width;
  constexpr std::size_t end() const { return offset + width; }
};

inline constexpr Field linhas_publicidade{BMTCLOCAL_D_LINHAS_PUBLICIDADE, 400};
inline constexpr Field linhas_descritivo{BMTCLOCAL_D_LINHAS_DESCRITIVO, 200};
inline constexpr Field qtd_pagtos_vinculaveis{BMTCLOCAL_D_QTD_PAGTOS_VINCULAVEIS, 1};
inline constexpr Field pagtos_vinculaveis{BMTCLOCAL_D_PAGTOS_VINCULAVEIS, 1170};
inline constexpr Field consumidor_cpf_cnpj{BMTCLOCAL_D_CONSUMIDOR_CPF_CNPJ, 30};
inline constexpr Field consumidor_nome{BMTCLOCAL_D_CONSUMIDOR_NOME, 31};
inline constexpr Field consumidor_endereco{BMTCLOCAL_D_CONSUMIDOR_ENDERECO, 81};
inline constexpr Field buffer_linhas{BMTCLOCAL_D_BUFFER_LINHAS, 620};
inline constexpr Field codigo_cnf{BMTCLOCAL_D_CODIGO_CNF, 4};
inline constexpr Field valor_cnf{BMTCLOCAL_D_VALOR_CNF, 8};
inline constexpr Field forma_pagto_cnf{BMTCLOCAL_D_FORMA_PAGTO_CNF, 4};
inline constexpr Field total_pago{BMTCLOCAL_D_TOTAL_PAGO, 8};
inline constexpr Field estado_doc{BMTCLOCAL_D_ESTADO_DOC, 1};
inline constexpr Field estado_dia{BMTCLOCAL_D_ESTADO_DIA, 1};

inline constexpr std::size_t tamanho_registro = BMTCLOCAL_D_TAMANHO;
inline constexpr std::size_t tam_linha = BMTCLOCAL_D_TAM_LINHA;
inline constexpr int num_linhas_publicidade = 8;
inline constexpr int num_linhas_descritivo = 4;
inline constexpr std::size_t tam_pagto = BMTCLOCAL_D_TAM_PAGTO;
inline constexpr int max_pagtos = BMTCLOCAL_D_MAX_PAGTOS;

// The fields lie back to back and fill the record exactly.
static_assert(linhas_publicidade.offset == 0);
static_assert(linhas_publicidade.width == num_linhas_publicidade * tam_linha);
static_assert(linhas_descritivo.offset == linhas_publicidade.end());
static_assert(linhas_descritivo.width == num_linhas_descritivo * tam_linha);
static_assert(qtd_pagtos_vinculaveis.offset == linhas_descritivo.end());
static_assert(pagtos_vinculaveis.offset == qtd_pagtos_vinculaveis.end());
static_assert(pagtos_vinculaveis.width == max_pagtos * tam_pagto);
static_assert(consumidor_cpf_cnpj.offset == pagtos_vinculaveis.end());
static_assert(consumidor_nome.offset == consumidor_cpf_cnpj.end());
static_assert(consumidor_endereco.offset == consumidor_nome.end());
static_assert(buffer_linhas.offset == consumidor_endereco.end());
static_assert(codigo_cnf.offset == buffer_linhas.end());
static_assert(valor_cnf.offset == codigo_cnf.end());
static_assert(forma_pagto_cnf.offset == valor_cnf.end());
static_assert(total_pago.offset == forma_pagto_cnf.end());
static_assert(estado_doc.offset == total_pago.end());
static_assert(estado_dia.offset == estado_doc.end());
static_assert(estado_dia.end() == tamanho_registro);
static_assert(sizeof(BMTCLOCAL_d) == tamanho_registro);

// Sets bit 0 of the descriptor's flags: the host must save the record.
inline void marca_alterado() {
  ECFIF_nvmem.flags |= 1u;
}

inline unsigned char *campo(Field f) {
  return BMTCLOCAL_d + f.offset;
}

// Clears a whole field and marks the record.
inline void limpa(Field f) {
  std::memset(campo(f), 0, f.width);
  marca_alterado();
}

inline std::uint8_t le_byte(Field f) {
  return BMTCLOCAL_d[f.offset];
}
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

// Document and day state.
inline std::uint8_t estado_doc_atual() {
  return le_byte(estado_doc);
}
inline void muda_estado_doc(std::uint8_t v) {
  grava_byte(estado_doc, v);
}
inline std::uint8_t estado_dia_atual() {
  return le_byte(estado_dia);
}
inline void muda_estado_dia(std::uint8_t v) {
  grava_byte(estado_dia, v);
}

// Non-fiscal receipt values.
inline std::int32_t codigo_cnf_atual() {
  return le_i32(codigo_cnf);
}
inline void muda_codigo_cnf(std::int32_t v) {
  grava_i32(codigo_cnf, v);
}
inline std::int32_t forma_pagto_cnf_atual() {
  return le_i32(forma_pagto_cnf);
}
inline void muda_forma_pagto_cnf(std::int32_t v) {
  grava_i32(forma_pagto_cnf, v);
}

// 8-byte decimal values, handed to the host's arithmetic as they lie.
inline unsigned char *valor_cnf_ptr() {
  return campo(valor_cnf);
}
inline unsigned char *total_pago_ptr() {
  return campo(total_pago);
}

// Line slots: byte 0 in use, bytes 1..49 the zero-terminated text.
// Out of range indexes give null.
inline unsigned char *linha_publicidade(int i) {
  if (i < 0 || i >= num_linhas_publicidade) return nullptr;
  return campo(linhas_publicidade) + std::size_t(i) * tam_linha;
}
inline unsigned char *linha_descritivo(int i) {
  if (i < 0 || i >= num_linhas_descritivo) return nullptr;
  return campo(linhas_descritivo) + std::size_t(i) * tam_linha;
}

// Payment records a linked receipt may refer to (39 bytes each).
inline int qtd_pagtos() {
  return le_byte(qtd_pagtos_vinculaveis);
}
inline void muda_qtd_pagtos(int n) {
  grava_byte(qtd_pagtos_vinculaveis, static_cast<std::uint8_t>(n));
}
inline unsigned char *pagto_vinculavel(int i) {
  if (i < 0 || i >= max_pagtos) return nullptr;
  return campo(pagtos_vinculaveis) + std::size_t(i) * tam_pagto;
}

// Consumer fields and the line buffer, as zero-terminated texts.
inline char *texto(Field f) {
  return reinterpret_cast<char *>(campo(f));
}

}  // namespace ecf::nv
