#pragma once

#include "ui/form.h"

namespace vk41 {

// The installation scheme, the heart of the program.
class Objectt : public Form {
  public:
    explicit Objectt(App& app);

    static const FormDesign& layout();
};

}  // namespace vk41
