// The document slot as the authentication, cheque and CMC-7 operations work
// it: the sensor poll (62/48), the release (62/49), the operator's waits and
// the failure notice.
#pragma once

namespace ecf::documentos {

// Bits of the slot status byte.
inline constexpr unsigned char bit_sem_documento = 0x02;
inline constexpr unsigned char bit_liberado = 0x04;

// Operator notices of the slot.
inline constexpr int aviso_limpa = 0;
inline constexpr int aviso_retire = 1;
inline constexpr int aviso_insira = 2;
inline constexpr int aviso_falha = 3;

// An operator gets this long to insert or take out a document.
inline constexpr int espera_operador_ms = 120'000;
// Between two polls of a slot that is not ready yet.
inline constexpr int intervalo_sensor_ms = 500;

// Polls the slot: 0 and the status byte, or the command's failure.
int le_sensor(unsigned char &estado);
// Releases the document: the result of 62/49.
int libera_documento();

// On models with the slot sensor, waits until a document is in: 0, the
// poll's failure, or 37 when none came in time. Other models: 0 at once.
int espera_documento();
// On models with the slot sensor, waits until the status byte shows `bit`
// (bit_sem_documento or bit_liberado), the poll fails, or the operator's
// time is up. Other models: nothing.
void espera_remocao(unsigned char bit);

// "ImpressoraFalhou" for 5 seconds, then the notice is cleared.
void avisa_falha();

}  // namespace ecf::documentos
