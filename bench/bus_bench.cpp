// The slave under load: 8 masters x 10,000 requests over loopback TCP, their
// latencies against a minimal libmodbus slave serving a static map (the
// floor), the slave's CPU use with no master connected, and how fast one
// master is answered while garbage, half-open connections and a flood hit
// the slave.
//   vk41-bus-bench [PATH-TO-vk41-slave]
#include <arpa/inet.h>
#include <modbus/modbus.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMasters = 8;
constexpr int kRequests = 10000;
constexpr int kFloodRequests = 20;
constexpr double kFloodTargetMs = 50;

struct Figures {
    double p50, p99;  // microseconds
    int errors;
};

// Each master reads the flags and the counter in turn; every latency counts.
Figures load(int port) {
    std::vector<std::vector<double>> latencies(kMasters);
    std::atomic<int> errors{0};
    std::vector<std::thread> masters;
    for (int m = 0; m < kMasters; ++m) {
        masters.emplace_back([&, m] {
            modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
            modbus_set_slave(ctx, 127);
            if (modbus_connect(ctx) != 0) {
                errors += kRequests;
                modbus_free(ctx);
                return;
            }
            std::uint8_t bits[32];
            std::uint16_t words[2];
            latencies[m].reserve(kRequests);
            for (int i = 0; i < kRequests; ++i) {
                const auto start = Clock::now();
                const int got = i % 2 ? modbus_read_registers(ctx, 42222, 2, words)
                                      : modbus_read_bits(ctx, 32, 32, bits);
                const std::chrono::duration<double, std::micro> took = Clock::now() - start;
                latencies[m].push_back(took.count());
                if (got < 0) ++errors;
            }
            modbus_close(ctx);
            modbus_free(ctx);
        });
    }
    for (auto& t : masters) t.join();
    std::vector<double> all;
    for (const auto& l : latencies) all.insert(all.end(), l.begin(), l.end());
    std::sort(all.begin(), all.end());
    if (all.empty()) return {0, 0, errors};
    return {all[all.size() / 2], all[all.size() * 99 / 100], errors};
}

// The floor: libmodbus's own slave over a static map, one select() loop.
void staticSlave(int listener, modbus_t* ctx, modbus_mapping_t* map, std::atomic<bool>& stop) {
    fd_set all;
    FD_ZERO(&all);
    FD_SET(listener, &all);
    int highest = listener;
    std::uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    while (!stop) {
        fd_set ready = all;
        timeval wait{0, 100000};
        if (select(highest + 1, &ready, nullptr, nullptr, &wait) <= 0) continue;
        for (int fd = 0; fd <= highest; ++fd) {
            if (!FD_ISSET(fd, &ready)) continue;
            if (fd == listener) {
                const int client = modbus_tcp_accept(ctx, &listener);
                if (client < 0) continue;
                FD_SET(client, &all);
                highest = std::max(highest, client);
                continue;
            }
            modbus_set_socket(ctx, fd);
            const int n = modbus_receive(ctx, query);
            if (n > 0)
                modbus_reply(ctx, query, n, map);
            else if (n < 0) {
                ::close(fd);
                FD_CLR(fd, &all);
            }
        }
    }
}

Figures floorFigures() {
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", 15999);
    modbus_mapping_t* map = modbus_mapping_new_start_address(0, 64, 10000, 32, 42222, 12, 0, 0);
    int listener = modbus_tcp_listen(ctx, kMasters + 2);
    std::atomic<bool> stop{false};
    std::thread server(staticSlave, listener, ctx, map, std::ref(stop));
    const Figures f = load(15999);
    stop = true;
    server.join();
    ::close(listener);
    modbus_mapping_free(map);
    modbus_free(ctx);
    return f;
}

int rawConnect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

struct FloodFigures {
    double worstMs;
    int errors;
};

// After 10,000 random frames and 8 half-open masters, one master floods the
// slave with requests it never reads while another reads the flags: the
// slowest of that master's answers.
FloodFigures floodFigures(int port) {
    std::mt19937 random(41);
    int garbage = rawConnect(port);
    for (int i = 0; i < 10000; ++i) {
        std::uint8_t frame[16];
        for (auto& b : frame) b = static_cast<std::uint8_t>(random());
        frame[2] = frame[3] = 0;  // mostly Modbus, so that the PDUs are read
        frame[4] = 0;
        frame[5] = static_cast<std::uint8_t>(random() % 12);
        if (::send(garbage, frame, sizeof frame, MSG_NOSIGNAL) < 0) {
            ::close(garbage);
            garbage = rawConnect(port);
        }
    }
    std::vector<int> halfOpen;
    for (int i = 0; i < 8; ++i) {
        halfOpen.push_back(rawConnect(port));
        const std::uint8_t half[] = {0, 1, 0};
        ::send(halfOpen.back(), half, sizeof half, MSG_NOSIGNAL);
    }
    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        const int fd = rawConnect(port);
        const std::uint8_t request[] = {0, 1, 0, 0, 0, 6, 127, 1, 0, 32, 0, 32};
        while (flooding && ::send(fd, request, sizeof request, MSG_NOSIGNAL) > 0) {
        }
        ::close(fd);
    });
    FloodFigures figures{0, 0};
    modbus_t* ctx = modbus_new_tcp("127.0.0.1", port);
    modbus_set_slave(ctx, 127);
    if (modbus_connect(ctx) != 0) {
        figures.errors = kFloodRequests;
    } else {
        std::uint8_t flags[32];
        for (int i = 0; i < kFloodRequests; ++i) {
            const auto start = Clock::now();
            if (modbus_read_bits(ctx, 32, 32, flags) != 32) ++figures.errors;
            const std::chrono::duration<double, std::milli> took = Clock::now() - start;
            figures.worstMs = std::max(figures.worstMs, took.count());
        }
        modbus_close(ctx);
    }
    modbus_free(ctx);
    flooding = false;
    flood.join();
    for (int fd : halfOpen) ::close(fd);
    ::close(garbage);
    return figures;
}

struct Slave {
    pid_t pid{-1};
    int port{0};
};

Slave startSlave(const std::string& path) {
    int err[2];
    if (::pipe(err) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::string p = path, tcp = "--tcp", at = "127.0.0.1:0", quiet = "--quiet";
    char* argv[] = {p.data(), tcp.data(), at.data(), quiet.data(), nullptr};
    Slave slave;
    posix_spawn(&slave.pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(err[1]);
    std::string said;
    char c;
    while (said.find('\n') == std::string::npos && ::read(err[0], &c, 1) == 1) said += c;
    ::close(err[0]);
    const auto colon = said.find("127.0.0.1:");
    if (colon != std::string::npos) slave.port = std::atoi(said.c_str() + colon + 10);
    return slave;
}

// CPU seconds the process has used, from /proc.
double cpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    for (int i = 1; i <= 13 && stat >> field; ++i) {
    }
    long user = 0, system = 0;
    stat >> user >> system;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : "./vk41-slave";
    const Slave slave = startSlave(path);
    if (slave.port == 0) {
        std::fprintf(stderr, "vk41-bus-bench: %s did not start\n", path.c_str());
        return 1;
    }
    const double idleFrom = cpuSeconds(slave.pid);
    const auto idleStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const std::chrono::duration<double> idleFor = Clock::now() - idleStart;
    const double idle = 100 * (cpuSeconds(slave.pid) - idleFrom) / idleFor.count();

    const Figures ours = load(slave.port);
    const FloodFigures flood = floodFigures(slave.port);
    const Figures floor = floorFigures();
    ::kill(slave.pid, SIGTERM);
    ::waitpid(slave.pid, nullptr, 0);

    std::printf("%d masters x %d requests over loopback TCP\n", kMasters, kRequests);
    std::printf("  vk41-slave         p50 %7.1f us  p99 %7.1f us  errors %d\n", ours.p50, ours.p99,
                ours.errors);
    std::printf("  libmodbus, static  p50 %7.1f us  p99 %7.1f us  errors %d\n", floor.p50,
                floor.p99, floor.errors);
    std::printf("  p99 against the floor: %.2fx (target: at most 2x)\n", ours.p99 / floor.p99);
    std::printf("  CPU with no master connected: %.2f %% of a core (target: under 1 %%)\n", idle);
    std::printf(
        "  slowest of %d answers during a flood: %.1f ms (target: under %.0f ms)  errors %d\n",
        kFloodRequests, flood.worstMs, kFloodTargetMs, flood.errors);
    const bool floodMet = flood.errors == 0 && flood.worstMs < kFloodTargetMs;
    return ours.errors == 0 && floodMet ? 0 : 1;
}
