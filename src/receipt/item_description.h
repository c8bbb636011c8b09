// The composed item description and the unit of measure of an item.
#ifndef ECF_RECEIPT_ITEM_DESCRIPTION_H
#define ECF_RECEIPT_ITEM_DESCRIPTION_H

#include <array>
#include <cstddef>
#include <string_view>

namespace ecf::receipt {

inline constexpr std::size_t max_descricao = 200;

class Descricao {
 public:
  // The description, then every stored description line, each filled so
  // that the next begins on a new printer line; the first line is
  // `primeira_linha` characters wide.
  Descricao(const char *descricao, int primeira_linha, int colunas);
  std::string_view texto() const { return {t_.data(), n_}; }

 private:
  void junta(std::string_view s);
  void completa();
  std::array<char, max_descricao> t_{};
  std::size_t n_ = 0;
  std::size_t w_;
  std::size_t colunas_;
};

// The two characters of the unit sent with an item: the given unit when it
// is usable, else the default unit.
std::array<char, 2> unidade_do_item(const char *unidade);

}  // namespace ecf::receipt

#endif
