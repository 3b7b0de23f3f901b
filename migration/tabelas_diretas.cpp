#include "migration/tabelas_diretas.h"

namespace quorvel {

namespace {

DescricaoCopia Descricao(BaseDestino destino, std::string insercao, std::vector<Mapeamento> mapeamento,
                         std::string mensagemFalha, std::string colunas = "*", const char* identificacao = "") {
    DescricaoCopia d;
    d.colunaIdentificacao = identificacao;
    d.destino = destino;
    d.colunasOrigem = std::move(colunas);
    d.insercao = std::move(insercao);
    d.mapeamento = std::move(mapeamento);
    d.mensagemFalha = std::move(mensagemFalha);
    return d;
}

}  // namespace

const DescricaoCopia& DescricaoAgenda() {
    static const DescricaoCopia d = Descricao(
        BaseDestino::Adm,
        "INSERT INTO TB_AGENDA (   age_codigo, age_nome, age_telefone, age_fax, age_celular, age_endereco,   "
        "age_cidade, age_uf, age_cep, age_email, age_web, age_diaaniversario,   age_mesaniversario, age_msn, "
        "age_skype, age_obs, age_bairro) VALUES (   gen_id(GEN_AGENDA, 1), :pAge_nome, :pAge_telefone, :pAge_fax, "
        ":pAge_celular, :pAge_endereco,   :pAge_cidade, :pAge_uf, :pAge_cep, :pAge_email, :pAge_web, "
        ":pAge_diaaniversario,   :pAge_mesaniversario, :pAge_msn, :pAge_skype, :pAge_obs, :pAge_bairro)",
        {
            {"pAge_nome", "age_nome", Leitura::Texto},
            {"pAge_telefone", "age_telefone", Leitura::Texto},
            {"pAge_fax", "age_fax", Leitura::Texto},
            {"pAge_celular", "age_celular", Leitura::Texto},
            {"pAge_endereco", "age_endereco", Leitura::Texto},
            {"pAge_cidade", "age_cidade", Leitura::Texto},
            {"pAge_uf", "age_uf", Leitura::Texto},
            {"pAge_cep", "age_cep", Leitura::Texto},
            {"pAge_email", "age_email", Leitura::Texto},
            {"pAge_web", "age_web", Leitura::Texto},
            {"pAge_diaaniversario", "age_diaaniversario", Leitura::Inteiro},
            {"pAge_mesaniversario", "age_mesaniversario", Leitura::Inteiro},
            {"pAge_msn", "age_msn", Leitura::Texto},
            {"pAge_skype", "age_skype", Leitura::Texto},
            {"pAge_obs", "age_obs", Leitura::Blob},
            {"pAge_bairro", "age_bairro", Leitura::Texto},
        },
        "N\xE3o foi poss\xEDvel inserir a agenda c\xF3" "digo: ", "*", "age_nome");
    return d;
}

const DescricaoCopia& DescricaoAvancoManual() {
    static const DescricaoCopia d = Descricao(
        BaseDestino::Audio,
        "INSERT INTO TB_AVANCOMANUAL (   ava_codigo, ava_horainicio, ava_horafim, ava_domingo, ava_segunda,   "
        "ava_terca, ava_quarta, ava_quinta, ava_sexta, ava_sabado ) VALUES (   gen_id(GEN_AVANCOMANUAL, 1), "
        ":pAva_horainicio, :pAva_horafim, :pAva_domingo, :pAva_segunda,   :pAva_terca, :pAva_quarta, "
        ":pAva_quinta, :pAva_sexta, :pAva_sabado )",
        {
            {"pAva_horainicio", "ava_horainicio", Leitura::Texto},
            {"pAva_horafim", "ava_horafim", Leitura::Texto},
            {"pAva_domingo", "ava_domingo", Leitura::Texto},
            {"pAva_segunda", "ava_segunda", Leitura::Texto},
            {"pAva_terca", "ava_terca", Leitura::Texto},
            {"pAva_quarta", "ava_quarta", Leitura::Texto},
            {"pAva_quinta", "ava_quinta", Leitura::Texto},
            {"pAva_sexta", "ava_sexta", Leitura::Texto},
            {"pAva_sabado", "ava_sabado", Leitura::Texto},
        },
        "N\xE3o foi poss\xEDvel inserir o avan\xE7o manual c\xF3" "digo: ");
    return d;
}

const DescricaoCopia& DescricaoPerfilBotoes() {
    static const DescricaoCopia d = Descricao(
        BaseDestino::Audio,
        "INSERT INTO TB_PERFILBOTOES (   pbo_codigo, pbo_descricao, pbo_tamanho ) VALUES (   :pPbo_codigo, "
        ":pPbo_descricao, :pPbo_tamanho )",
        {
            {"pPbo_codigo", "pbo_codigo", Leitura::Inteiro},
            {"pPbo_descricao", "pbo_descricao", Leitura::Texto},
            {"pPbo_tamanho", "pbo_tamanho", Leitura::Inteiro},
        },
        "N\xE3o foi poss\xEDvel inserir o perfil de bot\xE3o c\xF3" "digo: ", "*", "pbo_descricao");
    return d;
}

const DescricaoCopia& DescricaoBotoneira() {
    static const DescricaoCopia d = Descricao(
        BaseDestino::Audio,
        "INSERT INTO TB_BOTONEIRA (   bt_codigo, bt_arquivo, bt_descricao, bt_loop, bt_atalho, vin_codigo,   "
        "pbo_codigo, bt_tipo, bt_arquivoicone, bt_indexicone ) VALUES (   gen_id(GEN_BOTONEIRA, 1), :pBt_arquivo, "
        ":pBt_descricao, :pBt_loop, :pBt_atalho, :pVin_codigo,   :pPbo_codigo, :pBt_tipo, :pBt_arquivoicone, "
        ":pBt_indexicone )",
        {
            {"pBt_arquivo", "bt_arquivo", Leitura::Texto},
            {"pBt_descricao", "bt_descricao", Leitura::Texto},
            {"pBt_loop", "bt_loop", Leitura::Texto},
            {"pBt_atalho", "bt_atalho", Leitura::Texto},
            {"pVin_codigo", "vin_codigo", Leitura::Inteiro},
            {"pPbo_codigo", "pbo_codigo", Leitura::Inteiro},
            {"pBt_tipo", "bt_tipo", Leitura::Texto},
            {"pBt_arquivoicone", "bt_arquivoicone", Leitura::Texto},
            {"pBt_indexicone", "bt_indexicone", Leitura::Inteiro},
        },
        "N\xE3o foi poss\xEDvel inserir o bot\xE3o c\xF3" "digo: ", "*", "bt_descricao");
    return d;
}

const DescricaoCopia& DescricaoGenero() {
    static const DescricaoCopia d = Descricao(
        BaseDestino::Audio,
        "INSERT INTO TB_GENERO (   gen_codigo, gen_nome ) VALUES (   :pGen_codigo, :pGen_nome )",
        {
            {"pGen_codigo", "gen_codigo", Leitura::Inteiro},
            {"pGen_nome", "gen_nome", Leitura::Texto},
        },
        "N\xE3o foi poss\xEDvel inserir o genero c\xF3" "digo: ", "*", "gen_nome");
    return d;
}

const DescricaoCopia& DescricaoIrradiacao() {
    static const DescricaoCopia d = Descricao(
        BaseDestino::Audio,
        "INSERT INTO TB_IRRADIACAO (   irr_codigo, irr_contrato, irr_cliente, irr_break, irr_nomedispositivo,   "
        "irr_tempo, irr_tipo, irr_data, irr_hora, irr_arquivo ) VALUES (   gen_id(GEN_IRRADIACAO, 1), "
        ":pIrr_contrato, :pIrr_cliente, :pIrr_break, :pIrr_nomedispositivo,   :pIrr_tempo, :pIrr_tipo, "
        ":pIrr_data, :pIrr_hora, :pIrr_arquivo )",
        {
            {"pIrr_contrato", "irr_contrato", Leitura::Texto},
            {"pIrr_cliente", "irr_cliente", Leitura::Texto},
            {"pIrr_break", "irr_break", Leitura::Texto},
            {"pIrr_nomedispositivo", "irr_nomedispositivo", Leitura::Texto},
            {"pIrr_tempo", "irr_tempo", Leitura::Texto},
            {"pIrr_tipo", "irr_tipo", Leitura::Texto},
            {"pIrr_data", "irr_data", Leitura::Data},
            {"pIrr_hora", "irr_hora", Leitura::Texto},
            {"pIrr_arquivo", "irr_arquivo", Leitura::Texto},
        },
        "N\xE3o foi poss\xEDvel inserir a irradia\xE7\xE3o c\xF3" "digo: ",
        "irr_codigo, irr_contrato, irr_cliente, irr_break, irr_nomedispositivo,        irr_tempo, irr_tipo, "
        "irr_data, irr_hora, (irr_nomedispositivo || '.mp3') as irr_arquivo");
    return d;
}

const DescricaoCopia& DescricaoProgAuto() {
    static const DescricaoCopia d = Descricao(
        BaseDestino::Audio,
        "INSERT INTO TB_PROGAUTO (   pra_codigo, pra_datainicial, pra_datafinal, pra_horainicial,   "
        "pra_horafinal, pra_operador, pra_playarea ) VALUES (   gen_id(GEN_PROGAUTO, 1), :pPra_datainicial, "
        ":pPra_datafinal, :pPra_horainicial,   :pPra_horafinal, :pPra_operador, :pPra_playarea )",
        {
            {"pPra_datainicial", "pra_datainicial", Leitura::Data},
            {"pPra_datafinal", "pra_datafinal", Leitura::Data},
            {"pPra_horainicial", "pra_horainicial", Leitura::Texto},
            {"pPra_horafinal", "pra_horafinal", Leitura::Texto},
            {"pPra_operador", "pra_operador", Leitura::Texto},
            {"pPra_playarea", "pra_playarea", Leitura::Texto},
        },
        "N\xE3o foi poss\xEDvel inserir a prog. auto c\xF3" "digo: ",
        "pra_codigo, pra_datainicial, pra_datafinal, pra_horainicial, pra_horafinal, pra_playarea, "
        "CASE pra_operador WHEN 'S' THEN 'N' WHEN 'C' THEN 'S' END pra_operador");
    return d;
}

}  // namespace quorvel
