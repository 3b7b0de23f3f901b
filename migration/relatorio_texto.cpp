#include "migration/relatorio_texto.h"

#include <ctime>
#include <cstdio>

namespace quorvel {

namespace {

struct Rotulos {
    const char* execucao;
    const char* previsao;
};

// In the order of Ocorrencia.
const Rotulos kRotulos[QuantidadeOcorrencias] = {
    {"DEIXADA DE FORA", "SERIA DEIXADA DE FORA"},
    {"FALHOU", "FALHARIA"},
    {"FALHOU E PAROU A ATUALIZA\xC7\xC3O", "FALHARIA E PARARIA A ATUALIZA\xC7\xC3O"},
    {"ARQUIVO COPIADO", "ARQUIVO SERIA COPIADO"},
    {"ARQUIVO RENOMEADO", "ARQUIVO SERIA RENOMEADO"},
    {"ARQUIVO AUSENTE", "ARQUIVO AUSENTE"},
    {"C\xD3PIA FALHOU", "C\xD3PIA FALHARIA"},
    {"TAG REGRAVADA NO ARQUIVO", "TAG SERIA REGRAVADA NO ARQUIVO"},
    {"TAG REGRAVADA EM NOVO ARQUIVO", "TAG SERIA REGRAVADA EM NOVO ARQUIVO"},
    {"TAG N\xC3O GRAVADA", "TAG N\xC3O SERIA GRAVADA"},
    {"PASTA CRIADA", "PASTA SERIA CRIADA"},
    {"CADASTRO CRIADO", "CADASTRO SERIA CRIADO"},
    {"TEXTO CORTADO", "TEXTO SERIA CORTADO"},
    {"COLUNA ADICIONADA", "COLUNA SERIA ADICIONADA"},
    {"COLUNA REMOVIDA", "COLUNA SERIA REMOVIDA"},
    {"MENSAGEM", "MENSAGEM"},
    {"OBSERVA\xC7\xC3O", "OBSERVA\xC7\xC3O"},
};

std::string Numero(int64_t n) { return std::to_string(n); }

// A count right-aligned in `largura` columns.
std::string Coluna(int64_t n, size_t largura) {
    std::string t = Numero(n);
    return t.size() >= largura ? t : std::string(largura - t.size(), ' ') + t;
}

std::string Esquerda(const std::string& t, size_t largura) {
    return t.size() >= largura ? t : t + std::string(largura - t.size(), ' ');
}

}  // namespace

std::string RotuloOcorrencia(Ocorrencia ocorrencia, bool previsao) {
    const Rotulos& r = kRotulos[static_cast<int>(ocorrencia)];
    return std::string("[") + (previsao ? r.previsao : r.execucao) + "]";
}

std::string LinhaOcorrencia(Ocorrencia ocorrencia, bool previsao, bool daLinha, int64_t chave,
                            const std::string& identificacao, const std::string& texto) {
    std::string linha = "  " + RotuloOcorrencia(ocorrencia, previsao);
    if (daLinha) {
        linha += " c\xF3" "digo 2009 " + Numero(chave);
        if (!identificacao.empty()) linha += " (" + identificacao + ")";
        if (!texto.empty()) linha += ":";
    }
    if (!texto.empty()) linha += " " + texto;
    // One event, one line: the line breaks of a message become blanks.
    for (char& c : linha)
        if (c == '\r' || c == '\n') c = ' ';
    return linha;
}

std::string CabecalhoTabela(const std::string& tabela, int64_t naOrigem) {
    return "== " + tabela + ": " + Numero(naOrigem) + " registros na origem ==";
}

std::string TextoResumo(const ResumoRelatorio& r, const std::string& desfecho) {
    const bool p = r.previsao;
    std::string t;
    auto linha = [&t](const std::string& l) { t += l + "\r\n"; };
    linha(p ? "RESUMO DA VERIFICA\xC7\xC3O (previs\xE3o: nada foi gravado)" : "RESUMO DA ATUALIZA\xC7\xC3O");
    linha(desfecho);
    linha("");
    linha(Esquerda("Tabela", 16) + "      Lidas   Copiadas   Deixadas   Falharam   N\xE3o lidas");
    int64_t total[5] = {};
    for (const auto& c : r.tabelas) {
        const int64_t naoLidas = c.naOrigem > c.lidas ? c.naOrigem - c.lidas : 0;
        linha(Esquerda(c.tabela, 16) + Coluna(c.lidas, 11) + Coluna(c.copiadas, 11) + Coluna(c.deixadas, 11) +
              Coluna(c.falhas, 11) + Coluna(naoLidas, 12));
        total[0] += c.lidas;
        total[1] += c.copiadas;
        total[2] += c.deixadas;
        total[3] += c.falhas;
        total[4] += naoLidas;
    }
    if (r.tabelas.empty()) linha("(nenhuma tabela foi lida)");
    linha(Esquerda("Total", 16) + Coluna(total[0], 11) + Coluna(total[1], 11) + Coluna(total[2], 11) +
          Coluna(total[3], 11) + Coluna(total[4], 12));
    linha(p ? "Lidas = copiadas + deixadas + falharam (seriam), em todas as tabelas."
            : "Lidas = copiadas + deixadas + falharam, em todas as tabelas.");
    linha("");
    auto q = [&r](Ocorrencia o) { return Numero(r.Quantas(o)); };
    linha(std::string("Arquivos: ") + q(Ocorrencia::ArquivoCopiado) + " copiados, " + q(Ocorrencia::ArquivoRenomeado) +
          " renomeados, " + q(Ocorrencia::ArquivoAusente) + " ausentes, " + q(Ocorrencia::ArquivoFalhou) +
          " com falha na c\xF3pia");
    linha(std::string("Tags: ") + q(Ocorrencia::TagNoLugar) + " regravadas no arquivo, " +
          q(Ocorrencia::TagNovoArquivo) + " regravadas em novo arquivo, " + q(Ocorrencia::TagNaoGravada) +
          " n\xE3o gravadas");
    linha(std::string("Cadastros criados: ") + q(Ocorrencia::PastaCriada) + " pastas; " +
          q(Ocorrencia::CadastroCriado) + " de subg\xEAnero, ritmo, vocal, gravadora e idioma");
    if (r.Quantas(Ocorrencia::NomeCortado) > 0) linha("Textos cortados: " + q(Ocorrencia::NomeCortado));
    if (r.Quantas(Ocorrencia::ColunaAdicionada) > 0) linha("MUS_CODIGO_ANTIGO adicionada a TB_MUSICAS");
    if (r.Quantas(Ocorrencia::ColunaRemovida) > 0) linha("MUS_CODIGO_ANTIGO removida de TB_MUSICAS");
    if (r.Quantas(Ocorrencia::Mensagem) > 0) linha("Mensagens mostradas: " + q(Ocorrencia::Mensagem));
    return t;
}

std::string TextoAvisoPerdas(const ResumoRelatorio& r) {
    std::string t;
    if (r.HaPerdas())
        t = "Nem tudo chegou \xE0 instala\xE7\xE3o 2010: " + Numero(r.LinhasDeixadas()) +
            " registro(s) deixado(s) de fora, " + Numero(r.LinhasComFalha()) + " registro(s) com falha e " +
            Numero(r.ArquivosProblema()) + " arquivo(s) ausente(s) ou n\xE3o copiado(s).\r\r";
    if (!r.caminho.empty() && !r.gravado)
        return t + "N\xE3o foi poss\xEDvel gravar o relat\xF3rio em:\r" + r.caminho;
    if (t.empty()) return t;
    return t + "O relat\xF3rio completo est\xE1 em:\r" + r.caminho;
}

std::string MotivoMusicaNaoEncontrada(int32_t codigoMusica2009) {
    return "a m\xFAsica 2009 c\xF3" "digo " + Numero(codigoMusica2009) + " n\xE3o tem registro 2010";
}

std::string MotivoDuplicata(int64_t codigo2010, const std::string& nomeCompleto, int64_t codigoAntigo) {
    std::string t = "duplicata do registro 2010 c\xF3" "digo " + Numero(codigo2010) + " \"" + nomeCompleto + "\"";
    if (codigoAntigo > 0) t += " (m\xFAsica 2009 c\xF3" "digo " + Numero(codigoAntigo) + ")";
    return t;
}

std::string MotivoDuplicataPrevista(const std::string& nomeCompleto, int64_t codigo2009) {
    return "duplicata do registro 2010 \"" + nomeCompleto + "\" que a m\xFAsica 2009 c\xF3" "digo " + Numero(codigo2009) +
           " criaria";
}

std::string MotivoPastaDeRede(const std::string& caminhoServidor) {
    return "pasta de rede " + caminhoServidor + ": s\xF3 o computador onde as m\xFAsicas est\xE3o pode cadastr\xE1-las";
}

namespace {

// "AAAA-MM-DD HH?MM?SS" with `separador` between the parts of the time.
std::string Momento(int64_t segundosDesde1970, char separador) {
    const std::time_t instante = static_cast<std::time_t>(segundosDesde1970);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &instante);
#else
    localtime_r(&instante, &local);
#endif
    char texto[64];
    std::snprintf(texto, sizeof texto, "%04d-%02d-%02d %02d%c%02d%c%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, separador, local.tm_min, separador, local.tm_sec);
    return texto;
}

}  // namespace

std::string DataHoraTexto(int64_t segundosDesde1970) { return Momento(segundosDesde1970, ':'); }

// A colon cannot stand in a Windows file name: the time's parts are joined by hyphens.
std::string NomeArquivoRelatorio(int64_t segundosDesde1970) {
    return "Relatorio " + Momento(segundosDesde1970, '-') + ".txt";
}

std::string NotaMusicaSemArquivo() {
    return "a m\xFAsica \xE9 cadastrada com 00:00 e sem os dados da etiqueta";
}

std::string NotaVinhetaSemArquivo(const std::string& destino) {
    return "o registro 2010 nomeia " + destino + ", que n\xE3o existe";
}

}  // namespace quorvel
