// Captures of the controller's exchanges, as Wireshark's tshark reads them:
// Modbus/TCP with the transaction ids as received, and RTU frames carried as
// Modbus RTU over TCP, both on port 502; every function, address, count and
// exception dissected as the controller answered it.
#include "modbus/pcap_capture.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modbus/rtu_framing.h"
#include "modbus/slave_protocol.h"

namespace vk41::capture {
namespace {

using Bytes = std::vector<std::uint8_t>;

// What a master asks: read 32 outputs, the first counter, the counter one
// register early (an exception), and output 3 switched on.
const std::vector<Bytes> kRequests = {
    {0x01, 0x00, 0x00, 0x00, 0x20},
    {0x03, 0xA4, 0xEE, 0x00, 0x02},
    {0x03, 0xA4, 0xED, 0x00, 0x02},
    {0x05, 0x00, 0x02, 0xFF, 0x00},
};

// What tshark makes of those exchanges, request and answer by turns:
// function, address, count of bits, count of words, exception (an
// exception answer's function is shown without its high bit).
const std::vector<std::string> kDissected = {
    "1\t0\t32\t\t",    "1\t\t\t\t",  "3\t42222\t\t2\t", "3\t\t\t\t",
    "3\t42221\t\t2\t", "3\t\t\t\t2", "5\t2\t\t\t",      "5\t2\t\t\t",
};

Bytes answerTo(const Bytes& request) {
    const auto reply = slave::answer(request, ControllerImage{});
    return reply ? reply->pdu : Bytes{};
}

Bytes mbap(std::uint16_t transaction, std::uint8_t unit, const Bytes& pdu) {
    const auto length = static_cast<unsigned>(pdu.size() + 1);
    Bytes frame;
    const unsigned id = transaction;
    for (const unsigned b :
         {id >> 8u, id & 0xFFu, 0u, 0u, length >> 8u, length & 0xFFu, unsigned{unit}})
        frame.push_back(static_cast<std::uint8_t>(b));
    for (const std::uint8_t b : pdu) frame.push_back(b);
    return frame;
}

std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
    return out;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}

class Captures : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(system("command -v tshark >/dev/null 2>&1"), 0)
            << "tshark is not installed: `make deps` installs it";
    }
    void TearDown() override { std::filesystem::remove(file); }

    // tshark's fields of every Modbus PDU in the capture, one line each.
    std::string fields(const std::string& decodeAs = "") {
        return run("tshark -r " + file.string() + " " + decodeAs +
                   " -Y modbus -T fields -e modbus.func_code -e modbus.reference_num"
                   " -e modbus.bit_cnt -e modbus.word_cnt -e modbus.exception_code 2>/dev/null");
    }

    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("vk41-capture-" + std::to_string(getpid()) + ".pcap");
};

TEST_F(Captures, OfModbusTcpCarryEveryExchangeWithItsTransactionId) {
    const Endpoint master = *endpointOf("10.1.2.3", 40123);
    const Endpoint controller = *endpointOf("127.0.0.1", kModbusPort);
    {
        std::ofstream out(file, std::ios::binary);
        PcapWriter capture(out);
        std::uint16_t transaction = 0x1200;
        std::int64_t at = 1'700'000'000'000'000;
        for (const Bytes& request : kRequests) {
            capture.segment(master, controller, mbap(++transaction, 127, request), at += 1000);
            capture.segment(controller, master, mbap(transaction, 127, answerTo(request)),
                            at += 500);
        }
    }
    EXPECT_EQ(lines(fields()), kDissected);
    EXPECT_EQ(
        lines(run("tshark -r " + file.string() +
                  " -T fields -e ip.src -e tcp.srcport -e mbtcp.trans_id -e mbtcp.unit_id "
                  "-c 2 2>/dev/null")),
        (std::vector<std::string>{"10.1.2.3\t40123\t4609\t127", "127.0.0.1\t502\t4609\t127"}));
    // No segment of the stream is missing or malformed on the way.
    EXPECT_EQ(
        run("tshark -r " + file.string() + " -Y '_ws.expert.severity >= warning' 2>/dev/null"), "");
}

TEST_F(Captures, OfRtuCarryTheFramesWithTheirCrc) {
    {
        std::ofstream out(file, std::ios::binary);
        PcapWriter capture(out);
        std::int64_t at = 1'700'000'000'000'000;
        for (const Bytes& request : kRequests) {
            capture.segment(rtuMaster(), rtuController(), slave::rtuFrame(127, request),
                            at += 1000);
            capture.segment(rtuController(), rtuMaster(), slave::rtuFrame(127, answerTo(request)),
                            at += 500);
        }
    }
    // Wireshark takes port 502 for Modbus/TCP unless told that it carries RTU.
    const std::string rtu = "-o mbrtu.tcp.port:502 -o mbrtu.crc_verification:TRUE";
    EXPECT_EQ(lines(fields(rtu)), kDissected);
    // Every CRC holds (status 1, "good").
    EXPECT_EQ(lines(run("tshark -r " + file.string() + " " + rtu +
                        " -T fields -e mbrtu.unit_id -e mbrtu.crc16.status -c 2 2>/dev/null")),
              (std::vector<std::string>{"127\t1", "127\t1"}));
}

TEST(Endpoints, AreDottedAddressesAndNothingElse) {
    EXPECT_EQ(endpointOf("192.168.0.10", 502), (Endpoint{{192, 168, 0, 10}, 502}));
    for (const char* bad : {"", "localhost", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1..2.3",
                            "1.2.3.4 ", "-1.2.3.4", "::1"})
        EXPECT_FALSE(endpointOf(bad, 502)) << bad;
}

}  // namespace
}  // namespace vk41::capture
