#include "music/cadastro_musica.h"

#include <cmath>
#include <limits>

#include "music/consultas_auxiliares.h"
#include "migration/duracao.h"
#include "music/gravar_tag.h"
#include "music/info_audio.h"
#include "music/pastas.h"
#include "music/relatorio_cadastro.h"
#include "migration/relatorio_texto.h"
#include "platform/caminhos.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

const char* const kMensagemRede =
    "N\xE3o \xE9 poss\xEDvel adicionar m\xFAsicas usando a rede diretamente do computador do AR, pois s\xF3 "
    "\xE9 permitido acesso local. Por favor, efetue o cadastro do terminal onde as m\xFAsicas est\xE3o";

// Runs a step whose failure only leaves its column empty.
template <class F>
void Ignorando(F&& passo) {
    try {
        passo();
    } catch (...) {
    }
}

struct Consulta {
    int slot;  // the tag frame that names the row
    const char* tabela;
    const char* campoCodigo;
    const char* campoNome;
    TIBQuery DatasetsCadastro::*dataset;
    const char* campoMusica;
};

const Consulta kConsultas[] = {
    {TID3v2::SlotTEST, "TB_SubGenero", "Sub_Codigo", "Sub_Nome", &DatasetsCadastro::Q_SubGenero, "SUB_CODIGO"},
    {TID3v2::SlotTRIT, "TB_Ritmo", "Rit_Codigo", "Rit_Nome", &DatasetsCadastro::Q_Ritmo, "RIT_CODIGO"},
    {TID3v2::SlotTVOC, "TB_Vocal", "Voc_Codigo", "Voc_Nome", &DatasetsCadastro::Q_Vocal, "VOC_CODIGO"},
    {TID3v2::SlotTGRA, "TB_Gravadora", "Gra_Codigo", "Gra_Nome", &DatasetsCadastro::Q_Gravadora, "GRA_CODIGO"},
    {TID3v2::SlotLanguage, "TB_Idioma", "Idi_Codigo", "Idi_Nome", &DatasetsCadastro::Q_Idioma, "IDI_CODIGO"},
};

// Finds or creates the lookup row the file's tag names and sets the music's code field to it.
void ResolverConsulta(DatasetsCadastro& cad, const Consulta& c, const ArquivoAudio& audio, EventosCadastro* eventos) {
    const std::string texto = audio.TagID3v2().Texto(c.slot);
    if (texto.empty()) return;
    const std::string nome = NomeDeCadastro(texto);
    if (nome.empty()) return;
    TField& campo = cad.Q_Musicas.FieldByName(c.campoMusica);
    if (BuscarCodigo(cad, c.tabela, c.campoCodigo, c.campoNome, nome)) {
        campo.SetAsInteger(cad.CodigoEncontrado);
        return;
    }
    TIBQuery& dataset = cad.*c.dataset;
    IncluirCadastro(cad, dataset, c.campoNome, nome);
    const int32_t novo = dataset.FieldByName(dataset.GeneratorField.Field).AsInteger();
    if (eventos)
        eventos->cadastrosCriados.push_back(std::string(c.tabela) + ": " + nome + " (c\xF3" "digo " +
                                            std::to_string(novo) + ")");
    campo.SetAsInteger(novo);
}

}  // namespace

// A text as a string literal between double quotes.
std::string LiteralNomeCompleto(const std::string& radical) {
    std::string literal = "\"";
    for (char c : radical) {
        if (c == '"') literal += '"';  // a quote inside the literal is written twice
        literal += c;
    }
    return literal + "\"";
}

std::string RadicalDoArquivo(const std::string& arquivo) {
    return arquivo.size() > 4 ? arquivo.substr(0, arquivo.size() - 4) : std::string();
}

std::vector<NomeCadastro> NomesDeCadastro(const ArquivoAudio& audio) {
    std::vector<NomeCadastro> nomes;
    for (const Consulta& c : kConsultas) {
        try {
            const std::string texto = audio.TagID3v2().Texto(c.slot);
            const std::string nome = texto.empty() ? std::string() : NomeDeCadastro(texto);
            if (!nome.empty()) nomes.push_back({c.tabela, c.campoCodigo, c.campoNome, texto, nome});
        } catch (const std::exception&) {
        }
    }
    return nomes;
}

int32_t ArredondarSegundos(double segundos) {
    const double r = std::nearbyint(segundos);
    if (!std::isfinite(r) || r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        throw Erro("Invalid floating point operation");
    return static_cast<int32_t>(r);
}

std::string NomeDeCadastro(const std::string& texto) {
    std::string nome = Aparar(MaiusculasLocal(texto));
    if (nome.size() > static_cast<size_t>(LarguraNomeCadastro)) nome = ApararFim(nome.substr(0, LarguraNomeCadastro));
    return nome;
}

void GravarMusica(DatasetsCadastro& cad, const PlanoMusica& plano, EventosCadastro* eventos, bool sincronizarTag) {
    const LinhaMusica& linha = plano.linha;

    // The audio information, and the rewritten tag, before the record is inserted. The tag the
    // record's album, year, track and lookups come from is the one the file had before.
    ArquivoAudio audio(plano.completo);
    EventosCadastro semEventos;
    EventosCadastro& ev = eventos ? *eventos : semEventos;
    try {
        audio.LerInfoAudio();
        if (plano.reescreveTag) ev.tag = GravarTag(audio, ValoresTagMusica(plano), sincronizarTag);
    } catch (const std::exception& e) {
        ev.tag = {ResultadoTag::Modo::NaoGravada, e.what()};
    } catch (...) {
        ev.tag = {ResultadoTag::Modo::NaoGravada, "erro desconhecido"};
    }

    // The music dataset selects every music of the database, and appending fetches all of them
    // first. It is opened once and kept open while every registration succeeds, so that each new
    // record costs one row, not the whole library. A row left behind by a registration that
    // failed is discarded by closing it.
    TIBQuery& musicas = cad.Q_Musicas;
    if (musicas.Active() && (musicas.State() != EstadoDataset::Navegando || musicas.UpdatesPending())) musicas.Close();
    musicas.Open();
    musicas.Append();
    musicas.FieldByName("MUS_NOME").SetAsString(linha.titulo);
    musicas.FieldByName("MUS_INTERPRETE").SetAsString(linha.interprete);
    musicas.FieldByName("MUS_COMPOSITOR").SetAsString(linha.compositor);
    musicas.FieldByName("MUS_TIPO").SetAsString("M");

    Ignorando([&] { musicas.FieldByName("MUS_ALBUM").SetAsString(audio.TagID3v2().Texto(TID3v2::SlotAlbum)); });
    Ignorando([&] { musicas.FieldByName("MUS_ANO").SetAsString(audio.TagID3v2().Texto(TID3v2::SlotYear)); });
    Ignorando([&] { musicas.FieldByName("MUS_FAIXA").SetAsString(std::to_string(audio.TagID3v2().Track())); });
    musicas.FieldByName("MUS_SUCESSO").SetAsString(PlanoMusica::Sucesso);
    Ignorando([&] { musicas.FieldByName("MUS_SEGUNDOS").SetAsInteger(ArredondarSegundos(audio.Duracao())); });
    musicas.FieldByName("MUS_NOMECOMPLETO").SetAsString(linha.Identificacao());
    musicas.FieldByName("GEN_CODIGO").SetAsInteger(linha.genero);

    for (const Consulta& c : kConsultas) Ignorando([&] { ResolverConsulta(cad, c, audio, eventos); });

    musicas.FieldByName("PAS_CODIGO").SetAsInteger(CodigoPasta(cad, plano.caminho));
    musicas.FieldByName("MUS_ARQUIVO").SetAsString(plano.destino.arquivo);
    musicas.FieldByName("MUS_TEMPO").SetAsString(SegundosParaTempo(ArredondarSegundos(audio.Duracao())));

    // The post takes the key from GEN_MUSICAS, rebuilds the full name, writes the row and its
    // 2009 code and commits them. The registration's own commit that follows has nothing left
    // to commit.
    struct CodigoDoPost {
        DatasetsCadastro& cad;
        ~CodigoDoPost() { cad.CodigoAntigoDoPost.reset(); }
    } codigoDoPost{cad};
    cad.CodigoAntigoDoPost = linha.codigo;
    musicas.Post();
    cad.CodigoAntigoDoPost.reset();

    // The row is committed: the duplicate test of the next musics finds it by its stored
    // (possibly cut) name.
    const TField& nomeCompleto = musicas.FieldByName("MUS_NOMECOMPLETO");
    if (cad.NomesMusicas.Carregado() && !nomeCompleto.IsNull())
        cad.NomesMusicas.Acrescentar(musicas.FieldByName("MUS_CODIGO").AsInteger(), nomeCompleto.AsString());
    cad.Transacao().CommitRetaining();
}

bool MusicaDuplicada(DatasetsCadastro& cad, const std::string& arquivo) {
    const std::string radical = RadicalDoArquivo(arquivo);
    if (cad.NomesMusicas.Carregado()) return cad.NomesMusicas.Contem(radical, 0);
    return RegistroDuplicado(cad, "TB_Musicas", "Mus_Codigo", "Mus_NomeCompleto", LiteralNomeCompleto(radical), 0);
}

void CadastrarMusica(AmbienteMigracao& ambiente, DatasetsCadastro& cad, const PlanoMusica& plano,
                     const PastasDestino* copias) {
    RelatorioExecucao& relatorio = ambiente.Relatorio();
    EventosCadastro eventos;
    bool gravando = false;
    std::string falha;
    try {
        if (plano.pastaDeRede) {
            ambiente.Mensagem(kMensagemRede, TipoMensagem::Informacao);
            relatorio.DeixarLinha(MotivoPastaDeRede(plano.caminho));
            return;
        }
        if (CadastrarPasta(cad, plano.caminho))
            relatorio.Registrar(Ocorrencia::PastaCriada, MaiusculasLocal(plano.caminho));
        if (MusicaDuplicada(cad, plano.destino.arquivo)) {
            relatorio.DeixarLinha(DescreverDuplicata(cad, plano.destino.arquivo));
            return;
        }
        gravando = true;
        GravarMusica(cad, plano, &eventos, !(copias && copias->CopiaPendente(plano.completo)));
        RelatarEventosCadastro(relatorio, eventos, plano.completo);
        return;
    } catch (const std::exception& e) {
        falha = e.what();
    } catch (...) {
        falha = "erro desconhecido";
    }
    try {
        cad.Transacao().RollbackRetaining();
    } catch (...) {
    }
    if (gravando) RelatarEventosCadastro(relatorio, eventos, plano.completo);
    relatorio.FalharLinha("o cadastro falhou: " + falha);
}

}  // namespace quorvel
