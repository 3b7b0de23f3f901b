/* A stand-in for a database server's program: only its version resource is read. */
int main(void) { return 0; }
