#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "modbus/bus_service.h"
#include "ui/form.h"
#include "ui/table.h"

namespace vk41 {

// "Шина ModBus": puts the controller on Modbus TCP and/or RTU through the
// program's bus service, keeps the port's state in view (here and in the
// scheme's title), lists every frame received with what became of it, and
// explains every byte of the frame selected and of its answer. Pause,
// clear and a filter act on the list; the rows shown are saved as a journal
// or as a capture for Wireshark.
class BusFrm : public Form, private TableSource {
  public:
    explicit BusFrm(App& app);

    static const FormDesign& layout();

    // The fields set to `settings`, then "Подключить" pressed: the command
    // line starts serving this way. An empty string, or why it could not.
    std::string connect(const BusSettings& settings);
    // "Подключить": serves as the fields say.
    std::string connect();
    void disconnect();

    // "ModBus TCP 127.0.0.1:1502 · мастеров: 2 · запросов: 1 204", or that
    // it is not connected.
    std::string stateText() const;

    // The rows the filter lets through, oldest first.
    int rows() const { return static_cast<int>(shown_.size()); }
    std::string cell(int row, int column) const;
    const BusExchange& exchange(int row) const;

    // The columns of the list, in order.
    enum ColumnId { kTime, kLink, kUnit, kFunction, kRequest, kAnswer, kMeaning, kColumns };

  protected:
    void onLoad() override;

  private:
    struct Filter {
        std::optional<int> function;  // -2: any function the controller does not serve
        std::optional<int> unit;
        bool errorsOnly{false};
        bool admits(const BusExchange& e) const;
    };

    // The table's rows.
    std::uint64_t tableRevision() const override { return revision_; }
    std::vector<TableSource::Column> tableColumns() const override;
    int tableRows() const override { return rows(); }
    std::string tableCell(int row, int column) const override { return cell(row, column); }
    int selectedRow() const override;
    void selectRow(int row) override;

    void tick();
    void takeNewRows();
    void refilter();
    Filter filterOf();
    std::optional<BusSettings> settingsOf(std::string& error);
    void showSettings(const BusSettings& settings);
    void showServing();
    void showSelected();
    void togglePause();
    void clear();
    void saveJournal();
    void saveCapture();
    void say(const std::string& message);
    bool hexadecimal() const;
    BusTraffic* traffic() const;

    BusService* bus() const;
    BusSettings started_;              // what serves now
    std::deque<std::uint64_t> shown_;  // the exchanges the filter lets through, by number
    std::uint64_t taken_{0};           // exchanges numbered below this were looked at
    std::uint64_t trafficSeen_{~std::uint64_t{0}};
    std::optional<std::uint64_t> selected_;
    Filter filter_;
    bool paused_{false};
    bool hexShown_{false};
    std::uint64_t revision_{0};
    std::string schemeCaption_;  // the scheme's own title, before the state was added
};

}  // namespace vk41
