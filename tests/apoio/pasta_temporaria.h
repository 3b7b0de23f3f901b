#pragma once
// A temporary folder for one test, removed with everything in it when the object goes away.
// UnidadesTemporarias also points QUORVEL_UNIDADES at a drive folder inside it, so that Windows
// path texts such as "C:\Comercial\x.mp3" land there, and restores the variable afterwards.
#include <string>

namespace quorvel::teste {

class PastaTemporaria {
public:
    PastaTemporaria();
    ~PastaTemporaria();
    PastaTemporaria(const PastaTemporaria&) = delete;
    PastaTemporaria& operator=(const PastaTemporaria&) = delete;
    const std::string& Caminho() const { return caminho_; }
    // Writes a file (creating its folders) below this folder; returns its full host path.
    std::string Gravar(const std::string& relativo, const std::string& conteudo) const;

private:
    std::string caminho_;
};

class UnidadesTemporarias {
public:
    UnidadesTemporarias();
    ~UnidadesTemporarias();
    // The host folder of drive letter `letra` (created).
    std::string Unidade(char letra) const;
    const std::string& Pasta() const { return unidades_; }
    const PastaTemporaria& Raiz() const { return raiz_; }

private:
    PastaTemporaria raiz_;
    std::string unidades_;
    std::string anterior_;
    bool tinhaAnterior_ = false;
};

// Reads a whole host file; empty when missing.
std::string LerHost(const std::string& caminhoHost);

}  // namespace quorvel::teste
