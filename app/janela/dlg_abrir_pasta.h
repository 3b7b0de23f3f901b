#pragma once
// The folder browser: a resizable dialog with a descriptive text above a folder tree, no button
// for creating folders, that remembers the folder last chosen as the one it opens at next time.
#include <QDialog>
#include <QString>
#include <string>

class QFileDialog;
class QLabel;

namespace quorvel {

class DlgAbrirPasta : public QDialog {
    Q_OBJECT
public:
    explicit DlgAbrirPasta(QWidget* pai = nullptr);

    // The descriptive text (Windows-1252; carriage returns break its lines).
    void setTexto(const std::string& texto);
    const std::string& texto() const { return texto_; }

    // The folder the browser opens at (a host path); after a confirmed choice, that folder.
    const QString& pastaAtual() const { return pastaAtual_; }
    void setPastaAtual(const QString& pasta) { pastaAtual_ = pasta; }

    // Shows the browser modally at the current folder. True when the operator confirmed a
    // folder, which then becomes the current folder.
    bool Executar();

    // The folder tree inside the dialog (tests choose a folder through it).
    QFileDialog* arvore() const { return arvore_; }
    QLabel* rotulo() const { return rotulo_; }

private:
    QLabel* rotulo_;
    QFileDialog* arvore_;
    std::string texto_;
    QString pastaAtual_;
};

}  // namespace quorvel
