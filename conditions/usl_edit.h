#pragma once

#include <array>
#include <string>
#include <vector>

#include "conditions/debug_bar.h"
#include "conditions/notation.h"
#include "conditions/program.h"
#include "conditions/program_check.h"

namespace vk41 {

// "Программа блока условий": the conditions block's program as a table of
// editable cells, checked on every edit, loaded into the scheme's
// controller, read from and saved to program files, with undo and redo.
//
// Each cell holds what was typed into it. A cell that reads gives its value
// to the program being edited; one that does not is marked, with the reason
// in its tooltip, and its last good value stays in the program. Cells that
// the row's kind or output make meaningless are disabled and show what the
// row holds ("-").
class UslEdit : public DebuggingForm {
  public:
    explicit UslEdit(App& app);

    static const FormDesign& layout();

    // Operator k's cells are Cell(9 (k - 1) + c): c = 0 Вид, 1 Операнд 1,
    // 2 Операнд 2, 3 Выход, 4 Знач. IF, 5 Знач. ELSE, 6 Зависит от, 8 the
    // comment. There is no cell with c = 7.
    static constexpr int kRowCells = 9;
    static constexpr int kCells = kOperators * kRowCells;
    static int cellIndex(int k, notation::Column column);

    // The program as its good cells give it.
    const Program& program() const { return program_; }
    // Edited since the window opened, or since the last file opened or saved.
    bool unsaved() const { return present_ != saved_; }
    const std::vector<Finding>& findings() const { return findings_; }

    bool mayClose() override;

  protected:
    void onLoad() override;
    void showStepping() override;

  private:
    // What undo and redo go back and forth between: the program and the
    // text of every cell, good or not.
    struct Content {
        Program program;
        std::array<std::string, kCells> texts;
        bool operator==(const Content&) const = default;
    };

    // Whether the cells hold what was typed into them, or a whole content
    // that undo, redo or a file put there, to be kept as it is.
    enum class Texts { Edited, Kept };

    void edited(int cell, bool typing);
    void refresh(Texts texts);
    void refreshRow(int k, Texts texts);
    void readCell(int k, notation::Column column, Operator& op, Texts texts);
    void showContent(const Content& content);
    Content current();
    static Content contentOf(const Program& program);
    void remember(const Content& before);
    void replaceAll(const Program& program);
    void undo();
    void redo();

    void loadIntoController();
    void openFile();
    bool saveAs();
    void say(const std::string& message);

    Program program_;
    std::vector<Finding> findings_;  // of the cells and the program, at the last refresh
    Content present_;                // as the last edit, undo or redo left it
    Content saved_;                  // as it was opened, read or saved
    std::vector<Content> undo_, redo_;
    int typing_{-1};  // the cell the last typing went to: its next keys join that step
    std::string file_;
};

}  // namespace vk41
