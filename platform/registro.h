#pragma once
// Read-only access to the keys of HKEY_LOCAL_MACHINE.
//
// On Windows this is the system registry. Elsewhere the registry is a registry export file in
// the text format that regedit writes and reads ("Windows Registry Editor Version 5.00" in
// UTF-16LE with a byte-order mark, or "REGEDIT4" in 8-bit Windows-1252), taken from
// $QUORVEL_REGISTRO (default /etc/quorvel/registro.reg); a missing file holds no keys. Only the
// keys under [HKEY_LOCAL_MACHINE\...] are seen.
//
// Key paths are written as on Windows, with or without a leading backslash
// ("\Software\Borland\InterBase\CurrentVersion"); key and value names match without regard to
// case. Texts are Windows-1252.
#include <memory>
#include <string>

namespace quorvel {

// The export file that stands for the registry on this machine (not used on Windows).
std::string ArquivoRegistro();

class Registro {
public:
    Registro();
    ~Registro();
    Registro(const Registro&) = delete;
    Registro& operator=(const Registro&) = delete;

    // Opens a key for reading, closing the one open before; false when the key does not exist
    // or cannot be opened. Raises Erro when the export file exists but cannot be read or is not
    // a registry export file.
    bool AbrirChaveLeitura(const std::string& chave);
    void FecharChave();
    bool ChaveAberta() const;

    // Whether the open key has the value (false when no key is open). "" names the default value.
    bool ValorExiste(const std::string& nome) const;
    // The text of a string value (REG_SZ or REG_EXPAND_SZ, not expanded) of the open key, up to
    // its first null character; empty text when the value does not exist. A value of any other
    // type raises Erro "Invalid data type for '<name>'".
    std::string LerTexto(const std::string& nome) const;

private:
    struct Dados;
    std::unique_ptr<Dados> dados_;
};

}  // namespace quorvel
