#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/TextGrid.h"

namespace tavrin {

// One structure with its calculation input, as a structure file (the batch
// tool's case file) keeps it: the four input tables as typed, the model
// type, the supplementary tables and the diagram scale, and the
// settlements and temperature changes when there are any. Rows hold cell
// texts exactly as a user types them into a grid, from row 1 on.
struct StructureCase {
    CellRows nodes;
    CellRows elements;
    CellRows supports;
    // Five cells a row, or up to eight with a, b and the intensity at b of
    // a load placed along its member; missing cells read blank.
    CellRows loads;
    // Three cells a row: node, kind (SettlementKindList), value.
    CellRows settlements;
    // Five cells a row: element, t_left, t_right, α, h.
    CellRows temperatures;
    // The text typed as "超静定次数：" after choosing "超静定结构"; absent
    // for "静定结构".
    std::optional<std::string> degree;
    CellRows attachedParts;
    CellRows basicParts;
    // Entry k - 1: the unit-force table of Xk.
    std::vector<CellRows> unitForces;
    // The structure typed is the original one, and the program forms its
    // basic system: "auto" (the recommended one) or the released restraints,
    // rows of a node and 水平 / 竖向 / 转角 / 弯矩连续. Never with unitForces.
    bool basicSystemAuto = false;
    CellRows basicSystem;
    // The answer to the scale prompt; absent for the automatic scale.
    std::optional<std::string> scale;
    // A student's own numbers, keyed by the text of the calculation item
    // they answer: data rows in the cells of the item's result table (row
    // labels included or left empty), to be compared with the program's.
    std::map<std::string, CellRows> answers;
    // The displacements asked for once the calculation is done: rows of a
    // node number and one of 水平位移 / 竖向位移 / 转角 / 铰两侧相对转角.
    CellRows displacements;
    // What the file says it holds, for the people who hand it on; a text
    // given as an array of texts reads as their concatenation.
    std::string description;
    // The cover of the report: who hands it in ("student", "class").
    std::string student;
    std::string className;
    bool operator==(const StructureCase&) const = default;
};

// The most rows a table of the case may have: the input form's grid holds
// 100 rows, and the supplementary tables are typed into grids of as many. A
// longer table is refused rather than cut, so that no load is lost.
inline constexpr std::size_t kMaxTableRows = 100;

// The most columns of an answer table: the coefficient table of 100
// unknowns, the most the batch tool calculates.
inline constexpr std::size_t kMaxAnswerColumns = 102;

// The largest case file read. The four input tables full take some tens of
// kilobytes; a larger file is refused before it is parsed, since its tree
// takes many times its size in memory.
inline constexpr std::size_t kMaxCaseBytes = 1024 * 1024;
inline constexpr std::string_view kCaseTooLarge = "案例文件大于 1 MiB（1048576 字节），不予读取";
// After the place of the first NUL byte of a case text.
inline constexpr std::string_view kNulBytes = "文件中有空字节（NUL），案例文件应是 UTF-8 文本，这个文件可能已损坏";

// Either the case or one message naming the line and column of a syntax
// error, or the key whose value does not fit (array indexes from 0).
struct CaseReading {
    std::optional<StructureCase> value;
    std::string error;
};

// Reads a UTF-8 JSON case file. Never throws. Every message is Chinese and
// quotes the text of the file only as QuotedInput does.
CaseReading ReadCase(std::string_view text);

// The case as UTF-8 JSON laid out like the shipped examples: one key per
// line, one table row per line, the input tables always, the other keys
// when they hold something. A cell is written as a JSON number only when
// ReadCase gives back its very text, so every cell reads back unchanged.
std::string WriteCase(const StructureCase& structureCase);

// Line and column (both from 1, the column counted in characters) of the
// character at byte offset `offset` of `text`; an offset past the end names
// the position just after the last character.
struct TextPosition {
    int line = 1;
    int column = 1;
};
TextPosition PositionOfOffset(std::string_view text, std::size_t offset);

// "无法打开文件 “名字.json”：原因": what failed, the file and the cause.
inline constexpr std::string_view kOpenFailed = "无法打开文件 ";
inline constexpr std::string_view kSaveFailed = "无法保存文件 ";
std::string FileFault(std::string_view what, const std::filesystem::path& file, std::string_view cause);

// At most kMaxCaseBytes + 1 bytes of `stream`, so that a larger case is
// refused without being held; nothing when reading fails.
std::optional<std::string> ReadCaseBytes(std::FILE* stream);

// The text of a case file, or nothing with `error` naming the file and why
// it cannot be read (missing, a directory, a named pipe or a device, no
// permission, too large). Never waits for a writer.
std::optional<std::string> ReadCaseFileText(const std::filesystem::path& file, std::string& error);

// Writes `text` to a new file beside `file` and renames it over `file`, so
// that `file` is either the old file or the whole new text. Through a
// symbolic link the file it leads to is replaced, and keeps its permissions.
// A temporary file left by a save that did not finish is removed. False,
// with `error` naming the file and the cause in Chinese, when any part
// fails; the old file then stays as it was and the new one is removed,
// except when only the sync of the folder after the rename failed.
bool ReplaceFile(const std::filesystem::path& file, std::string_view text, std::string& error);

}  // namespace tavrin
