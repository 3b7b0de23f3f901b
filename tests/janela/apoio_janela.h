#pragma once
// Helpers for the window's tests: Qt's offscreen platform, a robot that answers message boxes and
// the folder browser as an operator would, and waiting while the window's events go on.
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "apoio/pasta_temporaria.h"

namespace quorvel {
class DlgAbrirPasta;
}

namespace quorvel::teste {

struct CaixaVista {
    QString titulo, texto;
    QMessageBox::Icon icone;
    QMessageBox::StandardButtons botoes;
    QMessageBox::StandardButton padrao;
    bool modal;         // modal to something (the window's own boxes) or not (the worker's)
    bool semDono;       // owned by no window
};

// Every few milliseconds looks for open message boxes and folder browsers and answers them.
class Respondedor {
public:
    Respondedor();
    ~Respondedor();

    // The answer to questions (Yes/No boxes); OK boxes are always confirmed.
    QMessageBox::StandardButton resposta = QMessageBox::No;
    // While paused, boxes stay open (and are not recorded).
    bool pausado = false;
    // Called with an open folder browser; it must close it (accept or reject).
    std::function<void(DlgAbrirPasta&)> aoNavegador;

    const std::vector<CaixaVista>& Caixas() const { return caixas_; }
    std::vector<QString> Textos() const;
    // The message boxes open right now.
    static std::vector<QMessageBox*> CaixasAbertas();

private:
    void Varrer();
    QTimer timer_;
    std::vector<CaixaVista> caixas_;
};

// Processes the window's events until `condicao` holds; false after `limiteMs`.
bool Esperar(const std::function<bool()>& condicao, int limiteMs = 30000);

// A registry export naming a Firebird root, written to a file that QUORVEL_REGISTRO points at
// while the object lives (no file at all when `raizFirebird` is empty: no database server).
class RegistroTeste {
public:
    RegistroTeste(const PastaTemporaria& pasta, const std::string& raizFirebird);
    ~RegistroTeste();

private:
    std::string anterior_;
    bool tinhaAnterior_ = false;
};

// A Firebird installation on drive C of the drive folder: "C:\Firebird\bin\fbserver.exe" with
// a version resource. Returns the root as the registry names it.
std::string InstalarServidor(const UnidadesTemporarias& unidades, const std::string& descricao,
                             const std::string& versao);

}  // namespace quorvel::teste
