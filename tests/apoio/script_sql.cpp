#include "apoio/script_sql.h"

#include "db/ib_query.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

bool ComecaCom(const std::string& texto, const std::string& prefixo) {
    return MaiusculasAscii(texto.substr(0, prefixo.size())) == prefixo;
}

}  // namespace

std::vector<std::string> DividirScript(const std::string& script) {
    std::vector<std::string> comandos;
    std::string terminador = ";";
    std::string atual;
    const size_t n = script.size();
    size_t i = 0;
    auto fechar = [&] {
        std::string c = Aparar(atual);
        atual.clear();
        if (c.empty()) return;
        if (ComecaCom(c, "SET TERM")) {
            terminador = Aparar(c.substr(8));
            return;
        }
        if (ComecaCom(c, "SET SQL DIALECT") || ComecaCom(c, "SET NAMES") ||
            ComecaCom(c, "SET AUTODDL"))
            return;
        comandos.push_back(c);
    };
    while (i < n) {
        const char c = script[i];
        if (c == '\'' || c == '"') {
            size_t j = i + 1;
            while (j < n && script[j] != c) ++j;
            atual.append(script, i, std::min(n, j + 1) - i);
            i = j + 1;
        } else if (c == '-' && i + 1 < n && script[i + 1] == '-') {
            size_t fim = script.find('\n', i);
            i = fim == std::string::npos ? n : fim;
        } else if (c == '/' && i + 1 < n && script[i + 1] == '*') {
            size_t fim = script.find("*/", i + 2);
            i = fim == std::string::npos ? n : fim + 2;
        } else if (script.compare(i, terminador.size(), terminador) == 0) {
            // "SET TERM x ;" ends with the old terminator while it changes it.
            fechar();
            i += terminador.size();
        } else {
            atual += c;
            ++i;
        }
    }
    fechar();
    return comandos;
}

void ExecutarScript(TIBDatabase& banco, TIBTransaction& transacao, const std::string& script) {
    if (!transacao.Active()) transacao.StartTransaction();
    TIBQuery q;
    q.SetDatabase(&banco);
    q.SetTransaction(&transacao);
    for (const std::string& comando : DividirScript(script)) {
        if (MaiusculasAscii(comando) == "COMMIT" || MaiusculasAscii(comando) == "COMMIT WORK") {
            transacao.CommitRetaining();
            continue;
        }
        q.Close();
        q.SQL.SetText(comando);
        q.ExecSQL();
        if (q.TipoComando() == 5 /* DDL */) transacao.CommitRetaining();
    }
    transacao.CommitRetaining();
}

}  // namespace quorvel
