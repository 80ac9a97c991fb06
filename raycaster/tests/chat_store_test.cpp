#include "chat_store.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <string>

namespace {

class Chat : public ::testing::Test {
  protected:
    void SetUp() override { chat_reset(); }
    static std::string line() { return std::string(chat_buf, chat_buf_len); }
};

// A whole, well-formed UTF-8 string?
bool valid_utf8(const std::string &s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; k++)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

TEST_F(Chat, RingOverwritesTheOldestAndCounts) {
    for (int i = 0; i < 33; i++) chat_add_at(std::to_string(i).c_str(), 100 + i);
    EXPECT_EQ(chat_msg_total, 33);
    EXPECT_STREQ(chat_msgs[0], "32");
    EXPECT_EQ(chat_msg_times[0], 132u);
    EXPECT_STREQ(chat_msgs[1], "1");
}

TEST_F(Chat, LongMessagesAreCutWithoutSplittingACharacter) {
    chat_add_at(std::string(600, 'a').c_str(), 0);
    EXPECT_EQ(std::string(chat_msgs[0]).size(), 511u);

    std::string euros; // 3 bytes each: 511 would cut the 171st in two
    for (int i = 0; i < 200; i++) euros += "\xE2\x82\xAC";
    chat_add_at(euros.c_str(), 0);
    std::string stored = chat_msgs[1];
    EXPECT_EQ(stored.size(), 510u);
    EXPECT_TRUE(valid_utf8(stored));

    chat_add_at("short", 0); // a shorter message leaves nothing of the longer one
    chat_add_at(std::string(600, 'b').c_str(), 0);
    for (int i = 0; i < 28; i++) chat_add_at("x", 0);
    chat_add_at("tiny", 0); // lands in entry 0 over 600 a's
    EXPECT_STREQ(chat_msgs[0], "tiny");
    EXPECT_EQ(chat_msgs[0][5], 0);
    EXPECT_EQ(chat_msgs[0][510], 0);
}

TEST_F(Chat, FadeTimesAndVisibleRows) {
    EXPECT_EQ(chat_fade(0), 1.0);
    EXPECT_EQ(chat_fade(6000), 1.0);
    EXPECT_EQ(chat_fade(7000), 0.5);
    EXPECT_GE(chat_fade(8000), 0.0);
    EXPECT_LT(chat_fade(8001), 0.0);

    for (int i = 0; i < 8; i++) chat_add_at("m", 0);
    EXPECT_EQ(chat_first_visible(), 0);
    chat_add_at("ninth", 0);
    EXPECT_EQ(chat_first_visible(), 1) << "message 2 (from 1) is the first row";
    chat_add_at("tenth", 0);
    EXPECT_EQ(chat_first_visible(), 2);
}

TEST_F(Chat, RedMessages) {
    EXPECT_TRUE(chat_is_red("I SEE YOU"));
    EXPECT_TRUE(chat_is_red("well, I SEE YOU too"));
    EXPECT_FALSE(chat_is_red("i see you"));
}

TEST_F(Chat, TypingKeepsWholeCharactersWithinTheLimit) {
    chat_type("h");
    chat_type("\xC3\xA9"); // é arrives as one event of two bytes
    EXPECT_EQ(line(), "h\xC3\xA9");
    chat_backspace();
    EXPECT_EQ(line(), "h") << "Backspace removes the whole character";
    chat_backspace();
    chat_backspace(); // on an empty line: nothing
    EXPECT_EQ(chat_buf_len, 0);

    for (int i = 0; i < 300; i++) chat_type("a");
    EXPECT_EQ(chat_buf_len, 255) << "typing 300 characters keeps the first 255";

    chat_reset();
    for (int i = 0; i < 127; i++) chat_type("\xC3\xA9"); // 254 bytes
    chat_type("\xE2\x82\xAC");                           // 3 more do not fit: dropped whole
    EXPECT_EQ(chat_buf_len, 254);
    chat_type("z");
    EXPECT_EQ(chat_buf_len, 255);
    EXPECT_TRUE(valid_utf8(line()));

    chat_reset();
    chat_type("a\xFF\x80"
              "b"); // malformed bytes never reach the line
    EXPECT_EQ(line(), "ab");
}

TEST_F(Chat, EnterSendsNonEmptyLinesOnly) {
    EXPECT_EQ(chat_submit_at(5), 0);
    EXPECT_EQ(chat_msg_total, 0);
    chat_type("hello");
    EXPECT_EQ(chat_submit_at(5), 1);
    EXPECT_STREQ(chat_msgs[0], "hello");
    EXPECT_EQ(chat_buf_len, 0);
    chat_type("hi");
    chat_submit_at(6);
    EXPECT_STREQ(chat_msgs[1], "hi") << "no trace of the longer line before";
}

TEST_F(Chat, ZalgoNames) {
    std::srand(1);
    for (int run = 0; run < 500; run++) {
        char name[ZALGO_BYTES];
        build_zalgo_name(name);
        std::string s = name;
        ASSERT_GE(s.size(), 15u);
        ASSERT_LE(s.size(), 45u);
        ASSERT_TRUE(valid_utf8(s));
        std::string letters;
        size_t i = 0;
        while (i < s.size()) {
            letters += s[i++];
            int marks_after = 0;
            while (i < s.size() && static_cast<unsigned char>(s[i]) >= 0x80) {
                unsigned cp = ((s[i] & 0x1F) << 6) | (s[i + 1] & 0x3F);
                ASSERT_GE(cp, 0x300u);
                ASSERT_LE(cp, 0x36Fu);
                i += 2;
                marks_after++;
            }
            ASSERT_GE(marks_after, 1);
            ASSERT_LE(marks_after, 4);
        }
        ASSERT_EQ(letters, "zalgo");
    }
    char line[600];
    format_dark_presence(line, sizeof line);
    std::string l = line;
    EXPECT_EQ(l.substr(0, 3), "[{z");
    EXPECT_EQ(l.substr(l.size() - 13), "}]: I SEE YOU");
}

TEST_F(Chat, MarksTableCoversTheCombiningBlock) {
    EXPECT_STREQ(marks[0].data(), "\xCC\x80");   // U+0300
    EXPECT_STREQ(marks[63].data(), "\xCC\xBF");  // U+033F
    EXPECT_STREQ(marks[64].data(), "\xCD\x80");  // U+0340
    EXPECT_STREQ(marks[111].data(), "\xCD\xAF"); // U+036F
}

TEST_F(Chat, LayoutScalesWithTheDrawable) {
    ChatLayout l = chat_layout(960, 600);
    EXPECT_EQ(l.x0, 10);
    EXPECT_EQ(l.y0, 4);
    EXPECT_EQ(l.x1, 310);
    EXPECT_EQ(l.y1, 26);
    EXPECT_EQ(l.close_x, 314);
    EXPECT_EQ(l.close_w, 16);
    EXPECT_TRUE(chat_in_close_box(l, 314, 4));
    EXPECT_TRUE(chat_in_close_box(l, 330, 20));
    EXPECT_FALSE(chat_in_close_box(l, 331, 20));
    ChatLayout big = chat_layout(1920, 1200);
    EXPECT_EQ(big.close_x, 624);
    EXPECT_EQ(big.close_w, 32);
}

} // namespace
