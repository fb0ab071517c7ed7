#include "conditions/program_file.h"
#include "case_name.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/notation.h"

namespace vk41 {
namespace {

using notation::Column;

constexpr std::string_view kFile = "prog.tsv";
constexpr const char* kHeader =
    "№\tВид\tОперанд 1\tОперанд 2\tВыход\tЗнач. IF\tЗнач. ELSE\tЗависит от\tКомментарий";

// A program file: the header, then `lines`, each ended with '\n'.
std::string fileOf(std::initializer_list<std::string_view> lines) {
    std::string text = std::string(kHeader) + '\n';
    for (std::string_view line : lines) text.append(line).append("\n");
    return text;
}

// Operator 1 as the factory table has it, one cell replaced by `text`.
std::string rowWith(Column column, std::string_view text) {
    // clang-format off
    std::array<std::string_view, notation::kColumns> cells = {
        "1", "если О1 Равен О2", "Self / 133", "0", "self / D3", "1 р3", "0 р3", "нет",
        "Если выход 5 разомкнут"};
    // clang-format on
    cells[static_cast<std::size_t>(column)] = text;
    std::string line;
    for (std::string_view cell : cells) {
        if (!line.empty()) line += '\t';
        line += cell;
    }
    return line;
}

std::string withLineEnds(std::string text, std::string_view end) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += end;
        else
            out += c;
    }
    return out;
}

using testing::caseName;

// ---------------------------------------------------------------------------
// Writing and reading back.

TEST(ProgramFile, FactoryProgramReadsBackFromItsText) {
    const ProgramRead read = parseProgram(programText(factoryProgram()), kFile);
    ASSERT_TRUE(read.program.has_value()) << read.error;
    EXPECT_EQ(read.error, "");
    EXPECT_TRUE(*read.program == factoryProgram());
}

TEST(ProgramFile, TextIsTheHeaderThenFourteenRowsAsTheTablePrintsThem) {
    const std::string text = programText(factoryProgram());
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(text.substr(from, end - from));
        from = end == std::string::npos ? text.size() : end + 1;
    }
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(lines[0], kHeader);
    EXPECT_EQ(lines[1].rfind("1\tесли О1 Равен О2\tSelf / 133\t0\tself / D3\t1 р3\t0 р3\tнет\t"
                             "Если собственный дискретный выход №5 разомкнут",
                             0),
              0u)
        << lines[1];
    EXPECT_EQ(lines[2].rfind("2\tесли О1 Равен О2\tSelf / 131\t1\tнет\t-\t-\tнет\t", 0), 0u)
        << lines[2];
    EXPECT_EQ(
        lines[3].rfind("3\tесли О1 Равен О2\tSelf / 4\t1\tself / D5\t1 р3\t0 р3\tУ/Ф N2\t", 0), 0u)
        << lines[3];
    EXPECT_EQ(lines[4].rfind("4\tНет\t-\t-\t-\t-\t-\t-\tОператор пропущен", 0), 0u) << lines[4];
    EXPECT_EQ(lines[14].rfind("14\tНет\t-\t-\t-\t-\t-\t-\t", 0), 0u) << lines[14];
}

// A program that uses every kind of operand, every comparison and the
// largest numbers of each column.
Program everyNotation() {
    using K = OperandKind;
    Program p;
    // clang-format off
    //          Вид                   Операнд 1        Операнд 2             Выход IF ELSE Зависит от Комментарий
    p.at(1)  = {Comparison::Equal,    {K::Input, 1},   {K::Constant, 0},     1,    1, 0,   0,         "вход 1"};
    p.at(2)  = {Comparison::NotEqual, {K::Input, 32},  {K::Output, 32},      32,   0, 1,   32,        ""};
    p.at(5)  = {Comparison::Greater,  {K::Counter, 1}, {K::Constant, 65535}, 0,    0, 0,   1,         "счётчик 8 / 1"};
    p.at(9)  = {Comparison::Less,     {K::Flag, 1},    {K::Counter, 4},      7,    0, 0,   0,         "  пробелы по краям  "};
    p.at(14) = {Comparison::Equal,    {K::Flag, 32},   {K::Output, 1},       0,    0, 0,   14,        "последний"};
    // clang-format on
    return p;
}

TEST(ProgramFile, EveryNotationReadsBackFromItsText) {
    const Program p = everyNotation();
    const ProgramRead read = parseProgram(programText(p), kFile);
    ASSERT_TRUE(read.program.has_value()) << read.error;
    for (int k = 1; k <= kOperators; ++k)
        EXPECT_TRUE(read.program->at(k) == p.at(k)) << "operator " << k;
}

TEST(ProgramFile, CommentKeepsToItsLineAndColumnWhenWritten) {
    Program p;
    p.at(3).comment = "первая\tвторая\nтретья\r";
    const std::string text = programText(p);
    EXPECT_NE(text.find("\tпервая вторая третья \n"), std::string::npos) << text;
    const ProgramRead read = parseProgram(text, kFile);
    ASSERT_TRUE(read.program.has_value()) << read.error;
    EXPECT_EQ(read.program->at(3).comment, "первая вторая третья ");
}

// A directory of its own for each test, removed with everything in it.
class ProgramFileOnDisk : public ::testing::Test {
  protected:
    ProgramFileOnDisk() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vk41-program-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) dir = pattern;
    }
    ~ProgramFileOnDisk() override {
        std::error_code ignored;
        if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
    }
    void SetUp() override { ASSERT_FALSE(dir.empty()) << "mkdtemp failed"; }

    std::string path(const char* name) const { return (dir / name).string(); }
    void store(const std::string& file, const std::string& text) const {
        std::ofstream(file, std::ios::binary) << text;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            found.push_back(entry.path().filename().string());
        return found;
    }

    std::filesystem::path dir;
};

TEST_F(ProgramFileOnDisk, FactoryProgramWrittenThenReadIsTheFactoryProgram) {
    const std::string file = path("заводская.tsv");
    ASSERT_EQ(writeProgramFile(file, factoryProgram()), "");
    const ProgramRead read = readProgramFile(file);
    ASSERT_TRUE(read.program.has_value()) << read.error;
    EXPECT_TRUE(*read.program == factoryProgram());
    // Written under another name first, then renamed: nothing else stays behind.
    EXPECT_EQ(names(), std::vector<std::string>{"заводская.tsv"});
}

TEST_F(ProgramFileOnDisk, WritingReplacesAnEarlierFile) {
    const std::string file = path("p.tsv");
    ASSERT_EQ(writeProgramFile(file, everyNotation()), "");
    ASSERT_EQ(writeProgramFile(file, factoryProgram()), "");
    const ProgramRead read = readProgramFile(file);
    ASSERT_TRUE(read.program.has_value()) << read.error;
    EXPECT_TRUE(*read.program == factoryProgram());
}

TEST_F(ProgramFileOnDisk, WritingIntoAMissingDirectoryFailsNamingTheFile) {
    const std::string file = path("нет/p.tsv");
    const std::string error = writeProgramFile(file, factoryProgram());
    EXPECT_EQ(error.rfind(file + ": ", 0), 0u) << error;
}

TEST_F(ProgramFileOnDisk, WritingOverADirectoryFailsAndLeavesNothingBehind) {
    const std::string file = path("p.tsv");
    std::filesystem::create_directory(file);
    store(path("p.tsv/inside"), "x");
    const std::string error = writeProgramFile(file, factoryProgram());
    EXPECT_EQ(error, file + ": файл не записан");
    EXPECT_EQ(names(), std::vector<std::string>{"p.tsv"});
}

TEST_F(ProgramFileOnDisk, FileThatDoesNotExistIsNotRead) {
    const std::string file = path("нет.tsv");
    const ProgramRead read = readProgramFile(file);
    EXPECT_FALSE(read.program.has_value());
    EXPECT_EQ(read.error, file + ": файл не открывается");
}

TEST_F(ProgramFileOnDisk, FileOfOneMegabyteReadsAndOneByteMoreDoesNot) {
    std::string text = fileOf({"# заполнение"});
    text.insert(text.size() - 1, kLargestProgramFile - text.size(), '#');
    ASSERT_EQ(text.size(), kLargestProgramFile);
    const std::string file = path("ровно.tsv");
    store(file, text);
    const ProgramRead whole = readProgramFile(file);
    EXPECT_TRUE(whole.program.has_value()) << whole.error;

    store(file, text + "\n");
    const ProgramRead over = readProgramFile(file);
    EXPECT_FALSE(over.program.has_value());
    EXPECT_EQ(over.error, file + ": файл больше 1 МБ — это не программа блока условий");
}

TEST_F(ProgramFileOnDisk, ErrorNamesTheFileItsLineAndColumn) {
    const std::string file = path("ошибка.tsv");
    store(file, fileOf({"2\tНет", "3\tНет", "", "# ниже ошибка", "5\tНет",
                        rowWith(Column::First, "Self / 200")}));
    const ProgramRead read = readProgramFile(file);
    EXPECT_FALSE(read.program.has_value());
    EXPECT_EQ(read.error, file +
                              ": строка 7, столбец «Операнд 1»: «Self / 200» — входы Self / 1…32, "
                              "выходы Self / 129…160");
}

// ---------------------------------------------------------------------------
// Every reason a text is not a program: where the message says it is, and
// a fragment of what it says was expected.

struct ParseErrorCase {
    const char* name;
    std::string text;
    int line;            // 0: the file as a whole
    const char* column;  // the column's title, or null for the line as a whole
    const char* cell;    // the cell as quoted, or null
    const char* why;
};

void PrintTo(const ParseErrorCase& c, std::ostream* os) {
    *os << c.name;
}

std::string overOneMegabyte() {
    std::string text = fileOf({});
    text.append(kLargestProgramFile, '#');
    return text;
}

constexpr const char* kNumberWhy = "номер оператора от 1 до 14";
constexpr const char* kKindWhy = "вид оператора: Нет, если О1 Равен О2";
constexpr const char* kSelfWhy = "входы Self / 1…32, выходы Self / 129…160";
constexpr const char* kFlagWhy = "флаги условий У/Ф N1…N32";
constexpr const char* kCounterWhy = "счётчики ведомого ВК-12 с адресом 8: 8 / 1…8 / 4";
constexpr const char* kConstantWhy = "число от 0 до 65535";
constexpr const char* kOperandWhy = "операнд: Self / 1…32 (входы), Self / 129…160 (выходы)";
constexpr const char* kValueWhy = "значение 0 или 1 (0 р3, 1 р3)";
constexpr const char* kOutputWhy = "«нет» или собственный выход self / D1…D32";
constexpr const char* kDependsWhy = "«нет» или флаг условия У/Ф N1…N32";
constexpr const char* kMissingWhy = "столбца нет: в строке оператора 9 столбцов через табуляцию";
constexpr const char* kHeaderWhy =
    "это не программа блока условий — первой должна идти строка заголовка «№, Вид, Операнд 1";
constexpr const char* kEmptyWhy = "файл пуст — в нём нет заголовка программы блока условий";
constexpr const char* kUtf8Why = "это не текст в кодировке UTF-8";
constexpr const char* kLargeWhy = "файл больше 1 МБ — это не программа блока условий";

constexpr Column kNo = Column::Number;
constexpr Column kKind = Column::Kind;
constexpr Column kO1 = Column::First;
constexpr Column kO2 = Column::Second;
constexpr Column kOut = Column::Output;
constexpr Column kIf = Column::ValueIf;
constexpr Column kElse = Column::ValueElse;
constexpr Column kDep = Column::DependsOn;

// Texts too long for a row of the table below.
const std::string kAfterComments =
    "# программа\n\n" + fileOf({"", "  # ещё", rowWith(Column::First, "Self / 200")});
const std::string kCrLfError = withLineEnds(
    fileOf({"1\tНет", "", "2\tесли О1 Равен О2\tSelf / 131\t1\tнет\t-\t-\tфлаг"}), "\r\n");
constexpr const char* kMisspeltHeader =
    "№\tВид\tОперанд1\tОперанд 2\tВыход\tЗнач. IF\tЗнач. ELSE\tЗависит от\n";
constexpr const char* kSpacedHeader =
    "№ Вид Операнд 1 Операнд 2 Выход Знач. IF Знач. ELSE Зависит от\n";
constexpr const char* kCutAfterSecond = "1\tесли О1 Равен О2\tSelf / 133\t0";
constexpr const char* kCutAfterOutput = "1\tесли О1 Равен О2\tSelf / 133\t0\tself / D3";
constexpr const char* kCutAfterValues = "2\tесли О1 Больше О2\t8 / 1\t5\tнет\t-\t-";

// clang-format off
const ParseErrorCase kParseErrors[] = {
    // name                         text                                             line  column        cell                    why
    {"NumberZero",                  fileOf({"0\tНет"}),                              2,    "№",          "0",                    kNumberWhy},
    {"NumberFifteen",               fileOf({"15\tНет"}),                             2,    "№",          "15",                   kNumberWhy},
    {"NumberNotDigits",             fileOf({"x\tНет"}),                              2,    "№",          "x",                    kNumberWhy},
    {"NumberNegative",              fileOf({"-1\tНет"}),                             2,    "№",          "-1",                   kNumberWhy},
    {"NumberMissing",               fileOf({"\tНет"}),                               2,    "№",          "",                     kNumberWhy},
    {"NumberHuge",                  fileOf({"99999999999999999999\tНет"}),           2,    "№",          "99999999999999999999", kNumberWhy},
    {"NumberTwiceNamesTheFirst",    fileOf({"3\tНет", "# ещё раз", "3\tНет"}),       4,    "№",          "3",                    "оператор 3 уже задан в строке 2"},
    {"KindUnknown",                 fileOf({rowWith(kKind, "если О1 Примерно О2")}), 2,    "Вид",        "если О1 Примерно О2",  kKindWhy},
    {"InputPast32",                 fileOf({rowWith(kO1, "Self / 33")}),             2,    "Операнд 1",  "Self / 33",            kSelfWhy},
    {"InputZero",                   fileOf({rowWith(kO1, "Self / 0")}),              2,    "Операнд 1",  "Self / 0",             kSelfWhy},
    {"SelfBetweenInputsAndOutputs", fileOf({rowWith(kO1, "Self / 128")}),            2,    "Операнд 1",  "Self / 128",           kSelfWhy},
    {"SelfTwoHundred",              fileOf({rowWith(kO1, "Self / 200")}),            2,    "Операнд 1",  "Self / 200",           kSelfWhy},
    {"OutputOperandPast160",        fileOf({rowWith(kO2, "Self / 161")}),            2,    "Операнд 2",  "Self / 161",           kSelfWhy},
    {"SelfWithoutNumber",           fileOf({rowWith(kO1, "Self /")}),                2,    "Операнд 1",  "Self /",               kSelfWhy},
    {"FlagZero",                    fileOf({rowWith(kO1, "У/Ф N0")}),                2,    "Операнд 1",  "У/Ф N0",               kFlagWhy},
    {"FlagPast32",                  fileOf({rowWith(kO2, "У/Ф N33")}),               2,    "Операнд 2",  "У/Ф N33",              kFlagWhy},
    {"CounterOfAnotherDevice",      fileOf({rowWith(kO1, "5 / 1")}),                 2,    "Операнд 1",  "5 / 1",                kCounterWhy},
    {"CounterFive",                 fileOf({rowWith(kO1, "8 / 5")}),                 2,    "Операнд 1",  "8 / 5",                kCounterWhy},
    {"CounterZero",                 fileOf({rowWith(kO2, "8 / 0")}),                 2,    "Операнд 2",  "8 / 0",                kCounterWhy},
    {"ConstantPast65535",           fileOf({rowWith(kO2, "65536")}),                 2,    "Операнд 2",  "65536",                kConstantWhy},
    {"ConstantNegative",            fileOf({rowWith(kO2, "-5")}),                    2,    "Операнд 2",  "-5",                   kOperandWhy},
    {"OperandGarbage",              fileOf({rowWith(kO1, "насос")}),                 2,    "Операнд 1",  "насос",                kOperandWhy},
    {"OperandDashInComparison",     fileOf({rowWith(kO1, "-")}),                     2,    "Операнд 1",  "-",                    kOperandWhy},
    {"OperandEmptyInComparison",    fileOf({rowWith(kO2, "")}),                      2,    "Операнд 2",  "",                     kOperandWhy},
    {"ValueIfMissingWithOutput",    fileOf({rowWith(kIf, "-")}),                     2,    "Знач. IF",   "-",                    kValueWhy},
    {"ValueElseMissingWithOutput",  fileOf({rowWith(kElse, "-")}),                   2,    "Знач. ELSE", "-",                    kValueWhy},
    {"ValueTwo",                    fileOf({rowWith(kIf, "2")}),                     2,    "Знач. IF",   "2",                    kValueWhy},
    {"ValueTwoR3",                  fileOf({rowWith(kElse, "2 р3")}),                2,    "Знач. ELSE", "2 р3",                 kValueWhy},
    {"OutputPast32",                fileOf({rowWith(kOut, "self / D33")}),           2,    "Выход",      "self / D33",           kOutputWhy},
    {"OutputZero",                  fileOf({rowWith(kOut, "self / D0")}),            2,    "Выход",      "self / D0",            kOutputWhy},
    {"OutputWord",                  fileOf({rowWith(kOut, "выход")}),                2,    "Выход",      "выход",                kOutputWhy},
    {"OutputAsOperand",             fileOf({rowWith(kOut, "Self / 131")}),           2,    "Выход",      "Self / 131",           kOutputWhy},
    {"DependsOnPast32",             fileOf({rowWith(kDep, "У/Ф N33")}),              2,    "Зависит от", "У/Ф N33",              kDependsWhy},
    {"DependsOnFlagZero",           fileOf({rowWith(kDep, "У/Ф N0")}),               2,    "Зависит от", "У/Ф N0",               kDependsWhy},
    {"DependsOnWord",               fileOf({rowWith(kDep, "флаг 2")}),               2,    "Зависит от", "флаг 2",               kDependsWhy},
    {"DependsOnInput",              fileOf({rowWith(kDep, "Self / 2")}),             2,    "Зависит от", "Self / 2",             kDependsWhy},
    {"MissingOutputColumn",         fileOf({kCutAfterSecond}),                       2,    "Выход",      "",                     kMissingWhy},
    {"MissingValueColumns",         fileOf({kCutAfterOutput}),                       2,    "Знач. IF",   "",                     kMissingWhy},
    {"MissingDependsColumn",        fileOf({kCutAfterValues}),                       2,    "Зависит от", "",                     kMissingWhy},
    {"ErrorAfterCommentsAndBlanks", kAfterComments,                                  6,    "Операнд 1",  "Self / 200",           kSelfWhy},
    {"ErrorLineWithCrLf",           kCrLfError,                                      4,    "Зависит от", "флаг",                 kDependsWhy},
    {"CellQuotedWithoutBlanks",     fileOf({rowWith(kO1, "  Self / 33  ")}),         2,    "Операнд 1",  "Self / 33",            kSelfWhy},
    {"NoHeader",                    rowWith(kNo, "1") + "\n",                        1,    nullptr,      nullptr,                kHeaderWhy},
    {"HeaderMisspelt",              kMisspeltHeader,                                 1,    nullptr,      nullptr,                kHeaderWhy},
    {"HeaderWithSpaces",            kSpacedHeader,                                   1,    nullptr,      nullptr,                kHeaderWhy},
    {"HeaderShort",                 "№\tВид\tОперанд 1\n1\tНет\n",                   1,    nullptr,      nullptr,                kHeaderWhy},
    {"HeaderAfterComments",         "# старая программа\n\n1\tНет\n",                3,    nullptr,      nullptr,                kHeaderWhy},
    {"EmptyText",                   "",                                              0,    nullptr,      nullptr,                kEmptyWhy},
    {"OnlyCommentsAndBlanks",       "# ничего\n\n   \n",                             0,    nullptr,      nullptr,                kEmptyWhy},
    {"NotUtf8",                     fileOf({"1\tНет\t\xFF\xFE"}),                    0,    nullptr,      nullptr,                kUtf8Why},
    {"Utf16ByteOrderMark",          "\xFF\xFE" + fileOf({}),                         0,    nullptr,      nullptr,                kUtf8Why},
    {"Utf8CutShort",                fileOf({"1\tНет\t\tкомментарий \xD0"}),          0,    nullptr,      nullptr,                kUtf8Why},
    {"OverOneMegabyte",             overOneMegabyte(),                               0,    nullptr,      nullptr,                kLargeWhy},
    {"Utf8Overlong",                fileOf({"1\tНет\t\t\xE0\x80\x80"}),                0,    nullptr,      nullptr,                kUtf8Why},
    {"Utf8Surrogate",               fileOf({"1\tНет\t\t\xED\xA0\x80"}),                0,    nullptr,      nullptr,                kUtf8Why},
    {"Utf8PastTheLastCodePoint",    fileOf({"1\tНет\t\t\xF4\x90\x80\x80"}),           0,    nullptr,      nullptr,                kUtf8Why},
};
// clang-format on

class ProgramFileErrors : public ::testing::TestWithParam<ParseErrorCase> {};

TEST_P(ProgramFileErrors, AreReportedWhereTheyStand) {
    const ParseErrorCase& c = GetParam();
    const ProgramRead read = parseProgram(c.text, kFile);
    EXPECT_FALSE(read.program.has_value()) << "read without an error";
    const std::string& message = read.error;
    std::string where = std::string(kFile) + ": ";
    if (c.line != 0) where += "строка " + std::to_string(c.line) + (c.column ? ", " : ": ");
    if (c.column) where += std::string("столбец «") + c.column + "»: ";
    if (c.cell) where += std::string("«") + c.cell + "» — ";
    EXPECT_EQ(message.rfind(where, 0), 0u)
        << "expected the start " << where << "\n  in " << message;
    EXPECT_NE(message.find(c.why), std::string::npos)
        << "expected " << c.why << "\n  in " << message;
}

INSTANTIATE_TEST_SUITE_P(Reader, ProgramFileErrors, ::testing::ValuesIn(kParseErrors),
                         caseName<ParseErrorCase>);

// ---------------------------------------------------------------------------
// Texts the reader takes.

Program withOperator(int k, const Operator& op) {
    Program p;
    p.at(k) = op;
    return p;
}

Program withComment(int k, const char* comment) {
    Program p;
    p.at(k).comment = comment;
    return p;
}

Operator commented(Operator op, const char* comment) {
    op.comment = comment;
    return op;
}

// Operator 1 as rowWith() writes it, and as it reads; without an output its
// values may be left empty.
const std::string kFirstRow = rowWith(Column::Number, "1");
constexpr const char* kWithoutOutput = "1\tесли О1 Равен О2\tSelf / 133\t0\tнет\t\t\tнет\tx";
// clang-format off
const Operator kFirst =              {Comparison::Equal, {OperandKind::Output, 5}, {OperandKind::Constant, 0}, 3, 1, 0, 0, "Если выход 5 разомкнут"};
const Operator kFirstWithoutOutput = {Comparison::Equal, {OperandKind::Output, 5}, {OperandKind::Constant, 0}, 0, 0, 0, 0, "x"};
// clang-format on
constexpr const char* kWithoutComment =
    "1\tесли О1 Равен О2\tSelf / 133\t0\tself / D3\t1 р3\t0 р3\tнет";
constexpr const char* kHeaderWithoutCommentTitle =
    "№\tВид\tОперанд 1\tОперанд 2\tВыход\tЗнач. IF\tЗнач. ELSE\tЗависит от\n";
constexpr const char* kHeaderWithBlanks =
    "  №\tВид \t Операнд 1\tОперанд 2\tВыход\tЗнач. IF\tЗнач. ELSE\tЗависит от\tКомментарий  \n";

struct ReadCase {
    const char* name;
    std::string text;
    Program program;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const ReadCase kReads[] = {
    // name                          text                                                      program
    {"HeaderOnly",                   fileOf({}),                                               Program{}},
    {"HeaderWithoutCommentTitle",    kHeaderWithoutCommentTitle,                               Program{}},
    {"HeaderWithBlanksAroundTitles", kHeaderWithBlanks,                                        Program{}},
    {"HeaderAfterComments",          "# программа насоса\n\n   \n" + fileOf({}),               Program{}},
    {"EmptyRowNumberAndKind",        fileOf({"4\tНет"}),                                       Program{}},
    {"EmptyRowWithDashes",           fileOf({"4\tНет\t-\t-\t-\t-\t-\t-\t"}),                   Program{}},
    {"EmptyRowWithComment",          fileOf({"4\tНет\t-\t-\t-\t-\t-\t-\tзапас"}),              withComment(4, "запас")},
    {"LastOperator",                 fileOf({"14\tНет\t-\t-\t-\t-\t-\t-\tпоследний"}),         withComment(14, "последний")},
    {"OperatorLine",                 fileOf({kFirstRow}),                                      withOperator(1, kFirst)},
    {"NumberWithBlanks",             fileOf({rowWith(Column::Number, " 1 ")}),                 withOperator(1, kFirst)},
    {"NumberWithLeadingZero",        fileOf({rowWith(Column::Number, "01")}),                  withOperator(1, kFirst)},
    {"CommentColumnLeftOff",         fileOf({kWithoutComment}),                                withOperator(1, commented(kFirst, ""))},
    {"CommentIsTheRestOfTheLine",    fileOf({rowWith(Column::Comment, " а\tб ")}),             withOperator(1, commented(kFirst, " а\tб "))},
    {"ValuesLeftEmptyWithoutOutput", fileOf({kWithoutOutput}),                                 withOperator(1, kFirstWithoutOutput)},
    {"CommentLinesBetweenRows",      fileOf({"# первый", "", kFirstRow, "#", "   "}),          withOperator(1, kFirst)},
    {"CrLfLineEnds",                 withLineEnds(fileOf({kFirstRow, "", "# конец"}), "\r\n"), withOperator(1, kFirst)},
    {"ByteOrderMark",                "\xEF\xBB\xBF" + fileOf({kFirstRow}),                     withOperator(1, kFirst)},
    {"LastLineWithoutLineEnd",       std::string(kHeader) + "\n" + kFirstRow,                  withOperator(1, kFirst)},
    {"FactoryWithCrLf",              withLineEnds(programText(factoryProgram()), "\r\n"),      factoryProgram()},
    {"FactoryWithByteOrderMark",     "\xEF\xBB\xBF" + programText(factoryProgram()),           factoryProgram()},
    {"EmptyRowKeepsOnlyItsComment",  fileOf({"4\tНет\tSelf / 5\t1\tself / D3\t1\t1\tУ/Ф N2\tc"}), withComment(4, "c")},
    {"EmptyRowIgnoresItsCells",      fileOf({"4\tНет\tнасос\t?\t?\t?\t?\t?\t"}),               Program{}},
    {"NoOutputKeepsNoValues",        fileOf({"1\tесли О1 Равен О2\tSelf / 133\t0\tнет\t1 р3\t1 р3\tнет\tx"}), withOperator(1, kFirstWithoutOutput)},
    {"KindWithLatinO",               fileOf({"1\tесли O1 Равен O2\tSelf / 133\t0\tнет\t-\t-\tнет\tx"}), withOperator(1, kFirstWithoutOutput)},
};
// clang-format on

class ProgramFileReads : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProgramFileReads, AsTheTableHasIt) {
    const ReadCase& c = GetParam();
    const ProgramRead read = parseProgram(c.text, kFile);
    ASSERT_TRUE(read.program.has_value()) << read.error;
    EXPECT_EQ(read.error, "");
    for (int k = 1; k <= kOperators; ++k)
        EXPECT_TRUE(read.program->at(k) == c.program.at(k))
            << "operator " << k << " reads as: " << programText(*read.program);
}

INSTANTIATE_TEST_SUITE_P(Reader, ProgramFileReads, ::testing::ValuesIn(kReads), caseName<ReadCase>);

// ---------------------------------------------------------------------------
// Cells typed loosely read as the table prints them: through the notation's
// readers, and in a file.

struct LooseCase {
    const char* name;
    Column column;
    const char* typed;
    const char* printed;
};

void PrintTo(const LooseCase& c, std::ostream* os) {
    *os << c.name;
}

// clang-format off
const LooseCase kLoose[] = {
    // name                   column             typed                  printed
    {"SelfWithoutSpaces",     Column::First,     "self/133",            "Self / 133"},
    {"SelfInCapitals",        Column::First,     "SELF / 133",          "Self / 133"},
    {"SelfWithManySpaces",    Column::First,     "  Self  /  5 ",       "Self / 5"},
    {"SelfInput32",           Column::Second,    "self/32",             "Self / 32"},
    {"SelfOutput1",           Column::Second,    "Self/129",            "Self / 129"},
    {"SelfOutput32",          Column::Second,    "Self / 160",          "Self / 160"},
    {"FlagInSmallLetters",    Column::First,     "у/ф n5",              "У/Ф N5"},
    {"FlagWithNumeroSign",    Column::First,     "У/Ф№5",               "У/Ф N5"},
    {"FlagWithCyrillicEn",    Column::First,     "У/Ф Н5",              "У/Ф N5"},
    {"FlagWithSpaces",        Column::Second,    "У / Ф N 32",          "У/Ф N32"},
    {"CounterWithoutSpaces",  Column::Second,    "8/3",                 "8 / 3"},
    {"CounterFour",           Column::First,     "8 / 4",               "8 / 4"},
    {"ConstantZero",          Column::Second,    "0",                   "0"},
    {"ConstantLargest",       Column::Second,    "65535",               "65535"},
    {"ConstantLeadingZeros",  Column::Second,    "007",                 "7"},
    {"OutputInCapitals",      Column::Output,    "SELF / d3",           "self / D3"},
    {"OutputWithoutSpaces",   Column::Output,    "self/D32",            "self / D32"},
    {"ValueDigitOne",         Column::ValueIf,   "1",                   "1 р3"},
    {"ValueOneR3",            Column::ValueIf,   "1 р3",                "1 р3"},
    {"ValueZeroR3NoSpace",    Column::ValueElse, "0р3",                 "0 р3"},
    {"ValueDigitZero",        Column::ValueElse, "0",                   "0 р3"},
    {"ValueCapitalEr",        Column::ValueIf,   "1 Р3",                "1 р3"},
    {"ValueLatinP",           Column::ValueElse, "0 p3",                "0 р3"},
    {"DependsInSmallLetters", Column::DependsOn, "у/ф n2",              "У/Ф N2"},
    {"DependsWithNumeroSign", Column::DependsOn, "У/Ф №11",             "У/Ф N11"},
    {"DependsNoneInCapitals", Column::DependsOn, "НЕТ",                 "нет"},
    {"DependsDash",           Column::DependsOn, "-",                   "нет"},
    {"KindInCapitals",        Column::Kind,      "ЕСЛИ  О1  РАВЕН  О2", "если О1 Равен О2"},
    {"KindWordOnly",          Column::Kind,      "не равен",            "если О1 Не равен О2"},
    {"KindGreaterSign",       Column::Kind,      ">",                   "если О1 Больше О2"},
    {"KindLessWord",          Column::Kind,      "Меньше",              "если О1 Меньше О2"},
};
// clang-format on

class NotationReading : public ::testing::TestWithParam<LooseCase> {};

// The reader of the column alone, and the table's text of what it read.
std::string readThenPrinted(Column column, std::string_view typed, std::string& why) {
    const auto printed = [&why](const auto& read, auto print) -> std::string {
        if (!read.value) {
            why = read.why;
            return {};
        }
        return print(*read.value);
    };
    switch (column) {
        case Column::Kind:
            return printed(notation::readKind(typed), notation::kindText);
        case Column::First:
        case Column::Second:
            return printed(notation::readOperand(typed), notation::operandText);
        case Column::Output:
            return printed(notation::readOutput(typed), notation::outputText);
        case Column::ValueIf:
        case Column::ValueElse:
            return printed(notation::readValue(typed), notation::valueText);
        case Column::DependsOn:
            return printed(notation::readDepends(typed), notation::dependsText);
        default:
            why = "no reader for this column";
            return {};
    }
}

TEST_P(NotationReading, ReadsAsTheTablePrints) {
    const LooseCase& c = GetParam();
    std::string why;
    EXPECT_EQ(readThenPrinted(c.column, c.typed, why), c.printed) << why;
}

TEST_P(NotationReading, ReadsInAFileAsTheTablePrints) {
    const LooseCase& c = GetParam();
    const ProgramRead read = parseProgram(fileOf({rowWith(c.column, c.typed)}), kFile);
    ASSERT_TRUE(read.program.has_value()) << read.error;
    EXPECT_EQ(notation::cell(read.program->at(1), c.column), c.printed);
}

INSTANTIATE_TEST_SUITE_P(Loose, NotationReading, ::testing::ValuesIn(kLoose), caseName<LooseCase>);

TEST(ProgramFile, ALongBadCellIsQuotedCutShort) {
    const std::string huge(500000, '7');
    const ProgramRead read = parseProgram(fileOf({rowWith(kO1, huge)}), kFile);
    EXPECT_FALSE(read.program.has_value());
    EXPECT_LT(read.error.size(), 400u) << read.error.substr(0, 400);
    EXPECT_NE(read.error.find("7777…»"), std::string::npos) << read.error.substr(0, 400);
}

}  // namespace
}  // namespace vk41
