// The driver's other input files on arbitrary bytes: the bank layouts of
// the cheque, the management-report type file and the initial-COO file,
// read directly and through the operations that use them on the emulated
// printer. Input: byte 0 picks the file (and the layout group), byte 1 the
// model; a bank code piece; the rest is the file.
#include <cstring>

#include "documents/bank_layout.h"
#include "documents/report_type_file.h"
#include "ecfbmtc.h"
#include "emulated_printer.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *dados, std::size_t tamanho) {
  namespace doc = ecf::documentos;
  ecffuzz::Entrada e(dados, tamanho);
  const std::uint8_t qual = e.byte();
  const std::uint8_t modelo = e.byte();
  const auto banco = e.texto(8);
  const std::string_view arquivo = e.resto();
  ecffuzz::driver_novo(false);
  ecftest::EmulatedPrinter impressora(1 + modelo % 14);
  switch (qual % 3) {
    case 0: {
      const int grupo = (qual >> 2) % 3;
      ecffuzz::grava(doc::grupo_layout(grupo).arquivo, arquivo);
      const doc::Layout l = doc::layout_do_banco(grupo, banco);
      if (l.n > l.bytes.size()) std::abort();
      ECFCHQ_imprime_cheque("Ana", "Rio", "010126", banco, "1234", "", "", "");
      ecffuzz::grava(doc::grupo_layout(grupo).arquivo, std::nullopt);
      break;
    }
    case 1: {
      ecffuzz::grava(ecf::documents::arquivo_tipo_relatorio, arquivo);
      const auto tipo = ecf::documents::le_tipo_relatorio();
      if (tipo && (*tipo < 0 || *tipo > 99)) std::abort();
      ECFIF_abre_relatorio();
      break;
    }
    default: {
      ecffuzz::grava("BMTCOOIN.TXT", arquivo);
      char texto[7];
      std::memset(texto, 0x55, sizeof texto);
      if (ECFBMTCAUX_le_de_arquivo_coo_inicial(texto) == 0 && std::memchr(texto, 0, 7) == nullptr)
        std::abort();
      unsigned char registro[120 * 8];
      ECFIF_le_rz(registro);
      break;
    }
  }
  return 0;
}
