// Class flags that travel with a command into the exchange.
#pragma once

namespace ecf::transport {

enum ClassBit : int {
  copia_retorno = 0,      // copy the finished answer to ECFIF_retornado
  status_apos_dados = 1,  // data first, then ST1, ST2
  argumento_literal = 2,  // arguments go out unfiltered
  resposta_longa = 3,     // streamed answer ended by 03h
  captura_mf = 4,         // stream appended to "ARQ_MF.TXT"
  captura_lx = 5,         // stream appended to "ARQ_LX.TXT"
};

constexpr bool has(unsigned char classe, ClassBit b) {
  return (classe >> b) & 1u;
}

}  // namespace ecf::transport
