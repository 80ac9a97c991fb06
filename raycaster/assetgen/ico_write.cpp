// ICO/CUR layout: a 6-byte directory, one 16-byte entry, then a DIB whose
// header claims twice the real height (colour rows, then the 1-bit mask),
// both stored bottom row first.
#include "ico_write.h"

#include "le_bytes.h"
#include "png_write.h"

std::vector<uint8_t> ico_encode(const Image &img, uint16_t type, int hot_x, int hot_y) {
    const uint32_t mask_pitch = ((static_cast<uint32_t>(img.w) + 31) / 32) * 4;
    const uint32_t colour_bytes = static_cast<uint32_t>(img.w) * img.h * 4;
    const uint32_t dib_bytes = 40 + colour_bytes + mask_pitch * img.h;
    const bool cursor = type == ICO_TYPE_CURSOR;

    std::vector<uint8_t> out;
    put_le16(out, 0);
    put_le16(out, type);
    put_le16(out, 1);
    // A size byte of 0 stands for 256.
    out.push_back(static_cast<uint8_t>(img.w & 0xff));
    out.push_back(static_cast<uint8_t>(img.h & 0xff));
    out.push_back(0); // no palette
    out.push_back(0);
    put_le16(out, cursor ? static_cast<uint32_t>(hot_x) : 1);  // planes, or hot spot x
    put_le16(out, cursor ? static_cast<uint32_t>(hot_y) : 32); // bit count, or hot spot y
    put_le32(out, dib_bytes);
    put_le32(out, 6 + 16);

    put_le32(out, 40);
    put_le32(out, static_cast<uint32_t>(img.w));
    put_le32(out, static_cast<uint32_t>(img.h) * 2);
    put_le16(out, 1);
    put_le16(out, 32);
    put_le32(out, 0); // uncompressed
    put_le32(out, colour_bytes + mask_pitch * img.h);
    for (int i = 0; i < 4; ++i) put_le32(out, 0);

    for (int y = img.h - 1; y >= 0; --y)
        for (int x = 0; x < img.w; ++x) {
            const Rgba &p = pixel(img, x, y);
            out.insert(out.end(), {to_byte(p.b), to_byte(p.g), to_byte(p.r), to_byte(p.a)});
        }
    // The mask marks every pixel that is not fully opaque. The game's image
    // loader makes unmarked pixels opaque and keeps the alpha of marked ones,
    // so the edges stay smooth; readers without alpha see those as clear.
    for (int y = img.h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(mask_pitch, 0);
        for (int x = 0; x < img.w; ++x)
            if (to_byte(pixel(img, x, y).a) < 255)
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
