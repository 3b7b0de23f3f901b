#include "app/janela/dlg_abrir_pasta.h"

#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/janela/texto_tela.h"

namespace quorvel {

DlgAbrirPasta::DlgAbrirPasta(QWidget* pai) : QDialog(pai) {
    setObjectName("dlgAbrirPasta");
    setWindowTitle(QString::fromUtf8("Procurar pasta"));
    setSizeGripEnabled(true);

    rotulo_ = new QLabel(this);
    rotulo_->setTextFormat(Qt::PlainText);
    rotulo_->setWordWrap(true);

    // Qt's own file dialog, embedded as a plain widget, shows the folders only; read-only, so that
    // it offers no way to create, rename or delete a folder.
    arvore_ = new QFileDialog(this);
    arvore_->setWindowFlags(Qt::Widget);
    arvore_->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
    arvore_->setFileMode(QFileDialog::Directory);
    arvore_->setAcceptMode(QFileDialog::AcceptOpen);
    arvore_->setSizeGripEnabled(false);
    if (auto* novaPasta = arvore_->findChild<QToolButton*>("newFolderButton")) novaPasta->hide();
    // Only folders are shown: the file type row has nothing to choose.
    if (auto* tipos = arvore_->findChild<QWidget*>("fileTypeCombo")) tipos->hide();
    if (auto* rotuloTipos = arvore_->findChild<QWidget*>("fileTypeLabel")) rotuloTipos->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rotulo_);
    layout->addWidget(arvore_, 1);

    connect(arvore_, &QFileDialog::accepted, this, &QDialog::accept);
    connect(arvore_, &QFileDialog::rejected, this, &QDialog::reject);
    resize(560, 420);
}

void DlgAbrirPasta::setTexto(const std::string& texto) {
    texto_ = texto;
    rotulo_->setText(TextoTela(texto));
}

bool DlgAbrirPasta::Executar() {
    if (!pastaAtual_.isEmpty()) arvore_->setDirectory(pastaAtual_);
    // The embedded dialog hides itself when it closes; show it again for this use.
    arvore_->setVisible(true);
    if (exec() != QDialog::Accepted) return false;
    const QStringList escolhidas = arvore_->selectedFiles();
    if (escolhidas.isEmpty() || escolhidas.front().isEmpty()) return false;
    pastaAtual_ = QDir::cleanPath(escolhidas.front());
    return true;
}

}  // namespace quorvel
