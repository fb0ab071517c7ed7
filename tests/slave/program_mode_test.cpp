// vk41-slave --mode program: a master meets a controller that runs its
// conditions block, each answer carrying one cycle's outputs and flags.
#include <gtest/gtest.h>
#include <modbus/modbus.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "slave_process.h"

namespace vk41 {
namespace {

using testing::SlaveProcess;

using testing::connectTo;
using testing::Master;

// Outputs 1..32 and flags 1..32 in one answer: coils 0..63.
TEST(SlaveProgramMode, EachAnswerCarriesTheOutputsAndFlagsOfOneCycle) {
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--mode", "program", "--speed", "20", "--quiet"});
    const int port = slave.tcpPort();
    ASSERT_GT(port, 0) << slave.readError("");
    Master master = connectTo(port, 2);
    bool pumpOn = false, pumpOff = false;
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!(pumpOn && pumpOff) && std::chrono::steady_clock::now() < bound) {
        std::uint8_t coils[64];
        ASSERT_EQ(modbus_read_bits(master.get(), 0, 64, coils), 64) << modbus_strerror(errno);
        const auto output = [&](int k) { return coils[k - 1] != 0; };
        const auto flag = [&](int k) { return coils[31 + k] != 0; };
        // Operators 1, 11 and 13 raise their flags exactly as outputs 3, 5
        // and 6 end the cycle.
        EXPECT_EQ(flag(1), output(3));
        EXPECT_EQ(flag(11), output(5));
        EXPECT_EQ(flag(13), output(6));
        EXPECT_EQ(output(4), output(6)) << "the UV lamp follows the pump";
        if (output(4)) pumpOn = true;
        if (!output(4) && pumpOn) pumpOff = true;
    }
    EXPECT_TRUE(pumpOn && pumpOff) << "the program starts the pump, then stops it";
}

TEST(SlaveProgramMode, AProgramThatDoesNotReadIsOneLineAndExitStatusTwo) {
    char folder[] = "/tmp/vk41-slave-program-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string file = std::string(folder) + "/bad.tsv";
    std::ofstream(file) << "это не программа\n";
    SlaveProcess slave({"--tcp", "127.0.0.1:0", "--mode", "program", "--program", file});
    EXPECT_EQ(slave.wait(), 2);
    const std::string said = slave.readError("");
    EXPECT_NE(said.find(file + ": строка 1"), std::string::npos) << said;
    unlink(file.c_str());
    rmdir(folder);

    SlaveProcess valve({"--mode", "program", "--valve", "11"});
    EXPECT_EQ(valve.wait(), 2);
    EXPECT_NE(valve.readError("").find("--valve"), std::string::npos);
}

}  // namespace
}  // namespace vk41
