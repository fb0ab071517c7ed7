#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

class QSocketNotifier;

namespace vk41 {

// Log lines for an output that may stop taking them: a pipe whose reader is
// stuck or gone (`vk41-slave | less`, a log reader that hangs). A line the
// output cannot take at once is dropped and counted, never waited for, so
// the log never holds up serving; as soon as the output takes lines again,
// the count goes first ("… пропущено 120 строк журнала").
class LineLog : public QObject {
  public:
    explicit LineLog(int fd);
    ~LineLog() override;

    // Writes `line` and a newline, or drops it.
    void write(const std::string& line);

    // Lines dropped since the count was last written.
    std::uint64_t dropped() const { return dropped_; }

  private:
    enum class Put { kWhole, kStarted, kRefused };
    Put put(const std::string& text);
    bool flush();
    void waitForRoom();

    int fd_{-1};
    bool ownFd_{false};    // a descriptor of its own that does not block
    bool socket_{false};   // sent to without blocking, call by call
    bool regular_{false};  // a file: it always takes a line
    bool broken_{false};   // nobody will ever read it: lines go nowhere
    std::string pending_;  // the rest of a line the output took only in part
    std::uint64_t dropped_{0};
    std::unique_ptr<QSocketNotifier> room_;  // tells when the output takes lines again
};

// The time of day as the log writes it: "12:00:01.234".
std::string logStamp();

// The line that says how many lines the log dropped: "… пропущено 120 строк
// журнала", with "строка" in the form its number asks for.
std::string droppedLinesNote(std::uint64_t count);

}  // namespace vk41
