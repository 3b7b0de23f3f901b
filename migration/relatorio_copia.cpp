#include "migration/relatorio_copia.h"

namespace quorvel {

void RelatarCopia(RelatorioExecucao& relatorio, const CopiaArquivo& copia, const std::string& notaAusente) {
    switch (copia.situacao) {
        case CopiaArquivo::Situacao::Copiado:
            if (copia.destino != copia.desejado)
                relatorio.Registrar(Ocorrencia::ArquivoRenomeado, copia.origem + " -> " + copia.destino + " (" +
                                                                     copia.desejado + " j\xE1 existia)");
            else
                relatorio.Registrar(Ocorrencia::ArquivoCopiado, copia.origem + " -> " + copia.destino);
            break;
        case CopiaArquivo::Situacao::Ausente:
            relatorio.Registrar(Ocorrencia::ArquivoAusente, copia.origem + " n\xE3o existe: " + notaAusente);
            break;
        case CopiaArquivo::Situacao::Falhou:
            relatorio.Registrar(Ocorrencia::ArquivoFalhou, copia.erro);
            break;
    }
}

}  // namespace quorvel
