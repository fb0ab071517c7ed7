// The window's numeral methods: bits of a byte, bit texts to numbers,
// masking and shifting bit texts, hexadecimal digits.
#include <cmath>
#include <cstdint>
#include <limits>

#include "modbus/modb_frm.h"
#include "ui/numbers.h"

namespace vk41 {

void ModBFrm::Convert_Int_To_Bin(Value& A, int& B0, int& B1, int& B2, int& B3, int& B4, int& B5,
                                 int& B6, int& b7) {
    if (const auto* text = std::get_if<std::string>(&A); text && text->empty()) A = 0.0;
    if (std::holds_alternative<Empty>(A)) A = 0.0;
    // The low eight bits; a value outside a byte yields its low bits too.
    const auto t = static_cast<std::uint32_t>(toInt32(asNumber(A)));
    int* bits[] = {&B0, &B1, &B2, &B3, &B4, &B5, &B6, &b7};
    for (int k = 0; k < 8; ++k) *bits[k] = static_cast<int>((t >> k) & 1u);
}

void ModBFrm::String_Bin_To_Int(const std::string& Y, double& Z) {
    Z = 0;
    int weight = 1;
    for (auto i = Y.size(); i >= 1; --i) {
        const char c = Y[i - 1];
        Z += weight * (c >= '0' && c <= '9' ? c - '0' : 0);
        // The 16-bit weight overflows after the 14th character: the classic
        // code stops there, and so does this.
        if (weight * 2 > std::numeric_limits<std::int16_t>::max()) return;
        weight *= 2;
    }
}

void ModBFrm::Byte_Masker(const std::string& X, int beg, std::string& Y) {
    Y = "00000000";
    const auto length = X.size();
    for (std::size_t i = 0; i < length; ++i) {
        const std::size_t p = length - i;  // 1-based, counted from the end
        if (p > Y.size()) continue;        // beyond the eight places nothing is written
        Y[p - 1] = static_cast<long long>(i) >= beg ? '0' : X[p - 1];
    }
}

void ModBFrm::String_Shift(int& k, std::string& Y, const std::string& Cary_In,
                           std::string& Cary_Out) {
    const auto length = Y.size();
    Cary_Out = length ? Y.substr(length - 1, 1) : "";
    while (k > 0) {
        for (std::size_t i = length; i >= 2; --i) Y[i - 1] = Y[i - 2];
        --k;
    }
    if (length && !Cary_In.empty()) Y[0] = Cary_In[0];
}

void ModBFrm::Hexer(Control& B, double Y) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (Y < 0 || Y > 15 || Y != std::floor(Y)) return;
    B.setCaption(std::string(1, kDigits[static_cast<int>(Y)]));
}

void ModBFrm::Redix_Recount(Value& Num) {
    if (const auto* text = std::get_if<std::string>(&Num); text && text->empty()) return;
    if (!Hex_Mode) return;
    const double value = asNumber(Num);
    Hi_Digit = std::trunc(value / 16);
    Num = value - 16 * Hi_Digit;
    Lo_Digit = asNumber(Num);
}

}  // namespace vk41
