#include "music/cadastro_datasets.h"

#include <string>
#include <vector>

namespace quorvel {

namespace {

// Columns of TB_MUSICAS that the music dataset writes, in the order of its insert statement.
const std::vector<std::string> kColunasMusica = {
    "GEN_CODIGO", "GRA_CODIGO", "IDI_CODIGO", "MUS_ALBUM", "MUS_ANO", "MUS_ARQUIVO", "MUS_CODIGO", "MUS_COMPOSITOR",
    "MUS_FAIXA", "MUS_INTERPRETE", "MUS_NOME", "MUS_NOMECOMPLETO", "MUS_PERIODOFIM", "MUS_PERIODOINICIO",
    "MUS_SEGUNDOS", "MUS_SUCESSO", "MUS_TEMPO", "MUS_TIPO", "MUS_TIPOPERIODO", "PAS_CODIGO", "RIT_CODIGO",
    "SUB_CODIGO", "VOC_CODIGO"};

// The names separated by commas, each after the prefix.
std::string Juntar(const std::vector<std::string>& nomes, const char* prefixo) {
    std::string s;
    for (size_t i = 0; i < nomes.size(); ++i) {
        if (i) s += ", ";
        s += prefixo + nomes[i];
    }
    return s;
}

void Configurar(TIBQuery& q, TIBDatabase& base, TIBTransaction& transacao,
                std::initializer_list<const char*> select, const char* chave, const char* gerador,
                TIBUpdateSQL& atualizacao) {
    q.SetDatabase(&base);
    q.SetTransaction(&transacao);
    for (const char* linha : select) q.SQL.Add(linha);
    q.CachedUpdates = true;
    q.UpdateObject = &atualizacao;
    q.GeneratorField.Field = chave;
    q.GeneratorField.Generator = gerador;
    q.GeneratorField.IncrementBy = 1;
    q.GeneratorField.ApplyEvent = TGeneratorApplyEvent::gamOnPost;
}

// A lookup table: code and name.
void ConfigurarCadastro(TIBQuery& q, TIBUpdateSQL& u, TIBDatabase& base, TIBTransaction& transacao,
                        const char* selectLinha1, const char* selectLinha2, const std::string& tabela,
                        const std::string& prefixo, const char* gerador) {
    const std::string codigo = prefixo + "_CODIGO", nome = prefixo + "_NOME";
    Configurar(q, base, transacao, {selectLinha1, selectLinha2}, codigo.c_str(), gerador, u);
    u.InsertSQL.SetText("insert into " + tabela + " (" + codigo + ", " + nome + ") values (:" + codigo + ", :" +
                        nome + ")");
}

}  // namespace

DatasetsCadastro::DatasetsCadastro(TIBDatabase& base, TIBTransaction& transacao) : base_(base), transacao_(transacao) {
    Configurar(Q_Pastas, base, transacao, {"Select * from TB_Pastas", "Order by Pas_Path"}, "PAS_CODIGO",
               "GEN_PASTAS", Up_Pastas);
    Up_Pastas.InsertSQL.SetText(
        "insert into TB_Pastas (PAS_CODIGO, PAS_PATH, PAS_TAMANHO) values (:PAS_CODIGO, :PAS_PATH, :PAS_TAMANHO)");

    Configurar(Q_Musicas, base, transacao,
               {"Select mus.*, pas.pas_path", "From TB_Musicas Mus, TB_Pastas Pas",
                "Where Mus.Pas_Codigo = Pas.Pas_Codigo"},
               "MUS_CODIGO", "GEN_MUSICAS", Up_Musicas);
    Up_Musicas.InsertSQL.SetText("insert into TB_Musicas (" + Juntar(kColunasMusica, "") + ") values (" +
                                 Juntar(kColunasMusica, ":") + ")");
    // The full name always follows the stored (possibly cut) artist and title.
    Q_Musicas.BeforePost = [](TIBQuery& ds) {
        ds.FieldByName("MUS_NOMECOMPLETO")
            .SetAsString(ds.FieldByName("MUS_INTERPRETE").AsString() + " - " + ds.FieldByName("MUS_NOME").AsString());
    };

    ConfigurarCadastro(Q_SubGenero, Up_SubGenero, base, transacao, "Select * from TB_SubGenero", "Order by sub_nome",
                       "TB_SubGenero", "SUB", "GEN_SUBGENERO");
    ConfigurarCadastro(Q_Ritmo, Up_Ritmo, base, transacao, "Select * from TB_Ritmo", "order by rit_nome", "TB_Ritmo",
                       "RIT", "GEN_RITMO");
    ConfigurarCadastro(Q_Vocal, Up_Vocal, base, transacao, "Select * from TB_Vocal", "order by voc_nome", "TB_Vocal",
                       "VOC", "GEN_VOCAL");
    ConfigurarCadastro(Q_Gravadora, Up_Gravadora, base, transacao, "Select * from TB_Gravadora", "order by gra_nome",
                       "TB_Gravadora", "GRA", "GEN_GRAVADORA");
    ConfigurarCadastro(Q_Idioma, Up_Idioma, base, transacao, "Select * from TB_Idioma", "order by idi_nome",
                       "TB_Idioma", "IDI", "GEN_IDIOMA");

    // After a post the dataset writes its new row at once and commits it. The rhythm and vocal
    // datasets have no such handler: their rows are applied by whoever appends them.
    auto aplicarEConfirmar = [this](TIBQuery& ds) {
        ds.ApplyUpdates();
        transacao_.CommitRetaining();
    };
    for (TIBQuery* q : {&Q_Pastas, &Q_SubGenero, &Q_Gravadora, &Q_Idioma}) q->AfterPost = aplicarEConfirmar;
    // A music row is committed together with its 2009 code, which the play-log migration
    // translates through: a process ended between two commits cannot leave a registered music
    // whose plays would be lost.
    Q_Musicas.AfterPost = [this](TIBQuery& ds) {
        ds.ApplyUpdates();
        if (CodigoAntigoDoPost) {
            TIBQuery antigo;
            antigo.SetDatabase(&base_);
            antigo.SetTransaction(&transacao_);
            antigo.SQL.Add("UPDATE TB_MUSICAS SET MUS_CODIGO_ANTIGO = " + std::to_string(*CodigoAntigoDoPost));
            antigo.SQL.Add("WHERE MUS_CODIGO = " + std::to_string(ds.FieldByName("MUS_CODIGO").AsInteger()));
            antigo.ExecSQL();
        }
        transacao_.CommitRetaining();
    };
}

}  // namespace quorvel
