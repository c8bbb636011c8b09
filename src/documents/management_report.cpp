// The management report: opened with its type on the printers with a
// detail-tape memory, its text through the line buffer, closed by command 21.
#include "documents/document_common.h"
#include "documents/report_type_file.h"

using namespace ecf::documents;

extern "C" int ECFIF_tem_relger(void) {
  registra(log_interface, "tem_relger()");
  return eh_mfd() ? 1 : 0;
}

extern "C" int ECFIF_abre_relatorio(void) {
  if (!eh_mfd()) return ecf::core::nao_disponivel;
  const int tipo = le_tipo_relatorio().value_or(ECFBMTC_tipo_relger);
  // Only the two lowest digits travel.
  const unsigned dois = static_cast<unsigned>(tipo < 0 ? -(tipo % 100) : tipo % 100);
  Argumentos<2> a;
  a.byte(static_cast<unsigned char>('0' + dois / 10));
  a.byte(static_cast<unsigned char>('0' + dois % 10));
  const int r = ecf::core::envia_documento("abre_relatorio", cmd::abre_relatorio, a.vista());
  registra(log_interface, "abre_relatorio_cmd83(%d)=%d.", tipo, r);
  if (r == 0) muda_estado_doc(doc::relatorio);
  return r;
}

extern "C" int ECFIF_fim_relat(void) {
  return fecha_documento_texto("fim_relat", Repete::fim_relat);
}
