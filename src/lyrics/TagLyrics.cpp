#include "lyrics/TagLyrics.h"

#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/asftag.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4tag.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/taglib.h>
#include <taglib/tdebuglistener.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tiostream.h>
#include <taglib/trueaudiofile.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

#include "lyrics/LyricsEnvironment.h"
#include "lyrics/LyricsParser.h"
#include "lyrics/SongTags.h"

namespace {

// The stream's integer types, which TagLib 2 widened.
#if TAGLIB_MAJOR_VERSION >= 2
using StreamOffset = TagLib::offset_t;
using BlockOffset = TagLib::offset_t;
using BlockLength = size_t;
#else
using StreamOffset = long;
using BlockOffset = unsigned long;
using BlockLength = unsigned long;
#endif

// A read-only TagLib stream over an open file of the lyrics environment. Reads never go past the
// file's end, whatever size a broken tag claims; a file too large for TagLib's offsets is seen
// only up to the largest one.
class SourceStream : public TagLib::IOStream {
public:
    SourceStream(SourceFile& file, std::string name)
        : file(file),
          fileName(std::move(name)),
          size(std::clamp<int64_t>(file.size(), 0, std::numeric_limits<StreamOffset>::max())) {}

    TagLib::FileName name() const override { return TagLib::FileName(fileName.c_str()); }
    TagLib::ByteVector readBlock(BlockLength length) override {
        if (position >= size || length == 0) return TagLib::ByteVector();
        size_t count = static_cast<size_t>(std::min<uint64_t>(length, static_cast<uint64_t>(size - position)));
        count = std::min<size_t>(count, UINT_MAX);
        TagLib::ByteVector block(static_cast<unsigned int>(count), '\0');
        size_t got = file.read(position, block.data(), count);
        block.resize(static_cast<unsigned int>(got));
        position += static_cast<int64_t>(got);
        return block;
    }
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, BlockOffset, BlockLength) override {}
    void removeBlock(BlockOffset, BlockLength) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return true; }
    void seek(StreamOffset offset, Position from) override {
        int64_t base = from == Beginning ? 0 : from == Current ? position : size;
        // Both within 63 bits: the sum cannot overflow.
        position = std::clamp<int64_t>(base + static_cast<int64_t>(offset), 0, size);
    }
    StreamOffset tell() const override { return static_cast<StreamOffset>(position); }
    StreamOffset length() override { return static_cast<StreamOffset>(size); }
    void truncate(StreamOffset) override {}

private:
    SourceFile& file;
    std::string fileName;
    int64_t size;
    int64_t position = 0;
};

// TagLib reports what it finds odd in a file on its debug channel; songs are not ours to judge.
// The TagLibs built for the plug-in leave that channel out (SORVANE_TAGLIB_SILENT): there no
// listener is set, which would link in TagLib's default one, a writer to std::cerr.
#ifdef SORVANE_TAGLIB_SILENT
void silenceTagLib() {}
#else
class QuietDebugListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String&) override {}
};

void silenceTagLib() {
    static QuietDebugListener listener;
    static const bool set = (TagLib::setDebugListener(&listener), true);
    (void)set;
}
#endif

// TagLib picks the format by the name's extension, ASCII in practice; the rest of a UTF-8 path
// would only be mangled on its way into a Windows file name.
std::string extensionName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    const char* dot = std::strrchr(name, '.');
    return dot ? std::string(dot) : std::string();
}

struct TagSet {
    TagLib::ID3v2::Tag* id3v2 = nullptr;
    TagLib::Ogg::XiphComment* xiph = nullptr;
    TagLib::MP4::Tag* mp4 = nullptr;
    TagLib::APE::Tag* ape = nullptr;
    TagLib::ASF::Tag* asf = nullptr;
};

// The tags of a file, by its format: some formats carry more than one kind.
TagSet tagsOf(TagLib::File& file) {
    using namespace TagLib;
    TagSet tags;
    if (auto* mpeg = dynamic_cast<MPEG::File*>(&file)) {
        tags.id3v2 = mpeg->ID3v2Tag();
        tags.ape = mpeg->APETag();
    } else if (auto* flac = dynamic_cast<FLAC::File*>(&file)) {
        tags.id3v2 = flac->ID3v2Tag();
        tags.xiph = flac->xiphComment();
    } else if (auto* tta = dynamic_cast<TrueAudio::File*>(&file)) {
        tags.id3v2 = tta->ID3v2Tag();
    } else if (auto* wav = dynamic_cast<RIFF::WAV::File*>(&file)) {
        tags.id3v2 = wav->ID3v2Tag();
    } else if (auto* ape = dynamic_cast<APE::File*>(&file)) {
        tags.ape = ape->APETag();
    } else if (auto* mpc = dynamic_cast<MPC::File*>(&file)) {
        tags.ape = mpc->APETag();
    } else if (auto* wavPack = dynamic_cast<WavPack::File*>(&file)) {
        tags.ape = wavPack->APETag();
    } else {
        // One tag of its own: Ogg files, MP4, ASF, AIFF.
        Tag* tag = file.tag();
        tags.id3v2 = dynamic_cast<ID3v2::Tag*>(tag);
        tags.xiph = dynamic_cast<Ogg::XiphComment*>(tag);
        tags.mp4 = dynamic_cast<MP4::Tag*>(tag);
        tags.asf = dynamic_cast<ASF::Tag*>(tag);
    }
    return tags;
}

// A Unicode field's text in UTF-8, cut as a Unicode lyrics file is.
std::string unicodeText(const TagLib::String& text) {
    return decodeUnicode(text.to8Bit(true), TextEncoding::kUtf8, kMaxLyricsCharacters);
}

// An ID3v2 frame's text encoding, as the integer its encoding byte holds. TagLib keeps that byte
// in a String::Type even when it names none of ID3v2's four encodings; such a value is taken as an
// integer here, never loaded as the enum it is not.
template <typename Frame>
int encodingByte(const Frame& frame) {
    return static_cast<int>(frame.textEncoding());
}

bool isKnownEncoding(int encoding) {
    return encoding == TagLib::String::Latin1 || encoding == TagLib::String::UTF16 ||
           encoding == TagLib::String::UTF16BE || encoding == TagLib::String::UTF8;
}

// An ID3v2 text in UTF-8. TagLib reads a Latin-1 text byte for byte; those bytes are taken in the
// ANSI code page instead. A text under an encoding byte that names no encoding is read the same
// way: TagLib has read it as big-endian UTF-16, two bytes a character (losing an odd last byte),
// so its characters give those bytes back.
std::string id3v2Text(const TagLib::String& text, int encoding, LyricsEnvironment& environment) {
    std::string bytes;
    if (encoding == TagLib::String::Latin1) {
        bytes = text.to8Bit(false);
    } else if (!isKnownEncoding(encoding)) {
        TagLib::ByteVector pairs = text.data(TagLib::String::UTF16BE);
        bytes.assign(pairs.data(), pairs.size());
    } else {
        return unicodeText(text);
    }
    return environment.ansiToUtf8(std::string_view(bytes).substr(0, kMaxLyricsBytes));
}

TextEncoding id3v2Encoding(int encoding) {
    switch (encoding) {
    case TagLib::String::UTF8: return TextEncoding::kUtf8;
    case TagLib::String::UTF16BE: return TextEncoding::kUtf16Be;
    case TagLib::String::UTF16: return TextEncoding::kUtf16Le;
    default: return TextEncoding::kAnsi;
    }
}

TagLyrics textField(std::string field, TextEncoding encoding, std::string text) {
    TagLyrics lyrics;
    lyrics.field = std::move(field);
    lyrics.encoding = encoding;
    lyrics.text = std::move(text);
    return lyrics;
}

// The stream's frame length for SYLT time stamps in MPEG frames; without an MPEG stream, that of
// the usual one (1152 samples at 44.1 kHz).
void mpegFrameLength(TagLib::File& file, int32_t& samples, int32_t& sampleRate) {
    samples = 1152;
    sampleRate = 44100;
    auto* properties = dynamic_cast<TagLib::MPEG::Properties*>(file.audioProperties());
    if (!properties || properties->sampleRate() <= 0) return;
    samples = mpegFrameSamples(properties->version() == TagLib::MPEG::Header::Version1 ? 1 : 2, properties->layer());
    sampleRate = properties->sampleRate();
}

void addSyncedLyrics(TagLib::File& file, const TagLib::ID3v2::Tag& tag, LyricsEnvironment& environment,
                     std::vector<TagLyrics>& found) {
    using TagLib::ID3v2::SynchronizedLyricsFrame;
    std::vector<const SynchronizedLyricsFrame*> lyricsFrames, otherFrames;
    for (const TagLib::ID3v2::Frame* frame : tag.frameList("SYLT")) {
        auto* sylt = dynamic_cast<const SynchronizedLyricsFrame*>(frame);
        if (!sylt || (sylt->timestampFormat() != SynchronizedLyricsFrame::AbsoluteMilliseconds &&
                      sylt->timestampFormat() != SynchronizedLyricsFrame::AbsoluteMpegFrames))
            continue;
        (sylt->type() == SynchronizedLyricsFrame::Lyrics ? lyricsFrames : otherFrames).push_back(sylt);
    }
    lyricsFrames.insert(lyricsFrames.end(), otherFrames.begin(), otherFrames.end());
    int32_t frameSamples = 0, sampleRate = 0;
    if (!lyricsFrames.empty()) mpegFrameLength(file, frameSamples, sampleRate);
    for (const SynchronizedLyricsFrame* sylt : lyricsFrames) {
        int encoding = encodingByte(*sylt);
        TagLyrics lyrics = textField("SYLT", id3v2Encoding(encoding), "");
        lyrics.synced = 1;
        SyncedTimeFormat format = sylt->timestampFormat() == SynchronizedLyricsFrame::AbsoluteMpegFrames
                                      ? SyncedTimeFormat::kMpegFrames
                                      : SyncedTimeFormat::kMilliseconds;
        for (const SynchronizedLyricsFrame::SynchedText& entry : sylt->synchedText())
            lyrics.entries.push_back({syncedTime(entry.time, format, frameSamples, sampleRate),
                                      id3v2Text(entry.text, encoding, environment)});
        found.push_back(std::move(lyrics));
    }
}

void addUnsyncedLyrics(const TagLib::ID3v2::Tag& tag, LyricsEnvironment& environment, std::vector<TagLyrics>& found) {
    for (const TagLib::ID3v2::Frame* frame : tag.frameList("USLT"))
        if (auto* uslt = dynamic_cast<const TagLib::ID3v2::UnsynchronizedLyricsFrame*>(frame))
            found.push_back(textField("USLT", id3v2Encoding(encodingByte(*uslt)),
                                      id3v2Text(uslt->text(), encodingByte(*uslt), environment)));
}

void addXiphLyrics(const TagLib::Ogg::XiphComment& comment, std::vector<TagLyrics>& found) {
    const TagLib::Ogg::FieldListMap& fields = comment.fieldListMap();
    for (const char* name : {"LYRICS", "SYNCEDLYRICS", "UNSYNCEDLYRICS", "UNSYNCED LYRICS"}) {
        auto field = fields.find(name);
        if (field == fields.end()) continue;
        for (const TagLib::String& value : field->second)
            found.push_back(textField(name, TextEncoding::kUtf8, unicodeText(value)));
    }
}

void addMp4Lyrics(const TagLib::MP4::Tag& tag, std::vector<TagLyrics>& found) {
    const TagLib::MP4::ItemMap& items = tag.itemMap();
    auto addItem = [&](const TagLib::String& key, const TagLib::MP4::Item& item) {
        for (const TagLib::String& value : item.toStringList())
            found.push_back(textField(key.to8Bit(true), TextEncoding::kUtf8, unicodeText(value)));
    };
    auto lyr = items.find(TagLib::String("\251lyr", TagLib::String::Latin1));
    if (lyr != items.end()) addItem(lyr->first, lyr->second);
    // Free-form names are matched in any case: taggers differ.
    for (const char* name : {"----:COM.APPLE.ITUNES:LYRICS", "----:COM.APPLE.ITUNES:UNSYNCED LYRICS"})
        for (const auto& [key, item] : items)
            if (key.upper() == name) addItem(key, item);
}

void addApeLyrics(const TagLib::APE::Tag& tag, std::vector<TagLyrics>& found) {
    const TagLib::APE::ItemListMap& items = tag.itemListMap();
    auto item = items.find("LYRICS");
    if (item == items.end() || item->second.type() != TagLib::APE::Item::Text) return;
    for (const TagLib::String& value : item->second.values())
        found.push_back(textField("Lyrics", TextEncoding::kUtf8, unicodeText(value)));
}

void addAsfLyrics(const TagLib::ASF::Tag& tag, std::vector<TagLyrics>& found) {
    const TagLib::ASF::AttributeListMap& attributes = tag.attributeListMap();
    auto list = attributes.find("WM/Lyrics");
    if (list == attributes.end()) return;
    for (const TagLib::ASF::Attribute& attribute : list->second)
        if (attribute.type() == TagLib::ASF::Attribute::UnicodeType)
            found.push_back(textField("WM/Lyrics", TextEncoding::kUtf16Le, unicodeText(attribute.toString())));
}

}  // namespace

std::vector<TagLyrics> readTagLyrics(SourceFile& file, const char* name, LyricsEnvironment& environment) {
    silenceTagLib();
    std::vector<TagLyrics> found;
    // TagLib does not throw by design; should it run out of memory, the song has no lyrics.
    try {
        SourceStream stream(file, extensionName(name));
        TagLib::FileRef song(&stream, true, TagLib::AudioProperties::Fast);
        if (song.isNull()) return found;
        TagSet tags = tagsOf(*song.file());
        if (tags.id3v2) {
            addSyncedLyrics(*song.file(), *tags.id3v2, environment, found);
            addUnsyncedLyrics(*tags.id3v2, environment, found);
        }
        if (tags.xiph) addXiphLyrics(*tags.xiph, found);
        if (tags.mp4) addMp4Lyrics(*tags.mp4, found);
        if (tags.ape) addApeLyrics(*tags.ape, found);
        if (tags.asf) addAsfLyrics(*tags.asf, found);
    } catch (...) {
        found.clear();
    }
    return found;
}

namespace {

std::string trimmedText(std::string text) {
    size_t end = text.find_last_not_of(" \t");
    text.erase(end == std::string::npos ? 0 : end + 1);
    text.erase(0, std::min(text.size(), text.find_first_not_of(" \t")));
    return text;
}

// The three fields of SongTitles: their ID3v2 text frame, and their reading in TagLib's other tags.
struct TitleField {
    std::string SongTitles::*field;
    const char* id3v2Frame;
    TagLib::String (TagLib::Tag::*read)() const;
};
const TitleField kTitleFields[] = {{&SongTitles::title, "TIT2", &TagLib::Tag::title},
                                   {&SongTitles::artist, "TPE1", &TagLib::Tag::artist},
                                   {&SongTitles::album, "TALB", &TagLib::Tag::album}};

// A field's text frame of an ID3v2 tag; Latin-1 in the ANSI code page, as the lyrics are.
std::string id3v2Title(const TagLib::ID3v2::Tag& tag, const char* frameId, LyricsEnvironment& environment) {
    const TagLib::ID3v2::FrameList& frames = tag.frameList(frameId);
    auto* text = frames.isEmpty() ? nullptr : dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(frames.front());
    return text ? trimmedText(id3v2Text(text->toString(), encodingByte(*text), environment)) : std::string();
}

// The ID3v1 tag at the end of a file whose format may carry one.
TagLib::ID3v1::Tag* id3v1TagOf(TagLib::File& file) {
    using namespace TagLib;
    if (auto* mpeg = dynamic_cast<MPEG::File*>(&file)) return mpeg->hasID3v1Tag() ? mpeg->ID3v1Tag() : nullptr;
    if (auto* flac = dynamic_cast<FLAC::File*>(&file)) return flac->hasID3v1Tag() ? flac->ID3v1Tag() : nullptr;
    if (auto* tta = dynamic_cast<TrueAudio::File*>(&file)) return tta->hasID3v1Tag() ? tta->ID3v1Tag() : nullptr;
    if (auto* ape = dynamic_cast<APE::File*>(&file)) return ape->hasID3v1Tag() ? ape->ID3v1Tag() : nullptr;
    if (auto* mpc = dynamic_cast<MPC::File*>(&file)) return mpc->hasID3v1Tag() ? mpc->ID3v1Tag() : nullptr;
    if (auto* wavPack = dynamic_cast<WavPack::File*>(&file))
        return wavPack->hasID3v1Tag() ? wavPack->ID3v1Tag() : nullptr;
    return nullptr;
}

// Each field from the first of the song's tags that holds it, in this order: ID3v2, Xiph comment,
// MP4, APEv2, ASF, ID3v1. ID3 texts stored as Latin-1 (ID3v1 always) are read in the ANSI code
// page; the others are Unicode.
void readTitlesFromTags(TagLib::File& song, LyricsEnvironment& environment, SongTitles& titles) {
    TagSet tags = tagsOf(song);
    TagLib::ID3v1::Tag* id3v1 = id3v1TagOf(song);
    const TagLib::Tag* unicodeTags[] = {tags.xiph, tags.mp4, tags.ape, tags.asf};
    for (const TitleField& f : kTitleFields) {
        std::string& value = titles.*f.field;
        if (tags.id3v2) value = id3v2Title(*tags.id3v2, f.id3v2Frame, environment);
        for (const TagLib::Tag* tag : unicodeTags)
            if (value.empty() && tag) value = trimmedText((tag->*f.read)().to8Bit(true));
        if (value.empty() && id3v1) value = trimmedText(environment.ansiToUtf8((id3v1->*f.read)().to8Bit(false)));
    }
}

}  // namespace

int readSongTitles(SourceFile& file, const char* name, LyricsEnvironment& environment, SongTitles& titles) {
    silenceTagLib();
    titles = {};
    try {
        SourceStream stream(file, extensionName(name));
        TagLib::FileRef song(&stream, true, TagLib::AudioProperties::Fast);
        if (!song.isNull()) {
            if (song.audioProperties()) titles.lengthSeconds = song.audioProperties()->lengthInSeconds();
            readTitlesFromTags(*song.file(), environment, titles);
        }
    } catch (...) {
        titles = {};
    }
    if (titles.lengthSeconds < 0) titles.lengthSeconds = 0;
    // A file TagLib does not read (or reads no title from) may still end in an ID3v1 block.
    std::string title, artist;
    if (titles.title.empty() && titles.artist.empty() && readId3v1(file, title, artist)) {
        titles.title = trimmedText(environment.ansiToUtf8(title));
        titles.artist = trimmedText(environment.ansiToUtf8(artist));
    }
    return !titles.title.empty() && !titles.artist.empty();
}
