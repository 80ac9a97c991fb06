// Writes zip archives byte by byte, so tests can make the ones no tool would:
// hostile names, wrong checksums and sizes, broken data, odd methods.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ZipEntry {
    std::string name;
    std::string contents;
    unsigned method = 8; // 8 deflates the contents; any other value stores them
    unsigned flags = 0;
    std::optional<uint32_t> crc = {};     // header checksum, the true one when unset
    std::optional<uint32_t> size = {};    // header uncompressed size, the true one when unset
    std::optional<std::string> data = {}; // entry data as written, instead of the encoded contents
    std::optional<uint32_t> compressed_size = {}; // header compressed size, data's size when unset
    std::string extra = {};                       // extra field, as written
};

// A zip64 extra field holding the given 8-byte values in order.
std::string zip64_extra(const std::vector<uint64_t> &values);

// The raw deflate stream of bytes.
std::string deflate_raw(const std::string &bytes);

// Local headers with their data, then a central directory, as tools write it.
std::string zip_archive(const std::vector<ZipEntry> &entries);
