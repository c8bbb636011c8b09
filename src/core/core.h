// The driver's shared core. An operation includes this header and nothing
// else of the driver's internals in the common case.
//
// How to add an operation
// -----------------------
// One new .cpp file in the folder of its concern, plus its declaration in the
// public header of its family (include/ecfbmtc/). The file:
//   - names commands and variables from the catalogue (cmd::..., var::...,
//     core/catalog.h); a command or variable new to the driver gets one line
//     there, and its answer size in tamanhos_resposta / tamanhos_parametro;
//   - builds its arguments with Argumentos<N> and sends them with envia()
//     (core/command.h); reads the answer with resposta::dado/copia_dados
//     (core/answer.h);
//   - logs with registra(log_interface | log_protocolo, ...) and accepts a
//     failure whose effect is already in place with tratado_como_ok("nome", r);
//   - compares printer states by name (EstadoEcf, doc::, dia::) and marks its
//     repeat code with marca_repeticao(Repete::...) (core/states.h); an
//     operation of the repeat table replaces its placeholder entry in
//     core/repeat.cpp;
//   - asks the model (eh_mfd(), caminho_item(), tem_cheque(),
//     tem_autenticacao(), tem_cmc7(), aceita_id_aplicacao(), modelo_atual()->
//     colunas, ...: core/models.h), never a model code;
//   - opens files and starts programs through core/files.h (arquivos::...);
//   - keeps any static it needs resettable with one
//     `const Reinicio reinicio(valores_iniciais);` (core/reset.h).
//
// Example: closing a management report (repeat code 6) is
// src/documents/management_report.cpp:
//
//   #include "core/core.h"
//   using namespace ecf::core;
//   extern "C" int ECFIF_fim_relat(void) {
//     marca_repeticao(Repete::ultimo_comando);
//     registra(log_protocolo, "fim_relat()...");
//     int r = ECFBMTC_exec(cmd::fecha_relatorio);  // one line added to cmd::
//     ...
//     if (r != 0) marca_repeticao(Repete::fim_relat);
//     return r;
//   }
//
// plus its entry `ECFIF_fim_relat,` in place of the placeholder in
// core/repeat.cpp and its declaration in include/ecfbmtc/: three places, one
// of them the new file.
#pragma once

#include "core/answer.h"
#include "core/catalog.h"
#include "core/command.h"
#include "core/files.h"
#include "core/lost_answer.h"
#include "core/models.h"
#include "core/reset.h"
#include "core/states.h"
