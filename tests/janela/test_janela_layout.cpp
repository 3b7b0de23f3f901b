// The window as it opens: layout, texts, keyboard order, the server version and its lamp, the
// enabling states, mark/unmark all and the folder browser.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QStyleOptionGroupBox>
#include <QToolButton>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "apoio_janela.h"
#include "app/janela/dlg_abrir_pasta.h"
#include "app/janela/led_bicolor.h"
#include "app/janela/quorvel2009_2010.h"

using namespace quorvel;
using namespace quorvel::teste;

namespace {

const QString kSemServidor = QString::fromUtf8(
    "Não foram encontradas entradas do Firebird no registro do Windows!\nVerifique se o Firebird está instalado!");

// Where a group box draws its caption on its frame's top line.
QRect Legenda(QGroupBox* grupo) {
    QStyleOptionGroupBox opcao;
    opcao.initFrom(grupo);
    opcao.text = grupo->title();
    opcao.textAlignment = grupo->alignment();
    opcao.lineWidth = 1;
    opcao.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return grupo->style()->subControlRect(QStyle::CC_GroupBox, &opcao, QStyle::SC_GroupBoxLabel, grupo);
}

// The horizontal middle of a widget's rectangle, doubled (no rounding).
int MeioDuplo(const QRect& r) { return r.left() + r.right() + 1; }

class Janela : public ::testing::Test {
protected:
    // The window of a machine whose server is described by `descricao` and `versao`; no server
    // at all when `descricao` is empty.
    void Abrir(const std::string& descricao = "", const std::string& versao = "") {
        const std::string raiz = descricao.empty() ? "" : InstalarServidor(unidades, descricao, versao);
        registro = std::make_unique<RegistroTeste>(unidades.Raiz(), raiz);
        janela = std::make_unique<TfrmQuorvel2009_2010>(PastaPrograma());
    }
    std::string PastaPrograma() const {
        std::filesystem::create_directories(unidades.Raiz().Caminho() + "/programa");
        return unidades.Raiz().Caminho() + "/programa";
    }
    void TearDown() override { janela.reset(); }

    // The lamp and its label side by side, centred together across the window, between the
    // tables and the start button.
    void EsperarVersaoCentralizada() {
        const QRect led = janela->LedVersaoFB->geometry();
        const QRect rotulo = janela->LabelVersaoFB->geometry();
        EXPECT_EQ(rotulo.width(), janela->LabelVersaoFB->sizeHint().width());
        EXPECT_LT(led.right(), rotulo.left());
        EXPECT_LE(std::abs(MeioDuplo(led.united(rotulo)) - janela->width()), 1);
        for (const QRect& r : {led, rotulo}) {
            EXPECT_LT(janela->grupoMarcarTabelas->geometry().bottom(), r.top());
            EXPECT_LT(r.bottom(), janela->BAtualizar->y());
        }
    }

    template <typename T>
    T* Controle(const char* nome) {
        T* c = janela->findChild<T*>(nome);
        EXPECT_NE(c, nullptr) << nome;
        return c;
    }

    UnidadesTemporarias unidades;
    Respondedor respondedor;
    std::unique_ptr<RegistroTeste> registro;
    std::unique_ptr<TfrmQuorvel2009_2010> janela;
};

TEST_F(Janela, DisposicaoTextosEOrdemDoTeclado) {
    Abrir();
    EXPECT_EQ(janela->windowTitle(), QString::fromUtf8("Brivona Rovozozi - Quorvel 2009-2010"));
    EXPECT_EQ(janela->size(), QSize(626, 361));
    EXPECT_EQ(janela->minimumSize(), janela->maximumSize());
    const Qt::WindowFlags flags = janela->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(janela->font().pixelSize(), 11);

    // Every control: its group (or the window) and its caption.
    struct Esperado {
        const char* nome;
        const char* pai;
        const char* texto;
    };
    const Esperado esperados[] = {
        {"grupoConexaoBaseDados", "frmQuorvel2009_2010", "Conexão da Base de dados"},
        {"Label1", "grupoConexaoBaseDados", "Pasta da Versão 2009:"},
        {"edEndereco2009", "grupoConexaoBaseDados", ""},
        {"BPasta2009", "grupoConexaoBaseDados", ""},
        {"BLimpar2009", "grupoConexaoBaseDados", ""},
        {"Label2", "grupoConexaoBaseDados", "Pasta da Versão 2010:"},
        {"edEndereco2010", "grupoConexaoBaseDados", ""},
        {"BPasta2010", "grupoConexaoBaseDados", ""},
        {"BLimpar2010", "grupoConexaoBaseDados", ""},
        {"grupoMarcarTabelas", "frmQuorvel2009_2010", "Tabelas a serem atualizadas"},
        {"CheckTB_Agenda", "grupoMarcarTabelas", "Agenda"},
        {"CheckTB_AvancoManual", "grupoMarcarTabelas", "AvancoManual"},
        {"CheckTB_PerfilBotoes", "grupoMarcarTabelas", "PerfilBotoes"},
        {"CheckTB_Botoneira", "grupoMarcarTabelas", "Botoneira"},
        {"CheckTB_Genero", "grupoMarcarTabelas", "Genero"},
        {"CheckTB_Musicas", "grupoMarcarTabelas", "Musicas"},
        {"CheckTB_Ecad", "grupoMarcarTabelas", "Ecad"},
        {"CheckTB_Irradiacao", "grupoMarcarTabelas", "Irradiacao"},
        {"CheckTB_ProgAuto", "grupoMarcarTabelas", "ProgAuto"},
        {"CheckTB_Vinhetas", "grupoMarcarTabelas", "Vinhetas"},
        {"BDesmarcarTodos", "grupoMarcarTabelas", "&Desmarcar todos"},
        {"BMarcarTodos", "grupoMarcarTabelas", "&Marcar todos"},
        {"LedVersaoFB", "frmQuorvel2009_2010", ""},
        {"LabelVersaoFB", "frmQuorvel2009_2010", "LabelVersaoFB"},
        {"BAtualizar", "frmQuorvel2009_2010", "&Atualizar"},
        {"grupoProgresso", "frmQuorvel2009_2010", "Progresso da atualização"},
        {"ProgressoAtual", "grupoProgresso", ""},
        {"ProgressoGeral", "grupoProgresso", ""},
        {"BPararProcesso", "frmQuorvel2009_2010", "&Parar processo"},
        {"BContinuarProcesso", "frmQuorvel2009_2010", "&Continuar processo"},
        {"BCommit", "frmQuorvel2009_2010", "C&ommit"},
    };
    std::map<QWidget*, std::vector<QWidget*>> porPai;
    for (const auto& e : esperados) {
        QWidget* w = Controle<QWidget>(e.nome);
        if (!w) continue;
        QWidget* pai = w->parentWidget();
        EXPECT_EQ(pai->objectName(), e.pai) << e.nome;
        QString texto;
        if (auto* g = qobject_cast<QGroupBox*>(w)) texto = g->title();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) texto = b->text();
        if (auto* l = qobject_cast<QLineEdit*>(w)) texto = l->text();
        if (auto* l = qobject_cast<QLabel*>(w)) texto = l->text();
        EXPECT_EQ(texto, QString::fromUtf8(e.texto)) << e.nome;
        if (auto* c = qobject_cast<QCheckBox*>(w)) {
            EXPECT_TRUE(c->isChecked()) << e.nome;
        }
        if (auto* b = qobject_cast<QToolButton*>(w)) {
            EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << e.nome;
            EXPECT_TRUE(b->autoRaise()) << e.nome;
            EXPECT_FALSE(b->icon().isNull()) << e.nome;
        }
        // Inside its group (or the window), clear of the group's caption.
        EXPECT_TRUE(pai->rect().contains(w->geometry())) << e.nome;
        if (auto* grupo = qobject_cast<QGroupBox*>(pai)) {
            ASSERT_FALSE(Legenda(grupo).isEmpty());
            EXPECT_FALSE(w->geometry().intersects(Legenda(grupo))) << e.nome;
        }
        porPai[pai].push_back(w);
    }
    // No two controls of one group (or of the window) overlap.
    for (const auto& [pai, filhos] : porPai)
        for (size_t i = 0; i < filhos.size(); ++i)
            for (size_t j = i + 1; j < filhos.size(); ++j)
                EXPECT_FALSE(filhos[i]->geometry().intersects(filhos[j]->geometry()))
                    << filhos[i]->objectName().toStdString() << " / " << filhos[j]->objectName().toStdString();

    // The window from top to bottom, the groups one above the other across the same width; the
    // start button between the tables and the progress, the three run buttons at the bottom.
    const QRect conexao = janela->grupoConexaoBaseDados->geometry();
    const QRect tabelas = janela->grupoMarcarTabelas->geometry();
    const QRect progresso = janela->grupoProgresso->geometry();
    for (const QRect& g : {tabelas, progresso}) {
        EXPECT_EQ(g.left(), conexao.left());
        EXPECT_EQ(g.width(), conexao.width());
    }
    EXPECT_LE(std::abs(MeioDuplo(conexao) - janela->width()), 1);  // the groups are centred
    EXPECT_LT(conexao.bottom(), tabelas.top());
    EXPECT_LT(tabelas.bottom(), janela->LedVersaoFB->y());
    EXPECT_LT(janela->LedVersaoFB->geometry().bottom(), janela->BAtualizar->y());
    EXPECT_LT(janela->LabelVersaoFB->geometry().bottom(), janela->BAtualizar->y());
    EXPECT_LT(janela->BAtualizar->geometry().bottom(), progresso.top());
    EXPECT_EQ(MeioDuplo(janela->BAtualizar->geometry()), janela->width());
    const QRect parar = janela->BPararProcesso->geometry();
    const QRect continuar = janela->BContinuarProcesso->geometry();
    const QRect commit = janela->BCommit->geometry();
    EXPECT_LT(progresso.bottom(), continuar.top());
    EXPECT_EQ(MeioDuplo(continuar), janela->width());
    for (const QRect& b : {parar, commit}) {
        EXPECT_EQ(b.top(), continuar.top());
        EXPECT_EQ(b.size(), continuar.size());
    }
    EXPECT_LT(parar.right(), continuar.left());
    EXPECT_LT(continuar.right(), commit.left());
    EXPECT_EQ(continuar.left() - parar.right(), commit.left() - continuar.right());
    EXPECT_EQ(janela->BAtualizar->size(), continuar.size());
    // The lamp of the version before its label, on one line.
    EXPECT_LT(janela->LedVersaoFB->geometry().right(), janela->LabelVersaoFB->x());

    // The folders: caption, field and its two buttons on one line, the 2010 line under the 2009
    // line, column under column.
    const std::vector<std::vector<QWidget*>> linhas = {
        {janela->Label1, janela->edEndereco2009, janela->BPasta2009, janela->BLimpar2009},
        {janela->Label2, janela->edEndereco2010, janela->BPasta2010, janela->BLimpar2010}};
    for (const auto& linha : linhas) {
        const QRect campo = linha[1]->geometry();
        EXPECT_TRUE(campo.contains(campo.left(), linha[0]->geometry().center().y())) << "caption beside its field";
        for (size_t i = 1; i < linha.size(); ++i) EXPECT_LT(linha[i - 1]->geometry().right(), linha[i]->x());
        for (size_t i = 2; i < linha.size(); ++i) {
            EXPECT_EQ(linha[i]->geometry().top(), campo.top());
            EXPECT_EQ(linha[i]->height(), campo.height());
        }
    }
    for (size_t i = 0; i < linhas[0].size(); ++i) {
        EXPECT_EQ(linhas[1][i]->x(), linhas[0][i]->x());
        EXPECT_LT(linhas[0][i]->geometry().bottom(), linhas[1][i]->y());
    }

    // The tables: two rows of five in the order of the run, column under column; the two
    // marking buttons after the last column, one under the other.
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        const QRect caixa = janela->CheckTB[i]->geometry();
        const QRect primeira = janela->CheckTB[i < 5 ? 0 : 5]->geometry();
        EXPECT_EQ(caixa.top(), primeira.top()) << i;
        if (i % 5 != 0) EXPECT_LT(janela->CheckTB[i - 1]->geometry().right(), caixa.left()) << i;
        if (i >= 5) {
            EXPECT_EQ(caixa.left(), janela->CheckTB[i - 5]->x()) << i;
            EXPECT_LT(janela->CheckTB[i - 5]->geometry().bottom(), caixa.top()) << i;
        }
    }
    for (QToolButton* b : {janela->BDesmarcarTodos, janela->BMarcarTodos}) {
        EXPECT_LT(janela->CheckTB[4]->geometry().right(), b->x());
        EXPECT_EQ(b->x(), janela->BDesmarcarTodos->x());
    }
    EXPECT_LT(janela->BDesmarcarTodos->geometry().bottom(), janela->BMarcarTodos->y());

    // The progress: each label over its bar, the current table's to the left, the whole run's
    // aligned to the bars' right edge; the two bars one under the other across the group.
    const QRect atual = janela->ProgressoAtual->geometry();
    const QRect geral = janela->ProgressoGeral->geometry();
    EXPECT_EQ(geral.left(), atual.left());
    EXPECT_EQ(geral.width(), atual.width());
    EXPECT_LT(atual.bottom(), geral.top());
    EXPECT_LE(std::abs(MeioDuplo(atual) - progresso.width()), 1);
    EXPECT_LT(janela->LabelInformacaoAtual->y(), atual.top());
    EXPECT_LT(janela->LabelInformacaoGeral->y(), atual.top());
    EXPECT_LT(janela->LabelInformacaoAtual->geometry().right(), janela->LabelInformacaoGeral->x());
    EXPECT_EQ(janela->LabelInformacaoGeral->geometry().right(), atual.right());
    EXPECT_FALSE(janela->LabelInformacaoAtual->geometry().intersects(Legenda(janela->grupoProgresso)));

    // Accelerators from the captions.
    EXPECT_EQ(janela->BAtualizar->shortcut(), QKeySequence(Qt::ALT | Qt::Key_A));
    EXPECT_EQ(janela->BCommit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
    EXPECT_EQ(janela->BDesmarcarTodos->shortcut(), QKeySequence(Qt::ALT | Qt::Key_D));

    EXPECT_EQ(janela->LabelInformacaoAtual->text(), "Tabela:\nTotal de registros: 0\nRegistro atual: 0");
    EXPECT_EQ(janela->LabelInformacaoAtual->font().pixelSize(), 12);
    EXPECT_TRUE(janela->LabelInformacaoAtual->font().bold());
    EXPECT_EQ(janela->LabelInformacaoGeral->text(), "Progresso Geral\nTotal de registros: 0\nRegistro atual: 0");
    EXPECT_TRUE(janela->LabelInformacaoGeral->alignment().testFlag(Qt::AlignRight));
    for (QProgressBar* barra : {janela->ProgressoAtual, janela->ProgressoGeral}) {
        EXPECT_EQ(barra->minimum(), 0);
        EXPECT_EQ(barra->maximum(), 100);
        EXPECT_EQ(barra->value(), 0);
    }

    // Keyboard order: the folder fields, the ten check boxes, the two bars.
    std::vector<QString> ordem;
    QWidget* w = janela->edEndereco2009;
    do {
        if (w->window() == janela.get() && (w->focusPolicy() & Qt::TabFocus)) ordem.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != janela->edEndereco2009 && ordem.size() < 40);
    const std::vector<QString> esperada = {
        "edEndereco2009",     "edEndereco2010",   "CheckTB_Agenda",    "CheckTB_AvancoManual",
        "CheckTB_PerfilBotoes", "CheckTB_Botoneira", "CheckTB_Genero",    "CheckTB_Musicas",
        "CheckTB_Ecad",       "CheckTB_Irradiacao", "CheckTB_ProgAuto", "CheckTB_Vinhetas",
        "ProgressoAtual",     "ProgressoGeral"};
    EXPECT_EQ(ordem, esperada);
}

TEST_F(Janela, SemServidorAbreComoProjetada) {
    std::filesystem::create_directories(PastaPrograma());  // no checkpoint file
    Abrir();
    ASSERT_EQ(respondedor.Caixas().size(), 1u);
    const CaixaVista& caixa = respondedor.Caixas()[0];
    EXPECT_EQ(caixa.texto, kSemServidor);
    EXPECT_EQ(caixa.titulo, "Quorvel 2009-2010");
    EXPECT_EQ(caixa.icone, QMessageBox::Information);
    EXPECT_EQ(caixa.botoes, QMessageBox::Ok);

    // The lamp and its label stay where they were designed: the lamp over the start button's left
    // edge, the label after it, both between the tables and the start button.
    EXPECT_EQ(janela->LabelVersaoFB->text(), "LabelVersaoFB");
    EXPECT_EQ(janela->LedVersaoFB->x(), janela->BAtualizar->x());
    EXPECT_LT(janela->LedVersaoFB->geometry().right(), janela->LabelVersaoFB->x());
    EXPECT_LT(janela->grupoMarcarTabelas->geometry().bottom(), janela->LedVersaoFB->y());
    EXPECT_LT(janela->LabelVersaoFB->geometry().bottom(), janela->BAtualizar->y());
    EXPECT_EQ(janela->LedVersaoFB->estado(), LedBicolor::Estado::Apagado);
    EXPECT_EQ(janela->LedVersaoFB->cor().rgba(), 0xFF808080u);
    EXPECT_EQ(janela->LabelVersaoFB->font().pixelSize(), 13);
    EXPECT_TRUE(janela->LabelVersaoFB->font().bold());
    // Design-time states: continue enabled even without a checkpoint, stop and commit disabled.
    EXPECT_TRUE(janela->BContinuarProcesso->isEnabled());
    EXPECT_FALSE(janela->BPararProcesso->isEnabled());
    EXPECT_FALSE(janela->BCommit->isEnabled());
    EXPECT_TRUE(janela->BAtualizar->isEnabled());
    EXPECT_FALSE(janela->testAttribute(Qt::WA_SetCursor));
    // The checkpoint path was set before the detection failed.
    EXPECT_EQ(janela->Nucleo().Estado.ArquivoSeq, PastaPrograma() + "\\Seq.ini");
}

TEST_F(Janela, ErroNaDeteccaoRelatadoComoErroPadrao) {
    // A registry value that is no text: an error, not a silent abort.
    registro = std::make_unique<RegistroTeste>(unidades.Raiz(), "");
    unidades.Raiz().Gravar("registro.reg",
                           "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Firebird Project\\Firebird "
                           "Server\\Instances]\r\n\"DefaultInstance\"=dword:00000001\r\n");
    janela = std::make_unique<TfrmQuorvel2009_2010>(PastaPrograma());
    ASSERT_EQ(respondedor.Caixas().size(), 1u);
    const CaixaVista& caixa = respondedor.Caixas()[0];
    EXPECT_EQ(caixa.icone, QMessageBox::Critical);
    EXPECT_EQ(caixa.titulo, "Quorvel 2009-2010");
    // Its last character is below the full stop: none is appended.
    EXPECT_EQ(caixa.texto, "Invalid data type for 'DefaultInstance'");
    EXPECT_EQ(janela->LabelVersaoFB->text(), "LabelVersaoFB");
    EXPECT_EQ(janela->LedVersaoFB->estado(), LedBicolor::Estado::Apagado);
    EXPECT_TRUE(janela->BContinuarProcesso->isEnabled());
}

TEST_F(Janela, VersaoAceitaVerdeCentralizada) {
    Abrir("Firebird Server", "2.1.3.18185");
    EXPECT_TRUE(respondedor.Caixas().empty());
    EXPECT_EQ(janela->LabelVersaoFB->text(), "Firebird Server 2.1.3.18185");
    EXPECT_EQ(janela->LedVersaoFB->estado(), LedBicolor::Estado::Estado1);
    EXPECT_EQ(janela->LedVersaoFB->cor().rgba(), 0xFF00FF00u);
    EXPECT_EQ(janela->LabelVersaoFB->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EsperarVersaoCentralizada();
    // Idle: no checkpoint file, so no continue.
    EXPECT_FALSE(janela->BContinuarProcesso->isEnabled());
    EXPECT_FALSE(janela->BPararProcesso->isEnabled());
    EXPECT_TRUE(janela->BAtualizar->isEnabled());
}

TEST_F(Janela, VersaoLongaRecusadaVermelhaAindaCentralizada) {
    const std::string descricao(90, 'F');
    Abrir(descricao, "2.5.0.26074");
    EXPECT_EQ(janela->LabelVersaoFB->text().toStdString(), descricao + " 2.5.0.26074");
    EXPECT_EQ(janela->LedVersaoFB->estado(), LedBicolor::Estado::Estado0);
    EXPECT_EQ(janela->LedVersaoFB->cor().rgba(), 0xFFFF0000u);
    EXPECT_EQ(janela->LabelVersaoFB->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_GT(janela->LabelVersaoFB->width(), 400);
    EsperarVersaoCentralizada();
}

TEST_F(Janela, ContinuarSegueOArquivoDeSequencia) {
    std::ofstream(PastaPrograma() + "/Seq.ini") << "[SEQ]\r\n";
    Abrir("Firebird Server", "2.1.3.18185");
    EXPECT_TRUE(janela->BContinuarProcesso->isEnabled());
    std::filesystem::remove(PastaPrograma() + "/Seq.ini");
    janela->HabilitarControles(true);
    EXPECT_FALSE(janela->BContinuarProcesso->isEnabled());
}

TEST_F(Janela, RegrasDeHabilitacaoNosTresEstados) {
    std::ofstream(PastaPrograma() + "/Seq.ini") << "[SEQ]\r\n";
    Abrir();
    const std::vector<QWidget*> principais = {
        janela->grupoConexaoBaseDados, janela->edEndereco2009, janela->BPasta2009,   janela->BLimpar2009,
        janela->edEndereco2010,        janela->BPasta2010,     janela->BLimpar2010,  janela->grupoMarcarTabelas,
        janela->BDesmarcarTodos,       janela->BMarcarTodos,   janela->BAtualizar};

    janela->HabilitarControles(false);  // running
    for (QWidget* w : principais) EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QCheckBox* c : janela->CheckTB) EXPECT_FALSE(c->isEnabled());
    EXPECT_FALSE(janela->BContinuarProcesso->isEnabled());
    EXPECT_TRUE(janela->BPararProcesso->isEnabled());
    EXPECT_TRUE(janela->BCommit->isEnabled());
    EXPECT_TRUE(janela->grupoProgresso->isEnabled());
    EXPECT_TRUE(janela->ProgressoAtual->isEnabled());
    EXPECT_EQ(janela->cursor().shape(), Qt::WaitCursor);

    janela->DesabilitarPararCommit();  // stopped
    EXPECT_FALSE(janela->BPararProcesso->isEnabled());
    EXPECT_FALSE(janela->BCommit->isEnabled());
    EXPECT_FALSE(janela->BAtualizar->isEnabled());
    EXPECT_EQ(janela->cursor().shape(), Qt::WaitCursor);

    janela->HabilitarControles(true);  // idle, with a checkpoint file
    for (QWidget* w : principais) EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (QCheckBox* c : janela->CheckTB) EXPECT_TRUE(c->isEnabled());
    EXPECT_TRUE(janela->BContinuarProcesso->isEnabled());
    EXPECT_FALSE(janela->BPararProcesso->isEnabled());
    EXPECT_FALSE(janela->BCommit->isEnabled());
    EXPECT_EQ(janela->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Janela, MarcarDesmarcarTodosELimpar) {
    Abrir();
    janela->CheckTB[3]->setChecked(false);
    janela->BDesmarcarTodos->click();
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        EXPECT_FALSE(janela->CheckTB[i]->isChecked());
        EXPECT_FALSE(janela->TabelaMarcada(i));
    }
    janela->CheckTB[6]->setChecked(true);
    EXPECT_TRUE(janela->TabelaMarcada(6));
    janela->BMarcarTodos->click();
    for (int i = 0; i < QuantidadeTabelas; ++i) EXPECT_TRUE(janela->TabelaMarcada(i));

    janela->edEndereco2009->setText(QString::fromUtf8("D:\\Rádio 2009"));
    janela->edEndereco2010->setText("D:\\Q2010");
    EXPECT_EQ(janela->Pasta2009(), "D:\\R\xE1" "dio 2009");  // Windows-1252 for the core
    janela->BLimpar2009->click();
    EXPECT_EQ(janela->edEndereco2009->text(), "");
    EXPECT_EQ(janela->Pasta2009(), "");
    EXPECT_EQ(janela->Pasta2010(), "D:\\Q2010");
    janela->BLimpar2010->click();
    EXPECT_EQ(janela->Pasta2010(), "");
}

TEST_F(Janela, AceleradoresDoTeclado) {
    Abrir();
    janela->show();
    janela->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    janela->edEndereco2009->setFocus();
    // A button pressed by its letter clicks after a short animation.
    auto tecla = [&](Qt::Key letra) {
        QTest::keyClick(QApplication::focusWidget(), letra, Qt::AltModifier);
        QTest::qWait(250);
    };
    tecla(Qt::Key_D);
    for (QCheckBox* c : janela->CheckTB) EXPECT_FALSE(c->isChecked());
    tecla(Qt::Key_M);
    for (QCheckBox* c : janela->CheckTB) EXPECT_TRUE(c->isChecked());
    // Running: a disabled button does not answer its letter; "Parar processo" does, and the flat
    // buttons never take the focus.
    janela->HabilitarControles(false);
    tecla(Qt::Key_D);
    EXPECT_TRUE(janela->CheckTB[0]->isChecked());
    tecla(Qt::Key_P);
    EXPECT_TRUE(janela->Nucleo().Estado.Interrompido);
    EXPECT_NE(QApplication::focusWidget(), janela->BPararProcesso);
}

TEST_F(Janela, NavegadorDePastas) {
    Abrir();
    const std::string d = unidades.Unidade('d');
    std::filesystem::create_directories(d + "/Quorvel2009");
    std::filesystem::create_directories(d + "/Outra");
    QString textoVisto, pastaInicial;
    bool semNovaPasta = false;
    QString escolher = QString::fromStdString(d + "/Quorvel2009");
    respondedor.aoNavegador = [&](DlgAbrirPasta& dlg) {
        textoVisto = dlg.rotulo()->text();
        pastaInicial = dlg.arvore()->directory().absolutePath();
        auto* novaPasta = dlg.arvore()->findChild<QToolButton*>("newFolderButton");
        semNovaPasta = novaPasta && !novaPasta->isVisible();
        if (escolher.isEmpty()) {
            dlg.reject();
        } else {
            dlg.arvore()->setDirectory(escolher);
            QMetaObject::invokeMethod(dlg.arvore(), "accept", Qt::DirectConnection);
        }
    };
    janela->BPasta2009->click();
    EXPECT_EQ(textoVisto, QString::fromUtf8("Brivona Rovozozi\n\nSelecione a pasta da Versão 2009"));
    EXPECT_EQ(janela->dlgAbrirPasta->texto(), "Brivona Rovozozi\r\rSelecione a pasta da Vers\xE3o 2009");
    EXPECT_TRUE(semNovaPasta);
    EXPECT_EQ(pastaInicial.toStdString(), std::filesystem::canonical(PastaPrograma()).string());
    EXPECT_EQ(janela->edEndereco2009->text(), "D:\\Quorvel2009");

    // The 2010 picker opens where the 2009 one ended; the same folder may be chosen again.
    janela->BPasta2010->click();
    EXPECT_EQ(textoVisto, QString::fromUtf8("Brivona Rovozozi\n\nSelecione a pasta da Versão 2010"));
    EXPECT_EQ(pastaInicial.toStdString(), d + "/Quorvel2009");
    EXPECT_EQ(janela->edEndereco2010->text(), "D:\\Quorvel2009");

    // Cancelling changes nothing.
    escolher.clear();
    janela->BPasta2009->click();
    EXPECT_EQ(janela->edEndereco2009->text(), "D:\\Quorvel2009");
    EXPECT_EQ(janela->dlgAbrirPasta->pastaAtual().toStdString(), d + "/Quorvel2009");
}

TEST_F(Janela, ProgressoMostradoDeOutraThread) {
    Abrir();
    QuadroProgresso quadro;
    quadro.tabelaAtual = "TB_GENERO";
    quadro.maximoAtual = 12;
    quadro.registroAtual = 15;  // beyond the maximum: a full bar, the true counter
    quadro.totalGeral = 40;
    quadro.registroGeral = 20;
    std::atomic<bool> feito{false};
    std::thread trabalhador([&] {
        janela->MostrarProgresso(quadro);
        feito = true;
    });
    ASSERT_TRUE(Esperar([&] { return feito.load(); }));
    trabalhador.join();
    EXPECT_EQ(janela->LabelInformacaoAtual->text(), "Tabela: TB_GENERO\nTotal de registros: 12\nRegistro atual: 15");
    EXPECT_EQ(janela->LabelInformacaoGeral->text(), "Progresso Geral\nTotal de registros: 40\nRegistro atual: 20");
    EXPECT_EQ(janela->ProgressoAtual->value(), janela->ProgressoAtual->maximum());
    EXPECT_EQ(janela->ProgressoGeral->maximum(), 40);
    EXPECT_EQ(janela->ProgressoGeral->value(), 20);
    // The longer text keeps the label's right edge on the bars' right edge.
    EXPECT_EQ(janela->LabelInformacaoGeral->geometry().right(), janela->ProgressoAtual->geometry().right());

    // Maxima of 0 (the end of a run): empty bars, not a busy animation.
    janela->MostrarProgresso(QuadroProgresso{});
    EXPECT_EQ(janela->LabelInformacaoAtual->text(), "Tabela: \nTotal de registros: 0\nRegistro atual: 0");
    for (QProgressBar* barra : {janela->ProgressoAtual, janela->ProgressoGeral}) {
        EXPECT_LT(barra->minimum(), barra->maximum());
        EXPECT_EQ(barra->value(), 0);
    }
    EXPECT_EQ(janela->MaximoAtual(), 0);
}

}  // namespace
