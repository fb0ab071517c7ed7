#pragma once

#include "ui/form.h"

namespace vk41 {

// The Modbus RTU exchange view.
class ModBFrm : public Form {
  public:
    explicit ModBFrm(App& app);

    static const FormDesign& layout();
};

}  // namespace vk41
