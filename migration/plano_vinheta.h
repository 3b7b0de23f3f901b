#pragma once
// The plan of one jingle row: the 2009 row read once, where its file goes, and the values its
// 2010 record takes. The run carries it out (ConverterTabelaVinhetas); the forecast reports it.
#include <array>
#include <functional>
#include <string>

#include "db/ib_query.h"
#include "migration/relocacao.h"

namespace quorvel {

// The 2009 columns the jingle copy reads.
inline constexpr const char* ColunasOrigemVinheta = "vin_codigo, vin_dispositivo, vin_nome, vin_tempo, vin_extensao, vin_tipo";

struct LinhaVinheta {
    std::string nome;  // as the 2009 row holds it (also what names the row in the report)
    std::string dispositivo, extensao, tempo, tipo;
};

LinhaVinheta LerLinhaVinheta(TIBQuery& origem);

struct PlanoVinheta {
    LinhaVinheta linha;
    CopiaArquivo copia;  // the relocation of its file (see PlanejarArquivoVinheta)

    // The 2010 file name: of the path the file went, or would go, to.
    std::string Arquivo() const;
};

// `ocupado`: as for PlanejarArquivoVinheta.
PlanoVinheta PlanejarVinheta(const LinhaVinheta& linha, const std::string& pasta2010,
                             const std::function<bool(const std::string&)>& ocupado = {});

// One value of the 2010 record: its column, the insert's parameter and the value.
struct ValorVinheta {
    const char* coluna;
    const char* parametro;
    std::string valor;
};
// The texts of the 2010 record: its name (the file name without its extension), play time, kind
// and file name.
std::array<ValorVinheta, 4> ValoresVinheta(const PlanoVinheta& plano);

}  // namespace quorvel
