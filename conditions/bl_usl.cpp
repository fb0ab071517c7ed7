#include "conditions/bl_usl.h"

#include <array>
#include <iterator>
#include <string>

#include "modbus/controller_image.h"
#include "modbus/memory_map.h"
#include "ui/design_text.h"
#include "ui/process_status.h"

namespace vk41 {
namespace {

constexpr Colour kHintColour = rgb(0xFFE0C0);
constexpr Colour kHintBlink = rgb(0xFFC0C0);

// The introduction covers the table for 200 ticks (20 s); the hint then
// blinks until tick 231 and never shows again.
constexpr std::int16_t kIntroEnd = 200;
constexpr std::int16_t kHintStart = 201;
constexpr std::int16_t kHintEnd = 231;

// The comments of the mouse zones Lab(0)..Lab(13), one per operator row;
// Lab(14)..Lab(16), around the table, clear the comment.
const std::string kComments[] = {
    // Lab(0): operator 1
    "Если собственный дискретный выход №5 разомкнут (лампа АВАРИЯ не светится) , то замыкаем "
    "собственный дискретный выход 3 (лампа ШТАТНЫЙ РЕЖИМ светится), если нет - размыкаем "
    "собственный дискретный выход 3  (лампа ШТАТНЫЙ РЕЖИМ не светится)",
    // Lab(1): operator 2
    "Проверяем собственный дискретный выход №3. Если он замкнут (лампа  ШТАТНЫЙ РЕЖИМ светится) , "
    "то взводится флажок выполнения условия №2, если выход 3 разомкнут, то флажок условия №2 не "
    "взводится.",
    // Lab(2): operator 3
    "Если выполнено предыдущее условие №2, то проверяем собственный дискретный вход 4 (контакты "
    "манометра). Если контакты манометра замкнуты, то замыкаем собственный дискретный выход №5 "
    "(входим в аварийный режим) ,  если собственный дискретный вход №4  разомкнут, то размыкаем "
    "собственный дискретный выход №5 (в аварийный режим не входим) .",
    // Lab(3): operator 4
    "Оператор пропущен для удобства восприятия. Операторы 1, 2 и 3 логически объединены в группу, "
    "которая определяет режим работы аварийный или штатный.",
    // Lab(4): operator 5
    "Проверяем собственный дискретный выход №4 (НАСОС). Если он замкнут (насос включен) , то "
    "взводится флажок выполнения условия №5",
    // Lab(5): operator 6
    "Если выполнено предыдущее условие №5, то проверяем собственный дискретный вход №6, к которому "
    "подключены контакты концевого выключателя верхнего уровня заполнения. Если  концевик сработал "
    "- собственный выход №4  размыкаем, если не сработал - собственный выход №4 остаётся замкнутым",
    // Lab(6): operator 7
    "Оператор пропущен для удобства восприятия. Операторы 5 и 6 логически объединены в группу, "
    "которая при включенном насосе проверяет заполнение резервуара  до максимального уровня. При "
    "сработке концевого выключателя верхнего уровня насос выключается",
    // Lab(7): operator 8
    "Проверяем собственный дискретный выход №4 (НАСОС). Если он разомкнут (насос выключен) , то "
    "взводится флажок выполнения условия №8",
    // Lab(8): operator 9
    "Если выполнено предыдущее условие №8, то проверяем собственный дискретный вход №5, к которому "
    "подключены контакты концевого выключателя нижнего уровня заполнения. Если  концевик сработал "
    "- собственный выход №4  замыкаем, если не сработал - собственный выход №4 остаётся "
    "разомкнутым",
    // Lab(9): operator 10
    "Оператор пропущен для удобства восприятия. Операторы 8 и 9 логически объединены в группу, "
    "которая при выключенном насосе проверяет опускание уровня воды до минимального уровня. При "
    "сработке концевого выключателя нижнего уровня включается насос",
    // Lab(10): operator 11
    "Проверяем собственный дискретный выход №5 (АВАРИЯ). Если он замкнут, то взводится флажок "
    "выполнения условия №11",
    // Lab(11): operator 12
    "Если выполнено предыдущее условие №11, то проверяем собственный дискретный выход №4 (НАСОС) и "
    "если  он  включен размыкаем собственный выход №4 , если не включён - собственный выход №4 "
    "остаётся разомкнутым",
    // Lab(12): operator 13
    "Проверяем собственный дискретный выход №4 (НАСОС). Если он замкнут, замыкаем дискретный выход "
    "№6 (УФ ЛАМПА) , если разомкнут - размыкаем выход №6",
    // Lab(13): operator 14
    "Оператор пропущен для удобства восприятия. Операторы 11, 12 и 13 логически объединены в "
    "группу, при аварийном режиме блокирует включение насоса и ультрафиолетовой лампы",
    "",
    "",
    "",
};

// The operators that carry markers, and the operator whose condition flag
// each dependent one waits for (0: none, it runs on every cycle). Operator
// k raises condition flag k.
struct Marked {
    int op;
    int source;
};
// clang-format off
constexpr std::array<Marked, 10> kMarked = {{
    //  op  source
    {   1,  0 },
    {   2,  0 },
    {   3,  2 },
    {   5,  0 },
    {   6,  5 },
    {   8,  0 },
    {   9,  8 },
    {  11,  0 },
    {  12, 11 },
    {  13,  0 },
}};
// clang-format on

// The options Demo(1) to Demo(3) show a fixed situation.
constexpr std::array<Situation, 3> kSituations = {Situation::TankFull, Situation::Filling,
                                                  Situation::Accident};

bool raised(std::uint32_t flags, int k) {
    return (flags >> (k - 1) & 1) != 0;
}

}  // namespace

const FormDesign& BlUsl::layout() {
    return embeddedDesign("bl_usl.form");
}

const std::string& BlUsl::comment(int index) {
    static const std::string none;
    if (index < 0 || index >= static_cast<int>(std::size(kComments))) return none;
    return kComments[index];
}

BlUsl::BlUsl(App& app) : Form(app, layout()) {
    onTimer("Часы1", [this] { tick(); });
    onMouseMove("Lab", [this](int index, float, float) { Lab_MouseMove(index); });
    variables_.add("Intro_Ticks", Intro_Ticks);
}

// Closing the window ends its life: opened again, it starts over with the
// introduction.
void BlUsl::onLoad() {
    Intro_Ticks = 0;
}

void BlUsl::Lab_MouseMove(int index) {
    control("Curent_Coment").setCaption(comment(index));
}

void BlUsl::tick() {
    Control& hint = control("Метка1");
    hint.setVisible(false);
    ++Intro_Ticks;
    hint.setBackColor(hint.backColor() == kHintColour ? kHintBlink : kHintColour);
    if (Intro_Ticks > kIntroEnd) {
        control("Introduction").setVisible(false);
        control("Scr").setVisible(false);
    }
    // Past the hint's time it is shown and hidden again within this tick,
    // so it never appears.
    if (Intro_Ticks > kHintStart) hint.setVisible(true);
    if (Intro_Ticks > kHintEnd) {
        hint.setVisible(false);
        Intro_Ticks = kHintEnd;
    }
    showSituation();
}

// The options 1 to 3 show the flags the controller holds in their
// situation; "Деморежим" those of the process status: 0 clears the markers,
// 1, 2 and 3 set them, anything else (the process's 4 for a run-dry tank,
// 497 before the process starts, fractions) leaves them as they are.
void BlUsl::showSituation() {
    for (std::size_t option = 1; option <= kSituations.size(); ++option) {
        if (!control("Demo", static_cast<int>(option)).value()) continue;
        showMarkers(situationImage(kSituations[option - 1]).flags);
        return;
    }
    const double code = processStatusCode(app());
    if (code == 0)
        clearMarkers();
    else if (code == 1 || code == 2 || code == 3)
        showMarkers(memory_map::flagsOfStatus(static_cast<int>(code)));
}

void BlUsl::clearMarkers() {
    for (const Marked& m : kMarked) {
        control("Flag", m.op - 1).setVisible(false);
        control("Usl", m.op - 1).setVisible(false);
    }
}

// A flag marker shows a raised flag; a bar shows an active operator: one that
// waits for no flag, or whose flag is raised. The table is uncovered at once.
void BlUsl::showMarkers(std::uint32_t flags) {
    control("Introduction").setVisible(false);
    control("Метка1").setVisible(false);
    control("Scr").setVisible(false);
    for (const Marked& m : kMarked) {
        control("Flag", m.op - 1).setVisible(raised(flags, m.op));
        control("Usl", m.op - 1).setVisible(m.source == 0 || raised(flags, m.source));
    }
}

}  // namespace vk41
