// vk41-pictures FILE.png
// vk41-pictures describe SNAPSHOTS OUT
// vk41-pictures compare A.png B.png
// vk41-pictures modbus FORM OUT
// vk41-pictures requests FORM
//
// The first form paints the conditions-block window's picture, the
// controller's operator table (717 x 355 pixels), and writes it to FILE.png.
// Its output is kept as resources/pictures/bl_usl_table.png:
//
//   build/vk41-pictures resources/pictures/bl_usl_table.png
//
// `describe` makes the description window's pictures comn.png, bupict.png
// and modb_pict.png in OUT from the window snapshots scheme.png,
// conditions.png and modbus.png in SNAPSHOTS (tools/pictures/make_pictures.sh
// takes those snapshots with vk41-script). `compare` exits 0 when two
// pictures of one size differ by no more than font anti-aliasing does.
// `modbus` draws the Modbus window's nine pictures from the controller's
// memory map into OUT, at twice the size their boxes have in the window's
// design FORM (resources/forms/modb_frm.form); `requests` prints the two
// requests that the command register's picture shows, CRC included, so that
// a test can hold them against the window's own.
//
// Runs without a display (Qt's offscreen platform unless QT_QPA_PLATFORM
// says otherwise). The window lays its markers and mouse zones on the rows
// and columns below, so the grid is drawn exactly on these pixels.
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <cstdio>
#include <string_view>

#include "tools/pictures/modbus_pictures.h"

namespace {

constexpr int kWidth = 717;
constexpr int kHeight = 355;

// Column borders, left to right; 254 and 258 make a double line. The ninth
// column, from 711 on, is cut off by the picture's right edge.
constexpr std::array<int, 10> kBorders = {66, 100, 254, 258, 334, 412, 483, 554, 632, 711};
// The eight titled columns, as pairs of borders (the double line's gap
// belongs to no column).
constexpr std::array<std::array<int, 2>, 8> kColumns = {{{66, 100},
                                                         {100, 254},
                                                         {258, 334},
                                                         {334, 412},
                                                         {412, 483},
                                                         {483, 554},
                                                         {554, 632},
                                                         {632, 711}}};
constexpr int kNinth = 711;

// The header takes pixel rows 5..27; row k (1..14) rows 28 + 23(k - 1) ..
// 50 + 23(k - 1), its last pixel row being its bottom border.
constexpr int kHeaderTop = 5;
constexpr int kHeaderBottom = 27;
constexpr int kRowHeight = 23;
constexpr int kRows = 14;
constexpr int rowTop(int k) {
    return kHeaderBottom + 1 + kRowHeight * (k - 1);
}
constexpr int rowBottom(int k) {
    return rowTop(k) + kRowHeight - 1;
}

const QColor kHeaderGrey(0xC0, 0xC0, 0xC0);

const std::array<const char*, 8> kTitles = {"№",     "Вид",      "Операнд 1",  "Операнд 2",
                                            "Выход", "Знач. IF", "Знач. ELSE", "Зависит от"};

// clang-format off
const std::array<std::array<const char*, 8>, kRows> kTable = {{
    {"1", "если О1 Равен О2", "Self / 133", "0", "self / D3", "1 р3", "0 р3", "нет"},
    {"2", "если О1 Равен О2", "Self / 131", "1", "нет", "-", "-", "нет"},
    {"3", "если О1 Равен О2", "Self / 4", "1", "self / D5", "1 р3", "0 р3", "У/Ф N2"},
    {"4", "Нет", "-", "-", "-", "-", "-", "-"},
    {"5", "если О1 Равен О2", "Self / 132", "1", "нет", "-", "-", "нет"},
    {"6", "если О1 Равен О2", "Self / 6", "1", "self / D4", "0 р3", "1 р3", "У/Ф N5"},
    {"7", "Нет", "-", "-", "-", "-", "-", "-"},
    {"8", "если О1 Равен О2", "Self / 132", "0", "нет", "-", "-", "нет"},
    {"9", "если О1 Равен О2", "Self / 5", "1", "self / D4", "1 р3", "0 р3", "У/Ф N8"},
    {"10", "Нет", "-", "-", "-", "-", "-", "-"},
    {"11", "если О1 Равен О2", "Self / 133", "1", "нет", "-", "-", "нет"},
    {"12", "если О1 Равен О2", "Self / 132", "1", "self / D4", "0 р3", "0 р3", "У/Ф N11"},
    {"13", "если О1 Равен О2", "Self / 132", "1", "self / D6", "1 р3", "0 р3", "нет"},
    {"14", "Нет", "-", "-", "-", "-", "-", "-"},
}};
// clang-format on

QFont tableFont(bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(12);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// A cell's text, centred; the text keeps clear of the cell's last five
// pixel rows, where the window draws its activity bar under the number.
void cellText(QPainter& painter, int left, int right, int top, const char* text) {
    const QRect cell(left + 1, top, right - left - 1, kRowHeight - 5);
    painter.drawText(cell, Qt::AlignCenter, QString::fromUtf8(text));
}

bool fits(const QFont& font, const char* text, int width) {
    return QFontMetrics(font).horizontalAdvance(QString::fromUtf8(text)) <= width - 4;
}

QImage paintTable() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    painter.fillRect(QRect(QPoint(kBorders.front(), kHeaderTop), QPoint(kWidth - 1, kHeaderBottom)),
                     kHeaderGrey);

    painter.setPen(QPen(Qt::black, 1));
    const int bottom = rowBottom(kRows);
    for (int y : {kHeaderTop, kHeaderBottom}) painter.drawLine(kBorders.front(), y, kWidth - 1, y);
    for (int k = 1; k <= kRows; ++k)
        painter.drawLine(kBorders.front(), rowBottom(k), kWidth - 1, rowBottom(k));
    for (int x : kBorders) painter.drawLine(x, kHeaderTop, x, bottom);

    const QFont title = tableFont(true);
    painter.setFont(title);
    for (std::size_t c = 0; c < kColumns.size(); ++c) {
        const auto [left, right] = kColumns[c];
        if (!fits(title, kTitles[c], right - left))
            std::fprintf(stderr, "vk41-pictures: title %zu is too wide\n", c + 1);
        const QRect cell(left + 1, kHeaderTop + 1, right - left - 1,
                         kHeaderBottom - kHeaderTop - 1);
        painter.drawText(cell, Qt::AlignCenter, QString::fromUtf8(kTitles[c]));
    }

    const QFont body = tableFont(false);
    painter.setFont(body);
    for (int k = 1; k <= kRows; ++k) {
        const auto& row = kTable[static_cast<std::size_t>(k - 1)];
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            const auto [left, right] = kColumns[c];
            if (!fits(body, row[c], right - left))
                std::fprintf(stderr, "vk41-pictures: row %d column %zu is too wide\n", k, c + 1);
            cellText(painter, left, right, rowTop(k), row[c]);
        }
        // The ninth column shows only the start of its dash.
        const QRect cut(kNinth + 2, rowTop(k), 40, kRowHeight - 5);
        painter.drawText(cut, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("-"));
    }
    painter.end();
    return image;
}

}  // namespace

int describe(const QString& snapshots, const QString& out);
int compare(const QString& a, const QString& b);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && std::string_view(argv[1]) == "describe")
        return describe(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 4 && std::string_view(argv[1]) == "compare")
        return compare(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 4 && std::string_view(argv[1]) == "modbus")
        return vk41::pictures::modbusPictures(QString::fromLocal8Bit(argv[2]),
                                              QString::fromLocal8Bit(argv[3]));
    if (argc == 3 && std::string_view(argv[1]) == "requests")
        return vk41::pictures::printCommandRequests(QString::fromLocal8Bit(argv[2]));
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: vk41-pictures FILE.png | describe SNAPSHOTS OUT | compare A B | "
                     "modbus FORM OUT | requests FORM\n");
        return 2;
    }
    // The table is all greys: stored as a grey-scale picture it stays small.
    const QImage image = paintTable().convertToFormat(QImage::Format_Grayscale8);
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "vk41-pictures: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
