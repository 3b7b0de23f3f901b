#include "music/pastas.h"

#include "music/consultas_auxiliares.h"
#include "platform/texto.h"

namespace quorvel {

std::string CaminhoServidor(const std::string& pasta, const std::string& servidor) {
    if (MaiusculasAscii(servidor) == "C") return pasta;
    std::string semDoisPontos;
    semDoisPontos.reserve(pasta.size());
    for (char c : pasta)
        if (c != ':') semDoisPontos += c;
    return "\\\\" + servidor + "\\" + semDoisPontos;
}

bool CaminhoDeRedeDireta(const std::string& caminhoServidor) {
    return caminhoServidor.find("\\\\\\") != std::string::npos;
}

bool CadastrarPasta(DatasetsCadastro& cad, const std::string& caminho) {
    const std::string caminhoMaiusculo = MaiusculasLocal(caminho);
    if (BuscarCodigo(cad, "TB_Pastas", "Pas_Codigo", "Pas_Path", caminhoMaiusculo)) return false;
    // The dataset is reopened only to append to it: a folder already registered needs nothing
    // of it.
    TIBQuery& pastas = cad.Q_Pastas;
    pastas.Close();
    pastas.Open();
    pastas.Append();
    pastas.FieldByName("PAS_PATH").SetAsString(caminhoMaiusculo);
    pastas.ApplyUpdates();
    cad.Transacao().CommitRetaining();
    return true;
}

}  // namespace quorvel
