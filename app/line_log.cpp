#include "app/line_log.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QSocketNotifier>
#include <cerrno>

namespace vk41 {
namespace {

// "строка" after a number: 1, 21, 101 строка; 2-4, 22-24 строки; the rest,
// 11-14 among them, строк.
const char* linesWord(std::uint64_t count) {
    const std::uint64_t tens = count % 100;
    const std::uint64_t ones = count % 10;
    if (tens >= 11 && tens <= 14) return "строк";
    if (ones == 1) return "строка";
    if (ones >= 2 && ones <= 4) return "строки";
    return "строк";
}

}  // namespace

std::string logStamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")).toStdString();
}

std::string droppedLinesNote(std::uint64_t count) {
    return "… пропущено " + std::to_string(count) + " " + linesWord(count) + " журнала";
}

LineLog::LineLog(int fd) : fd_(fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        broken_ = true;
        return;
    }
    regular_ = S_ISREG(status.st_mode);
    socket_ = S_ISSOCK(status.st_mode);
    if (!regular_ && !socket_) {
        // A descriptor of its own for the same pipe or terminal, so that it
        // may not block without changing the one the shell shares.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        const int own = ::open(self.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (own >= 0) {
            fd_ = own;
            ownFd_ = true;
        }
    }
    if (regular_) return;
    room_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Write);
    room_->setEnabled(false);
    connect(room_.get(), &QSocketNotifier::activated, this, [this] {
        if (flush() || broken_) room_->setEnabled(false);
    });
}

LineLog::~LineLog() {
    room_.reset();
    if (ownFd_) ::close(fd_);
}

void LineLog::write(const std::string& line) {
    if (broken_) return;
    // A line may not pass what waits before it.
    if (!flush()) {
        ++dropped_;
        waitForRoom();
        return;
    }
    switch (put(line + "\n")) {
        case Put::kWhole:
            return;
        case Put::kStarted:
            waitForRoom();
            return;
        case Put::kRefused:
            ++dropped_;
            waitForRoom();
            return;
    }
}

// Writes what waits: the rest of a line, then the count of the dropped ones.
// True when nothing waits any more.
bool LineLog::flush() {
    if (broken_) return false;
    if (!pending_.empty()) {
        const std::string rest = std::move(pending_);
        pending_.clear();
        if (put(rest) != Put::kWhole) return false;
    }
    if (dropped_ == 0) return true;
    const Put note = put(logStamp() + " " + droppedLinesNote(dropped_) + "\n");
    if (note == Put::kRefused) return false;
    dropped_ = 0;
    return note == Put::kWhole;
}

LineLog::Put LineLog::put(const std::string& text) {
    if (!ownFd_ && !socket_ && !regular_) {
        // No descriptor of its own that does not block: ask first.
        pollfd room{fd_, POLLOUT, 0};
        if (::poll(&room, 1, 0) == 1 && (room.revents & POLLERR)) broken_ = true;
        if (broken_ || !(room.revents & POLLOUT)) return Put::kRefused;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = socket_ ? ::send(fd_, text.data() + done, text.size() - done,
                                           MSG_DONTWAIT | MSG_NOSIGNAL)
                                  : ::write(fd_, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            if (!regular_) break;  // the output takes no more for now
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            broken_ = true;  // EPIPE: nobody reads
        break;
    }
    if (done == text.size()) return Put::kWhole;
    if (done == 0) return Put::kRefused;
    pending_ = text.substr(done);
    return Put::kStarted;
}

void LineLog::waitForRoom() {
    if (room_ && !broken_) room_->setEnabled(true);
}

}  // namespace vk41
