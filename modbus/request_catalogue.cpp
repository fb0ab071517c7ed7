#include "modbus/request_catalogue.h"

namespace vk41 {

namespace {

namespace mm = memory_map;
using K = RequestKind;
using A = AnswerShape;

// The counters' parameter is the counter number, the write's the output
// number and the value; the other reads take a first address and a count.
// The fixed field is the registers a counter read takes, or the command word.
// clang-format off
constexpr std::array<Request, 8> kCatalogue = {{
    // kind               option function                   combos                area           fixed field               answer
    {K::CounterLow,       0,     mm::kReadHoldingRegisters, {       0, kNoCombo}, mm::kCounters, mm::kLowCounterRegisters, A::Counter},
    {K::CounterAll,       1,     mm::kReadHoldingRegisters, {       1, kNoCombo}, mm::kCounters, mm::kRegistersPerCounter, A::Counter},
    {K::Inputs,           2,     mm::kReadDiscreteInputs,   {      10,       11}, mm::kInputs,   0,                        A::Terminals},
    {K::Outputs,          3,     mm::kReadCoils,            {       7,        8}, mm::kOutputs,  0,                        A::Terminals},
    {K::WriteOutput,      6,     mm::kWriteSingleCoil,      {       4,        9}, mm::kOutputs,  0,                        A::Echo},
    {K::Restart,          7,     mm::kWriteSingleRegister,  {kNoCombo, kNoCombo}, mm::kCommand,  mm::kRestart,             A::Echo},
    {K::KvartaRestart,    8,     mm::kWriteSingleRegister,  {kNoCombo, kNoCombo}, mm::kCommand,  mm::kKvartaRestart,       A::Echo},
    {K::Flags,            9,     mm::kReadCoils,            {       5,        6}, mm::kFlags,    0,                        A::Flags},
}};
// clang-format on

static_assert(inKindOrder(kCatalogue));

}  // namespace

std::span<const Request> requestCatalogue() {
    return kCatalogue;
}

const Request& catalogueRow(RequestKind kind) {
    return rowOf(kCatalogue, kind);
}

int baseAddress(const Request& r) {
    return memory_map::area(r.area).first;
}

}  // namespace vk41
