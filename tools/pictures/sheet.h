#pragma once

// Drawing helpers for the Modbus window's pictures: pages of the controller's
// manual (a caption, a table, a note) and screens of its configuration
// program (a window frame, a grid with a header row and a scroll
// bar). Every measure is in pixels at 100 %; the images hold twice as many
// pixels, so that they stay sharp at device pixel ratio 2.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace vk41::pictures {

inline constexpr int kScale = 2;

// The picture's font: 12 px reads well at 100 %; nothing goes below 11 px.
QFont sheetFont(int pixels, bool bold = false);

// A picture of `size` pixels at 100 %, drawn at twice the size, filled.
QImage newSheet(QSize size, QColor fill);

struct Column {
    QString title;
    int width;  // pixels; 0 takes what the other columns leave
    Qt::Alignment align = Qt::AlignLeft;
    QColor colour = Qt::black;  // of the rows' text in a manual's table
};

struct Grid {
    std::vector<Column> columns;
    std::vector<QStringList> rows;
    std::vector<bool> selected;  // per row; missing entries are not selected
    int rowHeight = 17;
    int headerHeight = 18;
};

// Text that does not fit its room is reported on standard error under the
// name of the picture being drawn.
void setPictureName(const QString& name);
int overflows();

// A line of text in `box`, vertically centred; it must fit.
void paintText(QPainter& p, const QRect& box, const QString& text, const QFont& font,
               Qt::Alignment align = Qt::AlignLeft, QColor colour = Qt::black);

// A manual's table: black rules, a grey bold header. Returns its bottom.
int paintTable(QPainter& p, QPoint topLeft, int width, const Grid& grid);

// A configuration program's window filling `outer`: frame, title bar and a
// raised page. Returns the page's inside.
QRect paintWindow(QPainter& p, const QRect& outer, const QString& title);

// The program's grid in `area`: raised header cells, white rows (the last
// may be cut off by the list's bottom), selected rows highlighted, and a
// vertical scroll bar that shows rows from `first` of `total` (counting from
// 0). Returns the number of whole rows shown.
int paintListGrid(QPainter& p, const QRect& area, const Grid& grid, int first, int total);

// How many rows of `grid`'s heights fit in `height` pixels under its header.
int rowsThatFit(const Grid& grid, int height);

}  // namespace vk41::pictures
