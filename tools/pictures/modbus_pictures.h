#pragma once

// The Modbus window's nine pictures, drawn from the controller's memory map:
// five pages of the controller's manual and four screens of its
// configuration program.
#include <QImage>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace vk41::pictures {

// What a picture takes from the window's design besides its size.
struct WindowFacts {
    int controllerAddress;  // the address the requests go to at start
};

// Each paints a picture of `size` pixels at 100 %.
QImage areasPage(QSize size, const WindowFacts& facts);     // Comonnnn
QImage countersPage(QSize size, const WindowFacts& facts);  // CountPict
QImage inputsPage(QSize size, const WindowFacts& facts);    // AdrInputs
QImage outputsPage(QSize size, const WindowFacts& facts);   // AdrOuts
QImage commandPage(QSize size, const WindowFacts& facts);   // Restart

QImage slavesScreen(QSize size, const WindowFacts& facts);             // Commn
QImage counterParametersScreen(QSize size, const WindowFacts& facts);  // ConfCount
QImage inputParametersScreen(QSize size, const WindowFacts& facts);    // Inputs
QImage outputsScreen(QSize size, const WindowFacts& facts);            // Outputs

// The command register's requests as its picture shows them: address,
// function 6, register, value, CRC low and high byte.
struct CommandRequest {
    std::uint16_t value;
    std::array<std::uint8_t, 8> bytes;
};
std::vector<CommandRequest> commandRequests(const WindowFacts& facts);

// Draws every picture box of the Modbus window's design FORM into OUT, under
// the file names the design gives them. Returns the exit status.
int modbusPictures(const QString& form, const QString& out);
// Prints commandRequests() for the design FORM, one request a line, in decimal.
int printCommandRequests(const QString& form);

// Texts the pictures share.
QString capitalised(const char* text);
QString hexWord(int value);  // 0x2710
QString byteText(int byte);  // 127 (7F)
QString addressRange(int first, int last, int digits);

}  // namespace vk41::pictures
