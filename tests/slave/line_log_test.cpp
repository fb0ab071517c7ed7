// The slave's log on an output that stops taking lines: lines are dropped
// and counted, never waited for, and the count goes out first once the
// output takes lines again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>
#include <cstdint>
#include <string>

#include "app/line_log.h"

namespace vk41 {
namespace {

struct NoteCase {
    std::uint64_t count;
    const char* note;
};

class DroppedLinesNote : public ::testing::TestWithParam<NoteCase> {};

TEST_P(DroppedLinesNote, SaysTheCountWithTheWordInItsForm) {
    EXPECT_EQ(droppedLinesNote(GetParam().count), GetParam().note);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Slave, DroppedLinesNote, ::testing::Values(
    NoteCase{  1, "… пропущено 1 строка журнала"},
    NoteCase{  2, "… пропущено 2 строки журнала"},
    NoteCase{  4, "… пропущено 4 строки журнала"},
    NoteCase{  5, "… пропущено 5 строк журнала"},
    NoteCase{ 10, "… пропущено 10 строк журнала"},
    NoteCase{ 11, "… пропущено 11 строк журнала"},
    NoteCase{ 12, "… пропущено 12 строк журнала"},
    NoteCase{ 14, "… пропущено 14 строк журнала"},
    NoteCase{ 21, "… пропущено 21 строка журнала"},
    NoteCase{ 22, "… пропущено 22 строки журнала"},
    NoteCase{ 25, "… пропущено 25 строк журнала"},
    NoteCase{101, "… пропущено 101 строка журнала"},
    NoteCase{111, "… пропущено 111 строк журнала"},
    NoteCase{112, "… пропущено 112 строк журнала"},
    NoteCase{120, "… пропущено 120 строк журнала"},
    NoteCase{123, "… пропущено 123 строки журнала"}),
    [](const auto& p) { return std::to_string(p.param.count); });
// clang-format on

// A pipe the test reads only when it chooses to.
class Pipe {
  public:
    Pipe() {
        if (::pipe2(ends_, O_CLOEXEC) == 0) ::fcntl(ends_[0], F_SETFL, O_NONBLOCK);
    }
    ~Pipe() {
        for (int fd : ends_)
            if (fd >= 0) ::close(fd);
    }
    int writeEnd() const { return ends_[1]; }
    // What the pipe holds now.
    std::string drain() {
        std::string got;
        char chunk[4096];
        ssize_t n;
        while ((n = ::read(ends_[0], chunk, sizeof chunk)) > 0)
            got.append(chunk, static_cast<std::size_t>(n));
        return got;
    }

  private:
    int ends_[2]{-1, -1};
};

// How many whole lines `text` holds, and how many its notes say were dropped.
struct Tally {
    std::uint64_t lines{0};
    std::uint64_t dropped{0};
};
Tally tally(const std::string& text, const std::string& line) {
    Tally t;
    for (std::size_t at = text.find(line + "\n"); at != std::string::npos;
         at = text.find(line + "\n", at + 1))
        ++t.lines;
    const std::string note = "… пропущено ";
    for (std::size_t at = text.find(note); at != std::string::npos; at = text.find(note, at + 1))
        t.dropped += std::stoull(text.substr(at + note.size()));
    return t;
}

TEST(LineLog, DropsWhatAFullPipeCannotTakeAndWritesTheCountOnceItCan) {
    Pipe pipe;
    LineLog log(pipe.writeEnd());
    const std::string line(99, 'x');
    constexpr std::uint64_t kLines = 3000;  // 300 KB: far past what a pipe holds
    for (std::uint64_t i = 0; i < kLines; ++i) log.write(line);
    const std::uint64_t dropped = log.dropped();
    ASSERT_GT(dropped, 0u) << "the pipe took 300 KB";
    std::string read = pipe.drain();
    // Each line went out or is counted: in a note that found room, or still waiting.
    const Tally early = tally(read, line);
    EXPECT_EQ(early.lines + early.dropped + dropped, kLines);
    // Once there is room again the count goes out, by itself.
    const std::string note = droppedLinesNote(dropped) + "\n";
    QElapsedTimer waited;
    waited.start();
    while (read.find(note) == std::string::npos && waited.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        read += pipe.drain();
    }
    EXPECT_NE(read.find(note), std::string::npos) << "no count of " << dropped;
    EXPECT_EQ(log.dropped(), 0u);
    log.write("после");
    read += pipe.drain();
    EXPECT_EQ(read.substr(read.size() - 11), "после\n");
}

TEST(LineLog, AnOutputNobodyWillReadTakesNothingAndHoldsNothingUp) {
    std::signal(SIGPIPE, SIG_IGN);  // as vk41-slave does
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    ::close(ends[0]);  // the reader is gone
    LineLog log(ends[1]);
    for (int i = 0; i < 100; ++i) log.write("строка");
    ::close(ends[1]);
}

}  // namespace
}  // namespace vk41
