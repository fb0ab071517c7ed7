#pragma once

#include "ui/form.h"

namespace vk41 {

// The controller's conditions-block program.
class BlUsl : public Form {
  public:
    explicit BlUsl(App& app);

    static const FormDesign& layout();
};

}  // namespace vk41
