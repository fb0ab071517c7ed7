#pragma once

#include <cstdint>
#include <string>

#include "ui/form.h"

namespace vk41 {

class Objectt;

// "Входы и выходы": every input and output of the controller, what the
// installation wires to it, its state at this moment and its forcing. In
// "Работа по программе" each terminal is forced to 1 or 0 and released by
// its row's buttons "1", "0" and "×", and "Снять все форсировки" releases
// them all; in the other modes the buttons are disabled and a line says
// where forcing works. Forcing goes through the scheme, which marks the
// forced items on its drawing too.
//
// Row k of the inputs is In_No(k), In_Name(k), In_Led(k), In_F(k) and the
// buttons In_On(k), In_Off(k), In_Free(k); the outputs' are Out_*(k).
class IoFrm : public Form {
  public:
    explicit IoFrm(App& app);

    static const FormDesign& layout();

  protected:
    void onLoad() override;

  private:
    // What the rows show, compared on each tick of the refresh timer so that
    // the rows are redrawn only when the controller or the plant has moved.
    struct Shown {
        std::uint64_t revision{0};
        std::uint32_t inputs{0};
        std::uint32_t outputs{0};
        bool programMode{false};
        bool operator==(const Shown&) const = default;
    };

    void refresh(bool always);
    void showRows(const char* side, std::uint32_t state, std::uint32_t forced, bool enabled);
    // The scheme whose controller runs its program; null in the other modes.
    Objectt* scheme();
    void force(bool input, int k, bool on);
    void release(bool input, int k);
    void releaseAll();
    std::string nameTip(bool input, int k);

    Shown shown_;
};

}  // namespace vk41
