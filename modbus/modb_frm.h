#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "modbus/main_mod_modbus.h"
#include "ui/form.h"
#include "ui/value.h"

namespace vk41 {

struct ControllerImage;
struct Request;

// The Modbus RTU exchange view: the request the user picks, composed with its
// CRC, and the answer the controller would give now, rebuilt every 300 ms
// from the simulated plant.
class ModBFrm : public Form {
  public:
    explicit ModBFrm(App& app);

    static const FormDesign& layout();

    // The checksum operations (the hidden buttons CRC and CRC_ANSW).
    void CRC_Click();
    void CRC_ANSW_Click();
    // Hides every working field.
    void Clear_Click();
    void Count_Length_Click(int index);
    // Renumbers the condition-flag strip from the first address and the count.
    void Label_Drow();

    // Numeral methods; arguments by reference, as the callers pass them.
    void Convert_Int_To_Bin(Value& A, int& B0, int& B1, int& B2, int& B3, int& B4, int& B5, int& B6,
                            int& b7);
    void String_Bin_To_Int(const std::string& Y, double& Z);
    void Byte_Masker(const std::string& X, int beg, std::string& Y);
    void String_Shift(int& k, std::string& Y, const std::string& Cary_In, std::string& Cary_Out);
    void Hexer(Control& B, double Y);
    void Redix_Recount(Value& Num);

    // One tick of the exchange cycle.
    void exchangeTick();

    // What a byte cell of the request row Q or the answer row Ans is and
    // holds, written when the mouse rests on it; empty before the first tick
    // and for a cell that shows no byte of the frame.
    std::string requestTip(int index);
    std::string answerTip(int index);

    // The rows whose CRC the window CRC_Steps can follow.
    enum class CrcRow { None, Request, Answer };
    // Opens CRC_Steps on a row; it follows that row on every tick while open.
    void openCrcSteps(CrcRow row);

    // Window variables.
    bool Hex_Mode{false};
    double Hi_Digit{0}, Lo_Digit{0};
    // Values of one tick.
    std::int16_t Req_Len{0};
    int Ans_Len{0};
    int Valid_B1{0}, Valid_B2{0}, Valid_B3{0}, Valid_B4{0};
    std::int16_t Shift_N{0};
    // Kept between ticks.
    int Tick_Cnt{0};
    std::int16_t Step_Cnt{0};
    std::string Bits_B1, Bits_B2, Bits_B3, Bits_B4;

    MainModModBus Main_Mod_ModBus;

    // The flag-number headings over data bytes 1 to 4 of the strip.
    static constexpr std::array<const char*, 4> kFlagNumberLabels = {
        "Cond_N_Lab_L", "Cond_N_Lab_Ml", "Cond_N_Lab_Mh", "Cond_N_Lab_H"};

  protected:
    void onLoad() override;

  private:
    void registerVariables();
    void checksum(const char* qa, const char* row, const char* low, const char* high);
    // The request whose option is selected; null when none is.
    const Request* selectedRequest();
    void keepBytes(const char* row, int count);
    // The request of a kind into Qq(1)..Qq(5), with its controls.
    void composeRequest(const Request& r);
    void showKindControls(const Request& r);
    void advanceCounter();
    // The selected option of Branch, the source of the answer's data.
    int dataSource();
    ControllerImage sourceImage();
    double arbitraryNumber();
    void arbitraryBits(const Request& r);
    void alignBits(const Request& r);
    void byteCount(const Request& r);
    void dataBytes();
    void counterValue();
    void composeAnswer(const Request& r);
    void composeArbitraryAnswer(const Request& r);
    void composeControllerAnswer(const Request& r);
    void answerBits(std::span<const std::uint8_t> data, int count);
    bool answersException();
    // Display.
    void showByte(Control& target, const std::string& decimal);
    void showRequest();
    void showAnswer();
    void setAnswerVisibility();
    void layOutAnswer(const Request* r);
    void placeFirstDataBytes(const Request& r);
    void answerHeadings(const Request& r);
    void answerPictures(const Request& r);
    void flagHeadings(const Request& r);
    int dataByteCount();
    // Byte tooltips.
    double cellByte(const char* row, int index);
    int requestWord(int highCell);
    bool framed();
    std::vector<std::uint8_t> rowFrame(const char* row, int length, const char* crcLow,
                                       const char* crcHigh);
    // The CRC window.
    void followCrcSteps();

    CrcRow crcRow_{CrcRow::None};
    // The last whole number 0 to 65535 typed as the arbitrary number.
    double arbitrary_{0};
};

}  // namespace vk41
