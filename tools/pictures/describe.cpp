// The description window's pictures, made from snapshots of the program's own
// windows: the scheme at load, the conditions block in the filling mode and
// the Modbus window reading the condition flags, annotated.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cmath>
#include <cstdio>

namespace {

QImage load(const QString& dir, const char* name) {
    QImage image(dir + "/" + name);
    if (image.isNull()) std::fprintf(stderr, "vk41-pictures: no snapshot %s\n", name);
    return image.convertToFormat(QImage::Format_RGB32);
}

bool save(const QImage& image, const QString& dir, const char* name) {
    if (image.convertToFormat(QImage::Format_RGB888).save(dir + "/" + name, "PNG")) return true;
    std::fprintf(stderr, "vk41-pictures: cannot write %s\n", name);
    return false;
}

// The whole scheme, scaled to the picture's 640 x 458 pixels.
QImage schemePicture(const QImage& scheme) {
    QImage picture(640, 458, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const QImage scaled =
        scheme.scaled(picture.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter(&picture).drawImage((picture.width() - scaled.width()) / 2, 0, scaled);
    return picture;
}

// The table and the mode options, the upper 450 rows of the window.
QImage conditionsPicture(const QImage& conditions) {
    QImage picture(929, 450, QImage::Format_RGB32);
    picture.fill(conditions.pixel(conditions.width() - 1, conditions.height() - 1));
    QPainter(&picture).drawImage(6, 0, conditions.copy(0, 0, conditions.width(), 450));
    return picture;
}

void arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    QPainterPath head;
    head.moveTo(to);
    head.lineTo(to - QPointF(std::cos(angle - 0.4), std::sin(angle - 0.4)) * 11);
    head.lineTo(to - QPointF(std::cos(angle + 0.4), std::sin(angle + 0.4)) * 11);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

void box(QPainter& p, const QRect& r, const QString& text) {
    p.fillRect(r, QColor(0xFF, 0xFF, 0xF4));
    p.drawRect(r);
    p.drawText(r.adjusted(8, 4, -8, -4), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
}

// The Modbus window reading the flags with the tank full: the request's
// address and count point to the manual's register table, the answer's 131
// to its hexadecimal and bit forms.
QImage modbusPicture(const QImage& modbus) {
    QImage picture = modbus.copy(0, 0, 856, 584);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    const QColor red(0xE0, 0x10, 0x10);
    p.setPen(QPen(red, 2));
    const QRect registers(500, 440, 340, 122);
    box(p, registers,
        QStringLiteral("Карта памяти ВК-41 (ModBus):\n00000–00031  дискретные выходы\n"
                       "00032–00063  флаги условий (чтение, функция 1)\n"
                       "10000–10031  дискретные входы"));
    arrow(p, QPointF(160, 338), QPointF(500, 500));  // start address 0x0020 = 32: flag 1
    arrow(p, QPointF(285, 338), QPointF(500, 520));  // 32 flags
    const QRect forms(500, 300, 340, 64);
    box(p, forms, QStringLiteral("131 = 83h = 1000 0011b:\nподняты флаги 1, 2 и 8"));
    arrow(p, QPointF(270, 378), QPointF(500, 332));  // the first data byte
    arrow(p, QPointF(670, 300), QPointF(400, 262));  // to its bits on the strip
    return picture;
}

}  // namespace

int describe(const QString& snapshots, const QString& out) {
    const QImage scheme = load(snapshots, "scheme.png");
    const QImage conditions = load(snapshots, "conditions.png");
    const QImage modbus = load(snapshots, "modbus.png");
    if (scheme.isNull() || conditions.isNull() || modbus.isNull()) return 1;
    const bool ok = save(schemePicture(scheme), out, "comn.png") &&
                    save(conditionsPicture(conditions), out, "bupict.png") &&
                    save(modbusPicture(modbus), out, "modb_pict.png");
    return ok ? 0 : 1;
}

// Two pictures match when they have one size and differ only where text is
// smoothed: few pixels, and those by little on average.
int compare(const QString& a, const QString& b) {
    const QImage first = QImage(a).convertToFormat(QImage::Format_RGB32);
    const QImage second = QImage(b).convertToFormat(QImage::Format_RGB32);
    if (first.isNull() || second.isNull() || first.size() != second.size()) {
        std::fprintf(stderr, "%s and %s differ in size or cannot be read\n", qPrintable(a),
                     qPrintable(b));
        return 1;
    }
    long long differing = 0, total = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const int d = std::abs(qGray(first.pixel(x, y)) - qGray(second.pixel(x, y)));
            if (d > 48) ++differing;
            total += d;
        }
    const double pixels = static_cast<double>(first.width()) * first.height();
    const double share = static_cast<double>(differing) / pixels;
    const double mean = static_cast<double>(total) / pixels;
    std::printf("%s: %.3f%% of pixels differ, mean difference %.2f\n", qPrintable(b), share * 100,
                mean);
    return share < 0.01 && mean < 1.5 ? 0 : 1;
}
