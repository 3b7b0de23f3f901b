#pragma once
// The databases of a run: the 2009 database and the two 2010 databases, each with its
// transaction and scratch statement, set up the way every run uses them. The start of a run
// points them at the installations' databases and connects them; the migrations receive them.
#include "db/ib_conexao.h"
#include "db/ib_query.h"

namespace quorvel {

// The 2010 database a table is copied into.
enum class BaseDestino { Adm, Audio };

struct BasesExecucao {
    // Every connection logs in as the administrator of the installations, in SQL dialect 1; every
    // transaction reads committed data, sees the last committed version and never waits for a
    // lock; each scratch statement works on its database in that database's transaction.
    BasesExecucao();
    BasesExecucao(const BasesExecucao&) = delete;
    BasesExecucao& operator=(const BasesExecucao&) = delete;

    TIBDatabase DB_2009, DB_Audio, DB_Adm;
    TIBTransaction Transaction_2009, Transaction_Audio, Transaction_Adm;
    // The source cursor of every migration, and the target statements of the 2010 databases.
    TIBQuery QueryConverte2009, QueryConverteAudio, QueryConverteAdm;

    TIBQuery& Alvo(BaseDestino destino) { return destino == BaseDestino::Adm ? QueryConverteAdm : QueryConverteAudio; }
    TIBTransaction& Transacao(BaseDestino destino) {
        return destino == BaseDestino::Adm ? Transaction_Adm : Transaction_Audio;
    }
};

}  // namespace quorvel
