#include "description/texttt.h"

#include <array>
#include <string_view>

#include "ui/app.h"
#include "ui/resources.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

struct Page {
    const char* menu;     // the menu item choosing the page
    const char* textBox;  // the page's text
    const char* picture;  // the picture below it, if any
};

constexpr std::array<Page, 6> kPages = {{
    {"Pokazan", "Text_Naznacch", nullptr},
    {"Common", "TextComm", "Comn"},
    {"Demo", "TextDemo", "Comn"},
    {"BU", "TextBU", "BUPict"},
    {"ModBus", "TextModB", "ModB_Pict"},
    {"Devices", "Text_Dev", nullptr},
}};

constexpr std::array<const char*, 9> kPageControls = {"Text_Naznacch", "TextComm", "TextDemo",
                                                      "TextBU",        "TextModB", "Text_Dev",
                                                      "Comn",          "BUPict",   "ModB_Pict"};

ControlDesign textBox(const char* name, float left, float top, float width, float height,
                      ScrollBars bars, const char* file, double fontSize = 12) {
    Props p;
    p.left = left;
    p.top = top;
    p.width = width;
    p.height = height;
    p.visible = false;
    p.scrollBars = bars;
    p.text = pageText(file);
    p.font = Font{"MS Sans Serif", fontSize, true};
    p.backColor = kWindowColour;
    return {ControlKind::TextBox, name, -1, "", p};
}

ControlDesign picture(const char* name, float left, float top, float width, float height,
                      const char* file) {
    Props p;
    p.left = left;
    p.top = top;
    p.width = width;
    p.height = height;
    p.visible = false;
    p.picture = file;
    return {ControlKind::Picture, name, -1, "", p};
}

FormDesign makeLayout() {
    using S = ScrollBars;
    FormDesign d;
    d.name = kTexttt;
    d.caption = "ВОДОПОДГОТОВКА техническое решение";
    d.width = 13815;
    d.height = 12015;
    d.backColor = kButtonFace;
    d.controls = {
        textBox("Text_Naznacch", 120, 120, 12615, 4815, S::None, "naznachenie.txt"),
        textBox("TextComm", 120, 120, 12375, 6015, S::Vertical, "obshchee.txt"),
        textBox("TextDemo", 120, 120, 12495, 5895, S::Vertical, "demorezhim.txt"),
        textBox("TextBU", 120, 120, 12375, 5895, S::Vertical, "blok_usloviy.txt"),
        textBox("TextModB", 120, 120, 13095, 3015, S::Vertical, "modbus.txt"),
        textBox("Text_Dev", 720, 240, 10095, 6135, S::None, "oborudovanie.txt", 13.5),
        picture("Comn", 840, 6360, 9615, 6975, "comn.png"),
        picture("BUPict", -120, 6120, 13815, 5775, "bupict.png"),
        picture("ModB_Pict", 0, 3240, 12975, 8775, "modb_pict.png"),
    };
    d.menu = {
        {"Pokazan", "Назначение", ""},  {"Opis", "Описание", ""},
        {"Common", "Общее", "Opis"},    {"Demo", "Деморежим", "Opis"},
        {"BU", "Блок условий", "Opis"}, {"ModBus", "ModBus", "Opis"},
        {"Imit", "Имитация", ""},       {"Devices", "Оборудование", ""},
    };
    return d;
}

}  // namespace

const FormDesign& Texttt::layout() {
    static const FormDesign design = makeLayout();
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
