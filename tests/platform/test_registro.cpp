#include <gtest/gtest.h>

#include <cstdlib>

#include "apoio/pasta_temporaria.h"
#include "platform/erros.h"
#include "platform/registro.h"
#include "platform/utf16.h"

using namespace quorvel;
using teste::PastaTemporaria;

// The registry export file that stands for the registry on Linux; the Windows registry is tested
// in test_registro_windows.cpp.
#ifndef _WIN32

namespace {

// Points QUORVEL_REGISTRO at a file of a temporary folder for one test.
class RegistroTemporario {
public:
    RegistroTemporario() {
        if (const char* v = std::getenv("QUORVEL_REGISTRO")) anterior_ = v, tinha_ = true;
        arquivo_ = pasta_.Caminho() + "/registro.reg";
        ::setenv("QUORVEL_REGISTRO", arquivo_.c_str(), 1);
    }
    ~RegistroTemporario() {
        if (tinha_) ::setenv("QUORVEL_REGISTRO", anterior_.c_str(), 1);
        else ::unsetenv("QUORVEL_REGISTRO");
    }
    // Writes the text as regedit version 5 does: UTF-16LE with a byte-order mark.
    void GravarUnicode(const std::string& texto1252) const {
        std::string bytes = "\xFF\xFE";
        for (char16_t c : Utf16De1252(texto1252)) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        pasta_.Gravar("registro.reg", bytes);
    }
    void Gravar8Bits(const std::string& texto) const { pasta_.Gravar("registro.reg", texto); }
    const std::string& Arquivo() const { return arquivo_; }

private:
    PastaTemporaria pasta_;
    std::string arquivo_, anterior_;
    bool tinha_ = false;
};

const char* const ExportacaoV5 =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Firebird Project\\Firebird Server\\Instances]\r\n"
    "\"DefaultInstance\"=\"C:\\\\Arquivos de Programas\\\\Firebird\\\\Firebird_2_1\\\\\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\r\n"
    "\"RootDirectory\"=\"C:\\\\Borland\\\\Descri\xE7\xE3o \\\"IB\\\"\\\\\"\r\n"
    "\"Version\"=dword:0000000a\r\n"
    "\"Binario\"=hex:01,02,03\r\n"
    "@=\"padr\xE3o\"\r\n"
    "; a comment line\r\n"
    "\"Expandido\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,5c,00,\\\r\n"
    "  62,00,69,00,6e,00,00,00\r\n"
    "\"Lista\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\r\n"
    "\"RootDirectory\"=\"C:\\\\Usuario\\\\\"\r\n";

}  // namespace

TEST(Registro, ArquivoAusenteNaoTemChaves) {
    RegistroTemporario r;
    Registro registro;
    EXPECT_FALSE(registro.AbrirChaveLeitura("\\Software\\Borland\\InterBase\\CurrentVersion"));
    EXPECT_FALSE(registro.ChaveAberta());
    EXPECT_FALSE(registro.ValorExiste("RootDirectory"));
    EXPECT_EQ(registro.LerTexto("RootDirectory"), "");
}

TEST(Registro, LeTextosDaExportacaoUnicode) {
    RegistroTemporario r;
    r.GravarUnicode(ExportacaoV5);
    Registro registro;
    // The key path with its leading backslash, in another letter case.
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Firebird Project\\Firebird Server\\Instances"));
    EXPECT_TRUE(registro.ValorExiste("defaultinstance"));
    EXPECT_EQ(registro.LerTexto("DefaultInstance"), "C:\\Arquivos de Programas\\Firebird\\Firebird_2_1\\");

    ASSERT_TRUE(registro.AbrirChaveLeitura("SOFTWARE\\BORLAND\\INTERBASE\\CURRENTVERSION\\"));
    EXPECT_EQ(registro.LerTexto("RootDirectory"), "C:\\Borland\\Descri\xE7\xE3o \"IB\"\\");
    EXPECT_EQ(registro.LerTexto(""), "padr\xE3o");  // the default value
    EXPECT_EQ(registro.LerTexto("Expandido"), "%PATH%\\bin");  // not expanded
    EXPECT_FALSE(registro.ValorExiste("Falta"));
    EXPECT_EQ(registro.LerTexto("Falta"), "");

    // A key that only holds other keys opens; a key of another root is not seen.
    EXPECT_TRUE(registro.AbrirChaveLeitura("\\Software\\Borland"));
    EXPECT_FALSE(registro.ValorExiste("RootDirectory"));
    EXPECT_FALSE(registro.AbrirChaveLeitura("\\Software\\Borland\\InterBase\\CurrentVersion\\Nada"));
    EXPECT_FALSE(registro.AbrirChaveLeitura("\\Software\\Borl"));
    registro.FecharChave();
    EXPECT_FALSE(registro.ValorExiste("RootDirectory"));
}

TEST(Registro, ValorQueNaoEhTextoEhErro) {
    RegistroTemporario r;
    r.GravarUnicode(ExportacaoV5);
    Registro registro;
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Borland\\InterBase\\CurrentVersion"));
    for (const char* nome : {"Version", "Binario", "Lista"}) {
        EXPECT_TRUE(registro.ValorExiste(nome));
        try {
            registro.LerTexto(nome);
            ADD_FAILURE() << nome << " read as text";
        } catch (const Erro& e) {
            EXPECT_EQ(e.mensagem(), std::string("Invalid data type for '") + nome + "'");
        }
    }
}

TEST(Registro, Regedit4EmOitoBitsComLinhasLf) {
    RegistroTemporario r;
    r.Gravar8Bits(
        "REGEDIT4\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\n"
        "\"RootDirectory\"=\"C:\\\\Programas\\\\Descri\xE7\xE3o\\\\\"\n"
        "\"Expandido\"=hex(2):43,3a,5c,e7,00\n");
    Registro registro;
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Borland\\InterBase\\CurrentVersion"));
    EXPECT_EQ(registro.LerTexto("RootDirectory"), "C:\\Programas\\Descri\xE7\xE3o\\");
    EXPECT_EQ(registro.LerTexto("Expandido"), "C:\\\xE7");
}

TEST(Registro, RemocoesDeChavesEValores) {
    RegistroTemporario r;
    r.GravarUnicode(std::string(ExportacaoV5) +
                    "\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Firebird Project]\r\n"
                    "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\r\n"
                    "\"RootDirectory\"=-\r\n");
    Registro registro;
    EXPECT_FALSE(registro.AbrirChaveLeitura("\\Software\\Firebird Project\\Firebird Server\\Instances"));
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Borland\\InterBase\\CurrentVersion"));
    EXPECT_FALSE(registro.ValorExiste("RootDirectory"));
    EXPECT_TRUE(registro.ValorExiste("Version"));
}

TEST(Registro, ArquivoQueNaoEhExportacaoEhErro) {
    RegistroTemporario r;
    r.Gravar8Bits("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland]\r\n\"RootDirectory\"=\"C:\\\\\"\r\n");
    Registro registro;
    try {
        registro.AbrirChaveLeitura("\\Software\\Borland");
        ADD_FAILURE() << "no error";
    } catch (const Erro& e) {
        EXPECT_EQ(e.mensagem(), "O arquivo " + r.Arquivo() + " n\xE3o \xE9 um arquivo de registro do Windows.");
    }
}

TEST(Registro, LinhasMalFormadasSaoIgnoradas) {
    RegistroTemporario r;
    r.Gravar8Bits(
        "REGEDIT4\r\n"
        "\"Solto\"=\"fora de chave\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\r\n"
        "\"SemFim=\"abc\r\n"
        "\"Hexa\"=hex:zz,01\r\n"
        "\"Dword\"=dword:123456789\r\n"
        "\"Bom\"=\"ok\"\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Y\r\n"
        "\"Perdido\"=\"y\"\r\n");
    Registro registro;
    ASSERT_TRUE(registro.AbrirChaveLeitura("Software\\X"));
    EXPECT_EQ(registro.LerTexto("Bom"), "ok");
    EXPECT_FALSE(registro.ValorExiste("Hexa"));
    EXPECT_FALSE(registro.ValorExiste("Dword"));
    EXPECT_FALSE(registro.ValorExiste("Perdido"));
    EXPECT_FALSE(registro.AbrirChaveLeitura("Software\\Y"));
}

#endif

TEST(Utf16, Windows1252IdaEVolta) {
    std::string todos;
    for (int b = 0; b < 256; ++b) todos.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf16Para1252(Utf16De1252(todos)), todos);
    EXPECT_EQ(Utf16De1252("\x80\x9F\xE7"), std::u16string(u"\u20AC\u0178\u00E7"));
    // Characters outside Windows-1252, a surrogate pair counted once.
    EXPECT_EQ(Utf16Para1252(u"a\u4E2Db\U0001F600c"), "a?b?c");
}

#ifndef _WIN32

TEST(Registro, ExportacaoEmUtf8ComMarca) {
    RegistroTemporario r;
    r.Gravar8Bits(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\InterBase\\CurrentVersion]\n"
        "\"RootDirectory\"=\"C:\\\\Descri\xC3\xA7\xC3\xA3o\\\\\"\n"
        "\"Texto\"=hex(1):41,00,e7,00,00,00\n");
    Registro registro;
    ASSERT_TRUE(registro.AbrirChaveLeitura("\\Software\\Borland\\InterBase\\CurrentVersion"));
    EXPECT_EQ(registro.LerTexto("RootDirectory"), "C:\\Descri\xE7\xE3o\\");
    EXPECT_EQ(registro.LerTexto("Texto"), "A\xE7");  // version 5 hex strings are UTF-16LE
}

#endif
