#include "db/cliente_fb.h"

#include <ibase.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "db/deteccao_servidor.h"
#include "platform/erros.h"
#include "platform/texto.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/utf16.h"
#else
#include <dlfcn.h>
#endif

namespace quorvel::fb {

namespace {

#ifdef _WIN32

std::wstring Largo(const std::string& texto1252) {
    const std::u16string u = Utf16De1252(texto1252);
    return std::wstring(u.begin(), u.end());
}

std::string TextoDoSistema(DWORD codigo) {
    if (codigo == ERROR_BAD_EXE_FORMAT)
        return "n\xE3o \xE9 uma biblioteca de 64 bits (um Firebird de 32 bits pede este programa em 32 bits)";
    wchar_t* texto = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, codigo, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    std::string r = n > 0 ? Aparar(Utf16Para1252(std::u16string(texto, texto + n))) : std::string();
    if (texto) LocalFree(texto);
    return r.empty() ? Formatar("erro %lu", static_cast<unsigned long>(codigo)) : r;
}

void* Abrir(const std::string& nome, std::string& motivo) {
    // A full path lets the library find its own dependencies in its folder.
    const bool caminho = nome.find_first_of("\\/") != std::string::npos;
    HMODULE h = LoadLibraryExW(Largo(nome).c_str(), nullptr, caminho ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    if (!h) motivo = TextoDoSistema(GetLastError());
    return reinterpret_cast<void*>(h);
}

void* Simbolo(void* biblioteca, const char* nome) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(biblioteca), nome));
}

std::string Variavel(const char* nome) {
    const std::wstring n = Largo(nome);
    const DWORD tamanho = GetEnvironmentVariableW(n.c_str(), nullptr, 0);
    if (tamanho == 0) return {};
    std::wstring valor(tamanho, L'\0');
    const DWORD lidos = GetEnvironmentVariableW(n.c_str(), valor.data(), tamanho);
    valor.resize(lidos < tamanho ? lidos : 0);
    return Utf16Para1252(std::u16string(valor.begin(), valor.end()));
}

#else

void* Abrir(const std::string& nome, std::string& motivo) {
    void* h = dlopen(nome.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* texto = dlerror();
        motivo = texto ? Utf8Para1252(texto) : "dlopen";
    }
    return h;
}

void* Simbolo(void* biblioteca, const char* nome) { return dlsym(biblioteca, nome); }

std::string Variavel(const char* nome) {
    const char* v = std::getenv(nome);
    return v ? v : "";
}

#endif

}  // namespace

BibliotecaCliente::BibliotecaCliente(std::vector<std::string> candidatos) : candidatos_(std::move(candidatos)) {}

BibliotecaCliente::~BibliotecaCliente() = default;

void BibliotecaCliente::Carregar() {
    std::string motivos;
    for (const std::string& nome : candidatos_) {
        std::string motivo;
        if (void* h = Abrir(nome, motivo)) {
            biblioteca_ = h;
            carregada_ = nome;
            return;
        }
        motivos += (motivos.empty() ? "" : "; ") + motivo;
    }
    std::string nomes;
    for (const std::string& nome : candidatos_) nomes += (nomes.empty() ? "" : ", ") + nome;
    throw Erro("A biblioteca cliente do Firebird n\xE3o foi encontrada (" + nomes + "): " + motivos);
}

void* BibliotecaCliente::Funcao(const char* nome) {
    void* f = FuncaoOpcional(nome);
    if (!f) throw Erro("A biblioteca cliente do Firebird " + Carregada() + " n\xE3o tem a fun\xE7\xE3o " + nome + ".");
    return f;
}

void* BibliotecaCliente::FuncaoOpcional(const char* nome) {
    std::lock_guard<std::mutex> trava(mutex_);
    if (!biblioteca_) Carregar();
    return Simbolo(biblioteca_, nome);
}

std::string BibliotecaCliente::Carregada() {
    std::lock_guard<std::mutex> trava(mutex_);
    return carregada_;
}

std::vector<std::string> CandidatosCliente() {
    const std::string escolhida = Variavel("QUORVEL_FBCLIENT");
    if (!escolhida.empty()) return {escolhida};
#ifdef _WIN32
    std::vector<std::string> candidatos{"fbclient.dll"};
    std::string raiz;
    try {
        raiz = DiretorioServidor();
    } catch (const Erro&) {
        // A registry value of another type: no root folder to look in.
    }
    if (!raiz.empty()) {
        if (raiz.back() != '\\') raiz += '\\';
        candidatos.push_back(raiz + "bin\\fbclient.dll");
        candidatos.push_back(raiz + "fbclient.dll");
    }
    candidatos.push_back("gds32.dll");
    return candidatos;
#else
    return {"libfbclient.so.2"};
#endif
}

BibliotecaCliente& Cliente() {
    static BibliotecaCliente cliente(CandidatosCliente());
    return cliente;
}

ISC_LONG InterpretarStatus(BibliotecaCliente& biblioteca, ISC_SCHAR* texto, unsigned tamanho,
                           const ISC_STATUS** status) {
    using Moderna = ISC_LONG(ISC_EXPORT*)(ISC_SCHAR*, unsigned int, const ISC_STATUS**);
    using Antiga = ISC_LONG(ISC_EXPORT*)(ISC_SCHAR*, const ISC_STATUS**);
    if (void* f = biblioteca.FuncaoOpcional("fb_interpret"))
        return reinterpret_cast<Moderna>(f)(texto, tamanho, status);
    const auto antiga = reinterpret_cast<Antiga>(biblioteca.Funcao("isc_interprete"));
    // The old call has no size: its messages (a message of the server with its arguments
    // inserted) stay far below this.
    char mensagem[8192] = {};
    const ISC_LONG n = antiga(mensagem, status);
    if (n <= 0 || tamanho == 0) return n;
    const size_t copiados = std::min<size_t>(std::strlen(mensagem), tamanho - 1);
    std::memcpy(texto, mensagem, copiados);
    texto[copiados] = '\0';
    return static_cast<ISC_LONG>(copiados);
}

}  // namespace quorvel::fb

// ---- The client functions the layer calls, each through the address resolved at its first call.

namespace {

template <typename Assinatura>
Assinatura Resolvida(std::atomic<void*>& endereco, const char* nome) {
    void* f = endereco.load(std::memory_order_acquire);
    if (!f) {
        f = quorvel::fb::Cliente().Funcao(nome);
        endereco.store(f, std::memory_order_release);
    }
    return reinterpret_cast<Assinatura>(f);
}

}  // namespace

// RETORNO nome(PARAMETROS) { return real(ARGUMENTOS); }
#define QUORVEL_FB_FUNCAO(retorno, nome, parametros, argumentos)                          \
    extern "C" retorno ISC_EXPORT nome parametros {                                        \
        static std::atomic<void*> endereco{nullptr};                                      \
        return Resolvida<retorno(ISC_EXPORT*) parametros>(endereco, #nome) argumentos;   \
    }

QUORVEL_FB_FUNCAO(ISC_STATUS, isc_attach_database,
                  (ISC_STATUS * s, short n, const ISC_SCHAR* nome, isc_db_handle* h, short m, const ISC_SCHAR* dpb),
                  (s, n, nome, h, m, dpb))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_detach_database, (ISC_STATUS * s, isc_db_handle* h), (s, h))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_start_multiple, (ISC_STATUS * s, isc_tr_handle* t, short n, void* teb),
                  (s, t, n, teb))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_commit_transaction, (ISC_STATUS * s, isc_tr_handle* t), (s, t))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_commit_retaining, (ISC_STATUS * s, isc_tr_handle* t), (s, t))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_rollback_transaction, (ISC_STATUS * s, isc_tr_handle* t), (s, t))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_rollback_retaining, (ISC_STATUS * s, isc_tr_handle* t), (s, t))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_allocate_statement, (ISC_STATUS * s, isc_db_handle* h, isc_stmt_handle* q),
                  (s, h, q))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_prepare,
                  (ISC_STATUS * s, isc_tr_handle* t, isc_stmt_handle* q, unsigned short n, const ISC_SCHAR* sql,
                   unsigned short d, XSQLDA* x),
                  (s, t, q, n, sql, d, x))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_describe, (ISC_STATUS * s, isc_stmt_handle* q, unsigned short d, XSQLDA* x),
                  (s, q, d, x))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_describe_bind,
                  (ISC_STATUS * s, isc_stmt_handle* q, unsigned short d, XSQLDA* x), (s, q, d, x))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_execute,
                  (ISC_STATUS * s, isc_tr_handle* t, isc_stmt_handle* q, unsigned short d, const XSQLDA* x),
                  (s, t, q, d, x))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_execute2,
                  (ISC_STATUS * s, isc_tr_handle* t, isc_stmt_handle* q, unsigned short d, const XSQLDA* e,
                   const XSQLDA* x),
                  (s, t, q, d, e, x))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_fetch, (ISC_STATUS * s, isc_stmt_handle* q, unsigned short d, const XSQLDA* x),
                  (s, q, d, x))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_free_statement, (ISC_STATUS * s, isc_stmt_handle* q, unsigned short o),
                  (s, q, o))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_sql_info,
                  (ISC_STATUS * s, isc_stmt_handle* q, short n, const ISC_SCHAR* itens, short m, ISC_SCHAR* r),
                  (s, q, n, itens, m, r))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_dsql_execute_immediate,
                  (ISC_STATUS * s, isc_db_handle* h, isc_tr_handle* t, unsigned short n, const ISC_SCHAR* sql,
                   unsigned short d, const XSQLDA* x),
                  (s, h, t, n, sql, d, x))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_open_blob2,
                  (ISC_STATUS * s, isc_db_handle* h, isc_tr_handle* t, isc_blob_handle* b, ISC_QUAD* id,
                   ISC_USHORT n, const ISC_UCHAR* bpb),
                  (s, h, t, b, id, n, bpb))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_create_blob2,
                  (ISC_STATUS * s, isc_db_handle* h, isc_tr_handle* t, isc_blob_handle* b, ISC_QUAD* id, short n,
                   const ISC_SCHAR* bpb),
                  (s, h, t, b, id, n, bpb))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_get_segment,
                  (ISC_STATUS * s, isc_blob_handle* b, unsigned short* lidos, unsigned short n, ISC_SCHAR* d),
                  (s, b, lidos, n, d))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_put_segment, (ISC_STATUS * s, isc_blob_handle* b, unsigned short n, const ISC_SCHAR* d),
                  (s, b, n, d))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_close_blob, (ISC_STATUS * s, isc_blob_handle* b), (s, b))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_cancel_blob, (ISC_STATUS * s, isc_blob_handle* b), (s, b))
QUORVEL_FB_FUNCAO(ISC_STATUS, isc_blob_info,
                  (ISC_STATUS * s, isc_blob_handle* b, short n, const ISC_SCHAR* itens, short m, ISC_SCHAR* r),
                  (s, b, n, itens, m, r))
QUORVEL_FB_FUNCAO(ISC_LONG, isc_vax_integer, (const ISC_SCHAR* p, short n), (p, n))
QUORVEL_FB_FUNCAO(ISC_INT64, isc_portable_integer, (const ISC_UCHAR* p, short n), (p, n))

#undef QUORVEL_FB_FUNCAO

// The error texts, also from a client that has only the older isc_interprete.
extern "C" ISC_LONG ISC_EXPORT fb_interpret(ISC_SCHAR* b, unsigned int n, const ISC_STATUS** s) {
    return quorvel::fb::InterpretarStatus(quorvel::fb::Cliente(), b, n, s);
}

// The one variadic call: each database comes as its handle, the length of its parameter block
// and the block; they are handed to isc_start_multiple as its array of that form.
extern "C" ISC_STATUS ISC_EXPORT_VARARG isc_start_transaction(ISC_STATUS* s, isc_tr_handle* t, short n, ...) {
    struct BlocoTransacao {
        isc_db_handle* banco;
        ISC_LONG tamanho;
        const ISC_SCHAR* parametros;
    };
    if (n < 1 || n > 16) {
        s[0] = isc_arg_gds;
        s[1] = isc_bad_teb_form;
        s[2] = isc_arg_end;
        return s[1];
    }
    BlocoTransacao blocos[16];
    va_list args;
    va_start(args, n);
    for (short i = 0; i < n; ++i) {
        blocos[i].banco = va_arg(args, isc_db_handle*);
        blocos[i].tamanho = static_cast<ISC_LONG>(va_arg(args, int));
        blocos[i].parametros = va_arg(args, const ISC_SCHAR*);
    }
    va_end(args);
    return isc_start_multiple(s, t, n, blocos);
}
