#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "link/FrameCodec.h"
#include "link/TraceQueue.h"
#include "params/TraceDecoder.h"

namespace zr::test {
namespace {

using Kind = TraceEvent::Kind;
using Bytes = std::vector<uint8_t>;

struct Step {
    Kind kind;
    uint32_t tick;
    Bytes bytes;
    int number = 0;
};

Bytes frame(const char* text) {
    const CommandFrameBytes f = buildCommandFrame(checkCommandText(text).upper);
    return Bytes(f.begin(), f.end());
}

// 0x12 0xAB 0x00 with its checksum.
const Bytes kAnswerFrame{0x02, 0x31, 0x32, 0x41, 0x42, 0x30, 0x30, 0x03, 0x42, 0x34};

// "ms dir meaning [rtt]", and the bytes for the lines the case names.
std::string brief(const TraceLine& l) {
    std::string s =
        std::to_string(l.ms) + " " + (l.direction.empty() ? "--" : l.direction) + " " + l.meaning;
    if (l.roundTripMs >= 0) s += " [" + std::to_string(l.roundTripMs) + "]";
    return s;
}

struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> lines;
};

const std::vector<Case> kCases = {
    {"write of a two-byte setting, ACK ends it",
     {{Kind::Opened, 1000, {}},
      {Kind::Sent, 1005, frame("010C015500")},
      {Kind::Received, 1012, {0x06}},
      {Kind::Ack, 1012, {}}},
     {"0 -- port opened", "5 -> write gain_level = 341", "12 <- ACK [7]"}},
    {"read of a two-byte setting: ACK, answer with its value, the host's ACK",
     {{Kind::Opened, 0, {}},
      {Kind::Sent, 10, frame("810C000000")},
      {Kind::Received, 13, {0x06}},
      {Kind::Ack, 13, {}},
      {Kind::Received, 30, Bytes{0x02, 0x30, 0x31, 0x35, 0x35, 0x30, 0x30, 0x03, 0x30, 0x30}},
      {Kind::Answer, 30, {0x01, 0x55, 0x00}},
      {Kind::Sent, 30, {0x06}}},
     {"0 -- port opened", "10 -> read gain_level", "13 <- ACK",
      "30 <- answer 01 55 00: gain_level = 341 [20]", "30 -> ACK"}},
    {"read of a one-byte setting, ACK and answer in one read",
     {{Kind::Opened, 0, {}},
      {Kind::Sent, 0, frame("8108000000")},
      {Kind::Received, 4, {0x06, 0x02}},
      {Kind::Ack, 4, {}},
      {Kind::Answer, 4, {0x12, 0xAB, 0x00}}},
     {"0 -- port opened", "0 -> read shutter_speed",
      "4 <- ACK, answer 12 AB 00: shutter_speed = 18 [4]"}},
    {"NAK ends a write; a bad checksum is NAKed and ends nothing",
     {{Kind::Opened, 0, {}},
      {Kind::Sent, 1, frame("0108050000")},
      {Kind::Received, 3, {0x15}},
      {Kind::Nak, 3, {}},
      {Kind::Sent, 10, frame("8108000000")},
      {Kind::Received, 12, kAnswerFrame},
      {Kind::BadChecksum, 12, {0x12, 0xAB, 0x00}},
      {Kind::Sent, 12, {0x15}}},
     {"0 -- port opened", "1 -> write shutter_speed = 5", "3 <- NAK [2]",
      "10 -> read shutter_speed", "12 <- answer 12 AB 00: bad checksum", "12 -> NAK"}},
    {"dropped bytes, alone and before an ACK",
     {{Kind::Opened, 0, {}},
      {Kind::Received, 2, {'x', 'y'}},
      {Kind::Dropped, 2, {'x', 'y'}},
      {Kind::Sent, 5, frame("0108050000")},
      {Kind::Received, 7, {'z', 0x06}},
      {Kind::Dropped, 7, {'z'}},
      {Kind::Ack, 7, {}}},
     {"0 -- port opened", "2 <- 2 bytes dropped", "5 -> write shutter_speed = 5",
      "7 <- 1 byte dropped, ACK [2]"}},
    {"resends keep the first frame's start; the ACK time-out ends the exchange",
     {{Kind::Opened, 0, {}},
      {Kind::Sent, 0, frame("0108050000")},
      {Kind::Resend, 1001, {}, 1},
      {Kind::Sent, 1001, frame("0108050000")},
      {Kind::Resend, 2002, {}, 2},
      {Kind::Sent, 2002, frame("0108050000")},
      {Kind::AckTimeout, 3003, {}}},
     {"0 -- port opened", "0 -> write shutter_speed = 5", "1001 -> resend 1",
      "1001 -> write shutter_speed = 5", "2002 -> resend 2", "2002 -> write shutter_speed = 5",
      "3003 -- ACK time-out [3003]"}},
    {"answer time-out; a command of no row; time across the tick's wrap",
     {{Kind::Opened, 0xFFFFFFF0u, {}},
      {Kind::Sent, 0xFFFFFFF8u, frame("8108000000")},
      {Kind::Received, 0x4, {0x06}},
      {Kind::Ack, 0x4, {}},
      {Kind::AnswerTimeout, 0xBC5, {}},
      {Kind::Sent, 0xBD0, frame("3001FFFF00")}},
     {"0 -- port opened", "8 -> read shutter_speed", "20 <- ACK", "3029 -- answer time-out [3021]",
      "3040 -> command 3001FFFF00"}},
    {"look-up table entries: a read with its answer, a write",
     {{Kind::Opened, 0, {}},
      {Kind::Sent, 1, frame("A00C000000")},
      {Kind::Received, 3, {0x06}},
      {Kind::Ack, 3, {}},
      {Kind::Answer, 5, {0x4E, 0x5A, 0xA5}},
      {Kind::Sent, 6, frame("2100000000")},
      {Kind::Sent, 8, frame("22FFFF0000")}},
     {"0 -- port opened", "1 -> read LUT red[12]", "3 <- ACK, answer: LUT red[12] = 78 [4]",
      "6 -> write LUT green[0] = 0", "8 -> write LUT blue[255] = 255"}},
};

TEST(TraceDecoder, EventsToLines) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        TraceDecoder decoder;
        std::vector<TraceLine> out;
        for (const Step& s : c.steps)
            decoder.feed({s.kind, s.tick, s.bytes.data(), s.bytes.size(), s.number}, out);
        decoder.flush(out);
        std::vector<std::string> got;
        for (const TraceLine& l : out) got.push_back(brief(l));
        EXPECT_EQ(got, c.lines);
    }
}

// The bytes of a line as hex and text; a meaning that comes after its bytes'
// line has gone out gets a line of its own.
TEST(TraceDecoder, BytesAndLateMeanings) {
    TraceDecoder decoder(100);
    std::vector<TraceLine> out;
    const Bytes chunk{0x06, 'A', 0x7F};
    decoder.feed({Kind::Received, 105, chunk.data(), chunk.size()}, out);
    decoder.flush(out);
    decoder.feed({Kind::Ack, 106, nullptr, 0}, out);
    decoder.flush(out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], (TraceLine{5, "<-", "06 41 7F", ".A.", "", -1}));
    EXPECT_EQ(out[1], (TraceLine{6, "<-", "", "", "ACK", -1}));
    EXPECT_EQ(decoder.lostLine(3).meaning, "3 events lost: the trace fell behind");
}

TEST(TraceDecoder, CsvQuotesEveryTextField) {
    EXPECT_EQ(traceCsvHeader(), "ms,direction,hex,text,meaning,round_trip_ms\n");
    EXPECT_EQ(traceCsvLine({5, "<-", "22 2C", "\",", "2 bytes dropped", -1}),
              "5,\"<-\",\"22 2C\",\"\"\",\",\"2 bytes dropped\",\n");
    EXPECT_EQ(traceCsvLine({1012, "<-", "06", ".", "ACK", 7}),
              "1012,\"<-\",\"06\",\".\",\"ACK\",7\n");
}

}  // namespace
}  // namespace zr::test

// A reader that stops and starts again while the worker is halfway through a
// push: that event belongs to the earlier listening and must not reach the
// new one. The worker numbers its events in the order it starts them.
TEST(TraceReader, ANewListeningNeverGetsAnEarlierOnesEvent) {
    zr::TraceQueue queue(64);
    std::atomic<uint32_t> started{0};
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        const std::vector<uint8_t> bytes(255, 0x30);
        for (uint32_t n = 1; !stop.load(); ++n) {
            started.store(n);
            queue.push({zr::TraceEvent::Kind::Sent, n, bytes.data(), bytes.size(), 0});
        }
    });
    int stale = 0;
    std::vector<zr::TraceQueue::Record> out;
    queue.setListening(true);
    for (int round = 0; round < 20000 && stale == 0; ++round) {
        queue.setListening(false);
        const uint32_t last = started.load();
        queue.discard();
        while (started.load() <= last) {
            // the push under way at the stop has ended
        }
        queue.setListening(true);
        out.clear();
        queue.drain(out, queue.capacity());
        for (const zr::TraceQueue::Record& r : out) stale += r.tick <= last ? 1 : 0;
    }
    stop = true;
    worker.join();
    EXPECT_EQ(stale, 0);
}
