#include "modbus/slave_session.h"

#include "modbus/controller_image.h"
#include "plant/objectt.h"
#include "ui/app.h"
#include "ui/window_names.h"

namespace vk41::slave {
namespace {

constexpr int kRestartButton = 2;  // the run control Vis(2)
constexpr int kRunButton = 0;

}  // namespace

Session::Session(App& app, int mode, bool keepRunning, int valve)
    : app_(&app), mode_(mode), keepRunning_(keepRunning), valve_(valve) {}

std::optional<Reply> Session::handle(std::span<const std::uint8_t> request) {
    std::optional<Reply> reply = answer(request, readController(*app_));
    if (!reply) return reply;
    switch (reply->command) {
        case Command::kRestart:
            // As the Restart button does it: the scheme reloads, the counts
            // start over, the accident is cleared and the outputs are dark.
            app_->form<Objectt>(kObjectt).Vis_Click(kRestartButton);
            keepRunning();
            break;
        case Command::kWriteOutput:
            writeOutput(*app_, reply->output, reply->on);
            break;
        case Command::kNone:
            break;
    }
    return reply;
}

void Session::serving(bool on) {
    app_->form<Objectt>(kObjectt).portServing(on);
}

void Session::answered() {
    app_->form<Objectt>(kObjectt).portAnswered();
}

void Session::keepRunning() {
    if (!keepRunning_) return;
    Objectt& scheme = app_->form<Objectt>(kObjectt);
    if (!scheme.visible()) app_->open(kObjectt);
    if (scheme.running()) return;
    scheme.click(scheme.control("Radix", mode_));
    if (scheme.programMode()) {
        while (scheme.Valve_Pos < valve_ && scheme.Valve_Pos < scheme.Valve_Max)
            scheme.Hand_Upp_Click();
        while (scheme.Valve_Pos > valve_ && scheme.Valve_Pos > scheme.Valve_Min)
            scheme.Hand_Down_Click();
    }
    scheme.click(scheme.control("Vis", kRunButton));
}

}  // namespace vk41::slave
