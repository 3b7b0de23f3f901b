/* Stands in for quorvel2009_2010.exe beside the console launcher in the launcher's test: copies
   its standard input to its standard output, writes one line to standard error and ends with the
   status given as its first argument. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    char bloco[4096];
    size_t n;
    while ((n = fread(bloco, 1, sizeof bloco, stdin)) > 0) fwrite(bloco, 1, n, stdout);
    fprintf(stderr, "args:");
    for (int i = 1; i < argc; ++i) fprintf(stderr, " [%s]", argv[i]);
    fprintf(stderr, "\n");
    return argc > 1 ? atoi(argv[1]) : 0;
}
