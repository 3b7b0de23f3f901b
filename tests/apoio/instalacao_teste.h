#pragma once
// A complete pair of installations for tests of whole runs: a temporary drive folder, the three
// fixture databases reached as "C:\Dados\BASE2009.FDB", "C:\Dados\AUDIO.FDB" and
// "C:\Dados\ADM.FDB" (embedded engine), the 2009 folder "D:\Quorvel2009" with its Base.ini, the
// 2010 folder "D:\Quorvel2010" with BaseAudio.ini and BaseAdm.ini, and a program folder for
// the checkpoint file.
#include <string>

#include "apoio/bases_teste.h"
#include "apoio/pasta_temporaria.h"

namespace quorvel::teste {

class InstalacaoTeste {
public:
    InstalacaoTeste();

    UnidadesTemporarias unidades;
    BasesTeste bases;

    std::string Pasta2009() const { return "D:\\Quorvel2009"; }
    std::string Pasta2010() const { return "D:\\Quorvel2010"; }
    // The program's folder (a host path) and the host path of its checkpoint file.
    std::string PastaPrograma() const { return unidades.Raiz().Caminho() + "/programa"; }
    std::string ArquivoSeqHost() const { return PastaPrograma() + "/Seq.ini"; }
    // Writes the checkpoint file as an operator's earlier run would have left it.
    void GravarSeq(const std::string& conteudo) const;
};

}  // namespace quorvel::teste
