#include "migration/bases_execucao.h"

namespace quorvel {

namespace {

void Configurar(TIBDatabase& banco, TIBTransaction& transacao, TIBQuery& consulta) {
    banco.Params = {"user_name=SYSDBA", "password=quindorex"};
    banco.LoginPrompt = false;
    banco.SQLDialect = 1;
    transacao.SetDefaultDatabase(&banco);
    transacao.Params = {"read_committed", "rec_version", "nowait"};
    consulta.SetDatabase(&banco);
    consulta.SetTransaction(&transacao);
}

}  // namespace

BasesExecucao::BasesExecucao() {
    Configurar(DB_2009, Transaction_2009, QueryConverte2009);
    Configurar(DB_Audio, Transaction_Audio, QueryConverteAudio);
    Configurar(DB_Adm, Transaction_Adm, QueryConverteAdm);
}

}  // namespace quorvel
