// What the fuzz targets share: the input read as a sequence of choices and
// texts, a scratch folder for the files the driver reads and writes, and a
// fresh driver on the test platform for each input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace ecffuzz {

// The input read front to back; past its end every read gives 0 or nothing,
// so a target never checks the length.
class Entrada {
 public:
  Entrada(const std::uint8_t *dados, std::size_t tamanho)
      : resto_(reinterpret_cast<const char *>(dados), tamanho) {}
  std::uint8_t byte();
  int inteiro() { return static_cast<std::int8_t>(byte()); }
  // A piece whose length is the next byte, at most `max`.
  std::string_view pedaco(std::size_t max = 255);
  // The same, up to its first zero byte, as a host's argument: a length
  // byte of FFh gives a null pointer.
  class Texto {
   public:
    explicit Texto(std::optional<std::string> s) : s_(std::move(s)) {}
    operator const char *() const { return s_ ? s_->c_str() : nullptr; }

   private:
    std::optional<std::string> s_;
  };
  Texto texto(std::size_t max = 254);
  std::string_view resto();
  bool vazia() const { return resto_.empty(); }

 private:
  std::string_view resto_;
};

// Once per process: a scratch folder as the working directory.
void pasta_de_trabalho();
// The driver and the test platform as a host starts them, with fast waits.
void driver_novo(bool estendido);
// Runs the host operation the next byte names, its arguments taken from the
// input: the whole host interface a sale, a day and the queries use.
int opera(Entrada &e);
// Writes the file, or removes it when there is no content.
void grava(const char *nome, std::optional<std::string_view> conteudo);

}  // namespace ecffuzz
