#!/usr/bin/python3
"""Writes songs whose tags hold lyrics, one for each kind of tag the plug-in reads.

Usage: make_tagged_songs.py OUTPUT_FOLDER

The audio is the least each format needs (silent MPEG frames, stream headers without sound); the
tags are written by mutagen, a tagger of its own, so that the reader is tested against files it
did not write itself. The tests that read them state what each song's lyrics are:

  sylt-ms.mp3       ID3v2.4: a SYLT of content type "events" (not lyrics), then a SYLT of lyrics
                    in milliseconds (Latin-1), then a USLT with an LRC text
  sylt-frames.mp3   ID3v2.3, MPEG-2 layer III at 16 kHz (576 samples a frame): SYLT in frames
  sylt-words.mp3    ID3v2.4: SYLT word by word in UTF-16, each line's first entry opening it with
                    a line break
  uslt.mp3          ID3v2.3: a USLT of plain text (no time tags), then one of LRC text in
                    Latin-1 holding Shift-JIS bytes, as Japanese Windows taggers write; the
                    title and artist likewise, the album in UTF-16
  id3v1.mp3         an ID3v1 tag alone, its title and artist in Shift-JIS
  xiph.flac         LYRICS plain, SYNCEDLYRICS LRC, UNSYNCEDLYRICS LRC (not reached)
  vorbis.ogg        "UNSYNCED LYRICS" LRC in Japanese (UTF-8)
  opus.opus         LYRICS LRC
  lyr.m4a           ©lyr LRC
  freeform.m4a      ©lyr plain, then ----:com.apple.iTunes:Lyrics LRC
  ape.mp3           APEv2 only: Lyrics LRC
  asf.wma           WM/Lyrics LRC
  plain.flac        LYRICS of plain text only: no lyrics to show
  titles.mp3        no lyrics; ID3v2.4 TIT2 "夜空の星" (UTF-16) and TPE1 "Café Band" (UTF-8), an APEv2
                    tag with another title, artist and album, and an ID3v1 block with others again
  titles.flac, titles.m4a, titles.wma
                    no lyrics; "<Format> Title" and "<Format> Artist" in the format's own tag
"""
import os
import struct
import sys

from mutagen.apev2 import APEv2
from mutagen.asf import ASF
from mutagen.flac import FLAC
from mutagen.id3 import ID3, SYLT, TALB, TIT2, TPE1, USLT, Encoding
from mutagen.mp4 import MP4, MP4FreeForm
from mutagen.oggopus import OggOpus
from mutagen.oggvorbis import OggVorbis
from mutagen.ogg import OggPage

# The LRC texts, and what each song's lyrics should read as (the tests hold the same lines).
LRC = "[ti:Tagged]\n[00:01.00]First line\n[00:03.50]Second line\n[00:06.00]Third line\n"
PLAIN = "Words without any time\nOn two lines\n"
JAPANESE = "[00:02.00]桜の歌\n[00:04.00]夜明け\n"


def mpeg_frames(count, version1=True):
    """Silent mono MPEG layer III frames: MPEG-1 at 44.1 kHz, 128 kbit/s (417 bytes, 1152 samples
    each), or MPEG-2 at 16 kHz, 64 kbit/s (288 bytes, 576 samples each)."""
    if version1:
        header, size = b"\xff\xfb\x90\xc0", 417
    else:
        header, size = b"\xff\xf3\x88\xc0", 288
    return (header + bytes(size - 4)) * count


def flac_stream():
    """A FLAC stream of its STREAMINFO block alone: 44.1 kHz, mono, 16 bits, one second."""
    info = struct.pack(">HH", 4096, 4096) + bytes(6)
    # 20 bits of sample rate, 3 of channels - 1, 5 of bits per sample - 1, 36 of total samples.
    packed = (44100 << 44) | (0 << 41) | (15 << 36) | 44100
    info += packed.to_bytes(8, "big") + bytes(16)
    return b"fLaC" + bytes([0x80, 0, 0, len(info)]) + info


def ogg_pages(packets, last_position):
    """Ogg pages: the first packet on a page of its own (beginning of stream), each other
    header packet on its own page, then an audio page ending the stream at last_position."""
    pages = []
    for i, packet in enumerate(packets + [b"\x00" * 8]):
        page = OggPage()
        page.serial = 0x534F5256
        page.sequence = i
        page.packets = [packet]
        page.first = i == 0
        page.last = i == len(packets)
        page.position = last_position if page.last else 0
        pages.append(page.write())
    return b"".join(pages)


def vorbis_stream():
    ident = b"\x01vorbis" + struct.pack("<IBIiii", 0, 1, 44100, 0, 128000, 0) + b"\xb8\x01"
    comment = b"\x03vorbis" + struct.pack("<I", 4) + b"none" + struct.pack("<I", 0) + b"\x01"
    setup = b"\x05vorbis" + bytes(16)
    return ogg_pages([ident, comment, setup], 44100)


def opus_stream():
    head = b"OpusHead" + struct.pack("<BBHIhB", 1, 1, 312, 48000, 0, 0)
    tags = b"OpusTags" + struct.pack("<I", 4) + b"none" + struct.pack("<I", 0)
    return ogg_pages([head, tags], 48000 + 312)


def atom(name, payload):
    return struct.pack(">I", 8 + len(payload)) + name + payload


def mp4_stream():
    """An MP4 file of one sound track without samples: what taggers need to find."""
    mvhd = atom(b"mvhd", bytes(4) + struct.pack(">IIII", 0, 0, 1000, 1000) + bytes(80))
    mdhd = atom(b"mdhd", bytes(4) + struct.pack(">IIIIHH", 0, 0, 44100, 44100, 0x55C4, 0))
    hdlr = atom(b"hdlr", bytes(4) + bytes(4) + b"soun" + bytes(12) + b"\x00")
    esds = atom(b"esds", bytes(4) + b"\x03\x19\x00\x00\x00\x04\x11\x40\x15" + bytes(11) + b"\x05\x02\x12\x08\x06\x01\x02")
    mp4a = atom(b"mp4a", bytes(6) + struct.pack(">H", 1) + bytes(8) + struct.pack(">HHHHI", 1, 16, 0, 0, 44100 << 16) + esds)
    stsd = atom(b"stsd", bytes(4) + struct.pack(">I", 1) + mp4a)
    stbl = atom(b"stbl", stsd + atom(b"stts", bytes(8)) + atom(b"stsc", bytes(8)) + atom(b"stsz", bytes(12)) + atom(b"stco", bytes(8)))
    minf = atom(b"minf", stbl)
    trak = atom(b"trak", atom(b"mdia", mdhd + hdlr + minf))
    ftyp = atom(b"ftyp", b"M4A " + struct.pack(">I", 0) + b"M4A isom")
    return ftyp + atom(b"moov", mvhd + trak)


def guid(text):
    """An ASF GUID from its usual text form, in the byte order ASF files store."""
    a, b, c, d, e = text.split("-")
    return (int(a, 16).to_bytes(4, "little") + int(b, 16).to_bytes(2, "little") + int(c, 16).to_bytes(2, "little")
            + bytes.fromhex(d) + bytes.fromhex(e))


def asf_object(guid_text, body):
    return guid(guid_text) + struct.pack("<Q", 24 + len(body)) + body


def asf_stream():
    """An ASF header of the two objects a reader requires (file properties, one audio stream's
    properties), then an empty data object."""
    file_properties = asf_object("8CABDCA1-A947-11CF-8EE4-00C00C205365", bytes(16) + struct.pack(
        "<QQQQQQIIII", 0, 0, 0, 30000000, 30000000, 0, 2, 3200, 3200, 128000))
    wave_format = struct.pack("<HHIIHHH", 0x161, 1, 44100, 16000, 742, 16, 0)
    stream_properties = asf_object("B7DC0791-A9B7-11CF-8EE6-00C00C205365",
                                   guid("F8699E40-5B4D-11CF-A8FD-00805F5C442B") + guid("20FB5700-5B55-11CF-A8FD-00805F5C442B")
                                   + struct.pack("<QIIHI", 0, len(wave_format), 0, 1, 0) + wave_format)
    header_body = struct.pack("<IBB", 2, 1, 2) + file_properties + stream_properties
    header = guid("75B22630-668E-11CF-A6D9-00AA0062CE6C") + struct.pack("<Q", 24 + len(header_body)) + header_body
    data = guid("75B22636-668E-11CF-A6D9-00AA0062CE6C") + struct.pack("<Q", 50) + bytes(16) + struct.pack("<QBB", 0, 1, 1)
    return header + data


def write(folder, name, data):
    path = os.path.join(folder, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def latin1_of(raw):
    """A text that mutagen writes in Latin-1 as exactly these bytes."""
    return raw.decode("latin-1")


def main(folder):
    os.makedirs(folder, exist_ok=True)

    path = write(folder, "sylt-ms.mp3", mpeg_frames(100))
    tags = ID3()
    tags.add(SYLT(encoding=Encoding.LATIN1, lang="eng", format=2, type=5, desc="cues",
                  text=[("Not lyrics", 500)]))
    tags.add(SYLT(encoding=Encoding.LATIN1, lang="eng", format=2, type=1, desc="",
                  text=[("First line", 1000), ("Second line", 3500), ("", 5000), ("Third line", 6000)]))
    tags.add(USLT(encoding=Encoding.UTF8, lang="eng", desc="", text="[00:01.00]From USLT\n"))
    tags.save(path, v2_version=4)

    # Frames of 576 samples at 16 kHz last 36 ms: 100 frames are 3.6 s, 250 are 9 s (with the
    # usual 26.12 ms frames they would be 2.61 s and 6.53 s).
    path = write(folder, "sylt-frames.mp3", mpeg_frames(300, version1=False))
    tags = ID3()
    tags.add(SYLT(encoding=Encoding.UTF16, lang="eng", format=1, type=1, desc="",
                  text=[("Frame one", 100), ("Frame two", 250)]))
    tags.save(path, v2_version=3)

    path = write(folder, "sylt-words.mp3", mpeg_frames(100))
    tags = ID3()
    tags.add(SYLT(encoding=Encoding.UTF16, lang="eng", format=2, type=1, desc="",
                  text=[("Hel", 1000), ("lo ", 1500), ("world", 2000), ("\nSe", 4000), ("cond", 4500)]))
    tags.save(path, v2_version=4)

    path = write(folder, "uslt.mp3", mpeg_frames(100))
    tags = ID3()
    tags.add(USLT(encoding=Encoding.UTF16, lang="eng", desc="plain", text=PLAIN))
    tags.add(USLT(encoding=Encoding.LATIN1, lang="jpn", desc="timed", text=latin1_of(JAPANESE.encode("cp932"))))
    tags.add(TIT2(encoding=Encoding.LATIN1, text=latin1_of("夜明けの歌".encode("cp932"))))
    tags.add(TPE1(encoding=Encoding.LATIN1, text=latin1_of("桜".encode("cp932"))))
    tags.add(TALB(encoding=Encoding.UTF16, text="Album 夜明け"))
    tags.save(path, v2_version=3)

    def id3v1_field(text, size):
        return text.encode("cp932").ljust(size, b"\0")
    write(folder, "id3v1.mp3", mpeg_frames(100) + b"TAG" + id3v1_field("夜明け", 30) + id3v1_field("桜", 30) +
          id3v1_field("", 30) + b"2024" + bytes(30) + b"\xff")

    # Containers whose tags mutagen opens by their format: the fields in the order written.
    for name, kind, stream, fields in [
        ("xiph.flac", FLAC, flac_stream(), [("LYRICS", PLAIN), ("SYNCEDLYRICS", LRC),
                                             ("UNSYNCEDLYRICS", "[00:01.00]Not reached\n")]),
        ("vorbis.ogg", OggVorbis, vorbis_stream(), [("UNSYNCED LYRICS", JAPANESE)]),
        ("opus.opus", OggOpus, opus_stream(), [("LYRICS", LRC)]),
        ("lyr.m4a", MP4, mp4_stream(), [("\xa9lyr", LRC)]),
        ("freeform.m4a", MP4, mp4_stream(), [("\xa9lyr", PLAIN),
                                              ("----:com.apple.iTunes:Lyrics", MP4FreeForm(LRC.encode("utf-8")))]),
        ("asf.wma", ASF, asf_stream(), [("WM/Lyrics", LRC)]),
        ("plain.flac", FLAC, flac_stream(), [("LYRICS", PLAIN)]),
    ]:
        song = kind(write(folder, name, stream))
        for key, value in fields:
            song[key] = value
        song.save()

    path = write(folder, "ape.mp3", mpeg_frames(100))
    tags = APEv2()
    tags["Lyrics"] = LRC
    tags.save(path)

    # The ID3v2 tag (which writes no ID3v1 block of its own), the APEv2 tag, then the ID3v1 block
    # after it, where taggers put it.
    path = write(folder, "titles.mp3", mpeg_frames(100))
    tags = ID3()
    tags.add(TIT2(encoding=Encoding.UTF16, text="夜空の星"))
    tags.add(TPE1(encoding=Encoding.UTF8, text="Café Band"))
    tags.save(path, v2_version=4)
    tags = APEv2()
    tags["Title"], tags["Artist"], tags["Album"] = "APE Title", "APE Artist", "APE Album"
    tags.save(path)
    with open(path, "ab") as f:
        f.write(b"TAG" + id3v1_field("v1 title", 30) + id3v1_field("v1 artist", 30) + id3v1_field("v1 album", 30) +
                b"2024" + bytes(30) + b"\xff")
    for name, kind, stream, fields in [
        ("titles.flac", FLAC, flac_stream(), {"TITLE": "Xiph Title", "ARTIST": "Xiph Artist"}),
        ("titles.m4a", MP4, mp4_stream(), {"\xa9nam": "MP4 Title", "\xa9ART": "MP4 Artist"}),
        ("titles.wma", ASF, asf_stream(), {"Title": "ASF Title", "Author": "ASF Artist"}),
    ]:
        song = kind(write(folder, name, stream))
        for key, value in fields.items():
            song[key] = value
        song.save()

if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
