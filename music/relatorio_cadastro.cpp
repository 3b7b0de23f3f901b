#include "music/relatorio_cadastro.h"

#include <exception>

#include "migration/codigo_antigo.h"
#include "migration/relatorio_texto.h"
#include "music/consultas_auxiliares.h"

namespace quorvel {

std::string DescreverDuplicata(DatasetsCadastro& cad, const std::string& arquivo) {
    try {
        TIBQuery q;
        q.SetDatabase(&cad.Base());
        q.SetTransaction(&cad.Transacao());
        q.SQL.Add("SELECT * FROM TB_Musicas");
        q.SQL.Add(CondicaoDuplicado("Mus_Codigo", "Mus_NomeCompleto", LiteralNomeCompleto(RadicalDoArquivo(arquivo)), 0));
        q.SQL.Add("ORDER BY Mus_Codigo");
        q.Open();
        if (!q.Eof()) {
            TField* antigo = q.FindField(ColunaCodigoAntigo);
            return MotivoDuplicata(q.FieldByName("MUS_CODIGO").AsInteger(), q.FieldByName("MUS_NOMECOMPLETO").AsString(),
                                   antigo ? antigo->AsInteger() : 0);
        }
    } catch (const std::exception&) {
    }
    return "duplicata de um registro 2010";
}

void RelatarEventosCadastro(RelatorioExecucao& relatorio, const EventosCadastro& eventos, const std::string& caminho) {
    switch (eventos.tag.modo) {
        case ResultadoTag::Modo::NoLugar: relatorio.Registrar(Ocorrencia::TagNoLugar, caminho); break;
        case ResultadoTag::Modo::NovoArquivo: relatorio.Registrar(Ocorrencia::TagNovoArquivo, caminho); break;
        case ResultadoTag::Modo::NaoGravada:
            relatorio.Registrar(Ocorrencia::TagNaoGravada, caminho + ": " + eventos.tag.motivo);
            break;
    }
    for (const auto& criado : eventos.cadastrosCriados) relatorio.Registrar(Ocorrencia::CadastroCriado, criado);
}

}  // namespace quorvel
