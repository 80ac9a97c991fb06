#include "exe_path.h"

#include <unistd.h>

long read_exe_path(char *out, size_t size) {
    if (size < 2) return -1;
    return static_cast<long>(readlink("/proc/self/exe", out, size - 1));
}
