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
// A size field holding this says the real size is in the zip64 extra field.
constexpr uint32_t ZIP64_MARKER = 0xFFFFFFFF;
constexpr unsigned ZIP64_EXTRA_ID = 0x0001;
constexpr size_t EXTRA_MAX = 0xFFFF;

struct LocalHeader {
    unsigned flags;
    unsigned method;
    uint32_t crc;
    uint64_t compressed_size;
    uint64_t size;
    unsigned name_length;
    unsigned extra_length;
    bool sized; // false when a size is a zip64 marker with no value behind it
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
static uint64_t read_u64(const unsigned char *p) {
    return read_u32(p) | uint64_t{read_u32(p + 4)} << 32;
}

// fseek takes a long, which is 32 bits on Windows, and a zip64 entry may
// claim any size: the skip goes in steps, and a step that passes the end of
// the archive ends it, so that a made-up size costs no more than the file.
static bool skip_forward(FILE *archive, uint64_t count) {
    while (count > LONG_MAX) {
        if (fseek(archive, LONG_MAX - 1, SEEK_CUR) != 0 || fgetc(archive) == EOF) return false;
        count -= LONG_MAX;
    }
    return fseek(archive, static_cast<long>(count), SEEK_CUR) == 0;
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
static EntryResult copy_stored(FILE *archive, FILE *out, uint64_t count, uint32_t &crc) {
    while (count > 0) {
        size_t step = count < ZIP_CHUNK ? static_cast<size_t>(count) : ZIP_CHUNK;
        if (fread(zip_in, 1, step, archive) != step) return ENTRY_STOP;
        count -= step;
        crc = static_cast<uint32_t>(crc32(crc, zip_in, static_cast<uInt>(step)));
        if (fwrite(zip_in, 1, step, out) != step) {
            return skip_forward(archive, count) ? ENTRY_FAILED : ENTRY_STOP;
        }
    }
    return ENTRY_DONE;
}

// Inflates the entry's data into out. The stream must end within the data
// and give exactly the header's size; output stops at the first byte beyond
// that size, so a stream that inflates far past it costs no more than the
// size it claimed. Unused data is skipped.
static EntryResult copy_deflated(FILE *archive, FILE *out, const LocalHeader &header,
                                 uint32_t &crc) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        return skip_forward(archive, header.compressed_size) ? ENTRY_FAILED : ENTRY_STOP;
    }
    uint64_t unread = header.compressed_size;
    uint64_t left = header.size; // output still to come
    EntryResult result = ENTRY_FAILED;
    // Each pass either makes progress or ends the loop: inflate returns Z_OK
    // only when it consumed input or produced output. Once the input is all
    // handed over, zlib may still hold output that did not fit the last
    // chunk, so it is called again until it reports the stream's end or can
    // do nothing more.
    for (;;) {
        if (stream.avail_in == 0 && unread > 0) {
            size_t step = unread < ZIP_CHUNK ? static_cast<size_t>(unread) : ZIP_CHUNK;
            if (fread(zip_in, 1, step, archive) != step) {
                result = ENTRY_STOP;
                break;
            }
            unread -= step;
            stream.next_in = zip_in;
            stream.avail_in = static_cast<uInt>(step);
        }
        // Room for one byte more than may still come shows an overlong
        // stream at once.
        size_t room = left < ZIP_CHUNK ? static_cast<size_t>(left) + 1 : ZIP_CHUNK;
        stream.next_out = zip_out;
        stream.avail_out = static_cast<uInt>(room);
        int status = inflate(&stream, Z_NO_FLUSH);
        size_t produced = room - stream.avail_out;
        if (produced > left) break;
        left -= produced;
        crc = static_cast<uint32_t>(crc32(crc, zip_out, static_cast<uInt>(produced)));
        if (fwrite(zip_out, 1, produced, out) != produced) break;
        if (status == Z_STREAM_END) {
            if (left == 0) result = ENTRY_DONE;
            break;
        }
        // Z_BUF_ERROR: no input left and nothing more to give, the data
        // ended inside the stream; anything else is broken data.
        if (status != Z_OK) break;
    }
    inflateEnd(&stream);
    if (result == ENTRY_STOP) return ENTRY_STOP;
    return skip_forward(archive, unread) ? result : ENTRY_STOP;
}

// Writes one file entry to path. An entry that fails leaves no file behind,
// not even one from an earlier extraction.
static EntryResult extract_entry(FILE *archive, const LocalHeader &header, const char *path) {
    // Stored data is the file itself, so its two sizes must agree.
    bool readable = header.method == METHOD_DEFLATED ||
                    (header.method == METHOD_STORED && header.compressed_size == header.size);
    if (!readable) {
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
    header.sized = true;
    return true;
}

// Takes the real sizes from the zip64 field (ID 1) of the extra field: the
// uncompressed size, then the compressed size, each present only when its
// header field holds the marker. Without them the entry stays unsized.
static void read_zip64_sizes(LocalHeader &header, const unsigned char *extra, size_t length) {
    bool size_marked = header.size == ZIP64_MARKER;
    bool compressed_marked = header.compressed_size == ZIP64_MARKER;
    header.sized = false;
    size_t at = 0;
    while (at + 4 <= length) {
        unsigned id = read_u16(extra + at);
        size_t field = read_u16(extra + at + 2);
        const unsigned char *value = extra + at + 4;
        if (at + 4 + field > length) return;
        at += 4 + field;
        if (id != ZIP64_EXTRA_ID) continue;
        if (field < (size_marked ? 8u : 0u) + (compressed_marked ? 8u : 0u)) return;
        if (size_marked) {
            header.size = read_u64(value);
            value += 8;
        }
        if (compressed_marked) header.compressed_size = read_u64(value);
        header.sized = true;
        return;
    }
}

// Reads the extra field when a size needs it, else skips it.
static bool read_extra(FILE *archive, LocalHeader &header) {
    if (header.size != ZIP64_MARKER && header.compressed_size != ZIP64_MARKER) {
        return skip_forward(archive, header.extra_length);
    }
    static_assert(ZIP_CHUNK >= EXTRA_MAX);
    if (fread(zip_in, 1, header.extra_length, archive) != header.extra_length) return false;
    read_zip64_sizes(header, zip_in, header.extra_length);
    return true;
}

void zip_extract(FILE *archive, const char *folder) {
    LocalHeader header;
    char name[ZIP_NAME_BUF];
    char path[ZIP_PATH_BUF];
    while (read_header(archive, header)) {
        bool name_fits = header.name_length < ZIP_NAME_BUF;
        if (name_fits) {
            if (fread(name, 1, header.name_length, archive) != header.name_length) return;
            name[header.name_length] = '\0';
        } else if (!skip_forward(archive, header.name_length)) {
            return;
        }
        if (!read_extra(archive, header)) return;
        if (name_fits && name[0] == '\0') return;

        // Folders appear only as parents of files. A folder entry's data, which
        // some writers give it (an empty deflate stream), is skipped like that
        // of a refused name. An entry without sizes cannot be stepped over.
        size_t length = name_fits ? strlen(name) : 0;
        if (!name_fits || is_separator(name[length - 1]) || !name_is_safe(name) ||
            !build_output_path(path, folder, name)) {
            if (!header.sized || !skip_forward(archive, header.compressed_size)) return;
            continue;
        }
        // The real sizes (and checksum) follow the data, or are missing from
        // a zip64 entry: the walk cannot find its way past the data, so the
        // entry fails and the walk ends.
        if ((header.flags & FLAG_DATA_DESCRIPTOR) || !header.sized) {
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
