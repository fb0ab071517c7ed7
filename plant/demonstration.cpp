// The narrated demonstration: the clock, the tour of the installation, the
// narrated course of the process, the progress marker and the restart.
#include <array>
#include <vector>

#include "plant/objectt.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

// What a script row does besides its comment and highlights.
enum class Act {
    None,
    PumpCoilLit,          // the pump relay coil takes its hint's colour and shows its core
    PumpCoilNormalUvLit,  // the pump coil back to normal, the UV-lamp coil lit
    UvCoilNormal,
    StartProcess,
    ValvePress,
    ValvePressHideDown,  // the last press, then "--" hidden
    Restart,
};

struct ScriptRow {
    int time;                    // the demonstration time the row runs at
    std::vector<int> restore;    // hint labels back to the normal colour
    int hideAfterRestore;        // a hint label hidden after that; -1: none
    int showBeforeHighlight;     // a hint label shown before any is lit; -1: none
    std::vector<int> highlight;  // hint labels lit
    Act act;
    const char* comment;  // nullptr keeps the comment shown
};

// clang-format off
const std::vector<ScriptRow>& script() {
    static const std::vector<ScriptRow> rows = {
        // time  restore  hide show  highlight act                       comment
        // The tour of the installation: one object after another lit and named.
        {     0, {},        -1,  -1, {0},      Act::None,                "Контроллер технологический ВК-41 "},
        {     2, {0},       -1,  -1, {6},      Act::None,                "Контроллер двухпроводной линии ВК-12 "},
        {     4, {6},       -1,  -1, {2, 16},  Act::None,                "Адресный счётчик расхода ИМ-9  с согласующими резисторами"},
        {     6, {2, 16},   -1,  -1, {3},      Act::None,                "Фильтр тонкой очистки"},
        {     8, {3},       -1,  -1, {4},      Act::None,                "Манометр с релейным выходом (электроконтактный манометр)"},
        {    10, {4},       -1,  -1, {14},     Act::None,                "Лампа сигнальная штатного режима работы зелёного цвета"},
        {    12, {14},      -1,  -1, {12},     Act::None,                "Лампа сигнальная аварийного режима работы красного цвета"},
        {    14, {12},      -1,  -1, {17, 19}, Act::PumpCoilLit,         "Обмотка и контактная группа реле включения водяного насоса"},
        {    16, {17, 19},  -1,  -1, {18, 20}, Act::PumpCoilNormalUvLit, "Обмотка и контактная группа реле включения ультрафиолетовой лампы"},
        {    18, {18, 20},  -1,  -1, {10},     Act::UvCoilNormal,        "Обратный шаровый клапан"},
        {    20, {10},      -1,   7, {7},      Act::None,                "Концевой выключатель верхнего уровня заполнения резервуара"},
        {    22, {7},        7,   8, {8},      Act::None,                "Концевой выключатель нижнего уровня заполнения резервуара"},
        {    24, {8},        8,  -1, {13},     Act::None,                "Резервуар чистой воды"},
        {    26, {13},      -1,  11, {11},     Act::None,                "Поплавковый датчик уровня заполнения резервуара"},
        {    28, {11},      11,  -1, {15},     Act::None,                "Вентиль разбора чистой воды"},
        {    30, {15},      -1,  -1, {},       Act::None,                "Для получения краткой информации об объекте наведите на него указатель мыши"},
        // The process starts; its course is told as it goes, up to the restart.
        {    40, {},        -1,  -1, {},       Act::StartProcess,        nullptr},
        {    41, {},        -1,  -1, {},       Act::None,                "При подключении питания на контроллер ВК-41 24 V AC/DC  и ВК-12 12 V DC происходит инициализация приборов и начинается рабочий режим "},
        {    43, {},        -1,  -1, {},       Act::None,                "контроллер ВК-41 начинает циклически опрашивать свои дискретные входы ведомый прибор ВК-12 "},
        {    45, {},        -1,  -1, {},       Act::None,                "в зависимости от того, в каком состоянии находится дискретный вход № 4 с подключенным к нему контактом манометра, контроллер переводит установку либо в рабочий режим, либо в режим АВАРИЯ"},
        {    50, {},        -1,  -1, {},       Act::None,                "При первом же замыкании верхнего концевого выключателя (резервуар заполнен) ВК-41 переводит установку в состояние ОЖИДАНИЕ"},
        {    51, {},        -1,  -1, {},       Act::None,                "ВК-41 своими дискретными выходами 4 и 6 через промежуточные реле обесточиваетает водяной насос и ультрафиолетовую лампу. "},
        {    52, {},        -1,  -1, {},       Act::ValvePress,          "При  открытии вентиля расхода воды  уровень воды в резервуаре начинает падать "},
        {    53, {},        -1,  -1, {},       Act::ValvePress,          nullptr},
        {    54, {},        -1,  -1, {},       Act::ValvePress,          nullptr},
        {    55, {},        -1,  -1, {},       Act::ValvePressHideDown,  nullptr},
        {    56, {},        -1,  -1, {},       Act::None,                "и при достижении минимального уровня поплавковый датчик через толкатеь замыкает концевой выключатель и подаёт сигнал включения насоса и лампы на контроллер ВК-41."},
        {    62, {},        -1,  -1, {},       Act::None,                "При первом же замыкании нижнего концевого выключателя (резервуар обмелел) ВК-41 переводит установку в состояние ЗАПОЛНЕНИЕ"},
        {    64, {},        -1,  -1, {},       Act::None,                "ВК-41 своими дискретными выходами 4 и 6 через промежуточные реле включает водяной насос и ультрафиолетовую лампу. "},
        {    66, {},        -1,  -1, {},       Act::None,                "Установка переводится в режим ЗАПОЛНЕНИЕ"},
        {    82, {},        -1,  -1, {},       Act::None,                "При первом же замыкании верхнего концевого выключателя (резервуар заполнен) ВК-41 переводит установку в состояние ОЖИДАНИЕ"},
        {    88, {},        -1,  -1, {},       Act::None,                "Обратный шаровый клапан препятствует вытеканию чистой воды из резервуара."},
        {    92, {},        -1,  -1, {},       Act::None,                "По мере прохождения воды через фильтр тонкой очистки происходит загрянение фильтрующего элемента , что увеличивает перепад давления между входом и выходом фильтра, что отражается на манометре при работающем водяном насосе. При выключении насоса перепад даления падает. "},
        {   122, {},        -1,  -1, {},       Act::None,                "По мере прохождения воды через импульсный расходомер происходят замыкания/размыкания его контактов, которые через согласующие резисторы подключены к счетчику расхода ИМ-9 "},
        {   128, {},        -1,  -1, {},       Act::None,                "Контроллер ВК-12 опрашивает  ИМ-9 и суммирует поступающие от него импульсы в своём внутреннем шестибайтном регистре "},
        {   132, {},        -1,  -1, {},       Act::None,                "Контроллер ВК-41 опрашивает  свой ведомый контроллер ВК-12 и считывает с него показания регистра-счётчика"},
        {   138, {},        -1,  -1, {},       Act::None,                "Показания счётчика расхода становятся дотупны для приборов верхнего уровня при опросе контроллера ВК-41 по протоколу ModBus RTU"},
        {   198, {},        -1,  -1, {},       Act::None,                "Косвенно состояние фильтра можно оценить по цвету фильтрующего элемента, приобретающего всё более тёмную окраску по мере загрязнения."},
        {   214, {},        -1,  -1, {},       Act::None,                "При загрянение фильтрующего элемента  выше порогового уровня замыкается релейный выход , который формирует активный сигнал на четвёртом дискретном входе контроллера ВК-41. Контроллер выключает насос, ультрафиолетовую лампу и зелёную сигнальную лампу штатной работы установки и включает аварийную лампу красного цвета. Требуется замена фильтрующего элемента."},
        {   220, {},        -1,  -1, {},       Act::None,                "При открытом вентиле разбора будет происходить падение уровня воды и сработка нижнего концевого выключателя не приведёт к включению насоса и лампы."},
        {   230, {},        -1,  -1, {},       Act::None,                "Контроллер переводит установку в режим АВАРИЯ, игнорирует все концевые выключатели"},
        {   234, {},        -1,  -1, {},       Act::None,                "Вывести контроллер из этого режима  можно только рестартом"},
        {   236, {},        -1,  -1, {},       Act::None,                "если при этом не заменить фильтр контроллер снова переведёт установку в аварийный режим."},
        {   240, {},        -1,  -1, {},       Act::Restart,             nullptr},
    };
    return rows;
}
// clang-format on

// The end of the demonstration time for Radix(0), (1), (2).
constexpr std::array<std::int16_t, 3> kModeEnds = {240, 40, 240};

constexpr float kMarkerStep = 5;

// The relay coils: the core line and the three turns of each.
void colourCoil(Objectt& w, int core, std::array<int, 3> turns, Colour line, Colour ovals) {
    w.control("Строка20", core).setBorderColor(line);
    for (int t : turns) w.control("Форма9", t).setFillColor(ovals);
}

void perform(Objectt& w, Act act) {
    constexpr int kPumpCore = 68, kUvCore = 28;
    constexpr std::array<int, 3> kPumpTurns = {6, 7, 8}, kUvTurns = {1, 2, 3};
    switch (act) {
        case Act::None:
            break;
        case Act::PumpCoilLit: {
            const Colour lit = w.control("Object", 17).backColor();
            colourCoil(w, kPumpCore, kPumpTurns, lit, lit);
            w.control("Строка20", kPumpCore).setVisible(true);
            break;
        }
        case Act::PumpCoilNormalUvLit:
            colourCoil(w, kPumpCore, kPumpTurns, w.Normal_Color, w.Normal_Color);
            colourCoil(w, kUvCore, kUvTurns, w.control("Object", 20).backColor(),
                       w.control("Object", 18).backColor());
            break;
        case Act::UvCoilNormal:
            colourCoil(w, kUvCore, kUvTurns, w.Normal_Color, w.Normal_Color);
            break;
        case Act::StartProcess:
            w.Process_On = true;
            w.control("Часы1").setEnabled(true);
            break;
        case Act::ValvePress:
        case Act::ValvePressHideDown:
            // Pressed as a user would: "+" is enabled for the click only.
            w.control("Hand_Upp").setEnabled(true);
            w.Hand_Upp_Click();
            w.control("Hand_Upp").setEnabled(false);
            w.control("Hand_Down").setEnabled(false);
            if (act == Act::ValvePressHideDown) w.control("Hand_Down").setVisible(false);
            break;
        case Act::Restart:
            w.Restart();
            break;
    }
}

}  // namespace

double Objectt::readTime() {
    return textToNumber(control("Time").caption());
}

void Objectt::demoTick() {
    for (int i = 0; i <= 2; ++i)
        if (control("Radix", i).value()) Demo_End = kModeEnds[i];
    Time_Value = readTime();
    if (asNumber(Time_Value) > Demo_End) {
        control("Time").setCaption(numberToText(Demo_End));
        Time_Value = static_cast<double>(Demo_End);
    }
    for (const char* spark : {"Spark_F_1", "Spark_F_2", "Spark_F_3"})
        control(spark).setVisible(false);
    runScriptRow(asNumber(Time_Value));
    showOutput3();
    ++Sec_Tick;
    ++Flow_Tick;
    accidentStatus();
    moveMarker();
    if (Sec_Tick > 10) {
        Sec_Tick = 0;
        control("Time").setCaption(numberToText(readTime() + 1));
        Time_Value = readTime();
    }
    moveNeedle();
    turnRotor();
    filterAlarm();
    blinkInterfaceLeds();
    shimmerWaterArrows();
    showCounter();
}

void Objectt::runScriptRow(double time) {
    for (const ScriptRow& row : script()) {
        if (row.time != time) continue;
        for (int k : row.restore) control("Object", k).setBackColor(Normal_Color);
        if (row.hideAfterRestore >= 0) control("Object", row.hideAfterRestore).setVisible(false);
        if (row.showBeforeHighlight >= 0)
            control("Object", row.showBeforeHighlight).setVisible(true);
        for (int k : row.highlight) control("Object", k).setBackColor(Light_Color);
        if (row.comment) control("Coments").setCaption(row.comment);
        perform(*this, row.act);
        return;
    }
}

void Objectt::moveMarker() {
    Control& marker = control("Строка20", 29);
    const float end = control("Строка20", 32).x2();
    marker.setX2(marker.x2() + kMarkerStep);
    marker.setX1(marker.x2());
    if (marker.x1() >= end) {
        marker.setX1(end);
        marker.setX2(end);
    }
}

}  // namespace vk41
