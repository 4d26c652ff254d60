// midiinfo against python3-mido on files from several independent writers:
// mido (written by the script), libsmf and portSMF (committed in corpus/,
// written by bench_midi_read --write-corpus) and our own writer (below).
#include "looper/MidiWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#endif

namespace Corvell {
namespace {

#ifndef _WIN32

bool Save(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

MidiEvent Note(int32_t time, uint8_t channel, uint8_t note, int32_t duration) {
    MidiEvent e;
    e.time = time;
    e.channel = channel;
    e.data1 = note;
    e.data2 = uint8_t(1 + note % 120);
    e.duration = duration;
    return e;
}

// Our writer's files: patterns in format 0 and 1, with and without running
// status, and a three-chunk file written event by event.
bool WriteOurFiles(const std::string& dir) {
    CMidiTrack t;
    t.division = 120;
    t.timeSigNumerator = 12;
    t.timeSigDenominator = 8;
    t.tempo = 428571;
    t.SetTrackName("Blues/Shuffle", 13);
    for (int i = 0; i < 64; ++i) {
        t.events.push_back(Note(i * 60, uint8_t(i % 3), uint8_t(28 + i % 40), i % 9 == 8 ? -1 : 50 + i % 70));
        if (i % 4 == 0) {
            MidiEvent c;
            c.time = i * 60 + 5;
            c.kind = kMidiController;
            c.data1 = 11;
            c.data2 = uint8_t(i);
            t.events.push_back(c);
        }
        if (i % 10 == 0) {
            MidiEvent b;
            b.time = i * 60 + 7;
            b.kind = kMidiPitchBend;
            b.SetPitchBend(int16_t(i * 100 - 3000));
            t.events.push_back(b);
        }
    }
    std::vector<uint8_t> bytes;
    for (uint16_t format : {0, 1}) {
        for (bool running : {false, true}) {
            const std::string name = dir + "/ours_format" + std::to_string(format) + (running ? "_running" : "") + ".mid";
            if (!WriteMidiTrack(t, format, bytes, running) || !Save(name, bytes))
                return false;
        }
    }

    MidiFileWriter w(1, 384);
    w.SetNoteOffAsNoteOn(true);
    w.AddTrack();
    w.TimeSignature(0, 2, 1);
    w.Tempo(0, 1000000);
    for (int chunk = 0; chunk < 2; ++chunk) {
        w.AddTrack();
        w.Text(0, 0x03, "Chunk " + std::to_string(chunk));
        for (uint32_t i = 0; i < 50; ++i) {
            const uint8_t note = uint8_t(50 + (i * 5) % 20 + chunk);
            w.NoteOn(i * 96, uint8_t(chunk), note, 80);
            w.NoteOff(i * 96 + 200, uint8_t(chunk), note);  // overlaps the next ones
            w.Channel(i * 96 + 1, uint8_t(0xD0 | chunk), uint8_t(i));
        }
    }
    return w.Write(bytes) && Save(dir + "/ours_three_chunks.mid", bytes);
}

#endif

TEST(MidoCompare, MidiinfoAgreesWithMidoOnFilesFromSeveralWriters) {
#ifdef _WIN32
    GTEST_SKIP() << "python3 and mido are not reachable from the Windows build";
#else
    const std::string midiinfo = std::string(TARROW_BINARY_DIR) + "/bin/midiinfo";
    struct stat st;
    ASSERT_EQ(0, stat(midiinfo.c_str(), &st)) << "build midiinfo first: " << midiinfo;

    const std::string work = std::string(TARROW_BINARY_DIR) + "/test-work/mido-compare";
    const std::string ours = work + "/ours";
    ASSERT_EQ(0, std::system(("mkdir -p '" + ours + "'").c_str()));
    ASSERT_TRUE(WriteOurFiles(ours));

    const std::string source = TARROW_SOURCE_DIR;
    const std::string command = "/usr/bin/python3 '" + source + "/tests/looper/mido_compare.py' --midiinfo '" +
                                midiinfo + "' --work '" + work + "' '" + source + "/tests/looper/corpus' '" +
                                ours + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(nullptr, pipe);
    std::string output;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
        output.append(buf, n);
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(0, WEXITSTATUS(status)) << output;
    EXPECT_NE(std::string::npos, output.find(" files compared, 0 differ")) << output;
#endif
}

} // namespace
} // namespace Corvell
