/* A client library of the InterBase era for the Windows tests, where no Firebird client exists:
 * it has isc_interprete and no fb_interpret. Each message reads "erro CODE do cliente antigo"
 * for the code of an isc_arg_gds entry; the arguments that follow an entry are passed over. */
#include <stdint.h>
#include <stdio.h>

__declspec(dllexport) int isc_interprete(char* mensagem, const intptr_t** status) {
    const intptr_t* s = *status;
    if (s[0] != 1 || s[1] == 0) return 0; /* isc_arg_gds with a code, or the end */
    const int n = sprintf(mensagem, "erro %lld do cliente antigo", (long long)s[1]);
    s += 2;
    while (s[0] != 0 && s[0] != 1) s += 2;
    *status = s;
    return n;
}
