#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "forcemethod/CalculationSession.h"
#include "input/InputTables.h"

namespace tavrin {

// A supplementary table of MSFlexGrid1: its leading columns as listed, then
// element columns headed "单元1", "单元2", ... up to `cols`.
struct SupplementaryTableLayout {
    std::string_view frameCaption;
    int rows;
    int cols;
    std::array<InputColumn, 4> leading;
    int leadingCount;
    int elementWidth;  // twips, each element column
};

// One row per attached part in the order of calculation: the hinge about
// which moments are taken, the hinge or support whose reaction is found, then
// the part's elements.
inline constexpr SupplementaryTableLayout AttachedPartInputTable{"附属部分补充输入信息",
                                                                 6,
                                                                 20,
                                                                 {{{"计算顺序", 1000, kTypedColumn},
                                                                   {"取矩铰结点码", 1500, kTypedColumn},
                                                                   {"铰结点/支座码", 1500, kTypedColumn},
                                                                   {}}},
                                                                 3,
                                                                 700};
// One row per basic part: its elements.
inline constexpr SupplementaryTableLayout BasicPartInputTable{
    "基本部分补充输入信息", 6, 20, {{{"基本部分", 900, kTypedColumn}, {}, {}, {}}}, 1, 700};
// One row per load of the unit force Xk, headed as the load table.
inline constexpr SupplementaryTableLayout UnitForceInputTable{kUnitForceFrameCaption,
                                                              10,
                                                              4,
                                                              {{{kLoadColumns[0].header, 900, kListColumn},
                                                                {kLoadColumns[1].header, 900, kTypedColumn},
                                                                {kLoadColumns[2].header, 900, kTypedColumn},
                                                                {kLoadColumns[3].header, 900, kListColumn}}},
                                                              4,
                                                              700};

// The click handler of cmbCalType: selects item `index` and shows the
// supplementary table the item asks for, or enables cmdCal when it needs
// none. A unit-force item clears the picture down to the unloaded structure.
void SelectCalculationItem(CalculationContext& ctx, int index);

// The unit force typed in the unit-force table as loads of magnitude 1 (the
// positive sense of the axis or of rotation; the direction text names the
// axis and the arrow). Rows from 1 to the first empty type cell. A message
// and std::nullopt when a row names a load kind other than a concentrated
// force or a couple, holds a node or element cell that is not wholly a
// number (blank reads 0), names a node or element that does not exist, a
// node that no member touches or a direction that does not suit the kind,
// leaves the element of a couple at a hinge of several members blank, or
// when no row is filled.
std::optional<OneBasedTable<Load>> ReadUnitForceRows(const TextGrid& grid, const StructureModel& model,
                                                     MessageSink& messages);

// "交互检查": replaces Loads by the unit force of the table shown (the user's
// loads kept the first time) and draws it. Refused, with Loads unchanged,
// when the table is refused, when its actions repeat another unit force
// applied or combine several (the canonical equations would be singular), or
// when no unit-force table is showing.
StepOutcome ApplyUnitForces(CalculationContext& ctx);

// "O&K": hides the input frame and enables cmdCal; the attached-part and
// basic-part rows shown are kept as the confirmed rows of the calculation.
// A part row with a cell that is no integer (text that is not wholly a
// number, or one outside -32768..32767), or an attached-part row with a node
// the part cannot hang on (FirstUnpinnedPartNode), is refused with a message
// naming its row, column and cause: nothing is confirmed and the frame stays.
StepOutcome ConfirmSupplementaryInput(CalculationContext& ctx);

// What the form asks for before "计算(&C)" of the selected item, given as the
// student gives it: the rows the supplementary table shows (the rows
// offered), applied ("交互检查") when they are a unit force, then confirmed
// with "O&K". Done at once when the item asks for nothing; refused when the
// unit force or the rows were.
StepOutcome SupplyShownInput(CalculationContext& ctx);

// "关闭(&C)": hides the result frame.
void CloseResultFrame(CalculationFormState& form);

// "关闭窗口(&X)": the form goes away and the calculation ends: the model
// keeps every result, and the user's loads are back in Loads.
void CloseCalculationForm(CalculationContext& ctx);

}  // namespace tavrin
