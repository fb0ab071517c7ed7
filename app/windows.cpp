#include "app/windows.h"

#include <memory>

#include "conditions/bl_usl.h"
#include "conditions/debug_frm.h"
#include "conditions/io_frm.h"
#include "conditions/trend_frm.h"
#include "conditions/usl_edit.h"
#include "description/texttt.h"
#include "modbus/bus_frm.h"
#include "modbus/crc_steps_frm.h"
#include "modbus/modb_frm.h"
#include "plant/objectt.h"
#include "ui/app.h"

namespace vk41 {

void registerWindows(App& app) {
    app.registerForm(kTexttt, &Texttt::layout, [](App& a) { return std::make_unique<Texttt>(a); });
    app.registerForm(kObjectt, &Objectt::layout,
                     [](App& a) { return std::make_unique<Objectt>(a); });
    app.registerForm(kBlUsl, &BlUsl::layout, [](App& a) { return std::make_unique<BlUsl>(a); });
    app.registerForm(kModBFrm, &ModBFrm::layout,
                     [](App& a) { return std::make_unique<ModBFrm>(a); });
    // After the four, so that timers due together keep their order.
    app.registerForm(kCrcSteps, &CrcStepsFrm::layout,
                     [](App& a) { return std::make_unique<CrcStepsFrm>(a); });
    app.registerForm(kUslEdit, &UslEdit::layout,
                     [](App& a) { return std::make_unique<UslEdit>(a); });
    app.registerForm(kDebugFrm, &DebugFrm::layout,
                     [](App& a) { return std::make_unique<DebugFrm>(a); });
    app.registerForm(kTrendFrm, &TrendFrm::layout,
                     [](App& a) { return std::make_unique<TrendFrm>(a); });
    app.registerForm(kIoFrm, &IoFrm::layout, [](App& a) { return std::make_unique<IoFrm>(a); });
    app.registerForm(kBusFrm, &BusFrm::layout, [](App& a) { return std::make_unique<BusFrm>(a); });
}

}  // namespace vk41
