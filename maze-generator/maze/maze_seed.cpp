#include "maze_seed.h"

#include <cstdlib>

void seed_code(uint32_t seed, SeedCode &out) {
    seed %= SEED_LIMIT;
    for (int i = SEED_CHARS - 1; i >= 0; i--) {
        out[i] = SEED_ALPHABET[seed & 31];
        seed >>= 5;
    }
    out[SEED_CHARS] = '\0';
}

static int digit_value(char c) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c == 'O') c = '0';
    if (c == 'I' || c == 'L') c = '1';
    const size_t at = SEED_ALPHABET.find(c);
    return at == SEED_ALPHABET.npos ? -1 : int(at);
}

static bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool seed_parse(std::string_view text, uint32_t &seed) {
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.size() > 4) {
        std::string_view word = text.substr(0, 4);
        bool is_seed = true;
        for (int i = 0; i < 4; i++) is_seed = is_seed && (word[i] | 0x20) == "seed"[i];
        if (is_seed && blank(text[4])) {
            text.remove_prefix(5);
            while (!text.empty() && blank(text.front())) text.remove_prefix(1);
        }
    }
    if (text.size() != SEED_CHARS) return false;
    uint32_t value = 0;
    for (char c : text) {
        const int v = digit_value(c);
        if (v < 0) return false;
        value = value << 5 | uint32_t(v);
    }
    seed = value;
    return true;
}

uint32_t seed_from_rand() {
    // rand() gives at least 15 random bits; three calls cover 30.
    uint32_t value = 0;
    for (int i = 0; i < 3; i++) value = value << 15 ^ uint32_t(std::rand() & 0x7FFF);
    return value % SEED_LIMIT;
}
