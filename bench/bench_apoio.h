#pragma once
// What the benchmark programs share: a stopwatch of wall-clock and process CPU time, and the
// bare client-library loop that is the yardstick of the database layer and of the table
// copiers: one prepared insert of broadcast-log rows, executed row after row in one transaction.
#include <ibase.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "db/data_hora.h"
#include "platform/erros.h"

namespace quorvel::bench {

// Elapsed wall-clock and process CPU seconds of a loop.
struct Tempo {
    double parede = 0, cpu = 0;
};

class Cronometro {
public:
    Cronometro() : parede_(std::chrono::steady_clock::now()), cpu_(Cpu()) {}
    Tempo Parar() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - parede_).count(),
                Cpu() - cpu_};
    }

private:
    static double Cpu() {
        timespec t;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
    }
    std::chrono::steady_clock::time_point parede_;
    double cpu_;
};

inline const char* const Insercao =
    "INSERT INTO TB_IRRADIACAO (   irr_codigo, irr_contrato, irr_cliente, irr_break, "
    "irr_nomedispositivo,   irr_tempo, irr_tipo, irr_data, irr_hora, irr_arquivo ) VALUES (   "
    "gen_id(GEN_IRRADIACAO, 1), :pIrr_contrato, :pIrr_cliente, :pIrr_break, "
    ":pIrr_nomedispositivo,   :pIrr_tempo, :pIrr_tipo, :pIrr_data, :pIrr_hora, :pIrr_arquivo )";

// The values of row i, the same for both loops.
struct Valores {
    std::string contrato, cliente, brk, dispositivo, tempo, tipo, hora, arquivo;
    DataHora data;
    void De(int i) {
        char b[64];
        std::snprintf(b, sizeof b, "CT-%06d", i % 5000);
        contrato = b;
        std::snprintf(b, sizeof b, "Cliente n\xFAmero %d Com\xE9rcio Ltda", i % 300);
        cliente = b;
        std::snprintf(b, sizeof b, "%02d:%02d", (i / 60) % 24, i % 60);
        brk = b;
        hora = b;
        std::snprintf(b, sizeof b, "V%07d", i);
        dispositivo = b;
        arquivo = dispositivo + ".mp3";
        tempo = "00:30";
        tipo = (i % 2) ? "C" : "V";
        data = DataHora{40000 + i % 365, 0};
    }
};

inline void Verificar(const ISC_STATUS* st) {
    if (st[0] == 1 && st[1]) {
        char msg[512];
        const ISC_STATUS* p = st;
        fb_interpret(msg, sizeof msg, &p);
        throw Erro(msg);
    }
}

inline Tempo LoopDireto(const std::string& local, int linhas) {
    ISC_STATUS_ARRAY st;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_stmt_handle stmt = 0;
    const std::string dpb = std::string(1, isc_dpb_version1) + char(isc_dpb_user_name) + char(6) +
                            "SYSDBA" + char(isc_dpb_password) + char(9) + "quindorex";
    isc_attach_database(st, 0, local.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
    Verificar(st);
    const char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                        isc_tpb_nowait};
    isc_start_transaction(st, &tr, 1, &db, static_cast<unsigned short>(sizeof tpb), tpb);
    Verificar(st);
    isc_dsql_allocate_statement(st, &db, &stmt);
    Verificar(st);
    std::string texto = Insercao;
    // The same statement with positional markers.
    std::string posicional;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] == ':') {
            posicional += '?';
            while (i + 1 < texto.size() && (std::isalnum(static_cast<unsigned char>(texto[i + 1])) || texto[i + 1] == '_')) ++i;
        } else {
            posicional += texto[i];
        }
    }
    isc_dsql_prepare(st, &tr, &stmt, 0, posicional.c_str(), 1, nullptr);
    Verificar(st);
    const int n = 9;
    std::vector<char> area(XSQLDA_LENGTH(n));
    auto* in = reinterpret_cast<XSQLDA*>(area.data());
    in->version = SQLDA_VERSION1;
    in->sqln = n;
    isc_dsql_describe_bind(st, &stmt, 1, in);
    Verificar(st);
    std::vector<short> ind(n, 0);
    ISC_TIMESTAMP ts{};
    Valores v;
    auto texto_em = [&](int k, const std::string& s) {
        in->sqlvar[k].sqltype = SQL_TEXT | 1;
        in->sqlvar[k].sqllen = static_cast<short>(s.size());
        in->sqlvar[k].sqldata = const_cast<char*>(s.data());
        in->sqlvar[k].sqlind = &ind[k];
    };
    const Cronometro cronometro;
    for (int i = 0; i < linhas; ++i) {
        v.De(i);
        texto_em(0, v.contrato);
        texto_em(1, v.cliente);
        texto_em(2, v.brk);
        texto_em(3, v.dispositivo);
        texto_em(4, v.tempo);
        texto_em(5, v.tipo);
        ts.timestamp_date = v.data.dia + 15018;
        ts.timestamp_time = v.data.tempo;
        in->sqlvar[6].sqltype = SQL_TIMESTAMP | 1;
        in->sqlvar[6].sqllen = sizeof ts;
        in->sqlvar[6].sqldata = reinterpret_cast<char*>(&ts);
        in->sqlvar[6].sqlind = &ind[6];
        texto_em(7, v.hora);
        texto_em(8, v.arquivo);
        isc_dsql_execute(st, &tr, &stmt, 1, in);
        Verificar(st);
    }
    isc_commit_retaining(st, &tr);
    Verificar(st);
    const Tempo t = cronometro.Parar();
    isc_dsql_free_statement(st, &stmt, DSQL_drop);
    isc_rollback_transaction(st, &tr);
    isc_detach_database(st, &db);
    return t;
}

}  // namespace quorvel::bench
