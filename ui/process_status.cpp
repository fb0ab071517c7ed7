#include "ui/process_status.h"

#include <string>

#include "ui/app.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {

namespace {

Control& statusLabel(App& app) {
    return app.form(kModBFrm).control("Status_Lab");
}

}  // namespace

void writeProcessStatus(App& app, ProcessStatus status) {
    statusLabel(app).setCaption(std::to_string(static_cast<int>(status)));
}

double processStatusCode(App& app) {
    return textToNumber(statusLabel(app).caption());
}

std::optional<ProcessStatus> processStatus(App& app) {
    const double code = processStatusCode(app);
    for (ProcessStatus s : {ProcessStatus::PumpOn, ProcessStatus::PumpOff, ProcessStatus::Accident,
                            ProcessStatus::TankDry})
        if (code == static_cast<int>(s)) return s;
    return std::nullopt;
}

}  // namespace vk41
