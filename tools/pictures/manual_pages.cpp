// The manual's pages among the Modbus window's pictures: the address areas,
// the pulse counters, the discrete inputs and outputs, the command register.
#include <array>
#include <cstdint>

#include "modbus/memory_map.h"
#include "tools/pictures/crc16.h"
#include "tools/pictures/modbus_pictures.h"
#include "tools/pictures/sheet.h"

namespace vk41::pictures {
namespace {

namespace map = memory_map;

constexpr int kMargin = 4;  // clear of the picture box's frame
constexpr int kCaptionHeight = 20;
const QColor kCrcColour(0xA0, 0x10, 0x10);

struct Page {
    QString caption;
    QStringList lines;  // under the caption, before the table
    Grid grid;
    QStringList notes;  // under the table
};

QImage manualPage(QSize size, const Page& page) {
    QImage image = newSheet(size, Qt::white);
    QPainter p(&image);
    const int width = size.width() - 2 * kMargin;
    int y = 1;
    paintText(p, QRect(kMargin, y, width, kCaptionHeight), page.caption, sheetFont(12, true));
    y += kCaptionHeight;
    for (const QString& line : page.lines) {
        paintText(p, QRect(kMargin, y, width, 17), line, sheetFont(12));
        y += 17;
    }
    y = paintTable(p, QPoint(kMargin, y + 1), width, page.grid) + 2;
    for (const QString& note : page.notes) {
        paintText(p, QRect(kMargin, y, width, 17), note, sheetFont(12));
        y += 17;
    }
    return image;
}

// How many rows of 17 pixels a page of that many lines and notes has room for.
int tableRoom(QSize size, int lines, int notes) {
    return (size.height() - kMargin - kCaptionHeight - 18 - 17 * (lines + notes) - 4) / 17;
}

QString functions(const map::Area& a) {
    QStringList parts;
    if (a.read) parts << QStringLiteral("%1 (чтение)").arg(a.read);
    if (a.write) parts << QStringLiteral("%1 (запись)").arg(a.write);
    return parts.join(QStringLiteral(", "));
}

QString wiredOrDash(const char* what) {
    return what ? capitalised(what) : QStringLiteral("—");
}

}  // namespace

std::vector<CommandRequest> commandRequests(const WindowFacts& facts) {
    std::vector<CommandRequest> requests;
    for (const map::Command& c : map::commands()) {
        constexpr int reg = map::kCommandRegister;
        CommandRequest r{
            c.value,
            {static_cast<std::uint8_t>(facts.controllerAddress), map::kWriteSingleRegister,
             reg >> 8, reg & 0xFF, static_cast<std::uint8_t>(c.value >> 8),
             static_cast<std::uint8_t>(c.value & 0xFF), 0, 0}};
        const std::uint16_t crc = crc16(std::span(r.bytes).first(6));
        r.bytes[6] = static_cast<std::uint8_t>(crc & 0xFF);  // the low byte comes first
        r.bytes[7] = static_cast<std::uint8_t>(crc >> 8);
        requests.push_back(r);
    }
    return requests;
}

QImage areasPage(QSize size, const WindowFacts&) {
    Page page;
    page.caption = QStringLiteral("Адресное пространство ModBus контроллера ВК-41");
    page.grid.columns = {{QStringLiteral("Адреса"), 110, Qt::AlignHCenter},
                         {QStringLiteral("Область"), 0},
                         {QStringLiteral("Доступ"), 125},
                         {QStringLiteral("Функции"), 170}};
    page.grid.rowHeight = 20;
    for (const map::Area& a : map::areas())
        page.grid.rows.push_back({addressRange(a.first, a.last, 5), capitalised(a.what),
                                  QString::fromUtf8(a.access), functions(a)});
    page.notes << QStringLiteral(
                      "Флаг k — адрес %1 + k, вход k — адрес %2 + k − 1, выход k — адрес k − 1.")
                      .arg(map::flagCoil(0))
                      .arg(map::inputAddress(1));
    return manualPage(size, page);
}

QImage countersPage(QSize size, const WindowFacts&) {
    Page page;
    page.caption = QStringLiteral("Счётчики импульсов: регистры хранения, функция %1")
                       .arg(map::kReadHoldingRegisters);
    page.grid.columns = {{QStringLiteral("Параметр"), 80, Qt::AlignHCenter},
                         {QStringLiteral("Адрес прибора"), 110, Qt::AlignHCenter},
                         {QStringLiteral("Вход"), 50, Qt::AlignHCenter},
                         {QStringLiteral("Наименование"), 0},
                         {QStringLiteral("Регистр ModBus"), 140, Qt::AlignHCenter}};
    for (const map::Counter& c : map::counters())
        page.grid.rows.push_back(
            {QString::number(c.parameter), QString::number(c.device), QString::number(c.input),
             capitalised(c.name),
             QStringLiteral("%1 (%2)").arg(c.firstRegister).arg(hexWord(c.firstRegister))});
    page.notes << QStringLiteral(
                      "Младшие 4 байта — %1 регистра, все 6 байт — %2 регистра с того же адреса.")
                      .arg(map::kLowCounterRegisters)
                      .arg(map::kRegistersPerCounter);
    return manualPage(size, page);
}

QImage inputsPage(QSize size, const WindowFacts&) {
    Page page;
    page.caption = QStringLiteral("Дискретные входы: адреса ModBus, функция %1 (чтение)")
                       .arg(map::kReadDiscreteInputs);
    page.grid.columns = {{QStringLiteral("Вход"), 60, Qt::AlignHCenter},
                         {QStringLiteral("Адрес ModBus"), 120, Qt::AlignHCenter},
                         {QStringLiteral("Адрес (шестн.)"), 130, Qt::AlignHCenter},
                         {QStringLiteral("Подключено в этой установке"), 0}};
    page.notes << QStringLiteral(
        "Бит 0 первого байта ответа — первый запрошенный вход, бит 1 — следующий.");
    // Every input that fits on its own row, then one row for the rest.
    const int single = tableRoom(size, 0, 1) - 1;
    for (int k = 1; k <= single; ++k)
        page.grid.rows.push_back({QString::number(k), QString::number(map::inputAddress(k)),
                                  hexWord(map::inputAddress(k)), wiredOrDash(map::inputWiring(k))});
    page.grid.rows.push_back(
        {QStringLiteral("%1–%2").arg(single + 1).arg(map::kTerminals),
         addressRange(map::inputAddress(single + 1), map::inputAddress(map::kTerminals), 0),
         QStringLiteral("%1–%2").arg(hexWord(map::inputAddress(single + 1)),
                                     hexWord(map::inputAddress(map::kTerminals))),
         QStringLiteral("не подключены")});
    return manualPage(size, page);
}

QImage outputsPage(QSize size, const WindowFacts&) {
    Page page;
    page.caption =
        QStringLiteral("Дискретные выходы: адреса ModBus, функции %1 (чтение) и %2 (запись)")
            .arg(map::kReadCoils)
            .arg(map::kWriteSingleCoil);
    page.grid.columns = {{QStringLiteral("Выход"), 60, Qt::AlignHCenter},
                         {QStringLiteral("Адрес ModBus"), 120, Qt::AlignHCenter},
                         {QStringLiteral("Адрес (шестн.)"), 130, Qt::AlignHCenter},
                         {QStringLiteral("Функции"), 80, Qt::AlignHCenter},
                         {QStringLiteral("Подключено в этой установке"), 0}};
    page.notes
        << QStringLiteral(
               "Выходы 1–%1 записываются функцией %2: 0xFF00 включает выход, 0x0000 выключает.")
               .arg(map::kWritableOutputs)
               .arg(map::kWriteSingleCoil);
    const auto functionsOf = [](int k) {
        return k <= map::kWritableOutputs
                   ? QStringLiteral("%1, %2").arg(map::kReadCoils).arg(map::kWriteSingleCoil)
                   : QString::number(map::kReadCoils);
    };
    const int single = tableRoom(size, 0, 1) - 1;
    for (int k = 1; k <= single; ++k)
        page.grid.rows.push_back({QString::number(k), QString::number(map::outputCoil(k)),
                                  hexWord(map::outputCoil(k)), functionsOf(k),
                                  wiredOrDash(map::outputWiring(k))});
    page.grid.rows.push_back(
        {QStringLiteral("%1–%2").arg(single + 1).arg(map::kTerminals),
         addressRange(map::outputCoil(single + 1), map::outputCoil(map::kTerminals), 0),
         QStringLiteral("%1–%2").arg(hexWord(map::outputCoil(single + 1)),
                                     hexWord(map::outputCoil(map::kTerminals))),
         functionsOf(single + 1), QStringLiteral("не подключены")});
    return manualPage(size, page);
}

QImage commandPage(QSize size, const WindowFacts& facts) {
    Page page;
    page.caption =
        QStringLiteral("Регистр %1 (%2) — командный: ведущий записывает в него слово функцией %3")
            .arg(map::kCommandRegister)
            .arg(hexWord(map::kCommandRegister))
            .arg(map::kWriteSingleRegister);
    QStringList meanings;
    for (const map::Command& c : map::commands())
        meanings << QStringLiteral("%1 — %2").arg(hexWord(c.value), QString::fromUtf8(c.meaning));
    page.lines << meanings.join(QStringLiteral(";  ")) + QStringLiteral(".");
    // The request's bytes as the window's request row shows them.
    page.grid.columns = {{QStringLiteral("Слово"), 0, Qt::AlignHCenter}};
    for (const char* title : {"Адрес", "Функция", "Рег. ст.", "Рег. мл.", "Слово ст.", "Слово мл.",
                              "CRC мл.", "CRC ст."})
        page.grid.columns.push_back({QString::fromUtf8(title), 72, Qt::AlignHCenter});
    page.grid.columns[7].colour = page.grid.columns[8].colour = kCrcColour;
    for (const CommandRequest& r : commandRequests(facts)) {
        QStringList row{hexWord(r.value)};
        for (std::uint8_t byte : r.bytes) row << byteText(byte);
        page.grid.rows.push_back(row);
    }
    page.notes << QStringLiteral(
                      "Запросы к контроллеру с адресом %1; в скобках — шестнадцатеричная "
                      "запись. Ответ повторяет запрос.")
                      .arg(facts.controllerAddress);
    return manualPage(size, page);
}

}  // namespace vk41::pictures
