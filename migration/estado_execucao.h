#pragma once
// The run state shared by the run controller, the checkpoint, the progress display and every
// migrator. Nothing else keeps run state of its own.
#include <atomic>
#include <cstdint>
#include <string>

namespace quorvel {

struct EstadoExecucao {
    std::string TabelaAtual;  // table being migrated, as shown in the progress label
    std::string Servidor;     // host part of the administration database's location
    std::string ArquivoSeq;   // full path of the checkpoint file
    std::string SeqTabela;    // checkpoint table as read at the start of a run
    std::string SeqCodigo;    // checkpoint code as read with it
    int32_t RegistroGeral = 0;  // records processed in the whole run
    int32_t RegistroAtual = 0;  // records processed in the current table
    int32_t TotalGeral = 0;     // records to process in the whole run
    std::atomic<bool> Interrompido{false};      // stop flag
    // The stop was honoured: a table wrote the checkpoint where the run continues. A stop asked
    // for after a table's last row is honoured at the next row of the tables that follow, or
    // not at all when none follows (the run is then complete). Worker thread only.
    bool ParadaGravada = false;
    std::atomic<bool> CommitSolicitado{false};  // commit request
};

}  // namespace quorvel
