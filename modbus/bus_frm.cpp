#include "modbus/bus_frm.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "modbus/controller_image.h"
#include "modbus/frame_bytes.h"
#include "modbus/memory_map.h"
#include "modbus/pcap_capture.h"
#include "modbus/slave_protocol.h"
#include "ui/app.h"
#include "ui/design_text.h"
#include "ui/numbers.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

// clang-format off
const std::array<TableSource::Column, BusFrm::kColumns> kColumnsShown = {{
    {"Время",   1300},
    {"Связь",   2100},
    {"Адрес",    750},
    {"Функция",  900},
    {"Запрос",  3300},
    {"Ответ",   3300},
    {"Смысл",   3000},
}};
// clang-format on

constexpr const char* kAny = "все";
constexpr const char* kOtherFunctions = "другие";
constexpr const char* kErrorsOnly = "только ошибки";
constexpr int kUnservedFunction = -2;
constexpr const char* kNoBus = "Шина недоступна: программа запущена без связи с внешним миром";

std::optional<int> numberBetween(std::string_view text, int least, int most) {
    const std::optional<int> n = wholeNumber(text);
    return n && *n >= least && *n <= most ? n : std::nullopt;
}

// "1 204": thousands apart, as the state line counts.
std::string grouped(std::uint64_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), " ");
    return digits;
}

// The bytes as the Modbus window writes them: two hex digits, or decimal
// with a leading "0" below 10.
std::string bytesText(const std::vector<std::uint8_t>& bytes, bool hex) {
    if (hex) return slave::hex(bytes);
    std::string text;
    for (const std::uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += (b < 10 ? "0" : "") + std::to_string(b);
    }
    return text;
}

std::string byteText(std::uint8_t b, bool hex) {
    return bytesText({b}, hex);
}

bool served(int function) {
    namespace mm = memory_map;
    return function == mm::kReadCoils || function == mm::kReadDiscreteInputs ||
           function == mm::kReadHoldingRegisters || function == mm::kWriteSingleCoil ||
           function == mm::kWriteSingleRegister;
}

std::string hostPort(const std::string& host, int port) {
    const bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string serialText(const BusSettings& s) {
    return std::to_string(s.baud) + " 8" + s.parity + std::to_string(s.stopBits);
}

// Every byte of a frame under a heading, each with its explanation; the
// explanation's further lines stand under its first.
void explainFrame(std::string& text, const std::vector<std::uint8_t>& frame,
                  const std::vector<std::string>& notes, bool hex) {
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const std::string note = i < notes.size() ? notes[i] : std::string();
        const std::string lead = "  [" + std::to_string(i) + "] " + byteText(frame[i], hex) + "  ";
        const std::string indent(lead.size(), ' ');  // all of it ASCII
        std::size_t from = 0;
        for (bool first = true;; first = false) {
            const std::size_t end = note.find('\n', from);
            text += (first ? lead : indent) + note.substr(from, end - from) + "\n";
            if (end == std::string::npos) break;
            from = end + 1;
        }
    }
}

}  // namespace

const FormDesign& BusFrm::layout() {
    return embeddedDesign("bus_frm.form");
}

BusFrm::BusFrm(App& app) : Form(app, layout()) {
    control("Bus_Rows").setTable(this);
    onClick("Bus_Connect", [this](int) { connect(); });
    onClick("Bus_Disconnect", [this](int) { disconnect(); });
    onClick("Bus_Pause", [this](int) { togglePause(); });
    onClick("Bus_Clear", [this](int) { clear(); });
    onClick("Bus_Save_Log", [this](int) { saveJournal(); });
    onClick("Bus_Save_Pcap", [this](int) { saveCapture(); });
    for (const char* combo : {"Bus_Function", "Bus_Unit", "Bus_Show"}) {
        onChange(combo, [this](int) { refilter(); });
        onPick(combo, [this](int) { refilter(); });
    }
    onTimer("Bus_Clock", [this] { tick(); });
}

void BusFrm::onLoad() {
    if (BusService* b = bus()) {
        std::vector<std::string> ports = b->serialPorts();
        control("Bus_Device").setItems(ports);
        if (!ports.empty()) control("Bus_Device").setText(ports.front());
    }
    if (bus() && bus()->serving()) showSettings(started_);
    paused_ = false;
    refilter();
    showServing();
}

BusService* BusFrm::bus() const {
    return app().service<BusService>();
}

BusTraffic* BusFrm::traffic() const {
    BusService* b = bus();
    return b ? &b->traffic() : nullptr;
}

// The number system chosen in the Modbus window, which stays as it was
// designed until that window is opened.
bool BusFrm::hexadecimal() const {
    Form* modbus = app().existing(kModBFrm);
    return modbus && modbus->loaded() && modbus->control("Hex").value();
}

// ---- serving ----

std::optional<BusSettings> BusFrm::settingsOf(std::string& error) {
    BusSettings s;
    const int link = control("Bus_Link", 1).value() ? 1 : control("Bus_Link", 2).value() ? 2 : 0;
    s.tcp = link != 1;
    s.rtu = link != 0;
    const auto address = numberBetween(control("Bus_Address").text(), 1, 247);
    if (!address) {
        error = "Адрес контроллера — целое число от 1 до 247";
        return std::nullopt;
    }
    s.address = *address;
    s.host = control("Bus_Host").text();
    const auto port = numberBetween(control("Bus_Port").text(), 0, 65535);
    if (s.tcp && !port) {
        error = "Порт — целое число от 1 до 65535 (обычно 502 или 1502)";
        return std::nullopt;
    }
    s.port = port.value_or(1502);
    s.device = control("Bus_Device").text();
    if (s.rtu && s.device.empty()) {
        error = "Выберите последовательный порт (устройство), например /dev/ttyUSB0";
        return std::nullopt;
    }
    const auto baud = numberBetween(control("Bus_Baud").text(), 50, 4'000'000);
    if (s.rtu && !baud) {
        error = "Скорость — целое число бод, например 19200";
        return std::nullopt;
    }
    s.baud = baud.value_or(19200);
    const std::string& format = control("Bus_Format").text();
    if (s.rtu && (format.size() != 3 || format[0] != '8' ||
                  std::string_view("NEO").find(format[1]) == std::string_view::npos ||
                  (format[2] != '1' && format[2] != '2'))) {
        error = "Формат — 8 бит данных, чётность N, E или O и 1 или 2 стоп-бита, например 8N1";
        return std::nullopt;
    }
    if (format.size() == 3) {
        s.parity = format[1];
        s.stopBits = format[2] - '0';
    }
    return s;
}

void BusFrm::showSettings(const BusSettings& s) {
    const int link = s.tcp && s.rtu ? 2 : s.rtu ? 1 : 0;
    control("Bus_Link", link).setValue(true);
    control("Bus_Address").setText(std::to_string(s.address));
    control("Bus_Host").setText(s.host);
    control("Bus_Port").setText(std::to_string(s.port));
    if (s.rtu) control("Bus_Device").setText(s.device);
    control("Bus_Baud").setText(std::to_string(s.baud));
    control("Bus_Format").setText(std::string("8") + s.parity + std::to_string(s.stopBits));
}

std::string BusFrm::connect(const BusSettings& settings) {
    showSettings(settings);
    return connect();
}

std::string BusFrm::connect() {
    std::string error;
    std::optional<BusSettings> settings = settingsOf(error);
    if (settings && !bus()) error = kNoBus;
    if (settings && bus()) {
        error = bus()->start(*settings);
        if (error.empty()) started_ = *settings;
    }
    say(error);
    showServing();
    return error;
}

void BusFrm::disconnect() {
    if (bus()) bus()->stop();
    say("");
    showServing();
}

std::string BusFrm::stateText() const {
    const BusService* b = bus();
    if (!b || !b->serving()) return "ModBus: не подключено";
    std::string text = "ModBus";
    if (started_.tcp) text += " TCP " + hostPort(started_.host, b->tcpPort());
    if (started_.tcp && started_.rtu) text += " и";
    if (started_.rtu) text += " RTU " + started_.device + " " + serialText(started_);
    if (started_.address != 127) text += " · адрес " + std::to_string(started_.address);
    if (started_.tcp) text += " · мастеров: " + std::to_string(b->masters());
    return text + " · запросов: " + grouped(bus()->traffic().received());
}

// The state here and, while serving, in the scheme's title.
void BusFrm::showServing() {
    const bool serving = bus() && bus()->serving();
    const std::string state = stateText();
    control("Bus_State").setCaption(state);
    control("Bus_Connect").setEnabled(!serving);
    control("Bus_Disconnect").setEnabled(serving);
    Form& scheme = app().form(kObjectt);
    if (schemeCaption_.empty()) schemeCaption_ = scheme.design().caption;
    scheme.setCaption(serving ? schemeCaption_ + " — " + state : schemeCaption_);
}

void BusFrm::say(const std::string& message) {
    control("Bus_Message").setCaption(message);
}

// ---- the rows ----

bool BusFrm::Filter::admits(const BusExchange& e) const {
    if (function == kUnservedFunction && (e.function < 0 || served(e.function))) return false;
    if (function && *function != kUnservedFunction && e.function != *function) return false;
    if (unit && e.unit != *unit) return false;
    return !errorsOnly || e.failed();
}

BusFrm::Filter BusFrm::filterOf() {
    Filter f;
    const std::string& function = control("Bus_Function").text();
    if (function == kOtherFunctions)
        f.function = kUnservedFunction;
    else
        f.function = numberBetween(function, 0, 255);
    f.unit = numberBetween(control("Bus_Unit").text(), 0, 255);
    f.errorsOnly = control("Bus_Show").text() == kErrorsOnly;
    return f;
}

// The filter changed: every exchange kept is looked at again.
void BusFrm::refilter() {
    filter_ = filterOf();
    shown_.clear();
    const BusTraffic* t = traffic();
    taken_ = t ? t->first() : 0;
    trafficSeen_ = ~std::uint64_t{0};
    takeNewRows();
    ++revision_;
    control("Bus_Rows").tableMoved();
}

// The rows the ring has let go leave the list; new ones join it unless paused.
void BusFrm::takeNewRows() {
    const BusTraffic* t = traffic();
    if (!t) return;
    while (!shown_.empty() && shown_.front() < t->first()) shown_.pop_front();
    if (selected_ && *selected_ < t->first()) selected_.reset();
    if (paused_) return;
    taken_ = std::max(taken_, t->first());
    for (; taken_ < t->added(); ++taken_)
        if (filter_.admits(t->at(static_cast<std::size_t>(taken_ - t->first()))))
            shown_.push_back(taken_);
}

void BusFrm::tick() {
    showServing();
    const BusTraffic* t = traffic();
    const bool hex = hexadecimal();
    if (t && (t->revision() != trafficSeen_ || hex != hexShown_)) {
        trafficSeen_ = t->revision();
        takeNewRows();
        const bool selectedMoved = hex != hexShown_;
        hexShown_ = hex;
        ++revision_;
        control("Bus_Rows").tableMoved();
        if (selectedMoved) showSelected();
    }
}

const BusExchange& BusFrm::exchange(int row) const {
    const BusTraffic& t = *traffic();
    return t.at(static_cast<std::size_t>(shown_[static_cast<std::size_t>(row)] - t.first()));
}

std::string BusFrm::cell(int row, int column) const {
    if (row < 0 || row >= rows() || !traffic()) return "";
    const BusExchange& e = exchange(row);
    const bool hex = hexShown_;
    switch (column) {
        case kTime:
            return timeOfDay(e.microseconds);
        case kLink:
            return masterText(e);
        case kUnit:
            return e.unit < 0 ? "" : std::to_string(e.unit);
        case kFunction:
            return e.function < 0 ? "" : std::to_string(e.function);
        case kRequest:
            return bytesText(e.request, hex);
        case kAnswer:
            return e.answered() ? bytesText(e.answer, hex) : "—";
        case kMeaning:
            return outcomeText(e);
        default:
            return "";
    }
}

std::vector<TableSource::Column> BusFrm::tableColumns() const {
    return {kColumnsShown.begin(), kColumnsShown.end()};
}

int BusFrm::selectedRow() const {
    if (!selected_) return -1;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), *selected_);
    return at != shown_.end() && *at == *selected_ ? static_cast<int>(at - shown_.begin()) : -1;
}

void BusFrm::selectRow(int row) {
    const std::optional<std::uint64_t> chosen =
        row >= 0 && row < rows() ? std::optional(shown_[static_cast<std::size_t>(row)])
                                 : std::nullopt;
    if (chosen == selected_) return;
    selected_ = chosen;
    ++revision_;
    control("Bus_Rows").tableMoved();
    showSelected();
}

// Every byte of the selected frame, then of its answer, explained.
void BusFrm::showSelected() {
    const int row = selectedRow();
    if (row < 0) {
        control("Bus_Bytes").setText("");
        return;
    }
    const BusExchange& e = exchange(row);
    const bool hex = hexShown_;
    if (e.request.empty()) {
        control("Bus_Bytes").setText(timeOfDay(e.microseconds) + "  " + e.link + ": " + e.why);
        return;
    }
    const Framing framing = e.link == "TCP" ? Framing::Tcp : Framing::Rtu;
    const Program& program = loadedProgram(app());
    std::string text = "Запрос, " + timeOfDay(e.microseconds) + ", " + masterText(e) + ":\n";
    explainFrame(text, e.request, requestBytes(e.request, framing, program), hex);
    if (e.answered()) {
        text += "Ответ:\n";
        explainFrame(text, e.answer, answerBytes(e.request, e.answer, framing, program), hex);
    } else {
        text += "Ответа нет: " + e.why + "\n";
    }
    if (e.answered() && !e.why.empty()) text += "Вероятная причина: " + e.why + "\n";
    control("Bus_Bytes").setText(text);
}

// ---- pause, clear, saving ----

void BusFrm::togglePause() {
    paused_ = !paused_;
    control("Bus_Pause").setCaption(paused_ ? "Продолжить" : "Пауза");
    trafficSeen_ = ~std::uint64_t{0};
    tick();
}

void BusFrm::clear() {
    if (BusTraffic* t = traffic()) t->clear();
    selected_.reset();
    refilter();
    showSelected();
}

void BusFrm::saveJournal() {
    const auto file = app().dialogs().saveFile(
        "Сохранить журнал шины", "Журнал, столбцы через табуляцию (*.tsv *.txt)", "bus.tsv");
    if (!file) return;
    std::ofstream out(*file, std::ios::binary);
    for (int c = 0; c < kColumns; ++c)
        out << (c ? "\t" : "") << kColumnsShown[static_cast<std::size_t>(c)].heading;
    out << "\n";
    for (int row = 0; row < rows(); ++row)
        for (int c = 0; c < kColumns; ++c)
            out << (c ? "\t" : "") << cell(row, c) << (c + 1 == kColumns ? "\n" : "");
    out.flush();
    say(out ? "Журнал записан: " + *file +
                  " (строк: " + grouped(static_cast<std::uint64_t>(rows())) + ")"
            : "Не удалось записать " + *file);
}

void BusFrm::saveCapture() {
    const auto file =
        app().dialogs().saveFile("Сохранить для Wireshark", "Захват pcap (*.pcap)", "bus.pcap");
    if (!file) return;
    std::ofstream out(*file, std::ios::binary);
    {
        capture::PcapWriter writer(out);
        for (int row = 0; row < rows(); ++row) addToCapture(writer, exchange(row));
    }
    out.flush();
    say(out ? "Захват записан: " + *file +
                  " (кадров: " + grouped(static_cast<std::uint64_t>(rows())) + ")"
            : "Не удалось записать " + *file);
}

}  // namespace vk41
