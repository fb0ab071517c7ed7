#pragma once

#include <cstdint>
#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include "modbus/pcap_capture.h"

namespace vk41 {

// One frame the controller received on the bus, and what became of it: the
// row the bus's traffic shows and the line the slave's log writes, from the
// same fields.
struct BusExchange {
    std::int64_t microseconds{0};       // when it came, since the epoch
    std::string link;                   // "TCP" or "RTU"
    capture::Endpoint master;           // the TCP peer; for RTU, capture::rtuMaster()
    capture::Endpoint controller;       // the TCP end it came to; for RTU, capture::rtuController()
    std::vector<std::uint8_t> request;  // the frame as received, its header or CRC included
    std::vector<std::uint8_t> answer;   // the frame as sent; empty when none was
    int unit{-1};      // the address it was sent to; -1 where the frame did not say
    int function{-1};  // its function code; -1 where the frame did not say
    std::string meaning;  // what it asked and what the answer said ("FC1 флаги 1–32 → 83 00 00 00")
    std::string why;  // with no answer, why; with an exception, its likely cause

    bool answered() const { return !answer.empty(); }
    // No answer, or an exception answer.
    bool failed() const;
};

// "127.0.0.1:50312" for a TCP master, "RTU" for the line.
std::string masterText(const BusExchange& e);
// The exchange as the slave's log writes it, after the time:
// "TCP 00 01 00 00 00 06 7F 01 00 20 00 20  →  00 01 00 00 00 07 7F 01 04 83 00 00 00  FC1 …".
std::string logLine(const BusExchange& e);
// What it asked and what became of it, as the log ends its line: the
// meaning, then the reason for silence or the exception's likely cause.
std::string outcomeText(const BusExchange& e);
// The time of day of `microseconds` since the epoch, local: "12:00:01.234".
std::string timeOfDay(std::int64_t microseconds);

// The last exchanges on the bus, oldest first, at most kKept of them: past
// that the oldest goes as each new one comes, so the memory stays flat.
class BusTraffic {
  public:
    static constexpr std::size_t kKept = 10'000;

    void add(BusExchange e);
    // The exchange added last, to attach its answer to; null when none is kept.
    BusExchange* last() { return kept_.empty() ? nullptr : &kept_.back(); }

    std::size_t size() const { return kept_.size(); }
    const BusExchange& at(std::size_t i) const { return kept_[i]; }
    // Every exchange gets the next number as it is added, from 0: at(i) is
    // number first() + i, so a view tells new ones from those it has.
    std::uint64_t first() const { return added_ - kept_.size(); }
    std::uint64_t added() const { return added_; }
    // Frames received and answers sent since the start, kept or not.
    std::uint64_t received() const { return received_; }
    std::uint64_t answered() const { return answered_; }
    void answer(std::vector<std::uint8_t> frame);
    void clear();

    // Grows with every change, so a view redraws only when it moved.
    std::uint64_t revision() const { return revision_; }

  private:
    std::deque<BusExchange> kept_;
    std::uint64_t added_{0};
    std::uint64_t received_{0};
    std::uint64_t answered_{0};
    std::uint64_t revision_{0};
};

// Adds the exchange's frames to a capture: the request from the master to
// the controller, the answer back, on Modbus's port 502.
void addToCapture(capture::PcapWriter& writer, const BusExchange& e);

}  // namespace vk41
