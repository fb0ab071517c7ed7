// The description pages name what the program shows: its windows, menu
// items, frames and options by their captions, the states of the plant as
// the narration calls them, and the terminals as the installation is wired.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "plant/terminals.h"
#include "tools/script_driver.h"
#include "ui/window_names.h"

namespace vk41 {
namespace {

struct PageCase {
    const char* name;
    const char* menu;     // the menu item that shows the page
    const char* textBox;  // the text box holding it
};

// The runs of Cyrillic letters in a UTF-8 text, each with whether it is
// written in capitals only.
struct Word {
    std::string text;
    bool capitals;
};

std::vector<Word> cyrillicWords(const std::string& text) {
    std::vector<Word> words;
    Word word{"", true};
    const auto end = [&] {
        if (!word.text.empty()) words.push_back(word);
        word = {"", true};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if ((lead == 0xD0 || lead == 0xD1) && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            const int code = (lead & 0x1F) << 6 | (next & 0x3F);
            const bool upper = code == 0x401 || (code >= 0x410 && code <= 0x42F);
            const bool lower = code == 0x451 || (code >= 0x430 && code <= 0x44F);
            if (upper || lower) {
                word.text += text.substr(i, 2);
                word.capitals = word.capitals && upper;
                ++i;
                continue;
            }
        }
        end();
    }
    end();
    return words;
}

std::string trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// Everything the program's windows write: captions, tooltips, the operator
// comments and the narration of a whole demonstration.
class ProgramTexts {
  public:
    ProgramTexts() {
        for (const char* window : {kTexttt, kObjectt, kBlUsl, kModBFrm, kCrcSteps}) {
            Form& form = driver.app().form(window);
            forms_.push_back(&form);
            add(form.caption());
            for (const Control& control : form.controls()) {
                add(control.caption());
                add(control.toolTip());
            }
        }
        for (int lab = 0; lab <= 16; ++lab) {
            driver.execute("hover Bl_Usl.Lab(" + std::to_string(lab) + ")");
            add(driver.app().form(kBlUsl).control("Curent_Coment").caption());
        }
        driver.execute("menu Texttt Имитация");
        driver.execute("click Objectt.Radix(0)");
        driver.execute("click Objectt.Vis(0)");
        Control& comments = driver.app().form(kObjectt).control("Coments");
        for (int tick = 0; tick < 240 * 11; ++tick) {
            driver.scheduler().advanceBy(100);
            add(comments.caption());
        }
    }

    // A window's caption, a menu item or a control's caption, as shown.
    bool isCaption(const std::string& name) const {
        for (const Form* form : forms_) {
            if (trimmed(form->caption()) == name || form->hasMenuItem(name)) return true;
            for (const Control& control : form->controls())
                if (trimmed(control.caption()) == name) return true;
        }
        return false;
    }
    bool isWord(const std::string& word) const { return words_.count(word) != 0; }
    const std::set<std::string>& texts() const { return texts_; }

  private:
    void add(const std::string& text) {
        if (text.empty()) return;
        texts_.insert(text);
        for (const Word& word : cyrillicWords(text)) words_.insert(word.text);
    }

    std::ostringstream out_;
    ScriptDriver driver{out_};
    std::vector<Form*> forms_;
    std::set<std::string> texts_;
    std::set<std::string> words_;
};

const ProgramTexts& program() {
    static const ProgramTexts texts;
    return texts;
}

std::string pageText(const PageCase& page) {
    std::ostringstream out;
    ScriptDriver driver(out);
    driver.execute(std::string("menu Texttt ") + page.menu);
    return driver.app().form(kTexttt).control(page.textBox).text();
}

std::vector<std::string> matches(const std::string& text, const std::regex& re, int group = 0) {
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it)
        found.push_back((*it)[group].str());
    return found;
}

// clang-format off
const std::vector<PageCase> kPages = {
    {"Purpose",     "Назначение",   "Text_Naznacch"},
    {"General",     "Общее",        "TextComm"},
    {"Demo",        "Деморежим",    "TextDemo"},
    {"Conditions",  "Блок условий", "TextBU"},
    {"Modbus",      "ModBus",       "TextModB"},
    {"Equipment",   "Оборудование", "Text_Dev"},
};
// clang-format on

class DescriptionPages : public ::testing::TestWithParam<PageCase> {};

// «…» on a page is always a caption the program shows.
TEST_P(DescriptionPages, QuoteOnlyCaptionsTheProgramShows) {
    const std::string text = pageText(GetParam());
    ASSERT_FALSE(text.empty());
    for (const std::string& name : matches(text, std::regex("«([^»]*)»"), 1))
        EXPECT_TRUE(program().isCaption(name)) << "«" << name << "» is no caption of the program";
}

// A word in capitals (a state, a window) is one the program writes so; two
// letters (ВК, ИМ) name devices.
TEST_P(DescriptionPages, WriteCapitalisedWordsAsTheProgramDoes) {
    constexpr std::size_t kThreeLetters = 3 * 2;  // bytes: a Cyrillic letter takes two
    for (const Word& word : cyrillicWords(pageText(GetParam())))
        if (word.capitals && word.text.size() >= kThreeLetters) {
            EXPECT_TRUE(program().isWord(word.text))
                << word.text << " is written so nowhere in the program";
        }
}

// The program opens windows; it has no tabs.
TEST_P(DescriptionPages, CallTheWindowsWindows) {
    const std::string text = pageText(GetParam());
    for (const char* tab : {"вкладк", "Вкладк"})
        EXPECT_EQ(text.find(tab), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(All, DescriptionPages, ::testing::ValuesIn(kPages),
                         [](const auto& p) { return std::string(p.param.name); });

// The numbers a sentence gives after `kind` ("выход" or "вход"), as in
// "выходами 4 и 6" or "вход № 4".
std::set<int> terminalsNamed(const std::string& sentence, const std::string& kind) {
    static const std::string numbers =
        R"((?:ами|ом|ов|ы|а|е)?\s*(?:№)?\s*(\d+(?:\s*(?:,|и)\s*\d+)*))";
    std::set<int> named;
    for (const std::string& list : matches(sentence, std::regex(kind + numbers), 1))
        for (const std::string& n : matches(list, std::regex(R"(\d+)"))) named.insert(std::stoi(n));
    return named;
}

std::vector<std::string> sentences(const std::string& text) {
    return matches(text, std::regex(R"([^.]+)"));
}

// Where a sentence names the terminals of a device, they are its wiring.
struct WiringRule {
    const char* name;
    std::vector<const char*> about;  // words that all appear in the sentence
    const char* kind;                // "выход" or "вход"
    std::set<int> terminals;
};

class Wiring : public ::testing::TestWithParam<WiringRule> {};

TEST_P(Wiring, IsNamedAlikeInThePagesAndTheNarration) {
    const WiringRule& rule = GetParam();
    std::vector<std::string> texts(program().texts().begin(), program().texts().end());
    for (const PageCase& page : kPages) texts.push_back(pageText(page));
    int named = 0;
    for (const std::string& text : texts)
        for (const std::string& sentence : sentences(text)) {
            bool about = true;
            for (const char* word : rule.about)
                about = about && sentence.find(word) != std::string::npos;
            const std::set<int> terminals = terminalsNamed(sentence, rule.kind);
            if (!about || terminals.empty()) continue;
            EXPECT_EQ(terminals, rule.terminals) << sentence;
            ++named;
        }
    EXPECT_GE(named, 2) << "the rule found too few sentences to check";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Installation, Wiring, ::testing::Values(
    WiringRule{"PumpAndUvLamp", {"насос", "ультрафиолетов"}, "выход",
               {terminal::kPumpRelay, terminal::kUvLampRelay}},
    WiringRule{"Manometer",     {"манометр"},               "вход",  {terminal::kManometer}}),
    [](const auto& p) { return std::string(p.param.name); });
// clang-format on

}  // namespace
}  // namespace vk41
