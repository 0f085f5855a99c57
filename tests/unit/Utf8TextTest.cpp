// UTF-8 paths counted, cut and compared on whole characters; legacy bytes keep the byte rules.
#include <gtest/gtest.h>
#include "app/pure/FileOps.h"
#include "audio/pure/PlayerText.h"
#include "toolkit/pure/StrUtils.h"

TEST(Utf8Text, CountedCutAndComparedOnWholeCharacters)
{
    const std::string kick = "\xE3\x82\xAD\xE3\x83\x83\xE3\x82\xAF";        // キック
    const std::string drum = "\xF0\x9F\xA5\x81";                              // an emoji: two UTF-16 units
    struct Case { std::string a, b; bool same; size_t units; size_t cutAt3; };
    const Case cases[] = {
        {"C:\\S\\kick.wav", "C:\\s\\KICK.WAV", true, 13, 3},
        {"caf\xC3\xA9", "CAF\xC3\x89", true, 4, 3},                            // é and É
        {"\xD0\x9F\xD1\x80\xD0\xB8", "\xD0\xBF\xD0\xA0\xD0\x98", true, 3, 4},  // При, пРИ
        {"\xCE\xB1\xCF\x82", "\xCE\x91\xCE\xA3", false, 2, 4},                 // final sigma stays itself
        {"\xC4\xB9\xC5\x82", "\xC4\xBA\xC5\x81", true, 2, 4},                  // Ĺł, ĺŁ
        {kick, kick, true, 3, 3},
        {kick, "\xE3\x82\xAD\xE3\x83\x83\xE3\x82\xB0", false, 3, 3},           // last byte differs
        {drum + ".wav", drum + ".WAV", true, 6, 4},
        {"caf\xE9", "CAF\xC9", false, 4, 3},                                   // legacy bytes: byte rules
        {"a\xC3", "A\xC3", true, 2, 3},                                        // a cut character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SamePath(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(Utf16Length(c.a), c.units) << c.a;
        EXPECT_EQ(CharBoundary(c.a, 3), c.cutAt3) << c.a;
    }
    auto times = [](const std::string& s, int n) { std::string r; while (n-- > 0) r += s; return r; };
    EXPECT_TRUE(DeletablePath("C:\\" + times(kick, 85)));                     // 258 units, 768 bytes
    EXPECT_FALSE(DeletablePath("C:\\" + std::string(128, 'x') + times(drum, 65)));   // 196 characters, 261 units
    EXPECT_EQ(EntryNameText("C:\\" + kick + ".wav", "C:\\x\\"), "\xE3\x83\x83\xE3\x82\xAF");   // never inside one
}
