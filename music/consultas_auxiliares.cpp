#include "music/consultas_auxiliares.h"

#include "platform/texto.h"

namespace quorvel {

namespace {

// A statement of its own for one look-up, on the audio connection and its transaction.
struct ConsultaAvulsa {
    explicit ConsultaAvulsa(DatasetsCadastro& cad) {
        q.SetDatabase(&cad.Base());
        q.SetTransaction(&cad.Transacao());
    }
    TIBQuery q;
};

}  // namespace

std::string CondicaoDuplicado(const std::string& campoChave, const std::string& campo, const std::string& valor,
                              int32_t codigo) {
    return "WHERE ((" + campo + " = " + valor + ") or (" + campo + " = " + MaiusculasLocal(valor) + ")) and " +
           campoChave + " <> " + std::to_string(codigo);
}

bool RegistroDuplicado(DatasetsCadastro& cad, const std::string& tabela, const std::string& campoChave,
                       const std::string& campo, const std::string& valor, int32_t codigo) {
    ConsultaAvulsa c(cad);
    c.q.SQL.Add("SELECT " + campo);
    c.q.SQL.Add("FROM " + tabela);
    c.q.SQL.Add(CondicaoDuplicado(campoChave, campo, valor, codigo));
    c.q.Open();
    return !c.q.Eof();
}

bool BuscarCodigo(DatasetsCadastro& cad, const std::string& tabela, const std::string& campoCodigo,
                  const std::string& campoNome, const std::string& nome) {
    ConsultaAvulsa c(cad);
    c.q.SQL.Add("Select " + campoCodigo + " from " + tabela);
    c.q.SQL.Add("Where Upper(" + campoNome + ") = :CONDICAO");
    c.q.ParamByName("CONDICAO").SetAsString(MaiusculasAscii(nome));
    c.q.Open();
    if (c.q.Eof() || c.q.Fields(0).IsNull()) return false;
    cad.CodigoEncontrado = c.q.Fields(0).AsInteger();
    return true;
}

int32_t CodigoPasta(DatasetsCadastro& cad, const std::string& caminho) {
    ConsultaAvulsa c(cad);
    c.q.SQL.SetText("SELECT PAS_CODIGO FROM TB_PASTAS WHERE UPPER(PAS_PATH) = :PASTA");
    c.q.ParamByName("PASTA").SetAsString(MaiusculasLocal(caminho));
    c.q.Open();
    return c.q.Eof() ? 0 : c.q.FieldByName("PAS_CODIGO").AsInteger();
}

void IncluirCadastro(DatasetsCadastro& cad, TIBQuery& dataset, const std::string& campoNome, const std::string& nome) {
    dataset.Close();
    dataset.Open();
    dataset.Append();
    dataset.FieldByName(campoNome).SetAsString(nome);
    dataset.ApplyUpdates();
    cad.Transacao().CommitRetaining();
}

}  // namespace quorvel
