// Runs through the window against a test installation: the buttons, the worker's message boxes,
// the progress display, stop and commit, continue, errors at the start, and closing the window
// while the worker still runs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <string>
#include <memory>

#include "apoio/instalacao_teste.h"
#include "apoio_janela.h"
#include "app/janela/dlg_abrir_pasta.h"
#include "app/janela/quorvel2009_2010.h"
#include "platform/arquivos.h"

using namespace quorvel;
using namespace quorvel::teste;

namespace {

const QString kSucesso = QString::fromUtf8("Atualização realizada com sucesso.");
const QString kInterrompida = QString::fromUtf8("Atualização foi interrompida.");
const QString kPergunta =
    QString::fromUtf8("Já existe um processo iniciado. Deseja recomeçar todo o processo de atualização?");
const QString kAtualInicial = "Tabela: \nTotal de registros: 0\nRegistro atual: 0";
const QString kGeralInicial = "Progresso Geral\nTotal de registros: 0\nRegistro atual: 0";

std::string Contatos(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (" + std::to_string(i) + ", 'Contato " +
             std::to_string(i) + "');\n";
    return s;
}

// Many contacts at once (codes 1..n), for runs that go on long enough to be interrupted.
std::string ContatosEmBloco(int n) {
    return "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n  WHILE (i <= " + std::to_string(n) +
           ") DO BEGIN\n    INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (: i, 'Contato ' || : i);\n"
           "    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n";
}

class JanelaExecucao : public ::testing::Test {
protected:
    void SetUp() override {
        registro = std::make_unique<RegistroTeste>(inst.unidades.Raiz(),
                                                   InstalarServidor(inst.unidades, "Firebird Server", "2.1.3.18185"));
        janela = std::make_unique<TfrmQuorvel2009_2010>(inst.PastaPrograma());
        janela->edEndereco2009->setText(QString::fromStdString(inst.Pasta2009()));
        janela->edEndereco2010->setText(QString::fromStdString(inst.Pasta2010()));
    }
    void TearDown() override { janela.reset(); }

    // Only these tables checked, through the buttons and boxes as an operator would.
    void Marcar(std::initializer_list<int> indices) {
        janela->BDesmarcarTodos->click();
        for (int i : indices) janela->CheckTB[i]->click();
    }
    // Waits for the worker's end and its closing box.
    bool EsperarFim() {
        return Esperar([&] {
            return !janela->Nucleo().TrabalhadorAtivo() && Respondedor::CaixasAbertas().empty();
        });
    }
    std::string Seq() const { return LerHost(inst.ArquivoSeqHost()); }
    int Copiados() const { return std::stoi(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0]); }

    // Starts a run of many contacts as an operator would and, once rows stream by, waits until the
    // window has shown some row k and does `acao` between two refreshes, as a click would come.
    // Returns k.
    int AgirDuranteAExecucao(const std::function<void()>& acao) {
        inst.bases.Executar2009(ContatosEmBloco(3000));
        Marcar({0});
        QObject::connect(janela.get(), &TfrmQuorvel2009_2010::progressoMostrado, [this](int, int geral) {
            mostrado = geral;
            // (the reset at the end shows row 0)
            if (geral > 0 && ArquivoExiste(inst.ArquivoSeqHost())) seqVisto = Seq();
        });
        janela->show();
        QTest::mouseClick(janela->BAtualizar, Qt::LeftButton);
        EXPECT_TRUE(Esperar([&] { return mostrado >= 40; }));
        const int k = mostrado;
        acao();
        return k;
    }

    InstalacaoTeste inst;
    Respondedor respondedor;
    int mostrado = 0;  // the overall row of the latest refresh shown
    std::string seqVisto;  // the checkpoint file as the latest refresh of a row found it
    std::unique_ptr<RegistroTeste> registro;
    std::unique_ptr<TfrmQuorvel2009_2010> janela;
};

TEST_F(JanelaExecucao, ExecucaoCompletaPelaJanela) {
    inst.bases.Executar2009(Contatos(5) +
                            "INSERT INTO TB_GENERO VALUES (2, 'Sertanejo');\n"
                            "INSERT INTO TB_GENERO VALUES (30, 'M\xFAsica cl\xE1ssica');\n");
    Marcar({0, 4});
    // What the window shows during the run, seen at each refresh.
    std::vector<QString> atuais, gerais;
    bool rodando = false;
    QObject::connect(janela.get(), &TfrmQuorvel2009_2010::progressoMostrado, [&](int, int geral) {
        atuais.push_back(janela->LabelInformacaoAtual->text());
        gerais.push_back(janela->LabelInformacaoGeral->text());
        if (geral == 1)
            rodando = !janela->BAtualizar->isEnabled() && !janela->CheckTB[0]->isEnabled() &&
                      janela->BPararProcesso->isEnabled() && janela->BCommit->isEnabled() &&
                      !janela->BContinuarProcesso->isEnabled() && janela->cursor().shape() == Qt::WaitCursor;
    });
    janela->BAtualizar->click();
    ASSERT_TRUE(EsperarFim());

    ASSERT_EQ(respondedor.Caixas().size(), 1u);
    const CaixaVista& fim = respondedor.Caixas()[0];
    EXPECT_EQ(fim.texto, kSucesso);
    EXPECT_EQ(fim.titulo, "Quorvel 2009-2010");
    EXPECT_EQ(fim.icone, QMessageBox::Information);
    EXPECT_TRUE(fim.semDono);
    EXPECT_FALSE(fim.modal);  // the window keeps working while the worker's box is open

    EXPECT_TRUE(rodando);
    EXPECT_NE(std::find(atuais.begin(), atuais.end(), "Tabela: TB_AGENDA\nTotal de registros: 5\nRegistro atual: 3"),
              atuais.end());
    EXPECT_NE(std::find(atuais.begin(), atuais.end(), "Tabela: TB_GENERO\nTotal de registros: 2\nRegistro atual: 2"),
              atuais.end());
    EXPECT_NE(std::find(gerais.begin(), gerais.end(), "Progresso Geral\nTotal de registros: 7\nRegistro atual: 7"),
              gerais.end());

    // Idle again, the progress reset.
    EXPECT_EQ(janela->LabelInformacaoAtual->text(), kAtualInicial);
    EXPECT_EQ(janela->LabelInformacaoGeral->text(), kGeralInicial);
    EXPECT_EQ(janela->ProgressoGeral->value(), 0);
    EXPECT_TRUE(janela->BAtualizar->isEnabled());
    EXPECT_FALSE(janela->BPararProcesso->isEnabled());
    EXPECT_FALSE(janela->BContinuarProcesso->isEnabled());  // no checkpoint was written
    EXPECT_EQ(janela->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(std::filesystem::exists(inst.ArquivoSeqHost()));

    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "5");
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT GEN_NOME FROM TB_GENERO ORDER BY GEN_CODIGO")[1][0],
              "M\xFAsica cl\xE1ssica");
}

TEST_F(JanelaExecucao, PararDeixaAJanelaParada) {
    inst.bases.Executar2009(Contatos(40));
    Marcar({0});
    QObject::connect(janela.get(), &TfrmQuorvel2009_2010::progressoMostrado, [&](int, int geral) {
        if (geral == 3) janela->BPararProcesso->click();
    });
    janela->BAtualizar->click();
    ASSERT_TRUE(EsperarFim());
    ASSERT_EQ(respondedor.Caixas().size(), 1u);
    EXPECT_EQ(respondedor.Caixas()[0].texto, kInterrompida);
    EXPECT_EQ(respondedor.Caixas()[0].icone, QMessageBox::Warning);
    // Stopped: everything disabled, the busy cursor stays.
    EXPECT_FALSE(janela->BPararProcesso->isEnabled());
    EXPECT_FALSE(janela->BCommit->isEnabled());
    EXPECT_FALSE(janela->BAtualizar->isEnabled());
    EXPECT_FALSE(janela->BContinuarProcesso->isEnabled());
    EXPECT_FALSE(janela->edEndereco2009->isEnabled());
    EXPECT_EQ(janela->cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(janela->LabelInformacaoAtual->text(), kAtualInicial);
    EXPECT_NE(Seq().find("sTabela=TB_AGENDA"), std::string::npos);
    EXPECT_NE(Seq().find("sCodigo=4"), std::string::npos);
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "3");
}

TEST_F(JanelaExecucao, PerdasNoRelatorioGanhamUmaCaixaDepoisDasMensagensDoFim) {
    inst.bases.Executar2009(Contatos(3));
    inst.bases.ExecutarAdm(
        "CREATE EXCEPTION E_RECUSADO 'recusado';\n"
        "SET TERM ^ ;\n"
        "CREATE TRIGGER TB_AGENDA_RECUSA FOR TB_AGENDA BEFORE INSERT AS BEGIN "
        "IF (NEW.AGE_NOME = 'Contato 2') THEN EXCEPTION E_RECUSADO; END^\n"
        "SET TERM ; ^\n");
    Marcar({0});
    janela->BAtualizar->click();
    ASSERT_TRUE(EsperarFim());
    // The Parts' messages first, unchanged; then the report's notice.
    ASSERT_EQ(respondedor.Caixas().size(), 3u);
    EXPECT_EQ(respondedor.Caixas()[1].texto, kInterrompida);
    const CaixaVista& aviso = respondedor.Caixas()[2];
    EXPECT_EQ(aviso.titulo, "Quorvel 2009-2010");
    EXPECT_EQ(aviso.icone, QMessageBox::Information);
    EXPECT_TRUE(aviso.texto.contains(QString::fromUtf8("0 registro(s) deixado(s) de fora, 1 registro(s) com falha"
                                                       " e 0 arquivo(s)")))
        << aviso.texto.toStdString();
    const std::string caminho = janela->Nucleo().UltimoRelatorio().caminho;
    EXPECT_TRUE(aviso.texto.contains(QString::fromStdString(caminho))) << aviso.texto.toStdString();
    EXPECT_TRUE(ArquivoExiste(caminho));
}

// The commit's checkpoint is written while the run goes on; the run that then finishes leaves
// nothing to resume, and "Continuar processo" afterwards asks nothing and copies the table anew.
TEST_F(JanelaExecucao, CommitGravaSequenciaEContinua) {
    inst.bases.Executar2009(Contatos(6));
    Marcar({0});
    QObject::connect(janela.get(), &TfrmQuorvel2009_2010::progressoMostrado, [&](int, int geral) {
        if (geral == 2) janela->BCommit->click();
        if (geral > 0 && ArquivoExiste(inst.ArquivoSeqHost())) seqVisto = Seq();
    });
    janela->BAtualizar->click();
    ASSERT_TRUE(EsperarFim());
    EXPECT_EQ(respondedor.Textos(), std::vector<QString>{kSucesso});
    EXPECT_NE(seqVisto.find("sTabela=TB_AGENDA\r\nsCodigo=3\r\n"), std::string::npos) << seqVisto;
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=\r\nsCodigo=\r\n");
    // Idle with a checkpoint file: continue is offered, and resumes nothing.
    EXPECT_TRUE(janela->BContinuarProcesso->isEnabled());
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "6");
    janela->BContinuarProcesso->click();
    ASSERT_TRUE(EsperarFim());
    EXPECT_EQ(respondedor.Textos(), (std::vector<QString>{kSucesso, kSucesso}));
    // (the contacts take new keys from the generator at every copy)
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*), MIN(AGE_NOME), MAX(AGE_NOME) FROM TB_AGENDA"),
              (Linhas{{"6", "Contato 1", "Contato 6"}}));
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=\r\nsCodigo=\r\n");
}

TEST_F(JanelaExecucao, ContinuarAjustaCaixasEPergunta) {
    inst.GravarSeq("[SEQ]\r\nsTabela=tb_ecad\r\nsCodigo=5\r\n");
    janela->HabilitarControles(true);
    Marcar({0, 1, 9});
    janela->CheckTB[8]->click();
    respondedor.resposta = QMessageBox::No;
    janela->BContinuarProcesso->click();
    ASSERT_EQ(respondedor.Caixas().size(), 1u);
    const CaixaVista& pergunta = respondedor.Caixas()[0];
    EXPECT_EQ(pergunta.texto, kPergunta);
    EXPECT_EQ(pergunta.titulo, "Brivona Rovozozi");
    EXPECT_EQ(pergunta.icone, QMessageBox::Question);
    EXPECT_EQ(pergunta.botoes, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(pergunta.padrao, QMessageBox::No);
    EXPECT_TRUE(pergunta.modal);
    const bool esperadas[] = {false, false, false, false, false, false, true, false, true, true};
    for (int i = 0; i < QuantidadeTabelas; ++i) EXPECT_EQ(janela->CheckTB[i]->isChecked(), esperadas[i]) << i;
    // "No": nothing started, the window idle.
    EXPECT_FALSE(janela->Nucleo().TrabalhadorAtivo());
    EXPECT_TRUE(janela->BAtualizar->isEnabled());
    EXPECT_FALSE(janela->BPararProcesso->isEnabled());
}

TEST_F(JanelaExecucao, ErroNaPartidaRelatadoJanelaOciosa) {
    // A checkpoint code that is no number makes the record count of its table fail.
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_AGENDA\r\nsCodigo=abc\r\n");
    Marcar({0});
    respondedor.resposta = QMessageBox::Yes;
    janela->BAtualizar->click();
    ASSERT_EQ(respondedor.Caixas().size(), 2u);
    EXPECT_EQ(respondedor.Caixas()[0].texto, kPergunta);
    const CaixaVista& erro = respondedor.Caixas()[1];
    EXPECT_EQ(erro.icone, QMessageBox::Critical);
    EXPECT_EQ(erro.titulo, "Quorvel 2009-2010");
    EXPECT_TRUE(erro.texto.contains("abc")) << erro.texto.toStdString();
    EXPECT_TRUE(erro.modal);
    EXPECT_FALSE(janela->Nucleo().TrabalhadorAtivo());
    EXPECT_TRUE(janela->BAtualizar->isEnabled());
    EXPECT_FALSE(janela->BCommit->isEnabled());
}

TEST_F(JanelaExecucao, PastasVaziasRecusamAPartida) {
    janela->BLimpar2009->click();
    janela->BAtualizar->click();
    ASSERT_EQ(respondedor.Caixas().size(), 1u);
    EXPECT_EQ(respondedor.Caixas()[0].icone, QMessageBox::Information);
    EXPECT_FALSE(janela->Nucleo().TrabalhadorAtivo());
    EXPECT_TRUE(janela->BAtualizar->isEnabled());
}

TEST_F(JanelaExecucao, FecharDuranteAExecucaoParaOTrabalhadorComSeguranca) {
    inst.bases.Executar2009(Contatos(200));
    Marcar({0});
    bool fechada = false;
    QObject::connect(janela.get(), &TfrmQuorvel2009_2010::progressoMostrado, [&](int, int geral) {
        if (geral == 2) fechada = janela->close();
    });
    janela->show();
    janela->BAtualizar->click();
    ASSERT_TRUE(Esperar([&] { return fechada; }));
    EXPECT_FALSE(janela->isVisible());
    janela.reset();  // waits for the worker, which must not reach the window any more
    EXPECT_TRUE(Respondedor::CaixasAbertas().empty());
    // The stop was honoured after the row in progress, with a checkpoint to continue from.
    EXPECT_NE(Seq().find("sTabela=TB_AGENDA"), std::string::npos);
    EXPECT_NE(Seq().find("sCodigo=3"), std::string::npos) << Seq();
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA")[0][0], "2");
}

TEST_F(JanelaExecucao, FecharComACaixaDoTrabalhadorAberta) {
    Marcar({});
    respondedor.pausado = true;
    janela->show();
    janela->BAtualizar->click();
    ASSERT_TRUE(Esperar([&] { return !Respondedor::CaixasAbertas().empty(); }));
    QMessageBox* caixa = Respondedor::CaixasAbertas().front();
    EXPECT_EQ(caixa->text(), kSucesso);
    EXPECT_EQ(caixa->parentWidget(), nullptr);
    // The window still answers the operator while the box is open.
    janela->BDesmarcarTodos->click();
    janela->BMarcarTodos->click();
    EXPECT_TRUE(janela->CheckTB[5]->isChecked());
    janela->close();
    EXPECT_TRUE(Respondedor::CaixasAbertas().empty());
    janela.reset();
}

// However fast the rows go by, "Parar processo", "Commit" and closing the window act after the
// row in progress: the window shows row k when the button is clicked, the worker is copying row
// k + 1 and honours the request right after it.
TEST_F(JanelaExecucao, PararValeNaLinhaSeguinte) {
    const int k = AgirDuranteAExecucao([&] { QTest::mouseClick(janela->BPararProcesso, Qt::LeftButton); });
    ASSERT_TRUE(EsperarFim());
    EXPECT_EQ(respondedor.Textos(), std::vector<QString>{kInterrompida});
    const int copiados = Copiados();
    EXPECT_GE(copiados, k);
    EXPECT_LE(copiados, k + 1);
    EXPECT_NE(Seq().find("sCodigo=" + std::to_string(copiados + 1)), std::string::npos) << Seq();
}

TEST_F(JanelaExecucao, CommitValeNaLinhaSeguinte) {
    const int k = AgirDuranteAExecucao([&] { QTest::mouseClick(janela->BCommit, Qt::LeftButton); });
    ASSERT_TRUE(EsperarFim());
    EXPECT_EQ(respondedor.Textos(), std::vector<QString>{kSucesso});
    const bool depoisDeK = seqVisto.find("sCodigo=" + std::to_string(k + 1) + "\r") != std::string::npos;
    const bool depoisDaSeguinte = seqVisto.find("sCodigo=" + std::to_string(k + 2) + "\r") != std::string::npos;
    EXPECT_TRUE(depoisDeK || depoisDaSeguinte) << "shown row " << k << ", checkpoint: " << seqVisto;
    EXPECT_EQ(Copiados(), 3000);
    EXPECT_EQ(Seq(), "[SEQ]\r\nsTabela=\r\nsCodigo=\r\n");
}

TEST_F(JanelaExecucao, FecharValeNaLinhaSeguinte) {
    const int k = AgirDuranteAExecucao([&] { janela->close(); });
    janela.reset();  // waits for the worker
    const int copiados = Copiados();
    EXPECT_GE(copiados, k);
    EXPECT_LE(copiados, k + 1);
    EXPECT_NE(Seq().find("sCodigo=" + std::to_string(copiados + 1)), std::string::npos) << Seq();
}

// A picture of the window after a run, for a person to look at: QUORVEL_CAPTURA names the file.
TEST_F(JanelaExecucao, Captura) {
    const QByteArray destino = qgetenv("QUORVEL_CAPTURA");
    if (destino.isEmpty()) GTEST_SKIP() << "QUORVEL_CAPTURA not set";
    inst.bases.Executar2009(Contatos(8));
    Marcar({0, 2, 4, 7});
    QObject::connect(janela.get(), &TfrmQuorvel2009_2010::progressoMostrado, [&](int, int geral) {
        if (geral == 5) janela->BPararProcesso->click();
    });
    janela->show();
    Esperar([] { return false; }, 200);
    EXPECT_TRUE(janela->grab().save(QString::fromUtf8(destino).replace(".png", "-ocioso.png")));
    respondedor.aoNavegador = [&](DlgAbrirPasta& dlg) {
        Esperar([] { return false; }, 200);
        EXPECT_TRUE(dlg.grab().save(QString::fromUtf8(destino).replace(".png", "-pasta.png")));
        dlg.reject();
    };
    janela->BPasta2010->click();
    respondedor.pausado = true;
    janela->BAtualizar->click();
    ASSERT_TRUE(Esperar([&] { return !Respondedor::CaixasAbertas().empty(); }));
    janela->MostrarProgresso(QuadroProgresso{"TB_AGENDA", 5, 8, 5, 8});
    Esperar([] { return false; }, 200);
    EXPECT_TRUE(janela->grab().save(QString::fromUtf8(destino)));
    EXPECT_TRUE(Respondedor::CaixasAbertas().front()->grab().save(QString::fromUtf8(destino).replace(".png", "-caixa.png")));
    respondedor.pausado = false;
    ASSERT_TRUE(EsperarFim());
}

}  // namespace
