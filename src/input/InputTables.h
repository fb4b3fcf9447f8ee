#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "drawing/Canvas.h"
#include "model/Messages.h"
#include "model/StructureModel.h"
#include "model/TextGrid.h"

namespace tavrin {

// Editor kinds of a column, as held in StructureModel::ColumnEditorKinds.
inline constexpr std::string_view kTypedColumn = "T";  // typed into the text editor
inline constexpr std::string_view kListColumn = "F";   // chosen from a fixed list

// InputTableKind values: which table the input grid shows.
inline constexpr std::int16_t kNodeTable = 0;
inline constexpr std::int16_t kElementTable = 1;
inline constexpr std::int16_t kSupportTable = 2;
inline constexpr std::int16_t kLoadTable = 3;
// Supports that settle and members heated unequally: the causes of internal
// forces besides the loads, typed after the four tables of the structure.
inline constexpr std::int16_t kSettlementTable = 4;
inline constexpr std::int16_t kTemperatureTable = 5;

inline constexpr std::string_view kInputFormDesignCaption = "输入分析体系模型信息";
inline constexpr std::string_view kInputChoiceLabel = "输入内容：";
// Entries of the table choice, list index = InputTableKind.
inline constexpr std::string_view kInputTableChoices[] = {"结点", "单元", "支座", "荷载", "支座位移", "温度改变"};

// Header row plus 100 data rows.
inline constexpr int kInputGridRows = 101;

struct InputColumn {
    std::string_view header;
    int widthTwips;
    std::string_view editorKind;
    // A number cell whose blank means "not given" rather than 0.
    bool blankIsAbsent = false;
};

struct InputTableLayout {
    std::int16_t kind;
    std::string_view formCaption;
    std::string_view panelCaption;
    std::span<const InputColumn> columns;
};

inline constexpr InputColumn kNodeColumns[] = {
    {"结点号", 830, kTypedColumn},
    {"x坐标", 830, kTypedColumn},
    {"y坐标", 830, kTypedColumn},
    {"结点类型", 830, kListColumn},
};
inline constexpr InputColumn kElementColumns[] = {
    {"单元码", 830, kTypedColumn},
    {"EI值", 830, kTypedColumn},
    {"i端结点码", 1000, kTypedColumn},
    {"j端结点码", 1000, kTypedColumn},
};
inline constexpr InputColumn kSupportColumns[] = {
    {"支座结点码", 830, kTypedColumn},
    {"支座类型", 830, kListColumn},
    {"支座方向", 830, kListColumn},
};
// a and b are distances from end i along the member named; 末端大小 is the
// intensity at b of a distributed load varying linearly from 荷载大小 at a.
inline constexpr InputColumn kLoadColumns[] = {
    {"荷载类型", 830, kListColumn},     {"作用结点", 830, kTypedColumn},       {"作用单元", 830, kTypedColumn},
    {"荷载方向", 830, kListColumn},     {"荷载大小", 830, kTypedColumn},       {"起点a", 830, kTypedColumn, true},
    {"终点b", 830, kTypedColumn, true}, {"末端大小", 830, kTypedColumn, true},
};

// 位移值 in the sense of its kind: rightward, upward, counter-clockwise
// positive (a length, or an angle in radians).
inline constexpr InputColumn kSettlementColumns[] = {
    {"结点号", 830, kTypedColumn},
    {"位移类型", 1000, kListColumn},
    {"位移值", 830, kTypedColumn},
};
// Left and right faces looking from end i to end j; 线膨胀系数 α per degree,
// 截面高度 h in the units of the coordinates.
inline constexpr InputColumn kTemperatureColumns[] = {
    {"单元号", 830, kTypedColumn},      {"左侧温度改变", 1050, kTypedColumn}, {"右侧温度改变", 1050, kTypedColumn},
    {"线膨胀系数", 1000, kTypedColumn}, {"截面高度", 900, kTypedColumn},
};

// The four tables of the structure, indexed by InputTableKind.
inline constexpr InputTableLayout kInputTableLayouts[] = {
    {kNodeTable, "输入计算结点特征：", "结点数据：", kNodeColumns},
    {kElementTable, "输入单元几何特征：", "单元数据：", kElementColumns},
    {kSupportTable, "输入支座几何特征：", "支座数据：", kSupportColumns},
    {kLoadTable, "输入荷载信息：", "荷载数据：", kLoadColumns},
};
// The settlements and temperature changes, indexed by InputTableKind -
// kSettlementTable. Kept apart from the four, whose list the report walks
// for its tables of the structure: a structure without settlements or
// temperature changes is reported as it always was.
inline constexpr InputTableLayout kSettlementTemperatureLayouts[] = {
    {kSettlementTable, "输入支座位移：", "支座位移数据：", kSettlementColumns},
    {kTemperatureTable, "输入温度改变：", "温度改变数据：", kTemperatureColumns},
};

// nullptr for a kind outside 0..5.
const InputTableLayout* FindInputTableLayout(int kind);

// What the input form shows besides its grid; the Qt form mirrors it.
struct InputFormState {
    std::string formCaption{kInputFormDesignCaption};
    std::string panelCaption;
    bool panelVisible = false;
    bool formShown = false;
};

// The choice of a table in the form's list (index 0 nodes .. 3 loads,
// 4 settlements, 5 temperature changes): puts
// the current cell at (1, 0), shows the panel with the table's caption,
// empties the grid, lays the table out and fills it with the table's
// committed rows (CommittedRows), so that one typo is mended in place rather
// than the whole table typed again. Any other index changes nothing
// but the current cell and returns false; on true the form gives the grid
// the keyboard focus. The form stays where it stands.
bool SelectInputTable(int listIndex, StructureModel& model, TextGrid& grid, InputFormState& form);

// True when the data rows of the grid differ from the rows the table's
// committed records would show (CommittedRows typed into a grid of the same
// size): a cell typed and typed back as it was is no change, nor a number
// cell of a row the commit reads that holds the committed number in other
// words ("4.0" for "4", a blank for "0"). Every data row counts, also one
// below the first row whose first cell is empty, which a commit would not
// read.
bool InputTableModified(const StructureModel& model, const TextGrid& grid);

// The answers to kUncommittedQuestion: commit the table, drop the changes,
// or stay with the table as it is.
enum class UncommittedAnswer { Commit, Drop, Stay };

// Before the input form lets go of the table it shows ("确定", another
// table chosen, the form closed, another structure opened): while the panel
// shows a modified table (InputTableModified), `ask` answers
// kUncommittedQuestion. Commit commits the table as "交互检查" does; Drop
// types the committed rows back into the grid; Stay changes nothing. True
// when the form may go on: nothing was modified, the commit succeeded, or
// the changes were dropped.
bool LeaveInputTable(const InputFormState& form, StructureModel& model, TextGrid& grid, Canvas& canvas,
                     MessageSink& messages, const std::function<UncommittedAnswer()>& ask);

// Lays out one table: editor kinds into the model, form caption, column
// count, widths and headers in row 0, InputTableKind. Cells below the header
// are not touched; columns beyond the new count are dropped with their text.
void LayoutInputTable(const InputTableLayout& layout, StructureModel& model, TextGrid& grid, InputFormState& form);
void LayoutNodeTable(StructureModel& model, TextGrid& grid, InputFormState& form);
void LayoutElementTable(StructureModel& model, TextGrid& grid, InputFormState& form);
void LayoutSupportTable(StructureModel& model, TextGrid& grid, InputFormState& form);
void LayoutLoadTable(StructureModel& model, TextGrid& grid, InputFormState& form);

struct TwipsPoint {
    double left = 0.0;
    double top = 0.0;
    bool operator==(const TwipsPoint&) const = default;
};

struct TwipsSize {
    double width = 0.0;
    double height = 0.0;
    bool operator==(const TwipsSize&) const = default;
};

// The input form's client area as designed.
inline constexpr TwipsSize kInputFormTwips{5400.0, 5580.0};

}  // namespace tavrin
