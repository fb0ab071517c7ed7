#include "app/tcp_link.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QHostAddress>
#include <QSocketNotifier>
#include <QTcpServer>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "app/frame_handler.h"
#include "modbus/silence.h"
#include "modbus/tcp_framing.h"

namespace vk41 {
namespace {

constexpr const char* kLink = "TCP";
// Unit identifiers a TCP slave answers besides its own address: 0 and 255
// both stand for "the device behind this connection".
constexpr int kAnyUnit0 = 0;
constexpr int kAnyUnit255 = 255;
// A connection is read a little at a time, so that a flooding master is held
// back by TCP's own flow control and never keeps the others waiting: the
// notifier comes back to it after the others had their turn.
constexpr std::size_t kReadChunk = 1024;
// A master that does not read its answers is dropped before they pile up.
constexpr std::size_t kMaxUnsent = 64 * 1024;

// An end of the connection as a capture shows it: IPv4, or IPv6 that
// carries IPv4; any other end stands at 0.0.0.0.
capture::Endpoint endOf(const sockaddr_storage& address) {
    capture::Endpoint end;
    if (address.ss_family == AF_INET) {
        const auto& in = reinterpret_cast<const sockaddr_in&>(address);
        std::memcpy(end.address.data(), &in.sin_addr, 4);
        end.port = ntohs(in.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
        if (IN6_IS_ADDR_V4MAPPED(&in6.sin6_addr))
            std::memcpy(end.address.data(), &in6.sin6_addr.s6_addr[12], 4);
        else if (IN6_IS_ADDR_LOOPBACK(&in6.sin6_addr))
            end.address = {127, 0, 0, 1};
        end.port = ntohs(in6.sin6_port);
    }
    return end;
}

capture::Endpoint peerOf(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return {};
    return endOf(address);
}

capture::Endpoint localOf(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return {};
    return endOf(address);
}

std::string duration(int ms) {
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " с" : std::to_string(ms) + " мс";
}

}  // namespace

struct TcpLink::Connection {
    int fd{-1};
    QSocketNotifier* readable{nullptr};
    QSocketNotifier* writable{nullptr};
    std::vector<std::uint8_t> in;              // the start of a frame not yet whole
    std::vector<std::uint8_t> out;             // answers the socket has not taken yet
    std::int64_t lastHeard{0};                 // when its last bytes (or the connection) came
    std::optional<std::int64_t> frameStarted;  // when the unfinished frame's first byte came
    std::uint64_t turn{0};                     // the lowest was active longest ago
    bool finished{false};  // the master sent its FIN: what was whole is answered, then it closes
    capture::Endpoint master, controller;  // its two ends

    Arrival arrival(std::span<const std::uint8_t> frame) const {
        return {kLink, master, controller, frame};
    }
};

// Listens, and hands each accepted socket over as a descriptor.
class TcpLink::Listener : public QTcpServer {
  public:
    explicit Listener(TcpLink& link) : link_(&link) {}

  protected:
    void incomingConnection(qintptr descriptor) override {
        link_->accept(static_cast<int>(descriptor));
    }

  private:
    TcpLink* link_;
};

TcpLink::TcpLink(FrameHandler& handler, int address, Limits limits, Clock clock)
    : handler_(&handler),
      address_(address),
      limits_(limits),
      clock_(std::move(clock)),
      listener_(std::make_unique<Listener>(*this)) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        armedFor_.reset();
        checkDeadlines();
    });
}

TcpLink::~TcpLink() {
    while (!connections_.empty()) close(*connections_.back());
}

QString TcpLink::listen(const QString& host, quint16 port) {
    QHostAddress address;
    if (host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (!address.setAddress(host))
        return QStringLiteral("не адрес: %1 (адрес пишется так: 127.0.0.1)").arg(host);
    if (listener_->listen(address, port)) return {};
    const QString where = QStringLiteral("TCP %1:%2: ").arg(host).arg(port);
    switch (listener_->serverError()) {
        case QAbstractSocket::AddressInUseError:
            return where + QStringLiteral("порт занят: его уже слушает другая программа");
        case QAbstractSocket::SocketAccessError:
            return where + QStringLiteral(
                               "нет прав на этот порт (порты до 1024 — только для "
                               "администратора)");
        case QAbstractSocket::SocketAddressNotAvailableError:
            return where + QStringLiteral("у этого компьютера нет такого адреса");
        default:
            return where + listener_->errorString();
    }
}

quint16 TcpLink::port() const {
    return listener_->serverPort();
}

void TcpLink::accept(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);  // answers go at once
    checkDeadlines();
    if (static_cast<int>(connections_.size()) >= limits_.maxConnections) {
        // Every place is taken: the connection idle longest gives way, so a
        // master that connects is served even while others hold every place.
        if (Connection* oldest = idlest())
            close(*oldest, "все " + std::to_string(limits_.maxConnections) +
                               " соединений заняты: это молчало дольше всех и уступило место");
    }
    if (static_cast<int>(connections_.size()) >= limits_.maxConnections) {
        ::close(fd);
        return;
    }
    auto owned = std::make_unique<Connection>();
    Connection& c = *owned;
    c.fd = fd;
    c.master = peerOf(fd);
    c.controller = localOf(fd);
    c.lastHeard = clock_();
    c.turn = ++turns_;
    c.readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    c.writable = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    c.writable->setEnabled(false);
    connect(c.readable, &QSocketNotifier::activated, this, [this, &c] { read(c); });
    connect(c.writable, &QSocketNotifier::activated, this, [this, &c] { send(c); });
    connections_.push_back(std::move(owned));
    armFor(c.lastHeard + limits_.idleMs);
}

void TcpLink::read(Connection& c) {
    std::uint8_t chunk[kReadChunk];
    const ssize_t n = ::recv(c.fd, chunk, sizeof chunk, 0);
    if (n < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) close(c);
        return;
    }
    if (n == 0) {
        finish(c);
        return;
    }
    const std::int64_t now = clock_();
    c.lastHeard = now;
    c.turn = ++turns_;
    if (c.in.empty()) c.frameStarted = now;
    c.in.insert(c.in.end(), chunk, chunk + n);
    if (!takeFrames(c, now) || !send(c)) return;
    armFor(c.frameStarted ? *c.frameStarted + limits_.frameMs : now + limits_.idleMs);
}

// Answers every whole frame the connection has; false once it is closed.
bool TcpLink::takeFrames(Connection& c, std::int64_t now) {
    std::size_t at = 0;
    for (;;) {
        const std::span<const std::uint8_t> rest = std::span(c.in).subspan(at);
        const slave::TcpFrame f = slave::takeFrame(rest);
        if (f.status == slave::TcpFrame::Status::kIncomplete) break;
        if (f.status == slave::TcpFrame::Status::kBroken) {
            // No frame boundary can be trusted after this: the stream is dropped.
            handler_->dropped(c.arrival(rest.first(slave::kMbapHeader)), slave::whyDropped(f));
            close(c);
            return false;
        }
        if (f.status == slave::TcpFrame::Status::kDropped) {
            handler_->dropped(c.arrival(rest.first(f.size)), slave::whyDropped(f));
        } else if (f.unit == address_ || f.unit == kAnyUnit0 || f.unit == kAnyUnit255) {
            if (const auto reply =
                    handler_->request(c.arrival(rest.first(f.size)), f.unit, f.pdu, false)) {
                const auto framed = slave::tcpReply(f, *reply);
                c.out.insert(c.out.end(), framed.begin(), framed.end());
                handler_->answered(framed);
            }
        } else {
            handler_->dropped(c.arrival(rest.first(f.size)),
                              slave::silence::otherController(f.unit, address_));
        }
        at += f.size;
    }
    c.in.erase(c.in.begin(), c.in.begin() + static_cast<std::ptrdiff_t>(at));
    // What is left began after the last whole frame, in the bytes just read.
    if (c.in.empty())
        c.frameStarted.reset();
    else if (at > 0)
        c.frameStarted = now;
    return true;
}

// Hands the socket what it takes of the answers; false once it is closed.
bool TcpLink::send(Connection& c) {
    while (!c.out.empty()) {
        const ssize_t n = ::send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (n < 0) {
            close(c);
            return false;
        }
        c.out.erase(c.out.begin(), c.out.begin() + n);
    }
    if (c.out.size() > kMaxUnsent) {
        close(c, "мастер не читает ответы: соединение закрыто");
        return false;
    }
    if (c.finished && c.out.empty()) {
        close(c);
        return false;
    }
    c.writable->setEnabled(!c.out.empty());
    return true;
}

// The master has sent its FIN: it sends nothing more, but its whole requests
// were answered as they came, and those answers still go out before the
// connection closes.
void TcpLink::finish(Connection& c) {
    c.finished = true;
    c.readable->setEnabled(false);
    if (!c.in.empty()) handler_->dropped(c.arrival(c.in), "соединение закрыто посреди кадра");
    c.in.clear();
    c.frameStarted.reset();
    send(c);
}

void TcpLink::close(Connection& c, const std::string& why) {
    if (!why.empty()) handler_->dropped(c.arrival({}), why);
    // The notifiers go on the next turn of the event loop: one of them may be
    // the very one whose signal is running now.
    for (QSocketNotifier* notifier : {c.readable, c.writable}) {
        notifier->setEnabled(false);
        notifier->disconnect();
        notifier->deleteLater();
    }
    ::close(c.fd);
    std::erase_if(connections_, [&](const auto& owned) { return owned.get() == &c; });
}

TcpLink::Connection* TcpLink::idlest() const {
    const auto oldest =
        std::min_element(connections_.begin(), connections_.end(),
                         [](const auto& a, const auto& b) { return a->turn < b->turn; });
    return oldest == connections_.end() ? nullptr : oldest->get();
}

void TcpLink::checkDeadlines() {
    const std::int64_t now = clock_();
    std::vector<Connection*> all;
    for (const auto& c : connections_) all.push_back(c.get());
    std::optional<std::int64_t> next;
    for (Connection* c : all) {
        if (c->frameStarted && now - *c->frameStarted >= limits_.frameMs) {
            handler_->dropped(c->arrival(c->in), "кадр не завершён за " +
                                                     duration(limits_.frameMs) +
                                                     " от первого байта: соединение закрыто");
            close(*c);
            continue;
        }
        if (now - c->lastHeard >= limits_.idleMs) {
            close(*c, "соединение молчало " + duration(limits_.idleMs) + ": закрыто");
            continue;
        }
        std::int64_t due = c->lastHeard + limits_.idleMs;
        if (c->frameStarted) due = std::min(due, *c->frameStarted + limits_.frameMs);
        next = next ? std::min(*next, due) : due;
    }
    if (next) armFor(*next);
}

// The timer waits for the earliest deadline; a later one needs no change,
// since the check it leads to arms the timer for the next.
void TcpLink::armFor(std::int64_t due) {
    if (armedFor_ && *armedFor_ <= due && deadline_.isActive()) return;
    armedFor_ = due;
    const std::int64_t wait = std::clamp<std::int64_t>(due - clock_(), 0, INT_MAX);
    deadline_.start(static_cast<int>(wait));
}

}  // namespace vk41
