// Bank layouts of the cheque: which bytes tell the printer where each field
// of a bank's cheque goes. One text file per model group, a built-in line
// when the bank is not in it.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ecf::documentos {

// Characters of a layout line kept (code and digit pairs).
inline constexpr std::size_t max_linha_layout = 234;
inline constexpr std::size_t max_bytes_layout = (max_linha_layout - 3) / 2;

using CodigoBanco = std::array<char, 3>;

struct Layout {
  std::array<unsigned char, max_bytes_layout> bytes{};
  std::size_t n = 0;
  std::string_view vista() const { return {reinterpret_cast<const char *>(bytes.data()), n}; }
};

struct GrupoLayout {
  const char *arquivo;
  std::string_view linha_padrao;
};

// A group of models (0 to 2): its file and built-in line.
const GrupoLayout &grupo_layout(int grupo);

// Three characters: a shorter code right-aligned and filled with '0', a
// longer one keeps its last three. A missing code is "000".
CodigoBanco codigo_banco(const char *banco);

// The layout bytes of a line: the digit pairs after its three-character
// code. The bytes end at the first pair that is not two digits.
Layout bytes_da_linha(std::string_view linha);

// Reads the file's lines as they come: blanks and '|' dropped, a line ends
// at CR or LF, characters past 234 dropped, lines under 3 characters
// skipped. Keeps the first line of the bank.
class ProcuraLayout {
 public:
  explicit ProcuraLayout(CodigoBanco codigo) : codigo_(codigo) {}
  void le(std::string_view pedaco);
  // The last line may end without a line feed.
  void fim() { termina_linha(); }
  bool achou() const { return achou_; }
  const Layout &layout() const { return layout_; }

 private:
  void termina_linha();
  CodigoBanco codigo_;
  std::array<char, max_linha_layout> linha_{};
  std::size_t n_ = 0;
  bool achou_ = false;
  Layout layout_;
};

// The bank's layout for the group: from the group's file, else its
// built-in line.
Layout layout_do_banco(int grupo, const char *banco);

}  // namespace ecf::documentos
