#include <gtest/gtest.h>
#include "audio/pure/PlayerText.h"

TEST(InfoText, FormatLinesOfTheTable)
{
    EXPECT_EQ(FormatInfoText(1, 2, 44100, 16, 176444, 176400, 176400),
              "PCM 44100Hz 16Bit STEREO \r176444 bytes, 1 sec.");
    EXPECT_EQ(FormatInfoText(1, 1, 11025, 8, 16582, 16538, 11025), "PCM 11025Hz 8Bit MONO \r16582 bytes, 1.5 sec.");
    EXPECT_EQ(FormatInfoText(1, 2, 48000, 24, 100, 50, 288000), "Only 8 && 16Bit sounds are\rsupported (will not play)");
    EXPECT_EQ(FormatInfoText(257, 1, 8000, 8, 0, 0, 8000), "IBM mu-law sound format\r(unsupported sound format,\rwill not play)");
    EXPECT_EQ(FormatInfoText(258, 1, 8000, 8, 0, 0, 8000), "IBM a-law sound format\r(unsupported sound format,\rwill not play)");
    EXPECT_EQ(FormatInfoText(259, 1, 8000, 4, 0, 0, 8000), "IBM ADPCM sound format\r(unsupported sound format,\rwill not play)");
    EXPECT_EQ(FormatInfoText(3, 1, 8000, 32, 0, 0, 8000), "Unknown && unsupported sound\rformat... (will not play)");
    EXPECT_EQ(DeviceStateText(true, 0, 0, 0), "Playing through the Media Player");
    EXPECT_EQ(DeviceStateText(false, 44100, 16, 2), "DirectSound is currently set at\r44100Hz 16Bit STEREO ");
    EXPECT_EQ(DeviceStateText(false, 22050, 8, 1), "DirectSound is currently set at\r22050Hz 8Bit MONO ");
}

TEST(InfoText, DurationStripsZerosAndNeverDividesByZero)
{
    EXPECT_EQ(DurationText(3, 2), "1.5");
    EXPECT_EQ(DurationText(4, 2), "2");
    EXPECT_EQ(DurationText(1, 3), "0.333");
    EXPECT_EQ(DurationText(0, 44100), "0");
    EXPECT_EQ(DurationText(1000, 0), "?");
    EXPECT_EQ(DurationText(2147483647, 1), "2147483647");
}

TEST(InfoText, EntryNameKeepsTheSubfolderPart)
{
    EXPECT_EQ(EntryNameText("C:\\S\\Drums\\kick.wav", "C:\\S\\"), "Drums\\kick");
    EXPECT_EQ(EntryNameText("C:\\S\\kick", "C:\\S\\"), "kick");
    EXPECT_EQ(EntryNameText("C:\\S\\a.b\\kick", "C:\\S\\"), "a.b\\kick");
    EXPECT_EQ(EntryNameText("C:\\S\\x.tar.wav", "C:\\S\\"), "x.tar");
    EXPECT_EQ(EntryNameText("C:\\x.wav", "C:\\LONGER\\FOLDER\\"), "");
}

TEST(Sliders, MappingsAndCaptions)
{
    EXPECT_EQ(InvertedSliderValue(-5000, 0, -5000), 0);      // volume slider at its top: full
    EXPECT_EQ(InvertedSliderValue(-5000, 0, 0), -5000);
    EXPECT_EQ(InvertedSliderValue(100, 100000, 89075), 11025);
    EXPECT_EQ(InvertedSliderValue(100, 100000, 88915), 11185);
    EXPECT_EQ(FrequencyCaption(22050, 22050), "Frequency");
    EXPECT_EQ(FrequencyCaption(22050, 44100), "22050Hz");
}

TEST(PositionBar, DirectSoundArithmetic)
{
    // 1001 as the factor: the bar's end comes a little before the sample's.
    EXPECT_EQ(PosBarFromBytes(0, 176400, 0, 1000), 0);
    EXPECT_EQ(PosBarFromBytes(88200, 176400, 0, 1000), 499);   // 344 * 1001 / 689
    EXPECT_EQ(PosBarFromBytes(176400, 176400, 0, 1000), 1001);            // the slider clamps it
    EXPECT_EQ(PosBarFromBytes(-100, 176400, 0, 1000), PosBarFromBytes(176300, 176400, 0, 1000));
    EXPECT_EQ(PosBarFromBytes(9999999, 176400, 0, 1000), 1001);
    EXPECT_EQ(PosBarFromBytes(100, 255, 0, 1000), -1);                    // under 256 bytes: left alone
    EXPECT_EQ(SeekOffsetFromBar(176400, 500, 0, 1000) % 256, 0u);
    EXPECT_EQ(SeekOffsetFromBar(176400, 500, 0, 1000), (689u * 500 / 1001) << 8);
    EXPECT_EQ(SeekOffsetFromBar(176400, 500, -1, 0), 0u);                 // an empty range seeks to 0
    // Large samples: no overflow on the way.
    EXPECT_EQ(SeekOffsetFromBar(2000000000, 1000, 0, 1000), ((2000000000ull >> 8) * 1000 / 1001) << 8);
    EXPECT_EQ(PosBarFromBytes(1000000000, 2000000000, 0, 1000), 500);
}

TEST(PositionBar, MediaPlayerArithmetic)
{
    EXPECT_EQ(PosBarFromMci(500, 1000, 0, 1000), 500);
    EXPECT_EQ(PosBarFromMci(5, 0, 0, 1000), -1);
    EXPECT_EQ(PosBarFromMci(5, -3, 0, 1000), -1);
    EXPECT_LE(MciSeekFromBar(123456, 1000, 0, 1000), 123456 * 1000 / 1001);
    EXPECT_EQ(MciSeekFromBar(2000000000, 1000, 0, 1000), static_cast<int32_t>(2000000000LL * 1000 / 1001));
}

TEST(MciReply, ReadAsANumber)
{
    struct { const char* reply; int want; } cases[] = {
        {"", 0}, {"1234", 1234}, {"  77", 77}, {"-5", -5}, {"+6", 6}, {"$1F", 31}, {"12:34", 12},
        {"abc", 0}, {"4294967295", -1}};
    for (auto& c : cases) EXPECT_EQ(MciReplyToInt(c.reply), c.want) << c.reply;
}

TEST(MciReply, OpenCommandIsUnquotedAndNeverCut)
{
    EXPECT_EQ(MciOpenCommand("C:\\My Samples\\kick.mid"), "Open C:\\My Samples\\kick.mid Alias PlayingMIDI");
    std::string fits(255 - 23, 'a');                  // "Open " + path + " Alias PlayingMIDI" = 255
    EXPECT_EQ(MciOpenCommand(fits).size(), 255u);
    EXPECT_EQ(MciOpenCommand(fits + "a"), "");
}
