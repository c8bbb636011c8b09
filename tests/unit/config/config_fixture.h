// Fixture of the configuration tests: the driver against a fake printer.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/fake_printer.h"
#include "ecfbmtc.h"
#include "platform/platform.h"

namespace ecftest {

inline Resposta status_para(int resultado) {
    switch (resultado) {
        case 0: return {0x00, 0x00};
        case 1: return {0x20, 0x01};
        case 2: return {0x01, 0x01};
        case 9: return {0x00, 0x03};
        case 12: return {0x10, 0x01};
        case 15: return {0x08, 0x01};
        case 34: return {0x00, 0x01};
        default: ADD_FAILURE() << "no status for " << resultado; return {};
    }
}

class ConfigTest : public ::testing::Test {
protected:
    ImpressoraFalsa impressora;

    void SetUp() override { reinicia(); }
    void TearDown() override { ECFIF_libera_memoria(); }

    // A fresh driver and printer, as after loading into a new host.
    void reinicia() {
        impressora = ImpressoraFalsa{};
        plataforma_reinicia();
        ECFIF_libera_memoria();
        ECFIF_versao_firmware = 0;
        std::memset(ECFIF_cfg, 0, 100);
        BMTCLOCAL_flg_vers = 0;
        ECFBMTC_modelo_ecf = 0;
        ECFBMTC_num_col_ecf = 0;
        ECFBMTC_flags = 0;
        ECFBMTC_carregou_fpag = 0;
        ECFBMTCAUX_o_que_repetir = 0;
        ECFBMTCAUX_desativa_corte = 0;
        ECFBMTCAUX_forca_multiplicacao = 0;
        ECFBMTCAUX_forca_maximo_de_itens = 0;
        std::memset(BMTCLOCAL_d, 0, sizeof BMTCLOCAL_d);
        ECFIF_nvmem.flags = 0;
        ECFLOG_modo = 3;
    }

    // An MFD printer of the model with this name.
    void impressora_mfd(const char* nome, int versao) {
        impressora.define(14, std::string("\x01\x00", 2));
        impressora.define(41, std::string{static_cast<char>(versao >> 8), 0, static_cast<char>(versao & 0xFF)});
        std::string v60(42, '\0');
        std::string n(nome);
        n.resize(20, ' ');
        v60.replace(15, 20, n);
        impressora.define(60, v60);
    }

    // An older printer with this serial number in variable 0.
    void impressora_antiga(const char* serie, int versao) {
        impressora.define(14, std::string("\x01\x00", 2));
        impressora.recusa(41);
        impressora.define(1, std::string{static_cast<char>(versao >> 8), static_cast<char>(versao & 0xFF)});
        impressora.define(0, serie);
    }

    // The model is known and the printer answers: for the buffer and tables.
    void modelo_conhecido(bool mfd, int colunas = 48) {
        BMTCLOCAL_flg_vers = mfd ? 1 : 0;
        ECFBMTC_num_col_ecf = colunas;
    }

    void plataforma_reinicia();
};

}  // namespace ecftest
