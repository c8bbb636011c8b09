// What a series of information queries reads once: the totalizers of command
// 27, the printer's identity and the tax entries of the 16 rates. The block
// is the host's allocation, laid out byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ecf::info {

inline constexpr int qtd_aliquotas = 16;
inline constexpr std::size_t tam_totalizador = 15;   // "0" + 14 digits
inline constexpr std::size_t tam_grande_total = 19;  // "0" + 18 digits
inline constexpr std::size_t tam_registro_tributo = 10;

// Fields of the identity: maker, model and type, each padded.
struct CampoIdentidade {
  std::size_t pos, largura;
};
inline constexpr CampoIdentidade id_fabricante{0, 15};
inline constexpr CampoIdentidade id_modelo{15, 20};
inline constexpr CampoIdentidade id_tipo{35, 7};
inline constexpr std::size_t tam_identidade = 42;
static_assert(id_tipo.pos + id_tipo.largura == tam_identidade);

struct TributoLido {
  std::uint8_t registro[tam_registro_tributo];
  std::uint8_t lido;
};

struct Cache {
  std::uint8_t totalizadores_carregados;
  std::uint8_t identidade_carregada;  // bit 0
  char aliquotas[qtd_aliquotas][tam_totalizador];
  char ff[tam_totalizador];
  char ii[tam_totalizador];
  char nn[tam_totalizador];
  char grande_total[tam_grande_total];
  char identidade[tam_identidade];  // maker, model, type
  TributoLido tributos[qtd_aliquotas];
};

static_assert(sizeof(TributoLido) == 11);
static_assert(offsetof(Cache, aliquotas) == 2);
static_assert(offsetof(Cache, ff) == 242);
static_assert(offsetof(Cache, ii) == 257);
static_assert(offsetof(Cache, nn) == 272);
static_assert(offsetof(Cache, grande_total) == 287);
static_assert(offsetof(Cache, identidade) == 306);
static_assert(offsetof(Cache, tributos) == 348);
static_assert(sizeof(Cache) == 524);

// The cache, obtained zero-filled on first need; null when the host's
// allocation fails.
Cache *cache();
void libera_cache();

// Each fills its part of the cache once per cache life: 0, 42 without a
// cache, 12 for an identity of the wrong length, or the read's failure.
int carrega_totalizadores();
int carrega_identidade();
// Tax entry i: entries 0 to 15 come from the cache, read into it on first
// use; others are read each time.
int le_tributo(int indice, std::uint8_t destino[tam_registro_tributo]);

// Commands 27, 29, 87, 88 and 6255: up to five tries, no argument bytes.
int exec_repetido(int comando);

}  // namespace ecf::info
