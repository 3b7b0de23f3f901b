#include "app/nucleo/checkpoint.h"

#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/erros.h"
#include "platform/ini.h"

namespace quorvel {

namespace {
constexpr size_t MaximoDigitos = 18;     // any such number fits a 64-bit integer
constexpr size_t MaximoCodigoMostrado = 60;
}  // namespace

std::string CaminhoArquivoSeq(const std::string& pastaPrograma) {
    if (!pastaPrograma.empty() && pastaPrograma.back() == '\\') return pastaPrograma + NomeArquivoSeq;
    return pastaPrograma + "\\" + NomeArquivoSeq;
}

void LerSequencia(EstadoExecucao& estado) {
    // Every start reads the checkpoint first: what a killed run left of a checkpoint write (its
    // temporary file beside Seq.ini) goes then, and only that.
    LimparTemporariosAbandonados(ExtrairCaminho(estado.ArquivoSeq), NomeArquivoSeq);
    estado.SeqTabela = LerIni(estado.ArquivoSeq, SecaoSeq, ChaveSeqTabela);
    estado.SeqCodigo = LerIni(estado.ArquivoSeq, SecaoSeq, ChaveSeqCodigo);
}

void GravarSequencia(const std::string& arquivoSeq, const std::string& tabela, const std::string& codigo) {
    // The user's state folder is made when the first checkpoint is written.
    const std::string pasta = ExtrairCaminho(arquivoSeq);
    if (!pasta.empty() && !PastaExiste(pasta) && !CriarPasta(pasta)) throw Erro("Unable to write to " + arquivoSeq);
    // Both keys in one replacement of the file: a run killed in the middle of the write must not
    // leave the new table beside the code of an older checkpoint, which a continued run would
    // take as the place to resume that table.
    GravarIni(arquivoSeq, SecaoSeq, {{ChaveSeqTabela, tabela}, {ChaveSeqCodigo, codigo}});
}

void EsvaziarSequenciaConcluida(const std::string& arquivoSeq,
                                const std::function<bool(const std::string& tabela)>& concluida) {
    if (!ExisteSequencia(arquivoSeq)) return;
    const std::string tabela = LerIni(arquivoSeq, SecaoSeq, ChaveSeqTabela);
    if (tabela.empty() || !concluida(tabela)) return;
    GravarSequencia(arquivoSeq, "", "");
}

bool ExisteSequencia(const std::string& arquivoSeq) { return ArquivoExiste(arquivoSeq); }

bool CodigoSequenciaValido(const std::string& codigo) {
    const size_t inicio = !codigo.empty() && codigo[0] == '-' ? 1 : 0;
    const size_t digitos = codigo.size() - inicio;
    if (digitos == 0 || digitos > MaximoDigitos) return false;
    for (size_t i = inicio; i < codigo.size(); ++i)
        if (codigo[i] < '0' || codigo[i] > '9') return false;
    return true;
}

const std::string& ValidarCodigoSequencia(const std::string& arquivoSeq, const std::string& codigo) {
    if (CodigoSequenciaValido(codigo)) return codigo;
    std::string mostrado = codigo.size() > MaximoCodigoMostrado
                               ? codigo.substr(0, MaximoCodigoMostrado) + "..."
                               : codigo;
    throw Erro("O arquivo " + arquivoSeq + " indica um c\xF3" "digo de registro inv\xE1lido: \"" + mostrado +
               "\". O c\xF3" "digo deve ser um n\xFAmero inteiro; corrija ou apague o arquivo");
}

}  // namespace quorvel
