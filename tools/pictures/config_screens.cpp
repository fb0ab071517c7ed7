// The configuration program's screens among the Modbus window's pictures:
// the slave devices on the line, the input discrete parameters (scrolled to
// the pulse counters, and from the top) and the controlled outputs.
#include <algorithm>
#include <functional>

#include "modbus/memory_map.h"
#include "tools/pictures/modbus_pictures.h"
#include "tools/pictures/sheet.h"

namespace vk41::pictures {
namespace {

namespace map = memory_map;

constexpr int kMargin = 2;  // the window stands just inside the picture box
constexpr int kHeadingHeight = 18;
constexpr int kLineAddresses = 127;  // a slave's address on the line: 1..127

struct Screen {
    QString title;
    QString heading;  // over the grid
    std::vector<Column> columns;
    std::function<QStringList(int)> row;  // the row of item 1..total
    int total;
    std::function<bool(int)> selected = [](int) { return false; };
};

// The window with its grid scrolled so that `focus` is as near the middle as
// the list allows.
QImage screenPicture(QSize size, const Screen& s, int focus) {
    QImage image = newSheet(size, Qt::white);
    QPainter p(&image);
    const QRect outer(kMargin, kMargin, size.width() - 2 * kMargin, size.height() - 2 * kMargin);
    const QRect client = paintWindow(p, outer, s.title);
    paintText(p, QRect(client.left() + 2, client.top(), client.width() - 2, kHeadingHeight),
              s.heading, sheetFont(12));
    const QRect area(client.left(), client.top() + kHeadingHeight, client.width(),
                     client.height() - kHeadingHeight);
    Grid grid;
    grid.columns = s.columns;
    const int shown = rowsThatFit(grid, area.height());
    const int first = std::clamp(focus - shown / 2, 1, std::max(1, s.total - shown + 1));
    // One row more than fits whole, cut off at the bottom as a list is.
    for (int item = first; item <= first + shown && item <= s.total; ++item) {
        grid.rows.push_back(s.row(item));
        grid.selected.push_back(s.selected(item));
    }
    paintListGrid(p, area, grid, first - 1, s.total);
    return image;
}

const map::SlaveDevice* slaveAt(int address) {
    for (const map::SlaveDevice& d : map::slaveDevices())
        if (d.address == address) return &d;
    return nullptr;
}

const map::Counter* counterOfParameter(int k) {
    for (const map::Counter& c : map::counters())
        if (c.parameter == k) return &c;
    return nullptr;
}

// The configuration keeps short names: what is wired, without the
// explanation in brackets.
QString shortName(const char* wiring) {
    const QString name = capitalised(wiring);
    const qsizetype bracket = name.indexOf(QStringLiteral(" ("));
    return bracket < 0 ? name : name.left(bracket);
}

QStringList inputParameter(int k) {
    if (const map::Counter* c = counterOfParameter(k))
        return {QString::number(k), capitalised(c->name), QString::number(c->device),
                QString::number(c->input)};
    if (k > map::kOwnInputParameters)
        return {QString::number(k), QStringLiteral("не задан"), QStringLiteral("—"),
                QStringLiteral("—")};
    const char* wired = map::inputWiring(k);
    return {QString::number(k),
            wired ? shortName(wired) : QStringLiteral("Дискретный вход %1").arg(k),
            QString::number(map::kOwnDevice), QString::number(k)};
}

Screen inputParameters() {
    return {QStringLiteral("Конфигуратор ВК-41: входные параметры"),
            QStringLiteral("Входные дискретные параметры (адрес %1 — входы самого ВК-41)")
                .arg(map::kOwnDevice),
            {{QStringLiteral("№"), 34, Qt::AlignHCenter},
             {QStringLiteral("Наименование"), 0},
             {QStringLiteral("Адрес"), 54, Qt::AlignHCenter},
             {QStringLiteral("Вход"), 48, Qt::AlignHCenter}},
            inputParameter,
            map::kInputParameters};
}

}  // namespace

QImage slavesScreen(QSize size, const WindowFacts&) {
    const auto row = [](int address) -> QStringList {
        if (const map::SlaveDevice* d = slaveAt(address))
            return {QString::number(address), QString::fromUtf8(d->type),
                    QString::fromUtf8(d->parity), QString::number(d->baud)};
        return {QString::number(address), QStringLiteral("не задан"), QStringLiteral("—"),
                QStringLiteral("—")};
    };
    const int focus = map::slaveDevices().front().address;
    Screen s{QStringLiteral("Конфигуратор ВК-41: общие параметры"),
             QStringLiteral("Ведомые приборы на линии контроллера (адрес 1…127)"),
             {{QStringLiteral("Адрес"), 54, Qt::AlignHCenter},
              {QStringLiteral("Тип прибора"), 0},
              {QStringLiteral("Чётность"), 76, Qt::AlignHCenter},
              {QStringLiteral("Скорость"), 76, Qt::AlignHCenter}},
             row,
             kLineAddresses,
             [](int address) { return slaveAt(address) != nullptr; }};
    return screenPicture(size, s, focus);
}

QImage counterParametersScreen(QSize size, const WindowFacts&) {
    Screen s = inputParameters();
    s.selected = [](int k) { return counterOfParameter(k) != nullptr; };
    const auto& counters = map::counters();
    return screenPicture(size, s, (counters.front().parameter + counters.back().parameter + 1) / 2);
}

QImage inputParametersScreen(QSize size, const WindowFacts&) {
    return screenPicture(size, inputParameters(), 1);
}

QImage outputsScreen(QSize size, const WindowFacts&) {
    const auto row = [](int k) -> QStringList {
        const char* wired = map::outputWiring(k);
        return {QString::number(k),
                wired ? shortName(wired) : QStringLiteral("Дискретный выход %1").arg(k),
                QString::number(map::kOwnDevice), QString::number(k)};
    };
    Screen s{QStringLiteral("Конфигуратор ВК-41: выходы"),
             QStringLiteral("Управляемые дискретные выходы (адрес %1 — выходы самого ВК-41)")
                 .arg(map::kOwnDevice),
             {{QStringLiteral("№"), 34, Qt::AlignHCenter},
              {QStringLiteral("Наименование"), 0},
              {QStringLiteral("Адрес"), 54, Qt::AlignHCenter},
              {QStringLiteral("Выход"), 52, Qt::AlignHCenter}},
             row,
             map::kTerminals};
    return screenPicture(size, s, 1);
}

}  // namespace vk41::pictures
