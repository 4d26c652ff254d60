// Reading Standard MIDI Files into an in-memory event list: ours against
// libsmf and portSMF, on the same bytes in the same run.
//   bench_midi_read [benchmark flags]
//   bench_midi_read --write-corpus DIR   files written by the peers' writers,
//                                        for the reader's comparison test
#include "looper/MidiFile.h"
#include "looper/MidiWriter.h"

#include <benchmark/benchmark.h>
#include <smf.h>
#include <allegro.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <map>
#include <streambuf>
#include <string>
#include <vector>

using namespace Corvell;

namespace {

using Bytes = std::vector<uint8_t>;

// Deterministic pseudo-random numbers.
struct Lcg {
    uint64_t state;
    uint32_t Next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return uint32_t(state >> 33);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
};

// A format 1 pattern: a conductor chunk and a guitar-like chunk of notes,
// controllers and pitch bend, with running status, until it is about
// targetBytes long.
Bytes MakePattern(uint64_t seed, size_t targetBytes) {
    Lcg rng{seed};
    MidiFileWriter w(1, 480);
    w.AddTrack();
    w.Tempo(0, 400000 + rng.Below(300000));
    w.TimeSignature(0, uint8_t(3 + rng.Below(4)), 2);
    w.AddTrack();
    w.Text(0, 0x03, "Pattern/" + std::to_string(seed));
    uint32_t tick = 0;
    size_t estimate = 60;
    while (estimate < targetBytes) {
        const uint8_t ch = uint8_t(rng.Below(4));
        switch (rng.Below(8)) {
        case 0:
            w.Channel(tick, uint8_t(0xB0 | ch), uint8_t(rng.Below(120)), uint8_t(rng.Below(128)));
            estimate += 3;
            break;
        case 1:
            w.Channel(tick, uint8_t(0xE0 | ch), uint8_t(rng.Below(128)), uint8_t(rng.Below(128)));
            estimate += 3;
            break;
        default: {
            const uint8_t note = uint8_t(40 + rng.Below(40));
            const uint32_t length = 30 + rng.Below(480);
            w.NoteOn(tick, ch, note, uint8_t(1 + rng.Below(127)));
            w.NoteOff(tick + length, ch, note);
            estimate += 7;
        }
        }
        tick += rng.Below(120);
    }
    Bytes out;
    if (!w.Write(out))
        std::abort();
    return out;
}

struct Data {
    std::vector<Bytes> patterns;  // 1,000 files of 0.5 to 5 KB
    Bytes small;                  // 2 MB
    Bytes large;                  // 20 MB
    size_t patternBytes = 0;
};

const Data& TheData() {
    static const Data data = [] {
        Data d;
        Lcg sizes{42};
        for (int i = 0; i < 1000; ++i) {
            d.patterns.push_back(MakePattern(uint64_t(i) + 1, 500 + sizes.Below(4500)));
            d.patternBytes += d.patterns.back().size();
        }
        d.small = MakePattern(7001, 2u << 20);
        d.large = MakePattern(7002, 20u << 20);
        return d;
    }();
    return data;
}

// ---- the readers, each parsing a whole file into its event list -----------

size_t ReadOurs(const Bytes& file) {
    CMidiTrack track;
    if (ReadPattern(file.data(), file.size(), track) != kMidiOk)
        std::abort();
    return track.events.size();
}

size_t ReadSmf(const Bytes& file) {
    smf_t* smf = smf_load_from_memory(file.data(), int(file.size()));
    if (!smf)
        std::abort();
    const size_t events = size_t(smf->number_of_tracks);
    smf_delete(smf);
    return events;
}

// An istream over bytes already in memory, so portSMF reads no copy.
struct MemoryBuf : std::streambuf {
    MemoryBuf(const Bytes& b) {
        char* p = const_cast<char*>(reinterpret_cast<const char*>(b.data()));
        setg(p, p, p + b.size());
    }
};

size_t ReadPortSmf(const Bytes& file) {
    MemoryBuf buf(file);
    std::istream in(&buf);
    Alg_seq seq(in, true);
    if (seq.get_read_error() != alg_no_error)
        std::abort();
    return size_t(seq.tracks());
}

template <size_t (*Read)(const Bytes&)>
void Patterns(benchmark::State& state) {
    const Data& d = TheData();
    for (auto _ : state) {
        for (const Bytes& f : d.patterns)
            benchmark::DoNotOptimize(Read(f));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(d.patternBytes));
}

template <size_t (*Read)(const Bytes&), bool Large>
void OneFile(benchmark::State& state) {
    const Bytes& f = Large ? TheData().large : TheData().small;
    // libsmf's time grows with the square of a track's length: the 2 MB file
    // takes it about 50 s, the 20 MB one would take over an hour.
    const char* slow = std::getenv("BENCH_LIBSMF_20MB");
    if (Large && Read == ReadSmf && !(slow && std::strcmp(slow, "1") == 0)) {
        state.SkipWithError("skipped: over an hour (BENCH_LIBSMF_20MB=1 runs it)");
        for (auto _ : state) {
        }
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(Read(f));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.size()));
}

BENCHMARK_TEMPLATE(Patterns, ReadOurs)->Name("patterns_1000/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Patterns, ReadSmf)->Name("patterns_1000/libsmf")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Patterns, ReadPortSmf)->Name("patterns_1000/portsmf")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OneFile, ReadOurs, false)->Name("file_2MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OneFile, ReadSmf, false)->Name("file_2MB/libsmf")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_TEMPLATE(OneFile, ReadPortSmf, false)->Name("file_2MB/portsmf")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OneFile, ReadOurs, true)->Name("file_20MB/ours")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(OneFile, ReadSmf, true)->Name("file_20MB/libsmf")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_TEMPLATE(OneFile, ReadPortSmf, true)->Name("file_20MB/portsmf")->Unit(benchmark::kMillisecond);

// Console output plus a summary: MB/s, our ratio to each peer, and how the
// time grows from 2 MB to 20 MB.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.error_occurred)
                continue;
            const std::string& name = r.run_name.function_name;
            auto it = r.counters.find("bytes_per_second");
            if (it != r.counters.end())
                rate_[name] = it->second.value;
            time_[name] = r.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nsummary (MB = 10^6 bytes)\n");
        for (const char* set : {"patterns_1000", "file_2MB", "file_20MB"}) {
            const std::string s = set;
            const double ours = Rate(s + "/ours");
            std::printf("%-14s ours %7.1f MB/s", set, ours / 1e6);
            for (const char* peer : {"libsmf", "portsmf"}) {
                const double theirs = Rate(s + "/" + peer);
                if (theirs > 0)
                    std::printf("   %s %9.3f MB/s (ours x%.1f)", peer, theirs / 1e6, ours / theirs);
                else
                    std::printf("   %s not run", peer);
            }
            std::printf("\n");
        }
        const double t2 = Time("file_2MB/ours"), t20 = Time("file_20MB/ours");
        const double bytesRatio = double(TheData().large.size()) / double(TheData().small.size());
        if (t2 > 0)
            std::printf("growth: ours takes x%.2f the time for x%.2f the data (2 MB -> 20 MB)\n", t20 / t2,
                        bytesRatio);
    }

private:
    double Rate(const std::string& name) const {
        auto it = rate_.find(name);
        return it == rate_.end() ? 0 : it->second;
    }
    double Time(const std::string& name) const {
        auto it = time_.find(name);
        return it == time_.end() ? 0 : it->second;
    }
    std::map<std::string, double> rate_;
    std::map<std::string, double> time_;
};

// ---- corpus for the comparison test: the peers' writers -------------------

smf_event_t* Event(std::initializer_list<uint8_t> bytes) {
    Bytes b(bytes);
    return smf_event_new_from_pointer(b.data(), int(b.size()));
}

// libsmf: format 0 and 1, any event bytes.
bool WriteSmf(const std::string& path, int tracks, uint64_t seed, int ppqn) {
    Lcg rng{seed};
    smf_t* smf = smf_new();
    if (smf_set_ppqn(smf, ppqn) != 0)
        return false;
    smf_track_t* conductor = smf_track_new();
    smf_add_track(smf, conductor);
    smf_track_add_event_pulses(conductor, Event({0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}), 0);
    smf_track_add_event_pulses(conductor, Event({0xFF, 0x58, 0x04, uint8_t(2 + rng.Below(6)), uint8_t(1 + rng.Below(3)), 24, 8}), 0);
    for (int t = 0; t < tracks; ++t) {
        smf_track_t* track = t == 0 ? conductor : smf_track_new();
        if (t > 0)
            smf_add_track(smf, track);
        int tick = 0;
        const uint8_t ch = uint8_t(rng.Below(16));
        for (int i = 0; i < 40; ++i) {
            const uint8_t note = uint8_t(rng.Below(128));
            const int length = int(rng.Below(3 * ppqn));
            smf_track_add_event_pulses(track, Event({uint8_t(0x90 | ch), note, uint8_t(1 + rng.Below(127))}), tick);
            // Every fifth note is left open; the rest end with either kind of note-off.
            if (i % 5 != 4) {
                if (rng.Below(2))
                    smf_track_add_event_pulses(track, Event({uint8_t(0x80 | ch), note, 64}), tick + length);
                else
                    smf_track_add_event_pulses(track, Event({uint8_t(0x90 | ch), note, 0}), tick + length);
            }
            if (i % 7 == 0)
                smf_track_add_event_pulses(track, Event({uint8_t(0xB0 | ch), 7, uint8_t(rng.Below(128))}), tick);
            if (i % 11 == 0)
                smf_track_add_event_pulses(track, Event({uint8_t(0xE0 | ch), 0, uint8_t(rng.Below(128))}), tick + 1);
            if (i % 13 == 0)
                smf_track_add_event_pulses(track, Event({uint8_t(0xD0 | ch), uint8_t(rng.Below(128))}), tick + 2);
            tick += int(rng.Below(ppqn));
        }
    }
    const bool ok = smf_save(smf, path.c_str()) == 0;
    smf_delete(smf);
    return ok;
}

// portSMF: format 1 from notes in beats.
bool WritePortSmf(const std::string& path, int tracks, uint64_t seed) {
    Lcg rng{seed};
    Alg_seq seq;
    seq.convert_to_beats();
    seq.insert_tempo(90.0 + rng.Below(60), 0.0);
    seq.set_time_sig(0.0, 3 + rng.Below(3), 4);
    for (int t = 0; t < tracks; ++t) {
        if (t > 0)
            seq.add_track(t);
        double beat = 0;
        for (int i = 0; i < 30; ++i) {
            const int key = 30 + int(rng.Below(60));
            Alg_note* n = seq.create_note(beat, int(rng.Below(16)), key, float(key), float(1 + rng.Below(127)),
                                          0.25 * (1 + rng.Below(8)));
            seq.add_event(n, t);
            beat += 0.25 * rng.Below(4);
        }
    }
    return seq.smf_write(path.c_str());
}

int WriteCorpus(const std::string& dir) {
    bool ok = true;
    ok = ok && WriteSmf(dir + "/libsmf_format0.mid", 1, 11, 96);
    ok = ok && WriteSmf(dir + "/libsmf_format1.mid", 3, 12, 480);
    ok = ok && WriteSmf(dir + "/libsmf_format1_b.mid", 2, 13, 192);
    ok = ok && WritePortSmf(dir + "/portsmf_1track.mid", 1, 21);
    ok = ok && WritePortSmf(dir + "/portsmf_3tracks.mid", 3, 22);
    std::printf("%s\n", ok ? "corpus written" : "failed to write the corpus");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-corpus") == 0)
        return WriteCorpus(argv[2]);
    // glibc hands blocks over 32 MB back to the kernel on free, so every read
    // of the 20 MB file would also pay for fresh zeroed pages while the 2 MB
    // one reuses its heap. Keep freed memory for every reader alike, so the
    // figures compare parsing; BENCH_DEFAULT_MALLOC=1 measures without this.
    const char* plain = std::getenv("BENCH_DEFAULT_MALLOC");
    if (!plain || std::strcmp(plain, "1") != 0) {
        mallopt(M_MMAP_THRESHOLD, 512 << 20);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TheData();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
