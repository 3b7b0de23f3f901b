#include "migration/plano_vinheta.h"

#include "migration/vinhetas.h"
#include "platform/caminhos.h"

namespace quorvel {

LinhaVinheta LerLinhaVinheta(TIBQuery& origem) {
    LinhaVinheta l;
    l.extensao = origem.FieldByName("vin_extensao").AsString();
    l.nome = origem.FieldByName("vin_nome").AsString();
    l.dispositivo = origem.FieldByName("vin_dispositivo").AsString();
    l.tempo = origem.FieldByName("vin_tempo").AsString();
    l.tipo = origem.FieldByName("vin_tipo").AsString();
    return l;
}

std::string PlanoVinheta::Arquivo() const { return ExtrairNomeArquivo(copia.destino); }

PlanoVinheta PlanejarVinheta(const LinhaVinheta& linha, const std::string& pasta2010,
                             const std::function<bool(const std::string&)>& ocupado) {
    return {linha, PlanejarArquivoVinheta(pasta2010, linha.dispositivo, RemoverCaracteresInvalidos(linha.nome),
                                          linha.extensao, ocupado)};
}

std::array<ValorVinheta, 4> ValoresVinheta(const PlanoVinheta& plano) {
    const std::string arquivo = plano.Arquivo();
    return {{{"VIN_NOME", "pVin_nome", NomeSemExtensao(arquivo)},
             {"VIN_TEMPO", "pVin_tempo", plano.linha.tempo},
             {"VIN_TIPO", "pVin_tipo", plano.linha.tipo},
             {"VIN_ARQUIVO", "pVin_arquivo", arquivo}}};
}

}  // namespace quorvel
