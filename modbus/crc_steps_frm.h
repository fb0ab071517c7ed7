#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/form.h"

namespace vk41 {

// "Расчёт CRC-16": the CRC of one row of the Modbus window written out byte
// by byte and shift by shift. The Modbus window opens it from a CRC cell and
// hands it the row's bytes on every tick while it is open.
class CrcStepsFrm : public Form {
  public:
    explicit CrcStepsFrm(App& app);

    static const FormDesign& layout();
    // Table rows; the longest frame the Modbus window checksums has 9 bytes.
    static constexpr int kRows = 10;

    // The computation over `bytes`; `row` names the row they come from.
    // Nothing is rewritten while the row stays as it was shown.
    void showRow(const std::string& row, std::span<const std::uint8_t> bytes);

  protected:
    void onLoad() override { shown_.reset(); }

  private:
    struct Shown {
        std::string row;
        std::vector<std::uint8_t> bytes;
    };
    std::optional<Shown> shown_;  // what the labels show; none after a load
};

}  // namespace vk41
