#include "tools/pictures/sheet.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPolygon>
#include <algorithm>
#include <cstdio>

namespace vk41::pictures {
namespace {

// The configuration program's colours: a classic grey desktop.
const QColor kFace(0xD4, 0xD0, 0xC8);
const QColor kLight(0xFF, 0xFF, 0xFF);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDark(0x40, 0x40, 0x40);
const QColor kTitleLeft(0x0A, 0x24, 0x6A);
const QColor kTitleRight(0xA6, 0xCA, 0xF0);
const QColor kHighlight(0x0A, 0x24, 0x6A);
const QColor kGridRule(0xC8, 0xC8, 0xC8);
const QColor kTrack(0xEA, 0xE8, 0xE4);
// The manual's table header.
const QColor kHeaderGrey(0xE4, 0xE4, 0xE4);

constexpr int kPad = 5;           // text keeps this far from a cell's sides
constexpr int kTitleHeight = 18;  // the window's title bar
constexpr int kScrollWidth = 16;

QString g_picture;
int g_overflows = 0;

void checkFits(const QFont& font, const QString& text, int room) {
    if (QFontMetrics(font).horizontalAdvance(text) <= room) return;
    std::fprintf(stderr, "vk41-pictures: %s: \"%s\" does not fit in %d px\n", qPrintable(g_picture),
                 qPrintable(text), room);
    ++g_overflows;
}

// One-pixel rules as filled rectangles, so that they cover whole pixels at
// either ratio.
void hline(QPainter& p, int x1, int x2, int y, QColor c) {
    p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), c);
}
void vline(QPainter& p, int x, int y1, int y2, QColor c) {
    p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), c);
}

// A raised (or sunken) edge: light over and left, dark under and right.
void bevel(QPainter& p, const QRect& r, QColor topLeft, QColor bottomRight) {
    hline(p, r.left(), r.right(), r.top(), topLeft);
    vline(p, r.left(), r.top(), r.bottom(), topLeft);
    hline(p, r.left(), r.right(), r.bottom(), bottomRight);
    vline(p, r.right(), r.top(), r.bottom(), bottomRight);
}
void raised(QPainter& p, const QRect& r) {
    bevel(p, r, kLight, kDark);
    bevel(p, r.adjusted(1, 1, -1, -1), kFace, kShadow);
}
void sunken(QPainter& p, const QRect& r) {
    bevel(p, r, kShadow, kLight);
    bevel(p, r.adjusted(1, 1, -1, -1), kDark, kFace);
}

std::vector<int> columnWidths(const std::vector<Column>& columns, int width) {
    int fixed = 0;
    for (const Column& c : columns) fixed += c.width;
    std::vector<int> widths;
    for (const Column& c : columns) widths.push_back(c.width ? c.width : width - fixed);
    return widths;
}

void cell(QPainter& p, const QRect& box, const QString& text, const QFont& font,
          Qt::Alignment align, QColor colour) {
    paintText(p, box.adjusted(kPad, 0, -kPad, 0), text, font, align, colour);
}

bool isSelected(const Grid& grid, std::size_t row) {
    return row < grid.selected.size() && grid.selected[row];
}

void triangle(QPainter& p, QPoint centre, bool up) {
    const int d = up ? -1 : 1;
    const QPolygon head(
        {centre + QPoint(-4, -2 * d), centre + QPoint(4, -2 * d), centre + QPoint(0, 2 * d)});
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(head);
    p.restore();
}

void scrollBar(QPainter& p, const QRect& bar, int first, int shown, int total) {
    p.fillRect(bar, kTrack);
    const QRect up(bar.left(), bar.top(), bar.width(), kScrollWidth);
    const QRect down(bar.left(), bar.bottom() - kScrollWidth + 1, bar.width(), kScrollWidth);
    for (const QRect& button : {up, down}) {
        p.fillRect(button, kFace);
        raised(p, button);
    }
    triangle(p, up.center() + QPoint(1, 1), true);
    triangle(p, down.center() + QPoint(1, 0), false);
    const int track = down.top() - up.bottom() - 1;
    const int length = std::max(10, track * shown / std::max(total, 1));
    const int top = up.bottom() + 1 + (track - length) * first / std::max(total - shown, 1);
    const QRect thumb(bar.left(), top, bar.width(), length);
    p.fillRect(thumb, kFace);
    raised(p, thumb);
}

void titleButton(QPainter& p, const QRect& r, int glyph) {
    p.fillRect(r, kFace);
    raised(p, r);
    const QPoint c = r.center();
    switch (glyph) {
        case 0:  // minimise
            p.fillRect(QRect(c.x() - 3, c.y() + 2, 6, 2), Qt::black);
            break;
        case 1:  // maximise
            p.fillRect(QRect(c.x() - 4, c.y() - 4, 9, 2), Qt::black);
            bevel(p, QRect(c.x() - 4, c.y() - 4, 9, 8), Qt::black, Qt::black);
            break;
        default: {  // close
            p.save();
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Qt::black, 1.5));
            p.drawLine(QPointF(c.x() - 3, c.y() - 3), QPointF(c.x() + 4, c.y() + 4));
            p.drawLine(QPointF(c.x() + 4, c.y() - 3), QPointF(c.x() - 3, c.y() + 4));
            p.restore();
        }
    }
}

}  // namespace

QFont sheetFont(int pixels, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QImage newSheet(QSize size, QColor fill) {
    QImage image(size * kScale, QImage::Format_RGB32);
    image.setDevicePixelRatio(kScale);
    image.fill(fill);
    return image;
}

void setPictureName(const QString& name) {
    g_picture = name;
}

int overflows() {
    return g_overflows;
}

void paintText(QPainter& p, const QRect& box, const QString& text, const QFont& font,
               Qt::Alignment align, QColor colour) {
    checkFits(font, text, box.width());
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, static_cast<int>(align | Qt::AlignVCenter), text);
    p.restore();
}

int paintTable(QPainter& p, QPoint topLeft, int width, const Grid& grid) {
    const std::vector<int> widths = columnWidths(grid.columns, width);
    const int rows = static_cast<int>(grid.rows.size());
    const int height = grid.headerHeight + rows * grid.rowHeight;
    const QRect whole(topLeft, QSize(width, height + 1));
    p.fillRect(QRect(topLeft, QSize(width, grid.headerHeight)), kHeaderGrey);

    const QFont bold = sheetFont(12, true);
    const QFont plain = sheetFont(12);
    int x = topLeft.x();
    for (std::size_t c = 0; c < grid.columns.size(); ++c) {
        const QRect head(x, topLeft.y(), widths[c], grid.headerHeight);
        cell(p, head, grid.columns[c].title, bold, Qt::AlignHCenter, Qt::black);
        for (int r = 0; r < rows; ++r) {
            const QRect box(x, topLeft.y() + grid.headerHeight + r * grid.rowHeight, widths[c],
                            grid.rowHeight);
            const QString& text = grid.rows[static_cast<std::size_t>(r)][static_cast<int>(c)];
            cell(p, box, text, isSelected(grid, static_cast<std::size_t>(r)) ? bold : plain,
                 grid.columns[c].align, grid.columns[c].colour);
        }
        if (c > 0) vline(p, x, whole.top(), whole.bottom(), Qt::black);
        x += widths[c];
    }
    bevel(p, whole, Qt::black, Qt::black);
    hline(p, whole.left(), whole.right(), topLeft.y() + grid.headerHeight, Qt::black);
    for (int r = 1; r < rows; ++r)
        hline(p, whole.left(), whole.right(), topLeft.y() + grid.headerHeight + r * grid.rowHeight,
              Qt::black);
    return whole.bottom();
}

QRect paintWindow(QPainter& p, const QRect& outer, const QString& title) {
    p.fillRect(outer, kFace);
    raised(p, outer);

    const QRect bar(outer.left() + 3, outer.top() + 3, outer.width() - 6, kTitleHeight);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    gradient.setColorAt(0, kTitleLeft);
    gradient.setColorAt(1, kTitleRight);
    p.fillRect(bar, gradient);
    const int buttons = 3 * 16 + 2;
    const QRect caption = bar.adjusted(5, 0, -buttons - 4, 0);
    const QFont font = sheetFont(12, true);
    paintText(p, caption, title, font, Qt::AlignLeft, Qt::white);
    for (int b = 0; b < 3; ++b) {
        const int left = bar.right() - buttons + b * 16 + (b == 2 ? 2 : 0);
        titleButton(p, QRect(left, bar.top() + 2, 16, 14), b);
    }
    return QRect(QPoint(outer.left() + 6, bar.bottom() + 4),
                 QPoint(outer.right() - 6, outer.bottom() - 5));
}

int rowsThatFit(const Grid& grid, int height) {
    return std::max(0, (height - 4 - grid.headerHeight) / grid.rowHeight);
}

int paintListGrid(QPainter& p, const QRect& area, const Grid& grid, int first, int total) {
    sunken(p, area);
    const QRect inside = area.adjusted(2, 2, -2, -2);
    p.fillRect(inside, Qt::white);
    const QRect bar(inside.right() - kScrollWidth + 1, inside.top(), kScrollWidth, inside.height());
    const int width = inside.width() - kScrollWidth;
    const std::vector<int> widths = columnWidths(grid.columns, width);
    const int rows = static_cast<int>(grid.rows.size());
    const int shown = std::min(rows, rowsThatFit(grid, area.height()));

    const QFont font = sheetFont(12);
    int x = inside.left();
    for (std::size_t c = 0; c < grid.columns.size(); ++c) {
        const QRect head(x, inside.top(), widths[c], grid.headerHeight);
        p.fillRect(head, kFace);
        raised(p, head);
        cell(p, head, grid.columns[c].title, font, grid.columns[c].align, Qt::black);
        x += widths[c];
    }
    // A row past the last whole one shows as far as the list reaches.
    p.save();
    p.setClipRect(QRect(inside.left(), inside.top(), width, inside.height()));
    for (int r = 0; r < rows; ++r) {
        const int top = inside.top() + grid.headerHeight + r * grid.rowHeight;
        const bool selected = isSelected(grid, static_cast<std::size_t>(r));
        if (selected) p.fillRect(QRect(inside.left(), top, width, grid.rowHeight), kHighlight);
        x = inside.left();
        for (std::size_t c = 0; c < grid.columns.size(); ++c) {
            const QRect box(x, top, widths[c], grid.rowHeight);
            cell(p, box, grid.rows[static_cast<std::size_t>(r)][static_cast<int>(c)], font,
                 grid.columns[c].align, selected ? Qt::white : Qt::black);
            if (c > 0) vline(p, x - 1, top, top + grid.rowHeight - 1, kGridRule);
            x += widths[c];
        }
        hline(p, inside.left(), inside.left() + width - 1, top + grid.rowHeight - 1, kGridRule);
    }
    p.restore();
    scrollBar(p, bar, first, shown, total);
    return shown;
}

}  // namespace vk41::pictures
