// The persistent record's layout and its descriptor.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "ecfbmtc/setup.h"
#include "ecfbmtc/transport.h"
#include "platform/test_platform.h"
#include "setup/persistent_state.h"

namespace ecftest {
namespace {

class PersistentStateTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
};

TEST_F(PersistentStateTest, DescriptorPointsAtTheRecord) {
  auto *d = static_cast<ECFIF_descritor_nvmem *>(ECFIF_aponta_nvmem());
  ASSERT_EQ(d, &ECFIF_nvmem);
  EXPECT_EQ(d->endereco, static_cast<void *>(BMTCLOCAL_d));
  EXPECT_EQ(d->tamanho, 2559);
  EXPECT_EQ(d->tipo, 2);
  EXPECT_EQ(d->flags, 0);
  // Raw bytes after the address: FF 09 02 flags.
  const auto *raw = reinterpret_cast<const unsigned char *>(d);
  EXPECT_EQ(raw[sizeof(void *)], 0xFF);
  EXPECT_EQ(raw[sizeof(void *) + 1], 0x09);
  EXPECT_EQ(raw[sizeof(void *) + 2], 0x02);
  if (sizeof(void *) == 4) {
    EXPECT_EQ(sizeof(ECFIF_descritor_nvmem), 8u);
  }
}

TEST_F(PersistentStateTest, FieldOffsets) {
  using namespace ecf::nv;
  struct Case {
    Field f;
    std::size_t offset, width;
  };
  const Case cases[] = {
      {linhas_publicidade, 0, 400},
      {linhas_descritivo, 400, 200},
      {qtd_pagtos_vinculaveis, 600, 1},
      {pagtos_vinculaveis, 601, 1170},
      {consumidor_cpf_cnpj, 1771, 30},
      {consumidor_nome, 1801, 31},
      {consumidor_endereco, 1832, 81},
      {buffer_linhas, 1913, 620},
      {codigo_cnf, 2533, 4},
      {valor_cnf, 2537, 8},
      {forma_pagto_cnf, 2545, 4},
      {total_pago, 2549, 8},
      {estado_doc, 2557, 1},
      {estado_dia, 2558, 1},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(c.f.offset, c.offset);
    EXPECT_EQ(c.f.width, c.width);
  }
  EXPECT_EQ(sizeof BMTCLOCAL_d, 2559u);
}

TEST_F(PersistentStateTest, WritersMarkTheRecordChanged) {
  using namespace ecf::nv;
  muda_estado_doc(1);
  EXPECT_EQ(BMTCLOCAL_d[2557], 1);
  EXPECT_EQ(ECFIF_nvmem.flags & 1, 1);

  ECFIF_nvmem.flags = 0;
  muda_codigo_cnf(-2);
  EXPECT_EQ(std::memcmp(BMTCLOCAL_d + 2533, "\xFE\xFF\xFF\xFF", 4), 0);
  EXPECT_EQ(codigo_cnf_atual(), -2);
  EXPECT_EQ(ECFIF_nvmem.flags & 1, 1);

  ECFIF_nvmem.flags = 0;
  muda_forma_pagto_cnf(0x01020304);
  EXPECT_EQ(std::memcmp(BMTCLOCAL_d + 2545, "\x04\x03\x02\x01", 4), 0);
  muda_estado_dia(6);
  EXPECT_EQ(BMTCLOCAL_d[2558], 6);
  limpa(buffer_linhas);
  EXPECT_EQ(ECFIF_nvmem.flags & 1, 1);
}

TEST_F(PersistentStateTest, SlotsAndRecordsStayInsideTheirFields) {
  using namespace ecf::nv;
  EXPECT_EQ(linha_publicidade(0), BMTCLOCAL_d);
  EXPECT_EQ(linha_publicidade(7), BMTCLOCAL_d + 350);
  EXPECT_EQ(linha_publicidade(8), nullptr);
  EXPECT_EQ(linha_descritivo(3), BMTCLOCAL_d + 550);
  EXPECT_EQ(linha_descritivo(-1), nullptr);
  EXPECT_EQ(pagto_vinculavel(29), BMTCLOCAL_d + 601 + 29 * 39);
  EXPECT_EQ(pagto_vinculavel(30), nullptr);
  EXPECT_EQ(total_pago_ptr(), BMTCLOCAL_d + 2549);
  EXPECT_EQ(valor_cnf_ptr(), BMTCLOCAL_d + 2537);
}

TEST_F(PersistentStateTest, DocumentStateWorkOutMarksTheRecord) {
  on_frame({0x06, 0x08, 0x00, 0x00});
  unsigned char estado = 0;
  ASSERT_EQ(ECFBMTC_le_estado_do_ecf(&estado), 0);
  EXPECT_EQ(estado, 51);
  EXPECT_EQ(ECFIF_nvmem.flags & 1, 1);
}

}  // namespace
}  // namespace ecftest
