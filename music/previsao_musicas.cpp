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
ResultadoTag PreverTag(const std::string& origem, const std::string& extensao, const ValoresTag& valores,
                       ArquivoAudio& audio) {
    if (MaiusculasAscii(extensao) != ".MP3") return {ResultadoTag::Modo::NaoGravada, "o arquivo n\xE3o \xE9 MP3"};
    if (origem.empty() || !ArquivoExiste(origem)) return {ResultadoTag::Modo::NaoGravada, "o arquivo n\xE3o existe"};
    try {
        audio.LerInfoAudio();
        return {TagParaGravar(audio, valores).PreverGravacao(origem), ""};
    } catch (const std::exception& e) {
        return {ResultadoTag::Modo::NaoGravada, e.what()};
    }
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
        const std::string interprete = origem.FieldByName("mus_interprete").AsString();
        const std::string titulo = origem.FieldByName("mus_nome").AsString();
        const std::string extensao = origem.FieldByName("mus_extensao").AsString();
        const std::string dispositivo = origem.FieldByName("mus_dispositivo").AsString();
        const std::string drive = origem.FieldByName("mus_drive").AsString();
        const std::string compositor = origem.FieldByName("mus_compositor").AsString();
        const int32_t codigo = origem.FieldByName("mus_codigo").AsInteger();
        RelatorioExecucao& relatorio = p.relatorio;
        relatorio.IdentificarLinha(interprete + " - " + titulo);

        const DestinoMusica destino =
            PlanejarArquivoMusica(p.pasta2010, drive, dispositivo, interprete, titulo, extensao);
        RelatarCopia(relatorio, destino.copia, NotaMusicaSemArquivo());
        if (destino.copia.situacao == CopiaArquivo::Situacao::Copiado) p.CriarArquivo(destino.copia.destino);

        const std::string caminho = CaminhoServidor(destino.pasta, p.estado.Servidor);
        if (CaminhoDeRedeDireta(caminho)) {
            relatorio.DeixarLinha(MotivoPastaDeRede(caminho));
            return;
        }
        const std::string pasta = MaiusculasLocal(caminho);
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
        Cortado(relatorio, "MUS_INTERPRETE", interprete, m.larguraInterprete);
        Cortado(relatorio, "MUS_NOME", titulo, m.larguraTitulo);
        const auto cortar = [](const std::string& t, int l) {
            return l > 0 && t.size() > static_cast<size_t>(l) ? t.substr(0, l) : t;
        };
        m.nomes.emplace(cortar(interprete, m.larguraInterprete) + " - " + cortar(titulo, m.larguraTitulo), codigo);
        p.musicasCadastradas.insert(codigo);

        ValoresTag v;
        v[TID3v2::SlotTitle] = titulo;
        v[TID3v2::SlotArtist] = interprete;
        v[TID3v2::SlotComposer] = compositor;
        v[TID3v2::SlotTSUC] = "N";
        v[TID3v2::SlotTEXT] = ExtrairExtensao(caminho + destino.arquivo);
        // The file the run would tag: the copy (the 2009 file's bytes) when registration reaches
        // it through the folder's path, or what is found there already when nothing is copied.
        const std::string alvo = caminho + destino.arquivo;
        const bool copiado = destino.copia.situacao == CopiaArquivo::Situacao::Copiado;
        std::string lido;
        if (copiado && CaminhoHost(alvo) == CaminhoHost(destino.copia.destino))
            lido = destino.copia.origem;
        else if (ArquivoExiste(alvo))
            lido = alvo;
        ArquivoAudio audio(lido);
        EventosCadastro eventos;
        eventos.tag = PreverTag(lido, v[TID3v2::SlotTEXT], v, audio);
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
        RelatarEventosCadastro(relatorio, eventos, caminho + destino.arquivo);
    }, [&] {
        if (!coluna)
            p.relatorio.Registrar(Ocorrencia::ColunaAdicionada, std::string(ColunaCodigoAntigo) + " em TB_MUSICAS");
    });
}

}  // namespace quorvel
