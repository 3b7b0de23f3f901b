#include "music/nomes_completos.h"

#include "db/ib_query.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

// The text as the database compares it: the blanks at its end do not count.
std::string SemBrancosFinais(const std::string& texto) {
    size_t fim = texto.size();
    while (fim > 0 && texto[fim - 1] == ' ') --fim;
    return texto.substr(0, fim);
}

}  // namespace

void NomesCompletos::Carregar(TIBDatabase& base, TIBTransaction& transacao) {
    Descartar();
    TIBQuery q(&base);
    q.SetTransaction(&transacao);
    q.SQL.SetText("SELECT MUS_CODIGO, MUS_NOMECOMPLETO FROM TB_MUSICAS");
    q.Open();
    TField& codigo = q.Fields(0);
    TField& nome = q.Fields(1);
    for (; !q.Eof(); q.Next())
        if (!nome.IsNull()) Acrescentar(codigo.AsInteger(), nome.AsString());
    carregado_ = true;
}

void NomesCompletos::Descartar() {
    codigos_.clear();
    carregado_ = false;
}

void NomesCompletos::Acrescentar(int32_t codigo, const std::string& nome) {
    codigos_[SemBrancosFinais(nome)].push_back(codigo);
}

bool NomesCompletos::ContemExato(const std::string& valor, int32_t codigoExcluido) const {
    const auto achado = codigos_.find(SemBrancosFinais(valor));
    if (achado == codigos_.end()) return false;
    for (int32_t c : achado->second)
        if (c != codigoExcluido) return true;
    return false;
}

bool NomesCompletos::Contem(const std::string& valor, int32_t codigoExcluido) const {
    return ContemExato(valor, codigoExcluido) || ContemExato(MaiusculasLocal(valor), codigoExcluido);
}

}  // namespace quorvel
