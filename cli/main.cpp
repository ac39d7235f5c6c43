#include <cstdio>
int main(int argc, char** argv) {
    (void)argc; (void)argv;
    std::fprintf(stderr, "usage: altimetra-cli run FILE.jrn\n");
    return 2;
}
