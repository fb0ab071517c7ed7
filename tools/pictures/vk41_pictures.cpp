// vk41-pictures FILE.png
// vk41-pictures describe SNAPSHOTS OUT
// vk41-pictures compare A.png B.png
// vk41-pictures modbus FORM OUT
// vk41-pictures requests FORM
//
// The first form paints the conditions-block window's picture, the
// controller's operator table (717 x 355 pixels) with the factory program in
// it, and writes it to FILE.png. make_pictures.sh keeps it as
// resources/pictures/bl_usl_table.png.
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
#include <string>
#include <string_view>

#include "conditions/notation.h"
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

// The eight titled columns of the program's notation, the number first.
constexpr std::array<vk41::notation::Column, 8> kCellColumns = {
    vk41::notation::Column::Number,    vk41::notation::Column::Kind,
    vk41::notation::Column::First,     vk41::notation::Column::Second,
    vk41::notation::Column::Output,    vk41::notation::Column::ValueIf,
    vk41::notation::Column::ValueElse, vk41::notation::Column::DependsOn};

// Operator k's cell in column c, as the table prints the factory program.
std::string cellOf(int k, std::size_t c) {
    if (kCellColumns[c] == vk41::notation::Column::Number) return std::to_string(k);
    return vk41::notation::cell(vk41::factoryProgram().at(k), kCellColumns[c]);
}

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
        const char* titleText = vk41::notation::title(kCellColumns[c]);
        if (!fits(title, titleText, right - left))
            std::fprintf(stderr, "vk41-pictures: title %zu is too wide\n", c + 1);
        const QRect cell(left + 1, kHeaderTop + 1, right - left - 1,
                         kHeaderBottom - kHeaderTop - 1);
        painter.drawText(cell, Qt::AlignCenter, QString::fromUtf8(titleText));
    }

    const QFont body = tableFont(false);
    painter.setFont(body);
    for (int k = 1; k <= kRows; ++k) {
        for (std::size_t c = 0; c < kColumns.size(); ++c) {
            const auto [left, right] = kColumns[c];
            const std::string text = cellOf(k, c);
            if (!fits(body, text.c_str(), right - left))
                std::fprintf(stderr, "vk41-pictures: row %d column %zu is too wide\n", k, c + 1);
            cellText(painter, left, right, rowTop(k), text.c_str());
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
