#pragma once

#include "ui/form.h"

namespace vk41 {

// The description window the program starts on: six pages chosen from its
// menu, and the item that opens the scheme window.
class Texttt : public Form {
  public:
    explicit Texttt(App& app);

    static const FormDesign& layout();

  private:
    void showPage(int page);
};

}  // namespace vk41
