// A statement as a cached-update dataset: rows appended to its buffer, their fields written, the
// key taken from a generator when a row is posted, and the pending rows written to the database
// through the insert statement of its update object.
#include "db/ib_query.h"

#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

void TIBQuery::ExigirInsercao() const {
    if (estado_ != EstadoDataset::Inserindo) throw Erro("Dataset not in edit or insert mode");
}

void TIBQuery::GravarCampo(int indice, Valor v) {
    ExigirInsercao();
    anexadas_[static_cast<size_t>(atual_) - buscadas_.Quantidade()].valores[static_cast<size_t>(indice)] = std::move(v);
}

void TIBQuery::Append() {
    ExigirAberto();
    if (!CachedUpdates) throw Erro("Cannot modify a read-only dataset");
    if (estado_ != EstadoDataset::Navegando) Post();
    // The new row goes after every row of the result, so the rest is fetched first.
    while (BuscarLinha()) {
    }
    LinhaAnexada l;
    l.valores.resize(campos_.size());
    anexadas_.push_back(std::move(l));
    atual_ = TotalLinhas() - 1;
    eof_ = false;
    estado_ = EstadoDataset::Inserindo;
    if (GeneratorField.ApplyEvent == TGeneratorApplyEvent::gamOnNewRecord) GerarChave();
}

void TIBQuery::GerarChave() {
    if (GeneratorField.Field.empty() || GeneratorField.Generator.empty()) return;
    TField& chave = FieldByName(GeneratorField.Field);
    if (!chave.IsNull()) return;
    if (!consultaGerador_) {
        consultaGerador_ = std::make_unique<TIBQuery>();
        consultaGerador_->SetDatabase(banco_);
        consultaGerador_->SetTransaction(transacao_);
    }
    TIBQuery& g = *consultaGerador_;
    g.Close();
    g.SQL.SetText(Formatar("SELECT GEN_ID(%s, %d) FROM RDB$DATABASE", GeneratorField.Generator.c_str(),
                           GeneratorField.IncrementBy));
    g.Open();
    const Valor v = g.Fields(0).ValorAtual();
    g.Close();
    chave.SetAsLargeInt(ValorComoInteiro64(v));
}

void TIBQuery::Post() {
    if (estado_ != EstadoDataset::Inserindo) return;
    // (a) a new row without a key takes the next value of its generator.
    if (GeneratorField.ApplyEvent == TGeneratorApplyEvent::gamOnPost) GerarChave();
    // (b)
    if (BeforePost) BeforePost(*this);
    // (c)
    for (auto& c : campos_)
        if (c->Required && c->IsNull()) throw Erro("Field '" + c->FieldName() + "' must have a value");
    // (d)
    anexadas_[static_cast<size_t>(atual_) - buscadas_.Quantidade()].pendente = true;
    estado_ = EstadoDataset::Navegando;
    // (e)
    if (AfterPost) AfterPost(*this);
}

bool TIBQuery::UpdatesPending() const {
    if (estado_ == EstadoDataset::Inserindo) return true;
    for (const LinhaAnexada& l : anexadas_)
        if (l.pendente) return true;
    return false;
}

void TIBQuery::ApplyUpdates() {
    ExigirAberto();
    if (estado_ != EstadoDataset::Navegando) Post();
    if (!UpdatesPending()) return;
    if (!UpdateObject) throw Erro("The dataset has no update object");
    for (LinhaAnexada& l : anexadas_) {
        if (!l.pendente) continue;
        UpdateObject->Inserir(*this, l.valores);
        l.pendente = false;
    }
    eof_ = TotalLinhas() == 0;
}

// ---- TIBUpdateSQL ----

TIBUpdateSQL::TIBUpdateSQL() = default;
TIBUpdateSQL::~TIBUpdateSQL() = default;

void TIBUpdateSQL::Inserir(TIBQuery& dataset, const std::vector<Valor>& valores) {
    if (Aparar(InsertSQL.Text()).empty()) throw Erro("The update object has no statement for this change");
    if (!insercao_) insercao_ = std::make_unique<TIBQuery>();
    TIBQuery& q = *insercao_;
    q.SetDatabase(dataset.Database());
    q.SetTransaction(dataset.Transaction());
    q.Close();
    q.SQL.SetText(InsertSQL.Text());
    for (int i = 0; i < q.ParamCount(); ++i) {
        TParam& p = q.Params(i);
        TField* campo = dataset.FindField(p.Name());
        if (!campo) throw Erro("Field '" + p.Name() + "' not found");
        const size_t k = static_cast<size_t>(campo->Index());
        const Valor& v = k < valores.size() ? valores[k] : Valor{};
        switch (v.index()) {
            case 0: p.Clear(); break;
            case 1:
                if (campo->Scale() != 0) p.SetAsFloat(ValorComoDecimal(v, campo->Scale()));
                else if (campo->DataType() == TipoCampo::Inteiro)
                    p.SetAsInteger(static_cast<int32_t>(std::get<int64_t>(v)));
                else p.SetAsLargeInt(std::get<int64_t>(v));
                break;
            case 2: p.SetAsFloat(std::get<double>(v)); break;
            case 3: p.SetAsDateTime(std::get<DataHora>(v)); break;
            default:
                if (campo->DataType() == TipoCampo::Blob) p.SetAsBlob(std::get<std::string>(v));
                else p.SetAsString(std::get<std::string>(v));
                break;
        }
    }
    q.ExecSQL();
}

}  // namespace quorvel
