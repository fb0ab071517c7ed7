#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "modbus/slave_protocol.h"

namespace vk41 {

class App;

namespace slave {

// The simulated controller as a Modbus slave: answers the requests of real
// masters from the plant as it stands, and carries out what they command.
class Session {
  public:
    // `mode` is the option of the scheme's mode frame that RUN plays;
    // `keepRunning` presses RUN whenever the plant stands, so it never stops
    // (the slave program), while the trainer leaves the run controls to its user.
    // In "Работа по программе" it opens the draw-off valve to `valve` (0..10)
    // before every RUN.
    Session(App& app, int mode, bool keepRunning, int valve = 0);

    // The answer to one request PDU, or none where a real slave stays silent.
    std::optional<Reply> handle(std::span<const std::uint8_t> request);

    // Presses RUN in the chosen mode when the plant stands.
    void keepRunning();

    // The controller's slave port: serving a bus or not, and an answer sent.
    void serving(bool on);
    void answered();

  private:
    App* app_;
    int mode_;
    bool keepRunning_;
    int valve_;
};

}  // namespace slave
}  // namespace vk41
