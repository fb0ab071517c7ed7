#include "description/texttt.h"

#include <array>
#include <string_view>

#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/resources.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

struct Page {
    const char* menu;     // the menu item choosing the page
    const char* textBox;  // the page's text box
    const char* file;     // the text it holds, from resources/pages
    const char* picture;  // the picture below it, if any
};

// clang-format off
constexpr std::array<Page, 6> kPages = {{
    // menu       text box         file                 picture
    {"Pokazan",  "Text_Naznacch", "naznachenie.txt",   nullptr},
    {"Common",   "TextComm",      "obshchee.txt",      "Comn"},
    {"Demo",     "TextDemo",      "demorezhim.txt",    "Comn"},
    {"BU",       "TextBU",        "blok_usloviy.txt",  "BUPict"},
    {"ModBus",   "TextModB",      "modbus.txt",        "ModB_Pict"},
    {"Devices",  "Text_Dev",      "oborudovanie.txt",  nullptr},
}};
// clang-format on

constexpr std::array<const char*, 9> kPageControls = {"Text_Naznacch", "TextComm", "TextDemo",
                                                      "TextBU",        "TextModB", "Text_Dev",
                                                      "Comn",          "BUPict",   "ModB_Pict"};

// The design of texttt.form with each page's text in its text box: a text of
// many lines has no place on a design line.
FormDesign withPageTexts(FormDesign design) {
    for (const Page& page : kPages)
        for (ControlDesign& row : design.controls)
            if (row.name == page.textBox) row.props.text = pageText(page.file);
    return design;
}

}  // namespace

const FormDesign& Texttt::layout() {
    static const FormDesign design = withPageTexts(embeddedDesign("texttt.form"));
    return design;
}

Texttt::Texttt(App& app) : Form(app, layout()) {
    for (int i = 0; i < static_cast<int>(kPages.size()); ++i)
        onMenu(kPages[i].menu, [this, i] { showPage(i); });
    onMenu("Imit", [this] { this->app().open(kObjectt); });
}

// Every choice sets all nine visibilities, so the page shown before does not matter.
void Texttt::showPage(int page) {
    const Page& p = kPages[page];
    for (const char* name : kPageControls) {
        const std::string_view n = name;
        control(name).setVisible(n == p.textBox || (p.picture && n == p.picture));
    }
}

}  // namespace vk41
