// Commands whose answer was lost. A time-out after the frame went out leaves
// the printer's part unknown: it may have printed the payment or the item.
// Sending the frame again blindly could print it twice, and reporting a
// plain failure could leave it out of the record. The operation hands its
// command here with a way to tell from the printer's state whether it was
// carried out; a lost answer is settled at once when the line allows, else
// kept for the repeat (code 0) and for the operation's next call.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/states.h"

namespace ecf::core {

// A time-out, or a line that failed while the answer was due.
constexpr bool resposta_perdida(int r) {
  return r == 37 || r == 40;
}

enum class Feito { sim, nao, nao_se_sabe };

// A counter the printer keeps (receipt number, subtotal): up to 8 bytes.
using Figura = std::array<unsigned char, 8>;
// Reads the first `bytes` data bytes of `comando`'s answer; 0 or its failure.
int le_figura(int comando, int bytes, Figura &figura);
// Whether the figure moved since `antes`: a command that changes it was done.
Feito figura_mudou(int comando, int bytes, const Figura &antes);

// A command that acts on the printer, with what settling it needs.
struct Incerto {
  const char *nome = "";    // the operation, for the log
  std::uint64_t chave = 0;  // the host's request (Chave)
  int comando = 0;
  std::array<unsigned char, 320> argumentos{};
  int tamanho = 0;
  // A command sent first (the long description of an item); 0 when none.
  int preludio = 0;
  std::array<unsigned char, 208> argumentos_preludio{};
  int tamanho_preludio = 0;
  // Whether the printer carried the command out, from its state now.
  Feito (*feito)(const Incerto &) = nullptr;
  // Takes the figure the check compares with (into `antes`) before anything
  // is sent: 0 or the failure of its read. May be null.
  int (*fotografa)(Incerto &) = nullptr;
  // Runs just before the command itself goes out; may be null.
  void (*ao_enviar)(const Incerto &) = nullptr;
  // The record's side of a command carried out; may be null.
  void (*aceito)(const Incerto &) = nullptr;
  // The figure the check compares with, taken before sending.
  Figura antes{};
  int extra = 0;

  void com_argumentos(std::string_view a);
  void com_preludio(int comando_preludio, std::string_view a);
};

// Identifies a request by what the host gave (FNV-1a over the values).
class Chave {
 public:
  explicit Chave(int operacao) { mistura(operacao); }
  Chave &com(const char *texto);  // null and empty differ
  Chave &com(int valor) {
    mistura(valor);
    return *this;
  }
  std::uint64_t valor() const { return h_; }

 private:
  void byte(unsigned char b) {
    h_ ^= b;
    h_ *= 1099511628211ULL;
  }
  void mistura(int v) {
    for (int i = 0; i < 4; ++i)
      byte(static_cast<unsigned char>(static_cast<unsigned>(v) >> (8 * i)));
  }
  std::uint64_t h_ = 14695981039346656037ULL;
};

// Sends the command (its prelude first). 0 when the printer carried it out,
// whether its answer came or the check found it done; otherwise the failure.
int envia_conferindo(const Incerto &i);

// Called by an operation before it sends anything. A pending command of the
// same request is settled (sent again only when the printer did not carry it
// out) and answers for the call: true, with its result. A pending command of
// another request has its effect on the record settled and is dropped.
bool assenta_pendente(std::uint64_t chave, int &resultado);

// A command that begins a document, which takes the next receipt number
// (COO): sent with the number read first, so that a lost answer is settled
// by whether the number moved. The same command left pending by an earlier
// lost answer is settled instead of sent.
int envia_documento(const char *nome, int comando, std::string_view argumentos = {});

// What the repeat runs for code 0 while a command is pending; nullptr else.
Operacao operacao_pendente();

}  // namespace ecf::core
