// Reading the lyrics inside a 10 MB MP3 through the lookup's tag step, as the frame tick would on
// a song change: synchronised lyrics (SYLT), an LRC text (USLT), and a song without lyrics. Each
// song carries a 300 KB cover picture, as bought and ripped songs do. TagLib writes the tags.
#include <benchmark/benchmark.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "lyrics/LyricsDocument.h"
#include "lyrics/PosixLyricsEnvironment.h"
#include "lyrics/SongTagsSource.h"

namespace {

constexpr size_t kSongBytes = 10 * 1024 * 1024;
constexpr int kLyricsLines = 60;

enum class SongLyrics { kSylt, kUslt, kNone };

// A 10 MB song of silent MPEG-1 layer III frames (128 kbit/s at 44.1 kHz, 417 bytes each) with
// an ID3v2.4 tag: title, artist, a cover and the lyrics asked for.
class TaggedMp3 {
public:
    explicit TaggedMp3(SongLyrics lyrics) {
        char pattern[] = "/tmp/sorvane-bench-song-XXXXXX";
        int fd = mkstemp(pattern);
        path = std::string(pattern) + ".mp3";
        rename(pattern, path.c_str());
        std::string frame = std::string("\xFF\xFB\x90\xC0", 4) + std::string(413, '\0');
        FILE* file = fdopen(fd, "wb");
        for (size_t written = 0; written < kSongBytes; written += frame.size())
            std::fwrite(frame.data(), 1, frame.size(), file);
        std::fclose(file);

        using namespace TagLib;
        MPEG::File song(path.c_str(), false);
        ID3v2::Tag* tag = song.ID3v2Tag(true);
        tag->setTitle("Benchmark song");
        tag->setArtist("Benchmark artist");
        auto* cover = new ID3v2::AttachedPictureFrame;
        cover->setMimeType("image/jpeg");
        cover->setPicture(ByteVector(300 * 1024, '\x5A'));
        tag->addFrame(cover);
        if (lyrics == SongLyrics::kSylt) {
            auto* sylt = new ID3v2::SynchronizedLyricsFrame(String::UTF16);
            sylt->setTimestampFormat(ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds);
            sylt->setType(ID3v2::SynchronizedLyricsFrame::Lyrics);
            ID3v2::SynchronizedLyricsFrame::SynchedTextList entries;
            for (int n = 0; n < kLyricsLines; ++n)
                entries.append(
                    {static_cast<unsigned>(n * 3000), String("Line number " + std::to_string(n) + " of the song")});
            sylt->setSynchedText(entries);
            tag->addFrame(sylt);
        } else if (lyrics == SongLyrics::kUslt) {
            auto* uslt = new ID3v2::UnsynchronizedLyricsFrame(String::UTF8);
            std::string lrc;
            for (int n = 0; n < kLyricsLines; ++n) {
                char line[64];
                std::snprintf(line, sizeof line, "[%02d:%02d.50]Line number %d of the song\n", n * 3 / 60, n * 3 % 60,
                              n);
                lrc += line;
            }
            uslt->setText(String(lrc, String::UTF8));
            tag->addFrame(uslt);
        }
        song.save(MPEG::File::ID3v2, File::StripOthers, ID3v2::v4);
    }
    ~TaggedMp3() { std::remove(path.c_str()); }
    std::string path;
};

void readTags(benchmark::State& state, SongLyrics lyrics) {
    static TaggedMp3 songs[] = {TaggedMp3(SongLyrics::kSylt), TaggedMp3(SongLyrics::kUslt),
                                TaggedMp3(SongLyrics::kNone)};
    const std::string& song = songs[static_cast<int>(lyrics)].path;
    const SongTagsSource songTags;
    PosixLyricsEnvironment environment;
    LyricsDocument document;
    int expected = lyrics != SongLyrics::kNone;
    for (auto _ : state)
        if (loadFromSource(songTags, document, song.c_str(), 1, environment) != expected)
            state.SkipWithError("wrong result");
}

void BM_TagLyricsSyltOf10MbMp3(benchmark::State& state) { readTags(state, SongLyrics::kSylt); }
BENCHMARK(BM_TagLyricsSyltOf10MbMp3)->Unit(benchmark::kMillisecond);

void BM_TagLyricsUsltOf10MbMp3(benchmark::State& state) { readTags(state, SongLyrics::kUslt); }
BENCHMARK(BM_TagLyricsUsltOf10MbMp3)->Unit(benchmark::kMillisecond);

void BM_TagLyricsNoneIn10MbMp3(benchmark::State& state) { readTags(state, SongLyrics::kNone); }
BENCHMARK(BM_TagLyricsNoneIn10MbMp3)->Unit(benchmark::kMillisecond);

}  // namespace
