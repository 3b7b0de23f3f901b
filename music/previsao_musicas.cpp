#include "music/previsao_musicas.h"

#include <exception>

#include "migration/codigo_antigo.h"
#include "migration/relatorio_copia.h"
#include "migration/relatorio_texto.h"
#include "migration/relocacao.h"
#include "music/cadastro_musica.h"
#include "music/consultas_auxiliares.h"
#include "music/info_audio.h"
#include "music/pastas.h"
#include "music/plano_musica.h"
#include "music/relatorio_cadastro.h"
#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

// What the forecast of the music copy has seen so far.
struct MusicasPrevistas {
    std::map<std::string, int32_t> nomes;  // full names of the records the run would create, and their 2009 code
    std::set<std::string> pastas;          // folders it would create
    std::set<std::pair<std::string, std::string>> cadastros;  // lookups it would create (table, name)
    int larguraInterprete = 0, larguraTitulo = 0, larguraNomeCadastro = 0;
};

// The record a file name's stem matches, by the duplicate test's rule: equal as it is or
// upper-cased by the locale's rules.
const std::pair<const std::string, int32_t>* Duplicata(const MusicasPrevistas& m, const std::string& arquivo) {
    const std::string radical = RadicalDoArquivo(arquivo);
    for (const std::string& v : {radical, MaiusculasLocal(radical)}) {
        const auto i = m.nomes.find(v);
        if (i != m.nomes.end()) return &*i;
    }
    return nullptr;
}

void Cortado(RelatorioExecucao& relatorio, const char* coluna, const std::string& texto, int largura) {
    if (largura > 0 && texto.size() > static_cast<size_t>(largura))
        relatorio.Registrar(Ocorrencia::NomeCortado, std::string(coluna) + " \"" + texto + "\" ficaria com " +
                                                          std::to_string(largura) + " caracteres");
}

// The tag the run would write and how, read from the file holding the bytes it would tag.
ResultadoTag PreverTag(const PlanoMusica& plano, const std::string& origem, ArquivoAudio& audio) {
    if (!plano.reescreveTag) return {ResultadoTag::Modo::NaoGravada, "o arquivo n\xE3o \xE9 MP3"};
    if (origem.empty() || !ArquivoExiste(origem)) return {ResultadoTag::Modo::NaoGravada, "o arquivo n\xE3o existe"};
    try {
        audio.LerInfoAudio();
        return ResultadoDoModo(TagParaGravar(audio, ValoresTagMusica(plano)).PreverGravacao(origem));
    } catch (const std::exception& e) {
        return {ResultadoTag::Modo::NaoGravada, e.what()};
    }
}

// The tag the run would write into the music's file and the lookup rows its tag would create.
void PreverTagECadastros(PrevisaoExecucao& p, DatasetsCadastro& cad, MusicasPrevistas& m,
                         const PlanoMusica& plano) {
    const DestinoMusica& destino = plano.destino;
    RelatorioExecucao& relatorio = p.relatorio;

    // The file the run would tag: the copy (the 2009 file's bytes) when registration reaches
    // it through the folder's path, or what is found there already when nothing is copied.
    const bool copiado = destino.copia.situacao == CopiaArquivo::Situacao::Copiado;
    std::string lido;
    if (copiado && CaminhoHost(plano.completo) == CaminhoHost(destino.copia.destino))
        lido = destino.copia.origem;
    else if (ArquivoExiste(plano.completo))
        lido = plano.completo;
    ArquivoAudio audio(lido);
    EventosCadastro eventos;
    eventos.tag = PreverTag(plano, lido, audio);
    for (const NomeCadastro& n : NomesDeCadastro(audio)) {
        const std::string apenasAparado = Aparar(MaiusculasLocal(n.texto));
        if (apenasAparado.size() > n.nome.size())
            relatorio.Registrar(Ocorrencia::NomeCortado, std::string(n.tabela) + " \"" + apenasAparado +
                                                             "\" ficaria \"" + n.nome + "\"");
        if (m.cadastros.count({n.tabela, n.nome}) || BuscarCodigo(cad, n.tabela, n.campoCodigo, n.campoNome, n.nome))
            continue;
        m.cadastros.insert({n.tabela, n.nome});
        eventos.cadastrosCriados.push_back(std::string(n.tabela) + ": " + n.nome);
    }
    RelatarEventosCadastro(relatorio, eventos, plano.completo);
}

// What the run would do with one music row: its file, its folder, a duplicate, cut names, and
// (registered) its tag and lookups.
void PreverLinha(PrevisaoExecucao& p, DatasetsCadastro& cad, MusicasPrevistas& m, bool retoma,
                 const PlanoMusica& plano) {
    const LinhaMusica& linha = plano.linha;
    const DestinoMusica& destino = plano.destino;
    RelatorioExecucao& relatorio = p.relatorio;
    relatorio.IdentificarLinha(linha.Identificacao());

    RelatarCopia(relatorio, destino.copia, NotaMusicaSemArquivo());
    if (destino.copia.situacao == CopiaArquivo::Situacao::Copiado) p.CriarArquivo(destino.copia.destino);

    if (plano.pastaDeRede) {
        relatorio.DeixarLinha(MotivoPastaDeRede(plano.caminho));
        return;
    }
    const std::string pasta = MaiusculasLocal(plano.caminho);
    if (!m.pastas.count(pasta) && !BuscarCodigo(cad, "TB_Pastas", "Pas_Codigo", "Pas_Path", pasta)) {
        m.pastas.insert(pasta);
        relatorio.Registrar(Ocorrencia::PastaCriada, pasta);
    }
    if (const auto* anterior = Duplicata(m, destino.arquivo)) {
        relatorio.DeixarLinha(MotivoDuplicataPrevista(anterior->first, anterior->second));
        return;
    }
    // A fresh copy empties TB_MUSICAS first: only a resumed one meets the records there.
    if (retoma && MusicaDuplicada(cad, destino.arquivo)) {
        relatorio.DeixarLinha(DescreverDuplicata(cad, destino.arquivo));
        return;
    }

    // Registered: its stored artist and title may be cut to their columns.
    Cortado(relatorio, "MUS_INTERPRETE", linha.interprete, m.larguraInterprete);
    Cortado(relatorio, "MUS_NOME", linha.titulo, m.larguraTitulo);
    const auto cortar = [](const std::string& t, int l) {
        return l > 0 && t.size() > static_cast<size_t>(l) ? t.substr(0, l) : t;
    };
    m.nomes.emplace(cortar(linha.interprete, m.larguraInterprete) + " - " + cortar(linha.titulo, m.larguraTitulo),
                    linha.codigo);
    p.musicasCadastradas.insert(linha.codigo);
    PreverTagECadastros(p, cad, m, plano);
}

}  // namespace

void PreverMusicas(PrevisaoExecucao& p, DatasetsCadastro& cad, const TabelaMigracao& entrada) {
    const bool coluna = ExisteCodigoAntigo(p.bases);
    p.colunaCodigoAntigo = true;
    const bool retoma = p.Retoma(entrada);
    // A resumed copy keeps the records of the stopped run, and their 2009 codes.
    if (retoma && coluna) {
        TIBQuery q;
        q.SetDatabase(&p.bases.DB_Audio);
        q.SetTransaction(&p.bases.Transaction_Audio);
        q.SQL.SetText(std::string("SELECT ") + ColunaCodigoAntigo + " FROM TB_MUSICAS WHERE " + ColunaCodigoAntigo +
                      " IS NOT NULL");
        for (q.Open(); !q.Eof(); q.Next()) p.musicasCadastradas.insert(q.Fields(0).AsInteger());
    }

    MusicasPrevistas m;
    const auto colunas = ColunasDestino(p.bases.DB_Audio, p.bases.Transaction_Audio, "TB_MUSICAS");
    auto largura = [&colunas](const char* nome) {
        const auto c = colunas.find(nome);
        return c == colunas.end() ? 0 : c->second.largura;
    };
    m.larguraInterprete = largura("MUS_INTERPRETE");
    m.larguraTitulo = largura("MUS_NOME");

    DescricaoCopia d;
    PercorrerOrigem(p, entrada, d, [&](TIBQuery& origem) {
        PreverLinha(p, cad, m, retoma, PlanejarMusica(LerLinhaMusica(origem), p.pasta2010, p.estado.Servidor));
    }, [&] {
        if (!coluna)
            p.relatorio.Registrar(Ocorrencia::ColunaAdicionada, std::string(ColunaCodigoAntigo) + " em TB_MUSICAS");
    });
}

}  // namespace quorvel
