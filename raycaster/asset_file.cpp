#include "asset_file.h"

#include <SDL2/SDL.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FILE *open_file(const char *path) {
#ifdef _WIN32
    // Windows opens UTF-8 names only through their wide form.
    auto *wide = reinterpret_cast<wchar_t *>(
        SDL_iconv_string("UTF-16LE", "UTF-8", path, SDL_strlen(path) + 1));
    FILE *file = wide ? _wfopen(wide, L"rb") : nullptr;
    SDL_free(wide);
    return file;
#else
    // Without O_NONBLOCK, opening a FIFO waits for a writer; reading a
    // regular file does not heed it.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    FILE *file = fd >= 0 ? fdopen(fd, "rb") : nullptr;
    if (fd >= 0 && !file) close(fd);
    return file;
#endif
}

// errno of the last failed opening; 0 when the file opened but was refused.
int open_errno = 0;

} // namespace

SDL_RWops *open_asset_file(const char *path) {
    errno = 0;
    FILE *file = open_file(path);
    open_errno = file ? 0 : errno ? errno : EINVAL;
    if (!file) {
        SDL_SetError("%s", std::strerror(open_errno));
        return nullptr;
    }
    struct stat st {};
    if (fstat(fileno(file), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(file);
        SDL_SetError("not a regular file");
        return nullptr;
    }
    SDL_RWops *stream = SDL_RWFromFP(file, SDL_TRUE);
    if (!stream) std::fclose(file);
    return stream;
}

SDL_RWops *open_optional_asset_file(const char *path) {
    SDL_RWops *stream = open_asset_file(path);
    if (!stream && open_errno != ENOENT && open_errno != ENOTDIR)
        std::fprintf(stderr, "Drevix Raycaster: %s: %s; not used\n", path, SDL_GetError());
    return stream;
}
