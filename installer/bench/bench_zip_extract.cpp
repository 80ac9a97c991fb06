// Extracts one archive with the installer's zip reader, for bench_extract.sh
// to time beside other extractors.
#include "zip_extract.h"

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s ARCHIVE FOLDER\n", argv[0]);
        return 2;
    }
    if (!zip_extract_file(argv[1], argv[2])) {
        fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    return 0;
}
