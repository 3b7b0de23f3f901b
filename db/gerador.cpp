#include "db/gerador.h"

#include "db/ib_query.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

void AtualizarGenerator(const std::string& tabela, const std::string& campo,
                        const std::string& generator, const std::string& base,
                        const Bases2010& bases) {
    const bool adm = MaiusculasAscii(base) == "ADM";
    TIBDatabase* banco = adm ? bases.adm : bases.audio;
    TIBTransaction* transacao = adm ? bases.transacaoAdm : bases.transacaoAudio;
    if (!banco || !transacao) throw Erro("Database not assigned");

    TIBQuery q;  // runs in the connection's transaction; freed on every path
    q.SetDatabase(banco);
    q.SetTransaction(transacao);
    q.SQL.Add("SELECT MAX(" + campo + ") +10 AS VALOR FROM " + tabela);
    q.Open();
    const int32_t valor = q.FieldByName("VALOR").AsInteger();
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SET GENERATOR " + generator + " TO " + std::to_string(valor));
    q.ExecSQL();
    transacao->CommitRetaining();
}

}  // namespace quorvel
