#include "modbus/slave_protocol.h"

#include "modbus/byte_text.h"
#include "modbus/exception_cause.h"
#include "modbus/memory_map.h"

namespace vk41::slave {
namespace {

namespace map = memory_map;

// The largest quantities one request may ask for.
constexpr int kMaxBits = 2000;
constexpr int kMaxRegisters = 125;
// Every served request carries a 16-bit address and a 16-bit quantity or value.
constexpr std::size_t kFieldBytes = 4;

constexpr std::uint16_t kCoilOn = 0xFF00;
constexpr std::uint16_t kCoilOff = 0x0000;

std::uint16_t word(std::span<const std::uint8_t> data, std::size_t at) {
    return static_cast<std::uint16_t>(data[at] << 8 | data[at + 1]);
}

std::string range(const char* one, const char* many, int first, int last) {
    if (first == last) return std::string(one) + " " + std::to_string(first);
    return std::string(many) + " " + std::to_string(first) + "–" + std::to_string(last);
}

// Which outputs and flags a coil range covers, by their numbers.
std::string coilRange(int first, int last) {
    const map::Area& outputs = map::area(map::kOutputs);
    std::string text;
    if (first <= outputs.last)
        text = range("выход", "выходы", first + 1, std::min(last, outputs.last) + 1);
    if (last > outputs.last) {
        if (!text.empty()) text += ", ";
        text += range("флаг", "флаги", std::max(first, outputs.last + 1) - outputs.last,
                      last - outputs.last);
    }
    return text;
}

std::string inputRange(int first, int last) {
    const int base = map::area(map::kInputs).first;
    return range("вход", "входы", first - base + 1, last - base + 1);
}

std::string registerRange(int first, int last) {
    const auto counter = map::counterAt(first);
    std::string text = first == last
                           ? "регистр " + std::to_string(first)
                           : "регистры " + std::to_string(first) + "–" + std::to_string(last);
    if (counter && counter == map::counterAt(last))
        text = "счётчик " + std::to_string(*counter) + ", " + text;
    return text;
}

const char* exceptionName(Exception e) {
    switch (e) {
        case Exception::kIllegalFunction:
            return "функция не поддерживается";
        case Exception::kIllegalDataAddress:
            return "адрес вне карты памяти";
        case Exception::kIllegalDataValue:
            return "недопустимое значение";
    }
    return "";
}

class Builder {
  public:
    Builder(std::span<const std::uint8_t> request, const ControllerImage& image)
        : function_(request[0]), data_(request.subspan(1)), image_(image) {}

    std::optional<Reply> build() {
        switch (function_) {
            case map::kReadCoils:
                return readBits(map::area(map::kOutputs), map::area(map::kFlags), &Builder::coil,
                                coilRange);
            case map::kReadDiscreteInputs:
                return readBits(map::area(map::kInputs), map::area(map::kInputs), &Builder::input,
                                inputRange);
            case map::kReadHoldingRegisters:
                return readRegisters();
            case map::kWriteSingleCoil:
                return writeCoil();
            case map::kWriteSingleRegister:
                return writeRegister();
            default:
                return refuse(Exception::kIllegalFunction, "", cause::unsupported(function_));
        }
    }

  private:
    using Bit = bool (Builder::*)(int address) const;
    using Describe = std::string (*)(int first, int last);

    bool coil(int address) const {
        const int flags = map::area(map::kFlags).first;
        if (address < flags) return image_.outputs >> address & 1;
        return image_.flags >> (address - flags) & 1;
    }
    bool input(int address) const {
        return image_.inputs >> (address - map::area(map::kInputs).first) & 1;
    }

    std::string prefix() const { return "FC" + std::to_string(function_) + " "; }

    Reply refuse(Exception e, const std::string& asked, std::string why) const {
        Reply r;
        r.cause = std::move(why);
        r.pdu = {static_cast<std::uint8_t>(function_ | 0x80), static_cast<std::uint8_t>(e)};
        r.meaning = prefix() + (asked.empty() ? "" : asked + " ") + "→ исключение " +
                    hexText(static_cast<unsigned>(e), 2) + " (" + exceptionName(e) + ")";
        return r;
    }

    Reply data(const std::string& asked, std::vector<std::uint8_t> bytes) const {
        Reply r;
        r.meaning = prefix() + asked + " → " + hex(bytes);
        r.pdu = {function_, static_cast<std::uint8_t>(bytes.size())};
        r.pdu.insert(r.pdu.end(), bytes.begin(), bytes.end());
        return r;
    }

    Reply echo(const std::string& asked) const {
        Reply r;
        r.meaning = prefix() + asked + " → эхо";
        r.pdu = {function_};
        r.pdu.insert(r.pdu.end(), data_.begin(), data_.end());
        return r;
    }

    // The bits of the areas `low` to `high`, which lie one after the other.
    std::optional<Reply> readBits(const map::Area& low, const map::Area& high, Bit bit,
                                  Describe describe) const {
        if (data_.size() != kFieldBytes) return std::nullopt;
        const int first = word(data_, 0);
        const int count = word(data_, 2);
        if (count < 1 || count > kMaxBits)
            return refuse(Exception::kIllegalDataValue, "",
                          cause::badCount(function_, count, kMaxBits));
        const int last = first + count - 1;
        if (first < low.first || last > high.last)
            return refuse(Exception::kIllegalDataAddress,
                          "адреса " + std::to_string(first) + "–" + std::to_string(last),
                          cause::outsideMap(first, last, low, high));
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>((count + 7) / 8), 0);
        for (int i = 0; i < count; ++i)
            if ((this->*bit)(first + i))
                bytes[static_cast<std::size_t>(i / 8)] |= static_cast<std::uint8_t>(1 << (i % 8));
        return data(describe(first, last), bytes);
    }

    std::optional<Reply> readRegisters() const {
        if (data_.size() != kFieldBytes) return std::nullopt;
        const int first = word(data_, 0);
        const int count = word(data_, 2);
        if (count < 1 || count > kMaxRegisters)
            return refuse(Exception::kIllegalDataValue, "",
                          cause::badCount(function_, count, kMaxRegisters));
        const int last = first + count - 1;
        const map::Area& counters = map::area(map::kCounters);
        if (first < counters.first || last > counters.last)
            return refuse(Exception::kIllegalDataAddress, registerRange(first, last),
                          cause::outsideMap(first, last, counters, counters));
        std::vector<std::uint8_t> bytes;
        for (int address = first; address <= last; ++address) {
            const int number = *map::counterAt(address);
            const auto& counter = map::counters()[static_cast<std::size_t>(number - 1)];
            // Only counter 1 is wired: the flow meter. The others count nothing.
            const auto value = map::counterBytes(number == 1 ? image_.flowCount : 0);
            const auto at = static_cast<std::size_t>(2 * (address - counter.firstRegister));
            bytes.push_back(value[at]);
            bytes.push_back(value[at + 1]);
        }
        return data(registerRange(first, last), bytes);
    }

    std::optional<Reply> writeCoil() const {
        if (data_.size() != kFieldBytes) return std::nullopt;
        const int coil = word(data_, 0);
        const std::uint16_t value = word(data_, 2);
        if (value != kCoilOn && value != kCoilOff)
            return refuse(Exception::kIllegalDataValue, "", cause::badCoilValue(value));
        if (coil >= map::kWritableOutputs)
            return refuse(Exception::kIllegalDataAddress, "адрес " + std::to_string(coil),
                          cause::notWritable(coil));
        // The controller sets the output. An output its program drives is
        // driven again at the program's next cycle; the others keep the
        // write until the controller restarts.
        const int output = coil + 1;
        const bool driven = map::outputWiring(output) != nullptr;
        Reply r = echo(
            "выход " + std::to_string(output) + " ← " + (value == kCoilOn ? "вкл" : "выкл") + "; " +
            (driven ? "программа контроллера перезапишет выход в следующем цикле"
                    : "программа выход не использует: он держит записанное до перезапуска"));
        r.command = Command::kWriteOutput;
        r.output = output;
        r.on = value == kCoilOn;
        return r;
    }

    std::optional<Reply> writeRegister() const {
        if (data_.size() != kFieldBytes) return std::nullopt;
        const int address = word(data_, 0);
        const std::uint16_t value = word(data_, 2);
        if (address != map::kCommandRegister)
            return refuse(Exception::kIllegalDataAddress, "регистр " + std::to_string(address),
                          cause::notCommandRegister(address));
        for (const map::Command& command : map::commands()) {
            if (command.value != value) continue;
            // The controller here speaks only Modbus: the switch to «Кварта»
            // restarts it as the plain restart does, and it stays on Modbus.
            const std::string meaning = value == map::kKvartaRestart
                                            ? "переход на «Кварта» не моделируется: контроллер "
                                              "перезапущен и остаётся на ModBus"
                                            : command.meaning;
            Reply r = echo("регистр " + std::to_string(address) + " ← " + hexText(value, 4) + " (" +
                           meaning + ")");
            r.command = Command::kRestart;
            return r;
        }
        return refuse(Exception::kIllegalDataValue, "регистр " + std::to_string(address),
                      cause::notACommand(value));
    }

    std::uint8_t function_;
    std::span<const std::uint8_t> data_;
    const ControllerImage& image_;
};

}  // namespace

std::optional<Reply> answer(std::span<const std::uint8_t> request, const ControllerImage& image) {
    if (request.empty()) return std::nullopt;
    return Builder(request, image).build();
}

const char* exceptionMeaning(Exception e) {
    return exceptionName(e);
}

std::string hex(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += hexText(b, 2);
    }
    return text;
}

}  // namespace vk41::slave
