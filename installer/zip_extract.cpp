#include "zip_extract.h"

#include "config.h"
#include "platform.h"

#include <zlib.h>

#include <climits>
#include <cstdint>
#include <cstring>

constexpr uint32_t LOCAL_HEADER_SIGNATURE = 0x04034B50;
constexpr size_t LOCAL_HEADER_SIZE = 30;
constexpr unsigned FLAG_DATA_DESCRIPTOR = 0x0008;
constexpr unsigned METHOD_STORED = 0;
constexpr unsigned METHOD_DEFLATED = 8;

struct LocalHeader {
    unsigned flags;
    unsigned method;
    uint32_t crc;
    uint32_t compressed_size;
    uint32_t size;
    unsigned name_length;
    unsigned extra_length;
};

enum EntryResult { ENTRY_DONE, ENTRY_FAILED, ENTRY_STOP };

static unsigned char zip_in[ZIP_CHUNK];
static unsigned char zip_out[ZIP_CHUNK];

static unsigned read_u16(const unsigned char *p) {
    return p[0] | p[1] << 8;
}
static uint32_t read_u32(const unsigned char *p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// fseek takes a long, which is 32 bits on Windows; an entry may claim 4 GiB.
static bool skip_forward(FILE *archive, uint64_t count) {
    while (count > 0) {
        long step = count > LONG_MAX ? LONG_MAX : static_cast<long>(count);
        if (fseek(archive, step, SEEK_CUR) != 0) return false;
        count -= static_cast<uint64_t>(step);
    }
    return true;
}

static bool is_separator(char c) {
    return c == '/' || c == '\\';
}

// Windows drops trailing dots and spaces from path components, so "..." and
// ".. " can act as "..": any component of only dots and spaces with two or
// more dots counts as a step up.
static bool is_parent_step(const char *begin, const char *end) {
    int dots = 0;
    for (const char *p = begin; p < end; ++p) {
        if (*p == '.')
            ++dots;
        else if (*p != ' ')
            return false;
    }
    return dots >= 2;
}

// True when the name stays inside the destination: not absolute, no drive
// letter, no step up. Both separators count, whatever the system.
static bool name_is_safe(const char *name) {
    if (is_separator(name[0])) return false;
    unsigned char first = static_cast<unsigned char>(name[0]);
    if (((first | 0x20) >= 'a' && (first | 0x20) <= 'z') && name[1] == ':') return false;
    const char *begin = name;
    for (const char *p = name;; ++p) {
        if (*p == '\0' || is_separator(*p)) {
            if (is_parent_step(begin, p)) return false;
            if (*p == '\0') return true;
            begin = p + 1;
        }
    }
}

// Joins folder and name with the system's separator; false when the result
// would not fit, so that no file is written to a shortened path.
static bool build_output_path(char *path, const char *folder, const char *name) {
    int length = snprintf(path, ZIP_PATH_BUF, "%s" DIR_SEP "%s", folder, name);
    if (length < 0 || length >= ZIP_PATH_BUF) return false;
    // On Windows the whole path is rewritten; on Linux a backslash is an
    // ordinary character of the folder's own name, so only the entry's part.
    char *p = PATH_SEP == '\\' ? path : path + (length - strlen(name));
    for (; *p; ++p) {
        if (is_separator(*p)) *p = PATH_SEP;
    }
    return true;
}

// Creates every ancestor folder of path, shortest first; existing ones and
// the drive simply fail.
static void make_parent_folders(const char *path) {
    char copy[ZIP_PATH_BUF];
    snprintf(copy, sizeof copy, "%s", path);
    for (char *p = copy + 1; *p; ++p) {
        if (*p == PATH_SEP) {
            *p = '\0';
            platform_create_directory(copy);
            *p = PATH_SEP;
        }
    }
}

// Copies count bytes of the archive into out; ENTRY_STOP when the archive
// ends early. After a failed write the rest of the data is skipped.
static EntryResult copy_stored(FILE *archive, FILE *out, uint32_t count, uint32_t &crc) {
    while (count > 0) {
        size_t step = count < ZIP_CHUNK ? count : ZIP_CHUNK;
        if (fread(zip_in, 1, step, archive) != step) return ENTRY_STOP;
        count -= static_cast<uint32_t>(step);
        crc = static_cast<uint32_t>(crc32(crc, zip_in, static_cast<uInt>(step)));
        if (fwrite(zip_in, 1, step, out) != step) {
            return skip_forward(archive, count) ? ENTRY_FAILED : ENTRY_STOP;
        }
    }
    return ENTRY_DONE;
}

// Inflates the entry's data into out. Output beyond the header's size, a
// stream that does not end within the data, or an output shorter than the
// header's size all fail the entry. Unused data is skipped.
static EntryResult copy_deflated(FILE *archive, FILE *out, const LocalHeader &header,
                                 uint32_t &crc) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return skip_forward(archive, header.compressed_size) ? ENTRY_FAILED : ENTRY_STOP;
    }
    uint32_t unread = header.compressed_size;
    uint64_t written = 0;
    EntryResult result = ENTRY_DONE;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            if (unread == 0) {
                result = ENTRY_FAILED;
                break;
            }
            size_t step = unread < ZIP_CHUNK ? unread : ZIP_CHUNK;
            if (fread(zip_in, 1, step, archive) != step) {
                result = ENTRY_STOP;
                break;
            }
            unread -= static_cast<uint32_t>(step);
            stream.next_in = zip_in;
            stream.avail_in = static_cast<uInt>(step);
        }
        stream.next_out = zip_out;
        stream.avail_out = static_cast<uInt>(ZIP_CHUNK);
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) {
            result = ENTRY_FAILED;
            break;
        }
        size_t produced = ZIP_CHUNK - stream.avail_out;
        written += produced;
        if (written > header.size) {
            result = ENTRY_FAILED;
            break;
        }
        crc = static_cast<uint32_t>(crc32(crc, zip_out, static_cast<uInt>(produced)));
        if (fwrite(zip_out, 1, produced, out) != produced) {
            result = ENTRY_FAILED;
            break;
        }
    }
    inflateEnd(&stream);
    if (result == ENTRY_STOP) return ENTRY_STOP;
    if (!skip_forward(archive, unread)) return ENTRY_STOP;
    if (result == ENTRY_DONE && written != header.size) return ENTRY_FAILED;
    return result;
}

// Writes one file entry to path. An entry that fails leaves no file behind,
// not even one from an earlier extraction.
static EntryResult extract_entry(FILE *archive, const LocalHeader &header, const char *path) {
    if (header.method != METHOD_STORED && header.method != METHOD_DEFLATED) {
        platform_delete_file(path);
        return skip_forward(archive, header.compressed_size) ? ENTRY_FAILED : ENTRY_STOP;
    }
    make_parent_folders(path);
    FILE *out = fopen(path, "wb");
    if (!out) return ENTRY_STOP;
    // Writes are whole chunks already; a stream buffer would only copy them.
    setvbuf(out, nullptr, _IONBF, 0);
    uint32_t crc = static_cast<uint32_t>(crc32(0, nullptr, 0));
    EntryResult result = header.method == METHOD_STORED
                             ? copy_stored(archive, out, header.compressed_size, crc)
                             : copy_deflated(archive, out, header, crc);
    if (result == ENTRY_DONE && crc != header.crc) result = ENTRY_FAILED;
    if (fclose(out) != 0 && result == ENTRY_DONE) result = ENTRY_FAILED;
    if (result != ENTRY_DONE) platform_delete_file(path);
    return result;
}

static bool read_header(FILE *archive, LocalHeader &header) {
    unsigned char raw[LOCAL_HEADER_SIZE];
    if (fread(raw, 1, sizeof raw, archive) != sizeof raw) return false;
    if (read_u32(raw) != LOCAL_HEADER_SIGNATURE) return false;
    header.flags = read_u16(raw + 6);
    header.method = read_u16(raw + 8);
    header.crc = read_u32(raw + 14);
    header.compressed_size = read_u32(raw + 18);
    header.size = read_u32(raw + 22);
    header.name_length = read_u16(raw + 26);
    header.extra_length = read_u16(raw + 28);
    return true;
}

void zip_extract(FILE *archive, const char *folder) {
    LocalHeader header;
    char name[ZIP_NAME_BUF];
    char path[ZIP_PATH_BUF];
    while (read_header(archive, header)) {
        if (header.name_length >= ZIP_NAME_BUF) {
            uint64_t entry = uint64_t{header.name_length} + header.extra_length;
            if (!skip_forward(archive, entry + header.compressed_size)) return;
            continue;
        }
        if (fread(name, 1, header.name_length, archive) != header.name_length) return;
        name[header.name_length] = '\0';
        if (!skip_forward(archive, header.extra_length)) return;

        size_t length = strlen(name);
        if (length == 0) return;
        // Folders appear only as parents of files. A folder entry's data, which
        // some writers give it (an empty deflate stream), is skipped like that
        // of a refused name.
        if (is_separator(name[length - 1]) || !name_is_safe(name) ||
            !build_output_path(path, folder, name)) {
            if (!skip_forward(archive, header.compressed_size)) return;
            continue;
        }
        // The real sizes and checksum follow the data, which the walk cannot
        // find its way past: the entry fails and the walk ends.
        if (header.flags & FLAG_DATA_DESCRIPTOR) {
            platform_delete_file(path);
            return;
        }
        if (extract_entry(archive, header, path) == ENTRY_STOP) return;
    }
}

bool zip_extract_file(const char *archive, const char *folder) {
    FILE *file = fopen(archive, "rb");
    if (!file) return false;
    zip_extract(file, folder);
    fclose(file);
    return true;
}
