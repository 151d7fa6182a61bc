// Effects and music on the headless backend: the WAV reader on good and
// damaged files, read back from the sound traces and the message boxes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "platform/headless_audio.h"
#include "sound/effects.h"
#include "sound/music.h"

namespace {
typedef std::vector<uint8_t> Bytes;

void Put32(Bytes* out, uint32_t v) {
    for (int i = 0; i < 4; i++) out->push_back((uint8_t)(v >> (8 * i)));
}
void Put16(Bytes* out, uint16_t v) {
    out->push_back((uint8_t)v);
    out->push_back((uint8_t)(v >> 8));
}

// A chunk whose header claims `declared` bytes, padded to even length.
Bytes Chunk(const char* id, const Bytes& body, uint32_t declared) {
    Bytes out(id, id + 4);
    Put32(&out, declared);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
    return out;
}
Bytes Chunk(const char* id, const Bytes& body) { return Chunk(id, body, (uint32_t)body.size()); }

Bytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, bool extra) {
    Bytes out;
    Put16(&out, tag);
    Put16(&out, channels);
    Put32(&out, rate);
    Put32(&out, rate * channels * bits / 8);
    Put16(&out, (uint16_t)(channels * bits / 8));
    Put16(&out, bits);
    if (extra) Put16(&out, 0);
    return out;
}

Bytes Samples(size_t count) {
    Bytes out;
    for (size_t i = 0; i < count; i++) out.push_back((uint8_t)(i * 7 + 3));
    return out;
}

Bytes Riff(const Bytes& chunks, const char* form = "WAVE") {
    Bytes body(form, form + 4);
    body.insert(body.end(), chunks.begin(), chunks.end());
    return Chunk("RIFF", body);
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes PcmWave(const Bytes& samples, bool extra = false) {
    return Riff(Join({Chunk("fmt ", Format(1, 1, 22050, 16, extra)), Chunk("data", samples)}));
}

class SoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HeadlessReset(0);
        mkdir("snd", 0755);
        trace = open_memstream(&traceText, &traceSize);
        HeadlessSetTrace(TRACE_WAVE | TRACE_MUSIC | TRACE_MSGBOX, trace);
    }
    void TearDown() override {
        ReleaseSceneWaves();
        for (PlatformObject& slot : waveBuffers) ReleaseWave(&slot);
        ReleaseSceneMusic();
        for (PlatformObject& slot : musicSegments) ReleaseMusic(&slot);
        HeadlessSetTrace(0, nullptr);
        fclose(trace);
        free(traceText);
        EXPECT_EQ(HeadlessWaveObjects(), 0);
        EXPECT_EQ(HeadlessMusicObjects(), 0);
    }
    // Writes snd/<name> and returns the game's path to it.
    std::string Write(const char* name, const Bytes& bytes) {
        std::string file = std::string("snd/") + name;
        FILE* out = fopen(file.c_str(), "wb");
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), out);
        fclose(out);
        return std::string("snd\\") + name;
    }
    std::string Trace() {
        fflush(trace);
        return std::string(traceText, traceSize);
    }
    bool Traced(const std::string& line) { return Trace().find(line) != std::string::npos; }

    FILE* trace = nullptr;
    char* traceText = nullptr;
    size_t traceSize = 0;
};

// Data declared past the end loads what there is, then silence.
TEST_F(SoundTest, PcmWavesLoadTheirDataWhole) {
    Bytes samples = Samples(1000);
    Bytes odd = Chunk("LIST", Bytes{1, 2, 3});
    Bytes big = Chunk("junk", Samples(700));  // longer than the reader's window
    struct Case {
        const char* name;
        Bytes file;
        size_t silence;
    } cases[] = {
        {"fmt16.wav", PcmWave(samples), 0},
        {"fmt18.wav", PcmWave(samples, true), 0},
        {"chunks.wav",
         Riff(Join({odd, big, Chunk("fmt ", Format(1, 2, 44100, 16, false)), odd,
                    Chunk("data", samples), big})),
         0},
        {"long.wav",
         Riff(Join({Chunk("fmt ", Format(1, 1, 22050, 16, false)), Chunk("data", samples, 4000)})),
         3000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Write(c.name, c.file);
        ASSERT_EQ(LoadWave(path.c_str(), &waveBuffers[2]), 1u);
        const uint8_t* data = PlatformWaveData(waveBuffers[2]);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(Bytes(data, data + samples.size()), samples);
        EXPECT_EQ(Bytes(data + samples.size(), data + samples.size() + c.silence),
                  Bytes(c.silence, 0));
        EXPECT_TRUE(Traced("wave load slot=2 path=" + path + " ok=1"));
    }
    EXPECT_EQ(HeadlessMessageCount(), 0);
}

TEST_F(SoundTest, DamagedFilesAreRefusedWithTheirMessage) {
    Bytes fmt = Chunk("fmt ", Format(1, 1, 22050, 16, false));
    Bytes data = Chunk("data", Samples(64));
    Bytes pcm16 = Format(1, 1, 22050, 16, false);
    struct Case {
        const char* name;
        Bytes file;
        const char* message;
        const char* caption;
    } cases[] = {
        {"empty.wav", Bytes{}, "waveファイルではありません", "mmioDescend"},
        {"short.wav", Bytes{'R', 'I', 'F', 'F', 9}, "waveファイルではありません", "mmioDescend"},
        {"avi.wav", Riff(Join({fmt, data}), "AVI "), "waveファイルではありません", "mmioDescend"},
        {"nofmt.wav", Riff(data), "フォーマットチャンクがありません", "mmioDescend"},
        {"cutfmt.wav", Riff(Chunk("fmt ", Bytes(pcm16.begin(), pcm16.begin() + 10), 16)),
         "フォーマットデータの読み込みに失敗", "mmioDescend"},
        {"lastfmt.wav", Riff(fmt), "データチャンクがありません", "mmioDescend"},
        {"cutfmt18.wav", Riff(Join({Bytes{'f', 'm', 't', ' ', 18, 0, 0, 0}, pcm16})),
         "フォーマットデータの読み込みに失敗", "mmioDescend"},
        {"adpcm.wav", Riff(Join({Chunk("fmt ", Format(2, 1, 22050, 4, true)), data})),
         "PCMフォーマットではない", "\"\""},
        {"nodata.wav", Riff(Join({fmt, Chunk("LIST", Samples(40))})), "データチャンクがありません",
         "mmioDescend"},
        {"hugefmt.wav", Riff(Join({Chunk("fmt ", pcm16, 0xFFFFFFF0u), data})),
         "データチャンクがありません", "mmioDescend"},
        {"zerodata.wav", Riff(Join({fmt, Chunk("data", Bytes{})})),
         "セカンダリバッファの生成に失敗", "CreateSoundBuffer"},
        {"hugedata.wav", Riff(Join({fmt, Chunk("data", Samples(8), 0x7FFFFFF0u)})),
         "セカンダリバッファの生成に失敗", "CreateSoundBuffer"},
        {"nochannels.wav", Riff(Join({Chunk("fmt ", Format(1, 0, 22050, 16, false)), data})),
         "セカンダリバッファの生成に失敗", "CreateSoundBuffer"},
        {"threechannels.wav", Riff(Join({Chunk("fmt ", Format(1, 3, 22050, 16, false)), data})),
         "セカンダリバッファの生成に失敗", "CreateSoundBuffer"},
    };
    int shown = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Write(c.name, c.file);
        EXPECT_EQ(LoadWave(path.c_str(), &waveBuffers[0]), 0u);
        EXPECT_EQ(waveBuffers[0], 0u);
        EXPECT_EQ(HeadlessMessageCount(), ++shown);
        EXPECT_STREQ(HeadlessLastMessage(), c.message);
        EXPECT_TRUE(Traced(std::string("msgbox owner=main caption=") + c.caption));
        EXPECT_TRUE(Traced("wave load slot=0 path=" + path + " ok=0"));
    }
    EXPECT_EQ(LoadWave("snd\\missing.wav", &waveBuffers[0]), 0u);
    EXPECT_STREQ(HeadlessLastMessage(), "waveファイルの読み込みに失敗");
    EXPECT_TRUE(Traced("caption=mmioRead"));
}

TEST_F(SoundTest, MissingOrForeignTunesAreRefused) {
    std::string garbage = Write("garbage.mid", Samples(40));
    const char* paths[] = {"snd\\missing.mid", garbage.c_str()};
    for (const char* path : paths) {
        EXPECT_EQ(LoadMusic(path, &musicSegments[0]), 0u);
        EXPECT_STREQ(HeadlessLastMessage(), "セグメントの生成に失敗");
        EXPECT_TRUE(Traced("caption=lpDMLoader->GetObject"));
        EXPECT_TRUE(Traced(std::string("music load slot=0 path=") + path + " ok=0"));
    }
}

TEST(SoundStartUp, DeviceFailuresStopStartUpWithTheirMessages) {
    HeadlessReset(0);
    HeadlessSetFailures(HEADLESS_FAIL_AUDIO | HEADLESS_FAIL_MUSIC);
    EXPECT_EQ(InitSound(), 0u);
    EXPECT_STREQ(HeadlessLastMessage(), "DirectSoundオブジェクトの生成に失敗");
    EXPECT_EQ(InitMusic(), 0u);
    EXPECT_STREQ(HeadlessLastMessage(), "パフォーマンスオブジェクトの生成に失敗");
    EXPECT_EQ(directSound | musicPerformance, 0u);
    HeadlessSetFailures(0);
}
}  // namespace
