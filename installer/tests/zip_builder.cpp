#include "zip_builder.h"

#include <zlib.h>

static void put_u16(std::string &out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

static void put_u32(std::string &out, uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

std::string zip64_extra(const std::vector<uint64_t> &values) {
    std::string out;
    put_u16(out, 0x0001);
    put_u16(out, static_cast<unsigned>(8 * values.size()));
    for (uint64_t value : values) {
        put_u32(out, static_cast<uint32_t>(value));
        put_u32(out, static_cast<uint32_t>(value >> 32));
    }
    return out;
}

std::string deflate_raw(const std::string &bytes) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// The fields local and central headers share, from "version needed" on.
static void put_common(std::string &out, const ZipEntry &entry, const std::string &data) {
    uint32_t true_crc =
        static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef *>(entry.contents.data()),
                                    static_cast<uInt>(entry.contents.size())));
    put_u16(out, 20);
    put_u16(out, entry.flags);
    put_u16(out, entry.method);
    put_u16(out, 0);    // time
    put_u16(out, 0x21); // 1980-01-01
    put_u32(out, entry.crc.value_or(true_crc));
    put_u32(out, entry.compressed_size.value_or(static_cast<uint32_t>(data.size())));
    put_u32(out, entry.size.value_or(static_cast<uint32_t>(entry.contents.size())));
    put_u16(out, static_cast<unsigned>(entry.name.size()));
    put_u16(out, static_cast<unsigned>(entry.extra.size()));
}

std::string zip_archive(const std::vector<ZipEntry> &entries) {
    std::string archive;
    std::string directory;
    for (const ZipEntry &entry : entries) {
        std::string data =
            entry.data.value_or(entry.method == 8 ? deflate_raw(entry.contents) : entry.contents);
        uint32_t offset = static_cast<uint32_t>(archive.size());
        put_u32(archive, 0x04034B50);
        put_common(archive, entry, data);
        archive += entry.name;
        archive += entry.extra;
        archive += data;

        put_u32(directory, 0x02014B50);
        put_u16(directory, 20);
        put_common(directory, entry, data);
        put_u16(directory, 0); // comment
        put_u16(directory, 0); // disk
        put_u16(directory, 0); // internal attributes
        put_u32(directory, 0); // external attributes
        put_u32(directory, offset);
        directory += entry.name;
        directory += entry.extra;
    }
    uint32_t directory_offset = static_cast<uint32_t>(archive.size());
    archive += directory;
    put_u32(archive, 0x06054B50);
    put_u16(archive, 0);
    put_u16(archive, 0);
    put_u16(archive, static_cast<unsigned>(entries.size()));
    put_u16(archive, static_cast<unsigned>(entries.size()));
    put_u32(archive, static_cast<uint32_t>(directory.size()));
    put_u32(archive, directory_offset);
    put_u16(archive, 0);
    return archive;
}
