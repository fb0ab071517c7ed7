// The operator table picture, read pixel by pixel: its grid must lie on the
// rows and columns that the window's markers and mouse zones are laid on.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <string_view>

#include "ui/design_text.h"
#include "ui/resources.h"

namespace vk41 {
namespace {

// ---- The table's geometry: column borders, header and rows.

constexpr std::array<int, 10> kBorders = {66, 100, 254, 258, 334, 412, 483, 554, 632, 711};
constexpr int kRightEdge = 716;  // the last pixel column; the ninth column is cut off here
constexpr int kHeaderTop = 5, kHeaderBottom = 27;
constexpr int rowTop(int k) {
    return 28 + 23 * (k - 1);
}
constexpr int rowBottom(int k) {
    return 50 + 23 * (k - 1);
}
// Pixel columns well inside each of the eight titled columns and the ninth.
constexpr std::array<int, 9> kColumnMiddles = {83, 177, 296, 373, 447, 518, 593, 671, 714};

bool dark(int grey) {
    return grey < 64;
}
bool white(int grey) {
    return grey > 240;
}

class TablePicture : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string_view png = resource("bl_usl_table.png");
        ASSERT_FALSE(png.empty());
        picture = QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                                   static_cast<int>(png.size()), "PNG");
    }
    static QImage picture;
    // The grey level of a pixel (a coloured one by its mean).
    int at(int x, int y) const { return qGray(picture.pixel(x, y)); }
};

QImage TablePicture::picture;

TEST_F(TablePicture, IsTheWindowsBackgroundAndHasItsSize) {
    EXPECT_EQ(embeddedDesign("bl_usl.form").picture, "bl_usl_table.png");
    EXPECT_EQ(picture.width(), 717);
    EXPECT_EQ(picture.height(), 355);
}

TEST_F(TablePicture, ColumnBordersRunFromTheHeaderToTheLastRow) {
    for (int x : kBorders)
        for (int y = kHeaderTop; y <= rowBottom(14); ++y)
            EXPECT_TRUE(dark(at(x, y))) << "border " << x << " at row " << y << ": " << at(x, y);
}

TEST_F(TablePicture, RowBordersCloseTheHeaderAndEveryRow) {
    std::vector<int> lines = {kHeaderTop, kHeaderBottom};
    for (int k = 1; k <= 14; ++k) lines.push_back(rowBottom(k));
    for (int y : lines)
        for (int x = kBorders.front(); x <= kRightEdge; ++x)
            EXPECT_TRUE(dark(at(x, y))) << "line " << y << " at column " << x << ": " << at(x, y);
}

TEST_F(TablePicture, BordersAreOnePixelWide) {
    for (int k = 1; k <= 14; ++k) {
        // Beside each column border, at the top of the row, the cell is white.
        const int y = rowTop(k);
        for (int x : kBorders) {
            EXPECT_TRUE(white(at(x - 1, y))) << "left of " << x << " in row " << k;
            EXPECT_TRUE(white(at(x + 1, y))) << "right of " << x << " in row " << k;
        }
        // The double line keeps a white gap between its two lines.
        for (int x = 255; x <= 257; ++x)
            for (int yy = rowTop(k); yy < rowBottom(k); ++yy)
                EXPECT_TRUE(white(at(x, yy))) << "gap " << x << ", " << yy;
        // Below and above each row border the neighbouring rows are white.
        for (int x : kColumnMiddles) {
            EXPECT_TRUE(white(at(x, rowBottom(k) - 1))) << x << " above line of row " << k;
            if (k < 14) {
                EXPECT_TRUE(white(at(x, rowBottom(k) + 1))) << x << " below row " << k;
            }
        }
    }
}

TEST_F(TablePicture, HeaderIsGreyWithATitleInEachColumn) {
    for (std::size_t c = 0; c + 1 < kBorders.size(); ++c) {
        const int left = kBorders[c], right = kBorders[c + 1];
        if (right - left < 5) continue;  // the double line's gap
        EXPECT_NEAR(at(left + 1, kHeaderTop + 1), 0xC0, 2) << "header corner at " << left;
        EXPECT_NEAR(at(right - 1, kHeaderBottom - 1), 0xC0, 2) << "header corner at " << right;
        int ink = 0;
        for (int y = kHeaderTop + 1; y < kHeaderBottom; ++y)
            for (int x = left + 1; x < right; ++x) ink += dark(at(x, y));
        EXPECT_GT(ink, 10) << "title between " << left << " and " << right;
    }
    EXPECT_NEAR(at(kRightEdge, kHeaderTop + 1), 0xC0, 2);
}

TEST_F(TablePicture, EveryRowHasItsNumberAndTheNinthColumnItsDash) {
    for (int k = 1; k <= 14; ++k) {
        int number = 0, dash = 0;
        for (int y = rowTop(k); y < rowBottom(k); ++y) {
            for (int x = kBorders[0] + 1; x < kBorders[1]; ++x) number += dark(at(x, y));
            for (int x = kBorders.back() + 1; x <= kRightEdge; ++x) dash += at(x, y) < 160;
        }
        EXPECT_GT(number, 5) << "row " << k;
        EXPECT_GT(dash, 0) << "row " << k;
    }
}

// The activity bar lies across the last pixel rows of an operator's row
// (window twips y 720 for operator 1 is pixel row 48): the row's text keeps
// out of them.
TEST_F(TablePicture, TextKeepsClearOfTheActivityBars) {
    for (int k = 1; k <= 14; ++k)
        for (int y = rowBottom(k) - 4; y < rowBottom(k); ++y)
            for (int x = kBorders[0] + 1; x < kBorders[1]; ++x)
                EXPECT_TRUE(white(at(x, y))) << "row " << k << " at " << x << ", " << y;
}

TEST_F(TablePicture, MarginsAroundTheTableAreWhite) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const bool margin = x < kBorders.front() || y < kHeaderTop || y > rowBottom(14);
            if (margin) {
                EXPECT_TRUE(white(at(x, y))) << x << ", " << y;
            }
        }
}

}  // namespace
}  // namespace vk41
