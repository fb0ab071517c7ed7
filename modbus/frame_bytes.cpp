// What each byte of a Modbus frame is and holds, read against the memory
// map: the texts of the Modbus window's byte tooltips and of the bus window's
// byte list. A frame from a line may be anything, so nothing here trusts a
// length: every field is read only where the frame carries it.
#include "modbus/frame_bytes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "conditions/program.h"
#include "modbus/byte_text.h"
#include "modbus/controller_image.h"
#include "modbus/main_mod_modbus.h"
#include "modbus/memory_map.h"
#include "modbus/rtu_framing.h"
#include "modbus/silence.h"
#include "modbus/slave_protocol.h"
#include "modbus/tcp_framing.h"

namespace vk41 {

namespace {

namespace mm = memory_map;

using Bytes = std::span<const std::uint8_t>;

// A typed count may run far past the map; what lies beyond is not described.
constexpr int kMostItems = 256;
constexpr std::size_t kCrcBytes = 2;
// Every request the controller serves carries two 16-bit fields after its
// function: an address, then a quantity or a value. A write's answer repeats them.
constexpr std::size_t kFieldBytes = 4;
// Offsets in a PDU: the function, then the fields high byte first; a read's
// answer carries its byte count after the function.
constexpr std::size_t kFirstField = 1;
constexpr std::size_t kSecondField = 3;
constexpr std::size_t kByteCount = 1;
// The MBAP header's fields, high byte first.
constexpr std::size_t kTransaction = 0;
constexpr std::size_t kProtocol = 2;
constexpr std::size_t kLength = 4;
constexpr std::size_t kUnit = 6;
// An exception answer: the function with its top bit set, then the code.
constexpr std::uint8_t kExceptionBit = 0x80;
constexpr std::size_t kExceptionPdu = 2;

std::string valueLine(unsigned b) {
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

std::string join(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

const char* half(std::size_t offset) {
    return offset % 2 == 0 ? "старший байт" : "младший байт";
}

// The 16-bit word at `at`, high byte first, where the frame holds both bytes.
std::optional<int> wordAt(Bytes bytes, std::size_t at) {
    if (at + 1 >= bytes.size()) return std::nullopt;
    return bytes[at] << 8 | bytes[at + 1];
}

std::uint16_t crcOf(Bytes bytes) {
    CrcRegister crc;
    for (const std::uint8_t b : bytes) crc.add(b);
    return static_cast<std::uint16_t>(crc.hi << 8 | (crc.lo & 0xFF));
}

bool isRead(int function) {
    return function == mm::kReadCoils || function == mm::kReadDiscreteInputs ||
           function == mm::kReadHoldingRegisters;
}
bool isWrite(int function) {
    return function == mm::kWriteSingleCoil || function == mm::kWriteSingleRegister;
}
bool served(int function) {
    return isRead(function) || isWrite(function);
}

std::string functionLine(int function) {
    return "Функция " + std::to_string(function) + ": " + mm::functionName(function);
}

// ---- What the memory map holds at an address -------------------------------

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
        const int last = start + count - 1;
        text += ": регистры " + std::to_string(start) + "–" + std::to_string(last);
        // Each counter the registers reach, up to where the counters end.
        const int end = std::min(last, mm::area(mm::kCounters).last);
        for (int reg = start, named = 0; reg <= end; ++reg)
            if (const auto n = mm::counterAt(reg); n && *n != named)
                text += ", " + counterName(named = *n);
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

// ---- The parts of a frame --------------------------------------------------

// A whole frame split as its framing wraps it. A frame too short for its
// wrapping keeps what it has: an RTU frame shorter than the shortest one has
// no CRC, a TCP frame shorter than its header has no PDU.
struct Parts {
    Bytes head;  // RTU: the address; TCP: the MBAP header
    Bytes pdu;   // the function and its data
    Bytes crc;   // RTU: the CRC's two bytes, low byte first
};

Parts split(Bytes frame, Framing framing) {
    const std::size_t head =
        std::min(frame.size(), framing == Framing::Tcp ? slave::kMbapHeader : std::size_t{1});
    std::size_t end = frame.size();
    Parts parts;
    if (framing == Framing::Rtu && frame.size() >= slave::kMinRtuFrame) {
        end -= kCrcBytes;
        parts.crc = frame.subspan(end);
    }
    parts.head = frame.first(head);
    parts.pdu = frame.subspan(head, end - head);
    return parts;
}

// A request's fields, where its PDU carries them.
struct Fields {
    int function{-1};  // -1: the frame ends before it
    std::optional<int> start;
    std::optional<int> second;  // a quantity or a written value
};

Fields fieldsOf(Bytes pdu) {
    Fields f;
    if (pdu.empty()) return f;
    f.function = pdu[0];
    f.start = wordAt(pdu, kFirstField);
    f.second = wordAt(pdu, kSecondField);
    return f;
}

// What a frame's last byte adds when the frame ends too early or runs too long.
std::string frameEnds(Bytes frame, Framing framing) {
    if (framing == Framing::Rtu) {
        if (frame.size() >= slave::kMinRtuFrame && frame.size() <= slave::kMaxRtuFrame) return "";
        return slave::whyDropped(slave::RtuFrame{}, frame, 0);
    }
    if (frame.size() < slave::kMbapHeader)
        return "кадр обрывается: заголовок MBAP — " + bytesWord(slave::kMbapHeader) + ", в кадре " +
               bytesWord(static_cast<int>(frame.size()));
    if (frame.size() == slave::kMbapHeader) return "за заголовком нет PDU: кадр обрывается";
    return "";
}

// ---- The header: the RTU address, the MBAP fields ---------------------------

// An RTU frame's address; `request` is the request's header when an answer's is read.
std::string addressByteText(unsigned b, std::optional<Bytes> request) {
    if (!request) {
        if (b == slave::kBroadcastAddress)
            return join(
                {"Адрес контроллера в сети ModBus", valueLine(b), slave::silence::broadcast()});
        return join({"Адрес контроллера в сети ModBus", valueLine(b)});
    }
    std::vector<std::string> lines = {"Адрес контроллера, который отвечает", valueLine(b)};
    if (!request->empty() && (*request)[0] != b)
        lines.push_back("а запрос был к адресу " + std::to_string((*request)[0]));
    return join(lines);
}

// What an MBAP word says; `asked` is the request's word when an answer's is
// read (-1 where the request lacks it), `follows` the bytes after the length.
std::string transactionLine(int word, std::optional<int> asked) {
    const std::string number = "Транзакция " + std::to_string(word);
    if (!asked) return number + ": ответ повторяет её номер, по нему мастер узнаёт свой ответ";
    if (*asked == word) return number + ", та же, что в запросе";
    return number + (*asked >= 0 ? ", а в запросе " + std::to_string(*asked) : std::string()) +
           ": ответ не к этому запросу";
}

std::string protocolLine(int word, bool answer) {
    if (word == 0) return "Протокол 0: ModBus, так и должно быть";
    return slave::silence::protocolId(word) +
           (answer ? ": ответ не ModBus"
                   : ": кадр не ModBus, контроллер его пропускает без ответа");
}

std::string lengthLines(int word, int follows) {
    std::string text = "Длина " + std::to_string(word) +
                       ": столько байт идёт за ней — идентификатор устройства и PDU";
    if (follows >= 0 && follows != word)
        text += "\nа за ней в кадре " + bytesWord(follows) + ": длина неверна";
    return text;
}

std::string unitLine(unsigned b, std::optional<Bytes> request) {
    if (!request) return "адрес контроллера в сети ModBus";
    if (request->size() <= kUnit) return "в запросе его нет";
    if ((*request)[kUnit] == b) return "тот же, что в запросе";
    return "а в запросе " + std::to_string((*request)[kUnit]);
}

// The MBAP header's byte at `at`; `frameSize` is the whole frame's, which
// the header's length counts.
std::string mbapByteText(Bytes head, std::size_t at, std::optional<Bytes> request,
                         std::size_t frameSize) {
    const unsigned b = head[at];
    if (at == kUnit)
        return join({"Идентификатор устройства (unit id)", valueLine(b), unitLine(b, request)});
    const std::size_t field = at - at % 2;
    const char* name = field == kTransaction ? "Идентификатор транзакции, "
                       : field == kProtocol  ? "Идентификатор протокола, "
                                             : "Длина, ";
    std::vector<std::string> lines = {name + std::string(half(at)), valueLine(b)};
    const std::optional<int> word = wordAt(head, field);
    if (!word) return join(lines);  // the frame ends before the word's low byte
    std::optional<int> asked;
    if (request) asked = wordAt(*request, field).value_or(-1);
    if (field == kTransaction) lines.push_back(transactionLine(*word, asked));
    if (field == kProtocol) lines.push_back(protocolLine(*word, request.has_value()));
    if (field == kLength)
        lines.push_back(
            lengthLines(*word, frameSize > kUnit ? static_cast<int>(frameSize - kUnit) : -1));
    return join(lines);
}

std::string headerText(Bytes head, std::size_t at, Framing framing, std::optional<Bytes> request,
                       std::size_t frameSize) {
    return framing == Framing::Rtu ? addressByteText(head[at], request)
                                   : mbapByteText(head, at, request, frameSize);
}

// ---- A request's PDU -------------------------------------------------------

// Byte `at` of a served request's PDU past its function: its two fields.
std::string fieldText(const Fields& f, std::size_t at, unsigned b, const Program& program) {
    const int function = f.function;
    const bool write = isWrite(function);
    const bool first = at < kSecondField;
    const std::string name = first   ? "Начальный адрес, "
                             : write ? "Значение, "
                             : function == mm::kReadHoldingRegisters ? "Количество регистров, "
                                                                     : "Количество, ";
    std::vector<std::string> lines = {name + half(at + 1), valueLine(b)};
    const std::optional<int>& word = first ? f.start : f.second;
    if (!word) {
        lines.push_back("младший байт не пришёл: кадр обрывается");
    } else if (first) {
        lines.push_back(addressText(function, *word, program));
    } else {
        const int start = f.start.value_or(0);
        lines.push_back(write ? writtenValueText(function, start, static_cast<unsigned>(*word))
                              : quantityText(function, start, *word));
    }
    return join(lines);
}

std::string requestPduText(Bytes pdu, std::size_t at, const Program& program) {
    const Fields f = fieldsOf(pdu);
    const unsigned b = pdu[at];
    const bool fits = pdu.size() == 1 + kFieldBytes;
    if (at == 0) {
        std::vector<std::string> lines = {"Функция", valueLine(b), functionLine(f.function)};
        if (!served(f.function))
            lines.push_back("контроллер эту функцию не выполняет и отвечает исключением 01");
        else if (!fits)
            lines.push_back(slave::silence::lengthForFunction(f.function) + ": за функцией идут " +
                            bytesWord(kFieldBytes) + " данных, в кадре " +
                            bytesWord(static_cast<int>(pdu.size() - 1)) +
                            "; контроллер такой кадр не выполняет и не отвечает");
        return join(lines);
    }
    if (!served(f.function))
        return join(
            {"Байт данных " + std::to_string(at) + " функции " + std::to_string(f.function),
             valueLine(b),
             "данные функции " + std::to_string(f.function) + ", которую контроллер не выполняет"});
    if (at > kFieldBytes)
        return join({"Лишний байт", valueLine(b),
                     slave::silence::lengthForFunction(f.function) + ": за функцией идут " +
                         bytesWord(kFieldBytes) + " данных"});
    return fieldText(f, at, b, program);
}

// ---- An answer's PDU -------------------------------------------------------

// Why the controller refused a request, as far as the map tells; else the
// cause the controller itself gives for the same exception.
std::string refusalReason(slave::Exception e, Bytes requestPdu) {
    const Fields f = fieldsOf(requestPdu);
    const int start = f.start.value_or(0), count = f.second.value_or(0);
    if (e == slave::Exception::kIllegalDataAddress && isRead(f.function) && f.second)
        return areasText(f.function, start, start + std::max(count, 1) - 1);
    if (e == slave::Exception::kIllegalDataAddress && f.function == mm::kWriteSingleCoil)
        return "ведущий записывает только выходы 1–" + std::to_string(mm::kWritableOutputs) +
               ", адреса 0–" + std::to_string(mm::kWritableOutputs - 1);
    if (e == slave::Exception::kIllegalDataValue && isRead(f.function) && f.second && count == 0)
        return "количество не может быть 0";
    if (requestPdu.empty()) return "";
    // The cause does not depend on what the controller holds, only on the request.
    const auto reply = slave::answer(requestPdu, ControllerImage{});
    if (!reply || reply->pdu.size() != kExceptionPdu ||
        reply->pdu[1] != static_cast<std::uint8_t>(e))
        return "";
    return reply->cause;
}

std::string exceptionText(Bytes pdu, std::size_t at, Bytes requestPdu) {
    const unsigned b = pdu[at];
    const int function = pdu[0] & ~kExceptionBit & 0xFF;
    if (at == 0) {
        std::vector<std::string> lines = {"Функция запроса + 0x80: контроллер отвечает исключением",
                                          valueLine(b), functionLine(function)};
        if (!requestPdu.empty() && requestPdu[0] != function)
            lines.push_back("а в запросе функция " + std::to_string(requestPdu[0]));
        return join(lines);
    }
    if (at >= kExceptionPdu)
        return join({"Лишний байт", valueLine(b),
                     "ответ исключением — " + bytesWord(kExceptionPdu) + ": функция и код"});
    const auto code = static_cast<slave::Exception>(b);
    const std::string meaning = slave::exceptionMeaning(code);
    std::string text =
        "исключение " + hexText(b, 2) + ": " +
        (meaning.empty() ? std::string("код, которого контроллер не посылает") : meaning);
    const std::string reason = meaning.empty() ? "" : refusalReason(code, requestPdu);
    if (!reason.empty()) text += " — " + reason;
    return join({"Код исключения", valueLine(b), text});
}

// Counter answers carry each counter's value low byte first, then its high
// byte, then zeros: three registers, six bytes to a counter.
std::string counterByteText(Bytes pdu, int k, int n, const Fields& asked) {
    const unsigned b = pdu[kByteCount + k];
    const std::string head = "Байт данных " + std::to_string(k) + " из " + std::to_string(n);
    if (!asked.start) return join({head, valueLine(b), "начальный регистр запроса неизвестен"});
    const int reg = *asked.start + (k - 1) / 2;
    const auto counter = mm::counterAt(reg);
    if (!counter)
        return join(
            {head, valueLine(b), "регистр " + std::to_string(reg) + " вне счётчиков карты памяти"});
    const mm::Counter& c = mm::counters()[static_cast<std::size_t>(*counter - 1)];
    const int at = 2 * (reg - c.firstRegister) + (k - 1) % 2;
    const char* role = at == 0   ? "младший байт значения счётчика"
                       : at == 1 ? "старший байт значения счётчика"
                                 : "старшая часть счётчика, нули";
    // Where the counter's value lies among the data bytes, from 1.
    const int low = 2 * (c.firstRegister - *asked.start) + 1;
    const std::size_t lowAt = kByteCount + static_cast<std::size_t>(low);
    std::string value;
    if (low >= 1 && lowAt + 1 < pdu.size())
        value = counterName(*counter) + ": значение " +
                std::to_string(pdu[lowAt] + 256 * pdu[lowAt + 1]) + " = " +
                std::to_string(pdu[lowAt]) + " + " + std::to_string(pdu[lowAt + 1]) + " × 256";
    else
        value = counterName(*counter) + ": его значение в регистре " +
                std::to_string(c.firstRegister) + ", которого в ответе нет";
    return join({head + ": " + role, valueLine(b), value});
}

// Inputs, outputs and flags: bit 0 of data byte 1 is the first item asked for.
std::string bitsByteText(Bytes pdu, int k, int n, const Fields& asked, const Program& program) {
    const unsigned byte = pdu[kByteCount + k];
    const int function = pdu[0];
    std::vector<std::string> lines = {
        "Байт данных " + std::to_string(k) + " из " + std::to_string(n), valueLine(byte)};
    if (!asked.start) {
        lines.push_back("начальный адрес запроса неизвестен");
        return join(lines);
    }
    // A request that counts no item asks for none: data answered all the
    // same is read whole, bit by bit.
    const int count = asked.second.value_or(0);
    const int bits = count < 1 ? 8 : std::clamp(count - 8 * (k - 1), 0, 8);
    const std::vector<Group> groups = groupItems(function, *asked.start + 8 * (k - 1), bits, byte);
    for (const Group& g : groups) lines.push_back(groupText(g, true));
    if (!groups.empty() && groups.front().family)
        lines.push_back(std::string("бит 0 (крайний справа) — ") + groups.front().family->one +
                        " " + std::to_string(groups.front().from));
    if (bits < 8) {
        const bool zero = (byte >> bits) == 0;
        lines.push_back(bits == 7 ? std::string("бит 7 не запрошен и ") +
                                        (zero ? "равен 0" : "всё же равен 1")
                                  : "биты " + std::to_string(bits) + "–7 не запрошены и " +
                                        (zero ? "равны 0" : "всё же не все равны 0"));
    }
    for (const Group& g : groups)
        for (int number : g.set)
            if (std::string named = g.family ? g.family->named(program, number) : std::string();
                !named.empty())
                lines.push_back(std::move(named));
    return join(lines);
}

std::string readDataText(Bytes pdu, std::size_t at, const Fields& asked, const Program& program) {
    const unsigned b = pdu[at];
    const int n = pdu.size() > kByteCount ? pdu[kByteCount] : 0;
    if (at == kByteCount) {
        const bool one = n % 10 == 1 && n % 100 != 11;
        std::vector<std::string> lines = {
            "Количество байт данных", valueLine(b),
            (one ? "За ним идёт " : "За ним идут ") + bytesWord(n) + " данных"};
        const int carried = static_cast<int>(pdu.size() - kByteCount - 1);
        if (carried < n)
            lines.push_back("в кадре из них " + bytesWord(carried) + ": кадр обрывается");
        return join(lines);
    }
    const int k = static_cast<int>(at - kByteCount);  // data byte k, from 1
    if (k > n)
        return join(
            {"Лишний байт", valueLine(b), "байт количества говорит о " + bytesWord(n) + " данных"});
    return pdu[0] == mm::kReadHoldingRegisters ? counterByteText(pdu, k, n, asked)
                                               : bitsByteText(pdu, k, n, asked, program);
}

// A write is answered by its echo: the same function and fields.
std::string echoText(Bytes pdu, std::size_t at, Bytes requestPdu, const Program& program) {
    const unsigned b = pdu[at];
    if (at > kFieldBytes)
        return join({"Лишний байт", valueLine(b),
                     "ответ на запись повторяет запрос: функция и " + bytesWord(kFieldBytes)});
    std::string text =
        fieldText(fieldsOf(pdu), at, b, program) + "\n(ответ на запись повторяет запрос)";
    if (at >= requestPdu.size() || requestPdu[at] != b)
        text += "\nэхо не совпадает с запросом" +
                (at < requestPdu.size() ? ": в запросе здесь " + std::to_string(requestPdu[at])
                                        : std::string());
    return text;
}

std::string answerPduText(Bytes pdu, std::size_t at, Bytes requestPdu, const Program& program) {
    const int function = pdu[0];
    if (function & kExceptionBit) return exceptionText(pdu, at, requestPdu);
    const Fields asked = fieldsOf(requestPdu);
    if (at == 0) {
        const bool same = asked.function == function;
        std::vector<std::string> lines = {same ? "Функция, та же, что в запросе" : "Функция",
                                          valueLine(static_cast<unsigned>(function)),
                                          functionLine(function)};
        if (!same && asked.function >= 0)
            lines.push_back("а в запросе функция " + std::to_string(asked.function));
        return join(lines);
    }
    if (isWrite(function)) return echoText(pdu, at, requestPdu, program);
    if (isRead(function)) return readDataText(pdu, at, asked, program);
    return join(
        {"Байт данных " + std::to_string(at) + " ответа функции " + std::to_string(function),
         valueLine(pdu[at]),
         "данные функции " + std::to_string(function) + ", которую контроллер не выполняет"});
}

// ---- The CRC ---------------------------------------------------------------

std::string crcText(Bytes frame, std::size_t at, const char* which) {
    const std::size_t covered = frame.size() - kCrcBytes;
    const std::uint16_t crc = crcOf(frame.first(covered));
    const bool low = at == covered;
    const std::string bytes = covered == 1
                                  ? "байту 0 " + std::string(which)
                                  : "байтам 0–" + std::to_string(covered - 1) + " " + which;
    std::vector<std::string> lines = {
        std::string("CRC, ") + (low ? "младший байт (идёт первым)" : "старший байт"),
        valueLine(frame[at]), "CRC-16 = 0x" + hexText(crc, 4) + " по " + bytes};
    if (!slave::crcHolds(frame))
        lines.push_back(slave::silence::badCrc(frame[covered], frame[covered + 1], crc));
    return join(lines);
}

// ---- Whole frames ----------------------------------------------------------

template <typename PduText>
std::vector<std::string> frameTexts(Bytes frame, Framing framing, const char* which,
                                    std::optional<Bytes> requestHead, PduText pduText) {
    const Parts parts = split(frame, framing);
    std::vector<std::string> texts;
    texts.reserve(frame.size());
    for (std::size_t i = 0; i < parts.head.size(); ++i)
        texts.push_back(headerText(parts.head, i, framing, requestHead, frame.size()));
    for (std::size_t i = 0; i < parts.pdu.size(); ++i) texts.push_back(pduText(parts.pdu, i));
    for (std::size_t i = 0; i < parts.crc.size(); ++i)
        texts.push_back(crcText(frame, frame.size() - kCrcBytes + i, which));
    if (const std::string ends = frameEnds(frame, framing); !ends.empty() && !texts.empty())
        texts.back() += "\n" + ends;
    return texts;
}

}  // namespace

std::vector<std::string> requestBytes(Bytes frame, Framing framing, const Program& program) {
    return frameTexts(frame, framing, "запроса", std::nullopt,
                      [&](Bytes pdu, std::size_t at) { return requestPduText(pdu, at, program); });
}

std::vector<std::string> answerBytes(Bytes request, Bytes answer, Framing framing,
                                     const Program& program) {
    const Parts asked = split(request, framing);
    return frameTexts(answer, framing, "ответа", asked.head, [&](Bytes pdu, std::size_t at) {
        return answerPduText(pdu, at, asked.pdu, program);
    });
}

}  // namespace vk41
