// The window's controls: their kinds, captions, places, fonts and keyboard order.
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>

#include "app/janela/dlg_abrir_pasta.h"
#include "app/janela/grupo_progresso.h"
#include "app/janela/led_bicolor.h"
#include "app/janela/quorvel2009_2010.h"
#include "app/janela/texto_tela.h"

namespace quorvel {

namespace {

// The right edge of the right-aligned overall progress label.
constexpr int DireitaInformacaoGeral = 486 + 115;

QToolButton* BotaoPlano(QWidget* pai, const char* nome, const QString& legenda, QStyle::StandardPixmap figura,
                        const QRect& posicao) {
    auto* botao = new QToolButton(pai);
    botao->setObjectName(nome);
    botao->setAutoRaise(true);
    botao->setFocusPolicy(Qt::NoFocus);
    botao->setIcon(pai->style()->standardIcon(figura));
    botao->setIconSize(QSize(16, 16));
    if (legenda.isEmpty()) {
        botao->setToolButtonStyle(Qt::ToolButtonIconOnly);
    } else {
        botao->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        botao->setText(legenda);  // the ampersand makes the accelerator
    }
    botao->setGeometry(posicao);
    return botao;
}

QLabel* Rotulo(QWidget* pai, const char* nome, const QString& texto, int x, int y) {
    auto* rotulo = new QLabel(texto, pai);
    rotulo->setObjectName(nome);
    rotulo->setTextFormat(Qt::PlainText);
    rotulo->move(x, y);
    rotulo->adjustSize();
    return rotulo;
}

QFont FonteNegrito(const QFont& base, int altura) {
    QFont fonte = base;
    fonte.setBold(true);
    fonte.setPixelSize(altura);
    return fonte;
}

}  // namespace

void TfrmQuorvel2009_2010::CriarGrupoConexao() {
    // Connection group: the two installation folders.
    grupoConexaoBaseDados = new QGroupBox(QString::fromUtf8("Conexão da Base de dados"), this);
    grupoConexaoBaseDados->setObjectName("grupoConexaoBaseDados");
    grupoConexaoBaseDados->setGeometry(8, 10, 610, 72);
    Label1 = Rotulo(grupoConexaoBaseDados, "Label1", QString::fromUtf8("Pasta da Versão 2009:"), 8, 20);
    edEndereco2009 = new QLineEdit(grupoConexaoBaseDados);
    edEndereco2009->setObjectName("edEndereco2009");
    edEndereco2009->setGeometry(120, 16, 436, 21);
    BPasta2009 = BotaoPlano(grupoConexaoBaseDados, "BPasta2009", {}, QStyle::SP_DirOpenIcon, {557, 16, 23, 21});
    BLimpar2009 =
        BotaoPlano(grupoConexaoBaseDados, "BLimpar2009", {}, QStyle::SP_LineEditClearButton, {580, 16, 23, 21});
    Label2 = Rotulo(grupoConexaoBaseDados, "Label2", QString::fromUtf8("Pasta da Versão 2010:"), 8, 44);
    edEndereco2010 = new QLineEdit(grupoConexaoBaseDados);
    edEndereco2010->setObjectName("edEndereco2010");
    edEndereco2010->setGeometry(120, 40, 436, 21);
    BPasta2010 = BotaoPlano(grupoConexaoBaseDados, "BPasta2010", {}, QStyle::SP_DirOpenIcon, {557, 40, 23, 21});
    BLimpar2010 =
        BotaoPlano(grupoConexaoBaseDados, "BLimpar2010", {}, QStyle::SP_LineEditClearButton, {580, 40, 23, 21});
}

void TfrmQuorvel2009_2010::CriarGrupoTabelas() {
    // Table group: the ten check boxes in two rows of five, and mark/unmark all.
    grupoMarcarTabelas = new QGroupBox(QString::fromUtf8("Tabelas a serem atualizadas"), this);
    grupoMarcarTabelas->setObjectName("grupoMarcarTabelas");
    grupoMarcarTabelas->setGeometry(8, 92, 610, 64);
    static constexpr QRect PosicoesCheck[QuantidadeTabelas] = {
        {4, 16, 70, 21},  {84, 16, 103, 21}, {198, 16, 87, 21}, {296, 16, 75, 21}, {382, 16, 74, 21},
        {4, 40, 70, 21},  {84, 40, 83, 21},  {198, 40, 87, 21}, {296, 40, 75, 21}, {382, 40, 74, 21},
    };
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        auto* caixa = new QCheckBox(QString::fromUtf8(SequenciaMigradores[i].legenda), grupoMarcarTabelas);
        caixa->setObjectName(SequenciaMigradores[i].checkBox);
        caixa->setGeometry(PosicoesCheck[i]);
        caixa->setChecked(true);
        connect(caixa, &QCheckBox::toggled, this, [this, i](bool marcada) { marcadas_[i] = marcada; });
        CheckTB[i] = caixa;
    }
    BDesmarcarTodos = BotaoPlano(grupoMarcarTabelas, "BDesmarcarTodos", QString::fromUtf8("&Desmarcar todos"),
                                 QStyle::SP_DialogCancelButton, {472, 10, 130, 23});
    BMarcarTodos = BotaoPlano(grupoMarcarTabelas, "BMarcarTodos", QString::fromUtf8("&Marcar todos"),
                              QStyle::SP_DialogApplyButton, {472, 35, 130, 23});
}

void TfrmQuorvel2009_2010::CriarGrupoProgresso() {
    // Progress group: never disabled.
    grupoProgresso = new GrupoProgresso(QString::fromUtf8("Progresso da atualização"), this);
    grupoProgresso->setObjectName("grupoProgresso");
    grupoProgresso->setGeometry(8, 210, 610, 112);
    LabelInformacaoAtual = new RotuloProgresso("LabelInformacaoAtual", TextoTela(TextoInicialInformacaoAtual), FonteNegrito(font(), 12),
                                               Qt::AlignLeft, 9, 16, grupoProgresso);
    LabelInformacaoGeral = new RotuloProgresso("LabelInformacaoGeral", TextoTela(TextoInicialInformacaoGeral), FonteNegrito(font(), 12),
                                               Qt::AlignRight, DireitaInformacaoGeral, 16, grupoProgresso);
    ProgressoAtual = new BarraProgresso("ProgressoAtual", {8, 56, 593, 21}, grupoProgresso);
    ProgressoGeral = new BarraProgresso("ProgressoGeral", {8, 80, 593, 21}, grupoProgresso);

    // The labels' last line reaches into the bar's top edge; the labels are drawn over it.
    LabelInformacaoAtual->raise();
    LabelInformacaoGeral->raise();

    BPararProcesso = BotaoPlano(this, "BPararProcesso", QString::fromUtf8("&Parar processo"), QStyle::SP_MediaStop,
                                {112, 330, 130, 23});
    BContinuarProcesso = BotaoPlano(this, "BContinuarProcesso", QString::fromUtf8("&Continuar processo"),
                                    QStyle::SP_MediaPlay, {248, 330, 130, 23});
    BCommit = BotaoPlano(this, "BCommit", QString::fromUtf8("C&ommit"), QStyle::SP_DialogSaveButton,
                         {384, 330, 130, 23});
    BPararProcesso->setEnabled(false);
    BCommit->setEnabled(false);
}

// The buttons, the check boxes and the folder fields to their handlers.
void TfrmQuorvel2009_2010::LigarEventos() {
    connect(BPasta2009, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BPasta2009Click);
    connect(BPasta2010, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BPasta2010Click);
    connect(BLimpar2009, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BLimpar2009Click);
    connect(BLimpar2010, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BLimpar2010Click);
    connect(BMarcarTodos, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BMarcarTodosClick);
    connect(BDesmarcarTodos, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BDesmarcarTodosClick);
    connect(BAtualizar, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BAtualizarClick);
    connect(BContinuarProcesso, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BContinuarProcessoClick);
    connect(BPararProcesso, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BPararProcessoClick);
    connect(BCommit, &QToolButton::clicked, this, &TfrmQuorvel2009_2010::BCommitClick);
    connect(edEndereco2009, &QLineEdit::textChanged, this, [this] { GuardarPastas(); });
    connect(edEndereco2010, &QLineEdit::textChanged, this, [this] { GuardarPastas(); });
}

void TfrmQuorvel2009_2010::CriarControles() {
    setObjectName("frmQuorvel2009_2010");
    setWindowTitle(TextoTela(TituloJanela));
    QFont fonte;
    // MS Sans Serif where it exists, else a face of about its width.
    fonte.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Liberation Sans", "Arial",
                       "DejaVu Sans Condensed", "DejaVu Sans"});
    fonte.setPixelSize(11);
    setFont(fonte);
    setFixedSize(LarguraCliente, AlturaCliente);

    CriarGrupoConexao();

    CriarGrupoTabelas();

    // Server version: the lamp and its label, centred together once the text is known.
    LedVersaoFB = new LedBicolor(this);
    LedVersaoFB->setObjectName("LedVersaoFB");
    LedVersaoFB->move(248, TopoLed);
    LabelVersaoFB = Rotulo(this, "LabelVersaoFB", "LabelVersaoFB", 270, TopoRotuloVersao);
    LabelVersaoFB->setFont(FonteNegrito(font(), 13));
    LabelVersaoFB->setAttribute(Qt::WA_TranslucentBackground);
    LabelVersaoFB->adjustSize();

    BAtualizar = BotaoPlano(this, "BAtualizar", QString::fromUtf8("&Atualizar"), QStyle::SP_BrowserReload,
                            {248, 186, 130, 23});

    CriarGrupoProgresso();

    // Keyboard order: the two folder fields, the ten check boxes, the two bars.
    QWidget::setTabOrder(edEndereco2009, edEndereco2010);
    QWidget* anterior = edEndereco2010;
    for (QCheckBox* caixa : CheckTB) {
        QWidget::setTabOrder(anterior, caixa);
        anterior = caixa;
    }
    QWidget::setTabOrder(anterior, ProgressoAtual);
    QWidget::setTabOrder(ProgressoAtual, ProgressoGeral);

    // The controls sit where a caption drawn on the frame's top line leaves room for them; the
    // group boxes keep that classic look whatever the desktop's style.
    if (QStyle* classico = QStyleFactory::create("Windows")) {
        classico->setParent(this);
        for (QGroupBox* grupo : {grupoConexaoBaseDados, grupoMarcarTabelas, grupoProgresso}) grupo->setStyle(classico);
    }

    dlgAbrirPasta = new DlgAbrirPasta(this);

    LigarEventos();

    // At the centre of the screen.
    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

}  // namespace quorvel
