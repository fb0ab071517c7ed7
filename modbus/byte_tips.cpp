// The tooltips of the byte cells: which field of the frame a cell is, its
// value in every notation, and what the memory map says the value means.
// They are written only when asked for, never during the exchange tick.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "conditions/program.h"
#include "modbus/byte_text.h"
#include "modbus/controller_image.h"
#include "modbus/memory_map.h"
#include "modbus/modb_frm.h"
#include "modbus/slave_protocol.h"
#include "ui/numbers.h"

namespace vk41 {

namespace {

namespace mm = memory_map;

// A typed count may run far past the map; what lies beyond is not described.
constexpr int kMostItems = 256;

// The places of a frame's bytes: the address, the function, then the request's
// two fields, high byte first; a read's answer carries its byte count third.
enum FrameByte {
    kAddressByte = 0,
    kFunctionByte = 1,
    kStartHigh = 2,
    kStartLow = 3,
    kSecondHigh = 4,
    kByteCount = 2,
};

unsigned byteOf(double value) {
    return static_cast<unsigned>(std::clamp(toInt32(value), 0, 255));
}

std::string valueLine(double value) {
    const unsigned b = byteOf(value);
    return "Значение: " + std::to_string(b) + " = 0x" + hexText(b, 2) + " = " + bitText(b);
}

// "1 байт", "2 байта", "5 байт".
std::string bytesWord(int n) {
    const int tens = n % 100, ones = n % 10;
    const char* word = (tens >= 11 && tens <= 14) ? "байт"
                       : ones == 1                ? "байт"
                       : ones >= 2 && ones <= 4   ? "байта"
                                                  : "байт";
    return std::to_string(n) + " " + word;
}

// An input or output with what the installation wires to it ("выход 5 —
// АВАРИЯ, красная лампа"); empty where nothing is.
std::string wired(const char* one, int k, const char* what) {
    return what ? std::string(one) + " " + std::to_string(k) + " — " + what : std::string();
}
std::string outputNamed(const Program&, int k) {
    return wired("выход", k, mm::outputWiring(k));
}
std::string inputNamed(const Program&, int k) {
    return wired("вход", k, mm::inputWiring(k));
}

// The discrete items a bit of the map can stand for, and how to speak of them.
struct Family {
    mm::AreaId area;
    const char* all;      // "флаги условий занимают адреса 32–63"
    const char* many;     // "флаги 1–8"
    const char* one;      // "флаг 9"
    const char* setMany;  // "подняты 1, 2"
    const char* setOne;   // "поднят"
    const char* noneSet;
    // Item k named with what the map says of it, the loaded program's flags
    // by that program; empty where the map says nothing.
    std::string (*named)(const Program& program, int k);
};
// clang-format off
const std::array<Family, 3> kFamilies = {{
    // area         all              many      one      set many    set one    none set               named
    {mm::kOutputs, "выходы",        "выходы", "выход", "замкнуты", "замкнут", "ни один не замкнут", &outputNamed},
    {mm::kFlags,   "флаги условий", "флаги",  "флаг",  "подняты",  "поднят",  "ни один не поднят",  &mm::flagName},
    {mm::kInputs,  "входы",         "входы",  "вход",  "замкнуты", "замкнут", "ни один не замкнут", &inputNamed},
}};
// clang-format on

// The area a function reaches at an address, if the map has one.
const mm::Area* areaAt(int function, int address, mm::AreaId* id = nullptr) {
    const auto& all = mm::areas();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const mm::Area& a = all[i];
        if (address < a.first || address > a.last) continue;
        if (a.read != function && a.write != function) continue;
        if (id) *id = static_cast<mm::AreaId>(i);
        return &a;
    }
    return nullptr;
}

struct Item {
    const Family* family;
    int number;  // from 1
};

std::optional<Item> itemAt(int function, int address) {
    mm::AreaId id{};
    const mm::Area* a = areaAt(function, address, &id);
    if (!a) return std::nullopt;
    for (const Family& f : kFamilies)
        if (f.area == id) return Item{&f, address - a->first + 1};
    return std::nullopt;
}

std::string counterName(int number) {
    const mm::Counter& c = mm::counters()[static_cast<std::size_t>(number - 1)];
    return "счётчик " + std::to_string(number) + " (" + c.name + ")";
}

// What the map holds at a request's start address, while `program` is loaded.
std::string addressText(int function, int address, const Program& program) {
    std::string text =
        "Адрес " + std::to_string(address) + " (0x" + hexText(address & 0xFFFF, 4) + ")";
    mm::AreaId id{};
    const mm::Area* a = areaAt(function, address, &id);
    if (!a) return text + " вне карты памяти контроллера для этой функции";
    text += std::string(": ") + a->what;
    if (const auto item = itemAt(function, address)) {
        const std::string named = item->family->named(program, item->number);
        text += ", " + (named.empty()
                            ? std::string(item->family->one) + " " + std::to_string(item->number)
                            : named);
    } else if (id == mm::kCounters) {
        if (const auto n = mm::counterAt(address)) text += ", " + counterName(*n);
    }
    return text;
}

// The items `count` bits or coils from `first` on stand for, grouped by kind.
struct Group {
    const Family* family;  // null: outside the map
    int from, to;          // item numbers
    std::vector<int> set;
};

std::vector<Group> groupItems(int function, int first, int count, unsigned bits) {
    std::vector<Group> groups;
    for (int i = 0; i < std::min(count, kMostItems); ++i) {
        const auto item = itemAt(function, first + i);
        const Family* family = item ? item->family : nullptr;
        const int number = item ? item->number : 0;
        if (groups.empty() || groups.back().family != family ||
            (family && groups.back().to + 1 != number))
            groups.push_back({family, number, number, {}});
        Group& g = groups.back();
        g.to = number;
        if (i < 32 && (bits >> i & 1)) g.set.push_back(number);  // past 32 no bit is set
    }
    return groups;
}

std::string range(const Group& g) {
    if (g.from == g.to) return std::string(g.family->one) + " " + std::to_string(g.from);
    return std::string(g.family->many) + " " + std::to_string(g.from) + "–" + std::to_string(g.to);
}

std::string groupText(const Group& g, bool withState) {
    if (!g.family) return "вне карты памяти";
    if (!withState) return range(g);
    if (g.from == g.to) return range(g) + ": " + (g.set.empty() ? "не " : "") + g.family->setOne;
    if (g.set.empty()) return range(g) + ": " + g.family->noneSet;
    std::string numbers;
    for (int n : g.set) numbers += (numbers.empty() ? "" : ", ") + std::to_string(n);
    return range(g) + ": " + g.family->setMany + " " + numbers;
}

std::string quantityText(int function, int start, int count) {
    std::string text = "Количество " + std::to_string(count);
    if (function == mm::kReadHoldingRegisters) {
        text += ": регистры " + std::to_string(start) + "–" + std::to_string(start + count - 1);
        if (const auto n = mm::counterAt(start)) text += ", " + counterName(*n);
        return text;
    }
    std::string items;
    for (const Group& g : groupItems(function, start, count, 0))
        items += (items.empty() ? "" : ", ") + groupText(g, false);
    return items.empty() ? text : text + ": " + items;
}

std::string writtenValueText(int function, int start, unsigned value) {
    const std::string word = "Значение 0x" + hexText(value, 4);
    if (function == mm::kWriteSingleCoil) {
        const auto item = itemAt(function, start);
        const std::string what =
            item ? std::string(item->family->one) + " " + std::to_string(item->number) : "выход";
        if (value == 0xFF00) return word + ": включить " + what;
        if (value == 0x0000) return word + ": выключить " + what;
        return word + ": не команда выходу (только FF00 или 0000)";
    }
    for (const mm::Command& c : mm::commands())
        if (c.value == value) return word + ": " + c.meaning;
    return word + ": не команда";
}

// Where the map holds what a read reached for: the areas the function reads
// that the range first..last touches, or all it reads when it touches none.
std::string areasText(int function, int first, int last) {
    std::string text;
    for (bool touchedOnly : {true, false}) {
        for (std::size_t i = 0; i < mm::areas().size(); ++i) {
            const mm::Area& a = mm::areas()[i];
            if (a.read != function || (touchedOnly && (last < a.first || first > a.last))) continue;
            const auto family =
                std::ranges::find(kFamilies, static_cast<mm::AreaId>(i), &Family::area);
            const std::string what = family != kFamilies.end() ? family->all : a.what;
            const std::string addresses = std::to_string(a.first) + "–" + std::to_string(a.last);
            text += text.empty() ? what + " занимают адреса " + addresses
                                 : ", " + what + " — " + addresses;
        }
        if (!text.empty()) break;
    }
    return text;
}

// Why the controller refused a request, as far as the map tells.
std::string refusalReason(slave::Exception e, int function, int start, int count) {
    const bool read = function == mm::kReadCoils || function == mm::kReadDiscreteInputs ||
                      function == mm::kReadHoldingRegisters;
    if (e == slave::Exception::kIllegalDataAddress && read)
        return areasText(function, start, start + std::max(count, 1) - 1);
    if (e == slave::Exception::kIllegalDataAddress && function == mm::kWriteSingleCoil)
        return "ведущий записывает только выходы 1–" + std::to_string(mm::kWritableOutputs) +
               ", адреса 0–" + std::to_string(mm::kWritableOutputs - 1);
    if (e == slave::Exception::kIllegalDataValue && read) return "количество не может быть 0";
    return "";
}

std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

}  // namespace

double ModBFrm::cellByte(const char* row, int index) {
    return textToNumber(control(row, index).caption());
}

// A request field, high byte first.
int ModBFrm::requestWord(int highCell) {
    return toInt32(cellByte("Qq", highCell)) * 256 + toInt32(cellByte("Qq", highCell + 1));
}

// The first tick writes the request's function; until then no cell holds a byte.
bool ModBFrm::framed() {
    return !control("Qq", 1).caption().empty();
}

std::string ModBFrm::requestTip(int index) {
    if (!framed() || index < 0 || index > 7) return "";
    if (index >= 6)
        return crcTip(true, index == 6, cellByte(index == 6 ? "C_Byte_L_Q" : "C_Byte_H_Q", -1));
    return requestFieldTip(index, cellByte("Qq", index));
}

// Bytes 0 to 5 of the request; the answer to a write repeats them.
std::string ModBFrm::requestFieldTip(int index, double value) {
    const int function = toInt32(cellByte("Qq", kFunctionByte));
    const int start = requestWord(kStartHigh);
    const int second = requestWord(kSecondHigh);
    const bool write = function == mm::kWriteSingleCoil || function == mm::kWriteSingleRegister;
    const char* half = index % 2 == 0 ? "старший байт" : "младший байт";
    switch (index) {
        case kAddressByte:
            return join({"Адрес контроллера в сети ModBus", valueLine(value)});
        case kFunctionByte:
            return join(
                {"Функция", valueLine(value),
                 "Функция " + std::to_string(function) + ": " + mm::functionName(function)});
        case kStartHigh:
        case kStartLow:
            return join({std::string("Начальный адрес, ") + half, valueLine(value),
                         addressText(function, start, loadedProgram(app()))});
        default:
            return join(
                {std::string(write                                   ? "Значение, "
                             : function == mm::kReadHoldingRegisters ? "Количество регистров, "
                                                                     : "Количество, ") +
                     half,
                 valueLine(value),
                 write ? writtenValueText(function, start, static_cast<unsigned>(second))
                       : quantityText(function, start, second)});
    }
}

std::string ModBFrm::answerTip(int index) {
    if (!framed() || index < 0 || index > 11) return "";
    if (index >= 10)
        return crcTip(false, index == 10, cellByte(index == 10 ? "C_Byte_L_A" : "C_Byte_H_A", -1));
    // Ans(Ans_Len) repeats the CRC's low byte; the cells past it show nothing.
    if (index >= Ans_Len) return "";
    const double value = cellByte("Aa", index);
    if (index > kAddressByte && answersException()) return exceptionTip(index, value);
    switch (index) {
        case kAddressByte:
            return join({"Адрес контроллера, который отвечает", valueLine(value)});
        case kFunctionByte: {
            const int function = toInt32(value);
            return join(
                {"Функция, та же, что в запросе", valueLine(value),
                 "Функция " + std::to_string(function) + ": " + mm::functionName(function)});
        }
        default:
            return answerDataTip(index, value);
    }
}

std::string ModBFrm::answerDataTip(int index, double value) {
    // The request's function, not the option chosen since, says what the rows hold.
    const int function = toInt32(cellByte("Qq", kFunctionByte));
    const bool echo = function == mm::kWriteSingleCoil || function == mm::kWriteSingleRegister;
    if (echo) return requestFieldTip(index, value) + "\n(ответ на запись повторяет запрос)";
    if (index == kByteCount) {
        const int n = toInt32(value);
        const bool one = n % 10 == 1 && n % 100 != 11;
        return join({"Количество байт данных", valueLine(value),
                     (one ? "За ним идёт " : "За ним идут ") + bytesWord(n) + " данных"});
    }
    const int k = index - kByteCount;  // data byte k, from 1
    return function == mm::kReadHoldingRegisters ? counterByteTip(k, value) : bitsByteTip(k, value);
}

// An exception answer: the request's function with its high bit set, then
// the exception's code.
std::string ModBFrm::exceptionTip(int index, double value) {
    const int function = toInt32(cellByte("Qq", kFunctionByte));
    if (index == kFunctionByte)
        return join({"Функция запроса + 0x80: контроллер отвечает исключением", valueLine(value),
                     "Функция " + std::to_string(function) + ": " + mm::functionName(function)});
    const auto code = static_cast<slave::Exception>(byteOf(value));
    std::string text =
        "исключение " + hexText(byteOf(value), 2) + ": " + slave::exceptionMeaning(code);
    const std::string reason =
        refusalReason(code, function, requestWord(kStartHigh), requestWord(kSecondHigh));
    if (!reason.empty()) text += " — " + reason;
    return join({"Код исключения", valueLine(value), text});
}

// Counter answers carry the value low byte first, then its high byte.
std::string ModBFrm::counterByteTip(int k, double value) {
    const int n = Ans_Len - 3;
    const char* role = k == 1   ? "младший байт значения счётчика"
                       : k == 2 ? "старший байт значения счётчика"
                                : "старшая часть счётчика, нули";
    double total = 0, weight = 1;
    for (int i = 1; i <= n; ++i, weight *= 256) total += weight * byteOf(cellByte("Aa", 2 + i));
    const int start = requestWord(kStartHigh);
    const auto counter = mm::counterAt(start);
    const std::string who = counter ? counterName(*counter) : std::string("счётчик");
    return join({"Байт данных " + std::to_string(k) + " из " + std::to_string(n) + ": " + role,
                 valueLine(value),
                 who + ": значение " + numberToText(total) + " = " +
                     std::to_string(byteOf(cellByte("Aa", 3))) + " + " +
                     std::to_string(byteOf(cellByte("Aa", 4))) + " × 256"});
}

// Inputs, outputs and flags: bit 0 of data byte 1 is the first item asked for.
std::string ModBFrm::bitsByteTip(int k, double value) {
    const int n = Ans_Len - 3;
    const int valid[] = {Valid_B1, Valid_B2, Valid_B3, Valid_B4};
    // The controller answers up to 64 coils: bytes past the fourth count from the request.
    const int bits =
        std::clamp(k <= 4 ? valid[k - 1] : requestWord(kSecondHigh) - 8 * (k - 1), 0, 8);
    const int function = toInt32(cellByte("Qq", kFunctionByte));
    const int start = requestWord(kStartHigh);
    const unsigned byte = byteOf(value);
    std::vector<std::string> lines = {
        "Байт данных " + std::to_string(k) + " из " + std::to_string(n), valueLine(value)};
    const std::vector<Group> groups = groupItems(function, start + 8 * (k - 1), bits, byte);
    for (const Group& g : groups) lines.push_back(groupText(g, true));
    if (!groups.empty() && groups.front().family)
        lines.push_back(std::string("бит 0 (крайний справа) — ") + groups.front().family->one +
                        " " + std::to_string(groups.front().from));
    if (bits < 8)
        lines.push_back(bits == 7 ? std::string("бит 7 не запрошен и равен 0")
                                  : "биты " + std::to_string(bits) + "–7 не запрошены и равны 0");
    const Program& program = loadedProgram(app());
    for (const Group& g : groups)
        for (int number : g.set)
            if (std::string named = g.family ? g.family->named(program, number) : std::string();
                !named.empty())
                lines.push_back(std::move(named));
    return join(lines);
}

std::string ModBFrm::crcTip(bool request, bool low, double value) {
    const int covered = request ? Req_Len : Ans_Len;
    const double l = cellByte(request ? "C_Byte_L_Q" : "C_Byte_L_A", -1);
    const double h = cellByte(request ? "C_Byte_H_Q" : "C_Byte_H_A", -1);
    const unsigned crc = byteOf(h) << 8 | byteOf(l);
    const std::string which = request ? "запроса" : "ответа";
    const std::string bytes =
        covered == 1 ? "байту 0 " + which : "байтам 0–" + std::to_string(covered - 1) + " " + which;
    return join({std::string("CRC, ") + (low ? "младший байт (идёт первым)" : "старший байт"),
                 valueLine(value), "CRC-16 = 0x" + hexText(crc, 4) + " по " + bytes,
                 "Щелчок открывает окно «Расчёт CRC-16» с расчётом по шагам"});
}

}  // namespace vk41
