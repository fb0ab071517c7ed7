// vk41-pictures modbus FORM OUT: the Modbus window's pictures, each at the
// size its picture box has in the window's design, under the file name the
// design gives it.
#include "tools/pictures/modbus_pictures.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>
#include <array>
#include <cstdio>

#include "tools/pictures/sheet.h"

namespace vk41::pictures {
namespace {

constexpr int kTwipsPerPixel = 15;

struct Painter {
    const char* box;  // the picture box's design name
    QImage (*paint)(QSize, const WindowFacts&);
};

// clang-format off
const std::array<Painter, 9> kPainters = {{
    {"Commn",     slavesScreen},
    {"ConfCount", counterParametersScreen},
    {"CountPict", countersPage},
    {"Comonnnn",  areasPage},
    {"AdrInputs", inputsPage},
    {"AdrOuts",   outputsPage},
    {"Inputs",    inputParametersScreen},
    {"Outputs",   outputsScreen},
    {"Restart",   commandPage},
}};
// clang-format on

struct Box {
    QString name;
    QSize twips;
    QString file;
};

// The design's lines `picture NAME LEFT TOP WIDTH HEIGHT picture=FILE ...`
// and the start text of the address combo, `combo ContNum ... text="127"`.
bool readDesign(const QString& path, std::vector<Box>& boxes, WindowFacts& facts) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    static const QRegularExpression picture(
        QStringLiteral(R"(^picture (\S+) -?\d+ -?\d+ (\d+) (\d+) .*\bpicture=(\S+))"));
    static const QRegularExpression address(
        QStringLiteral(R"re(^combo ContNum .*\btext="(\d+)")re"));
    facts.controllerAddress = -1;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (const auto m = picture.match(line); m.hasMatch())
            boxes.push_back({m.captured(1), QSize(m.captured(2).toInt(), m.captured(3).toInt()),
                             m.captured(4)});
        else if (const auto a = address.match(line); a.hasMatch())
            facts.controllerAddress = a.captured(1).toInt();
    }
    return facts.controllerAddress >= 0;
}

int cannotRead(const QString& form) {
    std::fprintf(stderr, "vk41-pictures: cannot read the design %s\n", qPrintable(form));
    return 1;
}

// The picture with a palette when it has few enough colours to keep them all
// (a manual's page is greys and a red), as it is otherwise: the program
// carries these pictures in its binary.
QImage compact(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
    if (indexed.convertToFormat(QImage::Format_RGB32) == rgb) return indexed;
    return rgb.convertToFormat(QImage::Format_RGB888);
}

const Painter* painterOf(const QString& box) {
    for (const Painter& p : kPainters)
        if (box == QLatin1String(p.box)) return &p;
    return nullptr;
}

}  // namespace

QString capitalised(const char* text) {
    QString s = QString::fromUtf8(text);
    if (!s.isEmpty()) s[0] = s[0].toUpper();
    return s;
}

QString hexWord(int value) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

QString byteText(int byte) {
    return QStringLiteral("%1 (%2)").arg(byte).arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString addressRange(int first, int last, int digits) {
    const auto text = [digits](int a) {
        return QStringLiteral("%1").arg(a, digits, 10, QLatin1Char('0'));
    };
    return first == last ? text(first) : text(first) + QStringLiteral("–") + text(last);
}

int printCommandRequests(const QString& form) {
    std::vector<Box> boxes;
    WindowFacts facts{};
    if (!readDesign(form, boxes, facts)) return cannotRead(form);
    for (const CommandRequest& r : commandRequests(facts)) {
        const char* separator = "";
        for (std::uint8_t byte : r.bytes) {
            std::printf("%s%d", separator, byte);
            separator = " ";
        }
        std::printf("\n");
    }
    return 0;
}

int modbusPictures(const QString& form, const QString& out) {
    std::vector<Box> boxes;
    WindowFacts facts{};
    if (!readDesign(form, boxes, facts)) return cannotRead(form);
    int drawn = 0;
    for (const Box& box : boxes) {
        const Painter* painter = painterOf(box.name);
        if (!painter) {
            std::fprintf(stderr, "vk41-pictures: no drawing for the picture %s\n",
                         qPrintable(box.name));
            return 1;
        }
        setPictureName(box.name);
        const QImage image = painter->paint(box.twips / kTwipsPerPixel, facts);
        if (!compact(image).save(out + "/" + box.file, "PNG")) {
            std::fprintf(stderr, "vk41-pictures: cannot write %s\n", qPrintable(box.file));
            return 1;
        }
        ++drawn;
    }
    if (drawn != static_cast<int>(kPainters.size())) {
        std::fprintf(stderr, "vk41-pictures: the design has %d of the %zu pictures\n", drawn,
                     kPainters.size());
        return 1;
    }
    return overflows() ? 1 : 0;
}

}  // namespace vk41::pictures
