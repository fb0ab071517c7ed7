#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vk41 {

class FrameHandler;

// Modbus TCP over the program's own socket handling: the header is small,
// and owning it keeps every limit in one place (unit identifiers, the number
// of connections, deadlines, bounded buffers) and lets a master half-close
// its side and still get the answers to what it sent.
class TcpLink : public QObject {
  public:
    struct Limits {
        int maxConnections{16};  // past it, the connection idle longest gives way
        int idleMs{60000};       // a connection silent this long is closed
        int frameMs{2000};       // a frame must be whole this long after its first byte
    };
    // Milliseconds on a clock that never goes back: the deadlines are read off it.
    using Clock = std::function<std::int64_t()>;

    TcpLink(FrameHandler& handler, int address, Limits limits, Clock clock);
    ~TcpLink() override;

    // An empty string, or why it cannot listen there.
    QString listen(const QString& host, quint16 port);
    quint16 port() const;
    // The masters connected now.
    int connections() const { return static_cast<int>(connections_.size()); }

    // Closes the connections whose deadline the clock has passed; the link's
    // own timer calls it when the next deadline falls due.
    void checkDeadlines();

  private:
    struct Connection;
    class Listener;

    void accept(int fd);
    void read(Connection& c);
    bool takeFrames(Connection& c, std::int64_t now);
    bool send(Connection& c);
    void finish(Connection& c);
    void close(Connection& c, const std::string& why = {});
    Connection* idlest() const;
    void armFor(std::int64_t due);

    FrameHandler* handler_;
    int address_;
    Limits limits_;
    Clock clock_;
    std::unique_ptr<Listener> listener_;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::uint64_t turns_{0};  // orders the connections' last activity
    QTimer deadline_;
    std::optional<std::int64_t> armedFor_;
};

}  // namespace vk41
