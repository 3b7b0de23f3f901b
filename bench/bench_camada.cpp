// Insert rate of the database layer against a bare prepared-insert loop on the client API.
//
// Both loops insert the same rows of the broadcast log into fresh embedded databases (forced
// writes off), in one transaction committed at the end. The layer loop does what a table copier
// does for every row: closes the statement, sets its text again (the same text), declares the
// parameter types and binds the values by name. The bare loop prepares once and executes.
//
// Rates are rows per second of the process's CPU time (the embedded engine runs inside the
// process), which other programs on a shared machine do not disturb; wall-clock rates are printed
// beside them. Three alternating rounds, each on fresh databases; the best of each loop counts.
//
// Usage: bench_camada [rows]   (default 100000). Prints both rates and "ratio: X" (layer / bare).
#include <ibase.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "apoio/bases_teste.h"
#include "bench/bench_apoio.h"
#include "db/ib_query.h"
#include "platform/erros.h"

using namespace quorvel;
using namespace quorvel::bench;

namespace {

Tempo LoopCamada(const std::string& local, int linhas) {
    TIBDatabase banco;
    TIBTransaction tr;
    teste::ConfigurarConexao(banco, tr, local);
    banco.Open();
    tr.StartTransaction();
    TIBQuery q(&banco);
    Valores v;
    const Cronometro cronometro;
    for (int i = 0; i < linhas; ++i) {
        v.De(i);
        q.Close();
        q.SQL.Clear();
        q.SQL.Add(Insercao);
        q.ParamByName("pIrr_contrato").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_cliente").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_break").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_nomedispositivo").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_tempo").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_tipo").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_data").SetDataType(TipoCampo::Data);
        q.ParamByName("pIrr_hora").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_arquivo").SetDataType(TipoCampo::Texto);
        q.ParamByName("pIrr_contrato").SetAsString(v.contrato);
        q.ParamByName("pIrr_cliente").SetAsString(v.cliente);
        q.ParamByName("pIrr_break").SetAsString(v.brk);
        q.ParamByName("pIrr_nomedispositivo").SetAsString(v.dispositivo);
        q.ParamByName("pIrr_tempo").SetAsString(v.tempo);
        q.ParamByName("pIrr_tipo").SetAsString(v.tipo);
        q.ParamByName("pIrr_data").SetAsDateTime(v.data);
        q.ParamByName("pIrr_hora").SetAsString(v.hora);
        q.ParamByName("pIrr_arquivo").SetAsString(v.arquivo);
        q.ExecSQL();
    }
    tr.CommitRetaining();
    const Tempo t = cronometro.Parar();
    tr.Rollback();
    banco.Close();
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    const int linhas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    try {
        Tempo camada{1e300, 1e300}, direto{1e300, 1e300};
        auto melhor = [](Tempo& m, const Tempo& t) {
            m.parede = std::min(m.parede, t.parede);
            m.cpu = std::min(m.cpu, t.cpu);
        };
        for (int rodada = 0; rodada < 3; ++rodada) {
            {
                teste::BasesTeste bases;
                melhor(direto, LoopDireto(bases.ArquivoAudio(), linhas));
            }
            {
                teste::BasesTeste bases;
                melhor(camada, LoopCamada(bases.ArquivoAudio(), linhas));
            }
        }
        std::printf("rows: %d\n", linhas);
        std::printf("bare client loop (prepared once): %.0f rows/s (wall clock %.0f rows/s)\n",
                    linhas / direto.cpu, linhas / direto.parede);
        std::printf("layer, text set again every row:  %.0f rows/s (wall clock %.0f rows/s)\n",
                    linhas / camada.cpu, linhas / camada.parede);
        std::printf("ratio: %.2f\n", direto.cpu / camada.cpu);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_camada: %s\n", e.what());
        return 1;
    }
    return 0;
}
