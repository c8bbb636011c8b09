#include "dayclose/clock_record.h"

#include <cstdio>

namespace ecf::dayclose {
namespace {

enum Campo : std::size_t { dia, mes, ano, hora, minuto, segundo };

int numero(unsigned char b) {
  return (b >> 4) * 10 + (b & 0x0F);
}
unsigned char bcd(int v) {
  return static_cast<unsigned char>((v / 10 % 10) << 4 | v % 10);
}

int dias_do_mes(int mes, int ano) {
  static constexpr int dias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (mes < 1 || mes > 12) return 31;
  return mes == 2 && ano % 4 == 0 ? 29 : dias[mes - 1];
}

void dia_anterior(Momento &m) {
  int d = numero(m[dia]);
  if (d != 1) {
    m[dia] = bcd(d - 1);
    return;
  }
  int me = numero(m[mes]) - 1;
  int a = numero(m[ano]);
  if (me < 1) {
    me = 12;
    a = a == 0 ? 99 : a - 1;
  }
  m[mes] = bcd(me);
  m[ano] = bcd(a);
  m[dia] = bcd(dias_do_mes(me, a));
}

void dia_seguinte(Momento &m) {
  const int d = numero(m[dia]);
  int me = numero(m[mes]);
  int a = numero(m[ano]);
  if (d < dias_do_mes(me, a)) {
    m[dia] = bcd(d + 1);
    return;
  }
  m[dia] = bcd(1);
  if (++me > 12) {
    me = 1;
    a = a == 99 ? 0 : a + 1;
  }
  m[mes] = bcd(me);
  m[ano] = bcd(a);
}

}  // namespace

void tira_segundos(Momento &m, int n) {
  int s = numero(m[segundo]) - n;
  int minutos_emprestados = 0;
  while (s < 0) {
    s += 60;
    ++minutos_emprestados;
  }
  int mi = numero(m[minuto]) - minutos_emprestados;
  bool hora_emprestada = false;
  while (mi < 0) {
    mi += 60;
    hora_emprestada = true;
  }
  m[segundo] = bcd(s);
  m[minuto] = bcd(mi);
  if (!hora_emprestada) return;
  const int h = numero(m[hora]);
  if (h == 0) {
    m[hora] = bcd(23);
    dia_anterior(m);
  } else {
    m[hora] = bcd(h - 1);
  }
}

void soma_segundos(Momento &m, int n) {
  const int total = numero(m[segundo]) + n;
  m[segundo] = bcd(total % 60);
  int mi = numero(m[minuto]) + total / 60;
  if (mi < 60) {
    m[minuto] = bcd(mi);
    return;
  }
  m[minuto] = bcd(mi % 60);
  const int h = numero(m[hora]);
  if (h == 23) {
    m[hora] = bcd(0);
    dia_seguinte(m);
  } else {
    m[hora] = bcd(h + 1);
  }
}

std::size_t texto_do_momento(const Momento &m, bool sem_espaco, char (&texto)[14]) {
  const char *formato = sem_espaco ? "%02X%02X%02X%02X%02X%02X" : "%02X%02X%02X %02X%02X%02X";
  const int n = std::snprintf(texto, sizeof texto, formato, m[0], m[1], m[2], m[3], m[4], m[5]);
  return n < 0 ? 0 : static_cast<std::size_t>(n);
}

}  // namespace ecf::dayclose
