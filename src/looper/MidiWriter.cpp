#include "looper/MidiWriter.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace Corvell {

namespace {

constexpr uint32_t kMaxVarLen = 0x0FFFFFFF;  // largest four-byte variable-length number
constexpr uint32_t kMaxTick = INT32_MAX;     // readers count ticks in 32 bits

void PutVarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t buf[5];
    int n = 0;
    buf[n++] = uint8_t(v & 0x7F);
    while (v >>= 7)
        buf[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n)
        out.push_back(buf[--n]);
}


void PutBe16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

} // namespace

MidiFileWriter::MidiFileWriter(uint16_t format, uint16_t division)
    : format_(format), division_(division) {}

void MidiFileWriter::AddTrack() {
    tracks_.emplace_back();
}

void MidiFileWriter::Add(uint32_t tick, uint8_t kind, const uint8_t* data, size_t length) {
    if (tracks_.empty() || tick > kMaxTick || length > kMaxVarLen) {
        valid_ = false;
        return;
    }
    Track& t = tracks_.back();
    t.items.push_back({tick, uint32_t(bytes_.size()), uint32_t(length), kind});
    bytes_.insert(bytes_.end(), data, data + length);
}

void MidiFileWriter::Channel(uint32_t tick, uint8_t status, uint8_t data1, uint8_t data2) {
    if (status < 0x80 || status >= 0xF0 || data1 >= 0x80 || data2 >= 0x80) {
        valid_ = false;
        return;
    }
    const int kind = status & 0xF0;
    const uint8_t msg[3] = {status, data1, data2};
    Add(tick, 0, msg, (kind == 0xC0 || kind == 0xD0) ? 2 : 3);
}

void MidiFileWriter::NoteOn(uint32_t tick, uint8_t channel, uint8_t note, uint8_t velocity) {
    Channel(tick, uint8_t(0x90 | (channel & 0x0F)), note, velocity);
}

void MidiFileWriter::NoteOff(uint32_t tick, uint8_t channel, uint8_t note, uint8_t velocity) {
    Channel(tick, uint8_t(0x80 | (channel & 0x0F)), note, velocity);
}

void MidiFileWriter::Meta(uint32_t tick, uint8_t type, const void* data, size_t length) {
    if (type >= 0x80 || type == 0x2F) {  // End of Track is written by Write
        valid_ = false;
        return;
    }
    std::vector<uint8_t> msg{type};
    PutVarLen(msg, uint32_t(std::min<size_t>(length, kMaxVarLen)));
    const uint8_t* p = static_cast<const uint8_t*>(data);
    msg.insert(msg.end(), p, p + length);
    Add(tick, 1, msg.data(), msg.size());
}

void MidiFileWriter::Text(uint32_t tick, uint8_t type, const std::string& text) {
    Meta(tick, type, text.data(), text.size());
}

void MidiFileWriter::Tempo(uint32_t tick, uint32_t us) {
    if (us > 0xFFFFFF) {
        valid_ = false;
        return;
    }
    const uint8_t d[3] = {uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)};
    Meta(tick, 0x51, d, 3);
}

void MidiFileWriter::TimeSignature(uint32_t tick, uint8_t numerator, uint8_t denominatorPower,
                                   uint8_t clocksPerClick, uint8_t thirtySeconds) {
    const uint8_t d[4] = {numerator, denominatorPower, clocksPerClick, thirtySeconds};
    Meta(tick, 0x58, d, 4);
}

void MidiFileWriter::SysEx(uint32_t tick, const void* data, size_t length) {
    std::vector<uint8_t> msg;
    PutVarLen(msg, uint32_t(std::min<size_t>(length, kMaxVarLen)));
    const uint8_t* p = static_cast<const uint8_t*>(data);
    msg.insert(msg.end(), p, p + length);
    Add(tick, 2, msg.data(), msg.size());
}

void MidiFileWriter::EndAt(uint32_t tick) {
    if (tracks_.empty() || tick > kMaxTick) {
        valid_ = false;
        return;
    }
    tracks_.back().end = std::max(tracks_.back().end, tick);
}

bool MidiFileWriter::WriteTrack(const Track& track, std::vector<uint8_t>& out) const {
    std::vector<const Item*> order;
    order.reserve(track.items.size());
    for (const Item& item : track.items)
        order.push_back(&item);
    std::stable_sort(order.begin(), order.end(),
                     [](const Item* a, const Item* b) { return a->tick < b->tick; });

    const size_t lengthAt = out.size() + 4;
    out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
    const size_t start = out.size();
    uint32_t now = 0;
    uint8_t lastStatus = 0;
    auto advance = [&](uint32_t tick) {
        // A gap longer than a delta time can say is bridged by empty text events.
        while (tick - now > kMaxVarLen) {
            PutVarLen(out, kMaxVarLen);
            out.insert(out.end(), {0xFF, 0x01, 0x00});
            now += kMaxVarLen;
            lastStatus = 0;
        }
        PutVarLen(out, tick - now);
        now = tick;
    };
    for (const Item* item : order) {
        advance(item->tick);
        const uint8_t* msg = bytes_.data() + item->offset;
        if (item->kind == 0) {
            uint8_t status = msg[0];
            uint8_t d2 = item->length > 2 ? msg[2] : 0;
            if (noteOffAsNoteOn_ && (status & 0xF0) == 0x80) {
                status = uint8_t(0x90 | (status & 0x0F));
                d2 = 0;
            }
            if (!runningStatus_ || status != lastStatus)
                out.push_back(status);
            lastStatus = status;
            out.push_back(msg[1]);
            if (item->length > 2)
                out.push_back(d2);
        } else {
            out.push_back(item->kind == 1 ? 0xFF : 0xF0);
            out.insert(out.end(), msg, msg + item->length);
            lastStatus = 0;  // meta and system exclusive cancel running status
        }
    }
    advance(std::max(track.end, now));
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    const size_t length = out.size() - start;
    if (length > UINT32_MAX)
        return false;
    for (int i = 0; i < 4; ++i)
        out[lengthAt + size_t(i)] = uint8_t(length >> (24 - 8 * i));
    return true;
}

bool MidiFileWriter::Write(std::vector<uint8_t>& out) const {
    if (!valid_ || tracks_.empty() || tracks_.size() > 0xFFFF || format_ > 1 ||
        (format_ == 0 && tracks_.size() != 1) || division_ == 0 || (division_ & 0x8000))
        return false;
    std::vector<uint8_t> file;
    file.reserve(bytes_.size() + 14 + tracks_.size() * 12);
    file.insert(file.end(), {'M', 'T', 'h', 'd', 0, 0, 0, 6});
    PutBe16(file, format_);
    PutBe16(file, uint16_t(tracks_.size()));
    PutBe16(file, division_);
    for (const Track& t : tracks_) {
        if (!WriteTrack(t, file))
            return false;
    }
    out.swap(file);
    return true;
}

bool WriteMidiTrack(const CMidiTrack& track, uint16_t format, std::vector<uint8_t>& out,
                    bool runningStatus) {
    if (format > 1 || track.division <= 0 || track.division > 0x7FFF)
        return false;

    // What goes into the pattern's chunk, in the order a reader rebuilds it:
    // at each tick, note-offs of earlier notes first (oldest note first), then
    // the events in track order, a zero-length note's off right after its on.
    struct Out {
        int64_t tick;
        int phase;
        size_t seq;
        uint8_t status, data1, data2;
    };
    std::vector<Out> items;
    items.reserve(track.events.size() * 2);
    bool hasNotes = false;
    for (size_t i = 0; i < track.events.size(); ++i) {
        const MidiEvent& e = track.events[i];
        const int32_t time = e.time;
        const int32_t duration = e.duration;
        const bool twoData = e.kind == kMidiNote || e.kind == kMidiKeyPressure || e.kind == kMidiController;
        if (time < 0 || e.channel > 15 || (twoData && e.data1 > 127) ||
            (e.kind != kMidiPitchBend && e.data2 > 127) || (e.kind == kMidiNote && duration < -1))
            return false;
        const uint8_t ch = e.channel;
        switch (e.kind) {
        case kMidiNote: {
            hasNotes = true;
            const uint8_t velocity = e.data2 ? e.data2 : 1;  // velocity 0 would be a note-off
            items.push_back({time, 1, 2 * i, uint8_t(0x90 | ch), e.data1, velocity});
            if (duration >= 0) {
                const int64_t end = int64_t(time) + duration;
                items.push_back({end, duration == 0 ? 1 : 0, 2 * i + 1, uint8_t(0x80 | ch), e.data1, 0x40});
            }
            break;
        }
        case kMidiKeyPressure:
            items.push_back({time, 1, 2 * i, uint8_t(0xA0 | ch), e.data1, e.data2});
            break;
        case kMidiController:
            items.push_back({time, 1, 2 * i, uint8_t(0xB0 | ch), e.data1, e.data2});
            break;
        case kMidiChannelPressure:
            items.push_back({time, 1, 2 * i, uint8_t(0xD0 | ch), e.data2, 0});
            break;
        case kMidiPitchBend: {
            int v = e.PitchBend();
            v = std::clamp(v, -8192, 8191) + 8192;
            items.push_back({time, 1, 2 * i, uint8_t(0xE0 | ch), uint8_t(v & 0x7F), uint8_t(v >> 7)});
            break;
        }
        default:
            break;  // kinds a file cannot hold as stored events
        }
    }
    std::sort(items.begin(), items.end(), [](const Out& a, const Out& b) {
        if (a.tick != b.tick)
            return a.tick < b.tick;
        if (a.phase != b.phase)
            return a.phase < b.phase;
        return a.seq < b.seq;
    });

    MidiFileWriter w(format, uint16_t(track.division));
    w.SetRunningStatus(runningStatus);
    w.AddTrack();
    if (track.tempo >= 0 && track.tempo <= 0xFFFFFF)
        w.Tempo(0, uint32_t(track.tempo));
    const int den = track.timeSigDenominator;
    int power = 0;
    while (power < 7 && (1 << power) < den)
        ++power;
    if (track.timeSigNumerator >= 1 && track.timeSigNumerator <= 255 && den == (1 << power))
        w.TimeSignature(0, uint8_t(track.timeSigNumerator), uint8_t(power));
    // A pattern without notes is read from the first chunk: keep it all there.
    if (format == 1 && hasNotes)
        w.AddTrack();
    if (track.trackName) {
        std::string name = track.trackName;
        if (track.trackNameSuffix)
            name += "/" + std::string(track.trackNameSuffix);
        w.Text(0, 0x03, name);
    }
    for (const Out& o : items) {
        if (o.tick > kMaxTick)
            return false;
        w.Channel(uint32_t(o.tick), o.status, o.data1, o.data2);
    }
    if (format == 1 && !hasNotes)
        w.AddTrack();
    return w.Write(out);
}

} // namespace Corvell
