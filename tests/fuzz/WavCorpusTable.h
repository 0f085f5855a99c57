// What each crafted file of the reader's regression corpus (tests/fuzz/corpus/wav/, written by
// tools/make_wav_corpus.py) must give: the walk over its bytes natively, the whole reader with
// the real file mapping under Wine.
#pragma once

struct TWavCorpusCase {
    const char* Name;
    int Load;            // LoadWaveFile's result code
    int Scan;            // the walk's result (an empty file cannot even be mapped: 4 above, 2 here)
    int FormatTag;       // -1: no format chunk met
    int Bits;
    int DataSize;        // -1: no data chunk accepted
    int HiRes = -1;      // the result (of both) with the HiRes setting on, where it differs
};

inline constexpr TWavCorpusCase WavCorpus[] = {
    {"good_pcm16_mono.wav", 0, 0, 1, 16, 100},
    // Empty and too short to hold a header.
    {"empty.wav", 4, 2, -1, 0, -1},
    {"len1.wav", 2, 2, -1, 0, -1},
    {"len4.wav", 2, 2, -1, 0, -1},
    {"len8.wav", 2, 2, -1, 0, -1},
    {"len11.wav", 2, 2, -1, 0, -1},
    {"header_only.wav", 2, 2, -1, 0, -1},
    {"not_riff.wav", 2, 2, -1, 0, -1},
    {"not_wave.wav", 2, 2, -1, 0, -1},
    // Truncated chunks: the format is taken as far as the file holds it, zero beyond.
    {"fmt_truncated.wav", 2, 2, 1, 0, -1},
    {"data_header_truncated.wav", 2, 2, 1, 16, -1},
    {"fmt_at_end.wav", 2, 2, 1, 16, -1},
    // Order of chunks: data counts only after the first format chunk.
    {"data_before_fmt.wav", 2, 2, 1, 16, -1},
    {"data_before_and_after_fmt.wav", 0, 0, 1, 16, 60},
    {"two_fmt.wav", 0, 0, 1, 8, 100},
    // RIFF's pad byte after an odd body is found where the next chunk is not right after the
    // body; a file without the pad byte is read as it always was.
    {"odd_chunk_padded.wav", 0, 0, 1, 16, 100},
    {"odd_chunk_pad_printable.wav", 0, 0, 1, 16, 100},
    {"odd_chunk_after_fmt.wav", 0, 0, 1, 16, 100},
    {"odd_chunk_data_past_end.wav", 0, 0, 1, 16, 100},
    {"odd_chunk_unpadded.wav", 0, 0, 1, 16, 100},
    {"fmt16_cbsize.wav", 0, 0, 1, 16, 100},
    {"fmt18.wav", 0, 0, 1, 16, 100},
    // The RIFF size: 0x7FFFFFF8 and more wrap and walk nothing; otherwise the file's end bounds it.
    {"riff_size_7ffffff8.wav", 2, 2, -1, 0, -1},
    {"riff_size_ffffffff.wav", 2, 2, -1, 0, -1},
    {"riff_size_7ffffff0.wav", 0, 0, 1, 16, 100},
    {"riff_size_short.wav", 2, 2, 1, 16, -1},
    {"riff_size_long.wav", 0, 0, 1, 16, 100},
    // Chunk sizes that are negative, would walk in place, or run past the end end the walk.
    {"chunk_size_negative.wav", 2, 2, -1, 0, -1},
    {"chunk_size_minus8.wav", 2, 2, -1, 0, -1},
    {"chunk_size_past_end.wav", 2, 2, -1, 0, -1},
    {"fmt_size_huge.wav", 2, 2, 1, 16, -1},
    // A data body cut short plays what the file holds.
    {"data_size_past_end.wav", 0, 0, 1, 16, 100},
    {"data_size_negative.wav", 0, 0, 1, 16, 100},
    {"data_empty.wav", 0, 0, 1, 16, 0},
    {"data_three_bytes.wav", 0, 0, 1, 16, 3},
    // Formats that do not play: the format and data size are recorded, the slot keeps its sound.
    // The extensible one has a 16-byte format chunk: no extension, no sub-format.
    {"fmt_overlaps_data.wav", 3, 3, 0x6164, 0, 0},
    // High resolution: plays with the HiRes setting on, mono or stereo only.
    {"pcm24.wav", 3, 3, 1, 24, 330, 0},
    {"pcm32.wav", 3, 3, 1, 32, 440, 0},
    {"pcm24_stereo.wav", 3, 3, 1, 24, 1440, 0},
    {"pcm24_odd_data.wav", 3, 3, 1, 24, 331, 0},
    {"pcm24_bad_align.wav", 3, 3, 1, 24, 100},
    {"pcm24_3ch.wav", 3, 3, 1, 24, 990},
    {"float64.wav", 3, 3, 3, 64, 100},
    {"ext_pcm24_stereo.wav", 3, 3, 0xFFFE, 24, 660, 0},
    {"ext_pcm20_in_24.wav", 3, 3, 0xFFFE, 24, 330, 0},
    {"ext_pcm8.wav", 3, 3, 0xFFFE, 8, 100, 0},
    {"ext_pcm16.wav", 3, 3, 0xFFFE, 16, 100, 0},
    {"ext_pcm32.wav", 3, 3, 0xFFFE, 32, 100, 0},
    {"ext_float32.wav", 3, 3, 0xFFFE, 32, 100, 0},
    {"ext_valid_bits_over.wav", 3, 3, 0xFFFE, 24, 99},
    {"ext_pcm24_3ch.wav", 3, 3, 0xFFFE, 24, 99},
    {"ext_adpcm.wav", 3, 3, 0xFFFE, 16, 100},
    {"ext_foreign_guid.wav", 3, 3, 0xFFFE, 16, 100},
    {"ext_cbsize_short.wav", 3, 3, 0xFFFE, 24, 99},
    {"ext_fmt_truncated.wav", 2, 2, 0xFFFE, 24, -1},
    {"ext_pcm16_no_data.wav", 3, 3, 0xFFFE, 16, 0, 0},
    {"pcm4.wav", 3, 3, 1, 4, 100},
    {"mulaw.wav", 3, 3, 257, 8, 100},
    {"alaw.wav", 3, 3, 258, 8, 100},
    {"adpcm_ibm.wav", 3, 3, 259, 4, 100},
    {"adpcm_ms.wav", 3, 3, 2, 4, 100},
    {"ieee_float.wav", 3, 3, 3, 32, 100, 0},
    {"mp3.wav", 3, 3, 0x55, 0, 100},
    {"extensible16.wav", 3, 3, 0xFFFE, 16, 100},
};
