#include "input/ModelCommit.h"

#include <map>
#include <utility>

#include "drawing/DrawingPasses.h"
#include "input/InputTables.h"
#include "input/InputTexts.h"
#include "model/CellReading.h"
#include "model/ModelTexts.h"
#include "model/NumberText.h"
#include "model/RowReferences.h"
#include "model/Vocabulary.h"

namespace tavrin {

namespace {

// Forces positive upward and to the right, couples counter-clockwise.
struct MagnitudeSign {
    std::string_view loadType;
    std::string_view direction;
    float sign;
};
constexpr MagnitudeSign kMagnitudeSigns[] = {
    {kConcentratedLoad, kUpward, 1.0f},    {kConcentratedLoad, kDownward, -1.0f}, {kConcentratedLoad, kLeftward, -1.0f},
    {kConcentratedLoad, kRightward, 1.0f}, {kDistributedLoad, kUpward, 1.0f},     {kDistributedLoad, kDownward, -1.0f},
    {kDistributedLoad, kLeftward, -1.0f},  {kDistributedLoad, kRightward, 1.0f},  {kCouple, kClockwise, -1.0f},
    {kCouple, kCounterClockwise, 1.0f},
};

// Why one cell keeps the table from being committed; row and column as in
// the grid (data rows from 1, columns from 0).
struct CellRefusal {
    int row = 0;
    int col = 0;
    std::string reason;
};

// Reads the cells of one table row by row and keeps the first refusal; after
// a refusal the values read are placeholders and the table is discarded.
class TableReader {
public:
    explicit TableReader(const TextGrid& grid) : m_grid(grid) {}

    // The table ends at the first row whose first cell is empty, or at the
    // grid's last row.
    bool HasRow(int row) const { return row < m_grid.Rows() && !m_grid.Text(row, 0).empty(); }
    void StartRow(int row) { m_row = row; }
    int Row() const { return m_row; }
    bool Refused() const { return m_refusal.has_value(); }
    const std::optional<CellRefusal>& Refusal() const { return m_refusal; }

    std::string Text(int col) const { return m_grid.Text(m_row, col); }

    // Node and element numbers and codes are 16-bit fields.
    std::int16_t Integer(int col)
    {
        const std::string text = Text(col);
        RefuseUnless(col, IntegerCellFault(text));
        return ReadIntegerCell(text).value_or(0);
    }

    // Coordinates, EI and magnitudes are 32-bit fields.
    float Number(int col)
    {
        const std::string text = Text(col);
        RefuseUnless(col, FloatCellFault(text));
        return ReadFloatCell(text).value_or(0.0f);
    }

    // A number cell that may stay blank: absent when it is.
    std::optional<float> OptionalNumber(int col)
    {
        if (IsBlankText(Text(col)))
            return std::nullopt;
        return Number(col);
    }

    // Elements, supports and loads name nodes and elements by their row, so
    // the number typed in a row must be that row's: what the picture prints
    // is then what the other tables name.
    std::int16_t RowNumber(int col, std::string_view what)
    {
        const std::int16_t n = Integer(col);
        if (!Refused() && n != m_row)
            Refuse(col, RowNumberFault(what, m_row));
        return n;
    }

    std::int16_t NodeNumber(int col, const StructureModel& model)
    {
        const std::int16_t n = Integer(col);
        if (!Refused())
            RefuseUnless(col, MissingNodeReason(model, n));
        return n;
    }

    std::int16_t ElementNumber(int col, const StructureModel& model)
    {
        const std::int16_t e = Integer(col);
        if (!Refused())
            RefuseUnless(col, MissingElementReason(model, e));
        return e;
    }

    // Refuses with `reason` unless it is empty.
    void RefuseUnless(int col, std::string_view reason)
    {
        if (!reason.empty())
            Refuse(col, std::string(reason));
    }

    void Refuse(int col, std::string reason)
    {
        if (!m_refusal)
            m_refusal = CellRefusal{m_row, col, std::move(reason)};
    }

private:
    const TextGrid& m_grid;
    int m_row = 0;
    std::optional<CellRefusal> m_refusal;
};

// Length and direction from the nodes now in Nodes; none for a member whose
// end node is gone (the model type analysis refuses it).
void SetMemberGeometry(Element& element, const StructureModel& model)
{
    const Node* i = model.Nodes.Find(element.INode);
    const Node* j = model.Nodes.Find(element.JNode);
    const ElementGeometry g = i && j ? MemberGeometry(*i, *j) : ElementGeometry{};
    element.Length = g.Length;
    element.SinA = g.SinA;
    element.CosA = g.CosA;
}

// The nodes read so far by their stored coordinates: the row of each and
// the coordinates as typed.
struct TypedPosition {
    int row;
    double x, y;
};
using NodePositions = std::map<std::pair<float, float>, TypedPosition>;

Node ReadNode(TableReader& in, NodePositions& read)
{
    Node node;
    node.Number = in.RowNumber(0, kNodeColumns[0].header);
    node.X = in.Number(1);
    node.Y = in.Number(2);
    node.JointType = in.Text(3);
    if (in.Refused())
        return node;
    // Two nodes typed apart may round to one 32-bit position (1e8 and
    // 1e8 + 1): their members would be refused as of zero length, the
    // student having typed nothing of the kind.
    const TypedPosition typed{in.Row(), CellNumber(in.Text(1)).value_or(0.0), CellNumber(in.Text(2)).value_or(0.0)};
    const auto [first, added] = read.emplace(std::pair(node.X, node.Y), typed);
    if (!added && (first->second.x != typed.x || first->second.y != typed.y))
        in.Refuse(first->second.x != typed.x ? 1 : 2, IndistinctNodesFault(first->second.row));
    return node;
}

// A negative EI bends a member against its moment. A determinate structure
// needs no EI (typing skips its column) and may leave it 0; the
// coefficients of an indeterminate one divide by it.
std::string_view StiffnessFault(float EI, const StructureModel& model)
{
    if (EI < 0.0f)
        return kNegativeStiffness;
    if (EI == 0.0f && model.IndeterminacyDegree > 0)
        return kZeroStiffness;
    return {};
}

Element ReadElement(TableReader& in, const StructureModel& model)
{
    Element element;
    element.Code = in.RowNumber(0, kElementColumns[0].header);
    element.EI = in.Number(1);
    if (!in.Refused())
        in.RefuseUnless(1, StiffnessFault(element.EI, model));
    element.INode = in.NodeNumber(2, model);
    element.JNode = in.NodeNumber(3, model);
    if (in.Refused())
        return element;
    SetMemberGeometry(element, model);
    in.RefuseUnless(3, MemberLengthFault(*model.Nodes.Find(element.INode), *model.Nodes.Find(element.JNode)));
    return element;
}

Support ReadSupport(TableReader& in, const StructureModel& model)
{
    Support support;
    support.NodeNo = in.NodeNumber(0, model);
    support.SupportType = in.Text(1);
    support.Direction = in.Text(2);
    return support;
}

// The row where each support's settlement in each direction was read.
using SettlementRows = std::map<std::pair<std::int16_t, std::string>, int>;

std::string_view SettlementKindFault(std::string_view kind)
{
    for (std::string_view known : SettlementKindList)
        if (kind == known)
            return {};
    return kUnknownSettlementKind;
}

// Only that the node exists is checked here: whether the structure is
// restrained there in that direction depends on the basic system and its
// unit forces, which the calculation knows.
SupportSettlement ReadSettlement(TableReader& in, const StructureModel& model, SettlementRows& read)
{
    SupportSettlement settlement;
    settlement.NodeNo = in.NodeNumber(0, model);
    settlement.Kind = in.Text(1);
    in.RefuseUnless(1, SettlementKindFault(settlement.Kind));
    settlement.Value = in.Number(2);
    if (in.Refused())
        return settlement;
    // Two values for one displacement of one support: which did the
    // student mean?
    const auto [first, added] = read.emplace(std::pair(settlement.NodeNo, settlement.Kind), in.Row());
    if (!added)
        in.Refuse(1, RepeatedSettlementFault(settlement.NodeNo, settlement.Kind, first->second));
    return settlement;
}

// A negative α would shrink a heated member; h divides the difference of
// the faces' temperatures into the curvature αΔt/h.
TemperatureChangeRow ReadTemperature(TableReader& in, const StructureModel& model)
{
    TemperatureChangeRow row;
    row.ElementNo = in.ElementNumber(0, model);
    row.TLeft = in.Number(1);
    row.TRight = in.Number(2);
    row.Alpha = in.Number(3);
    if (!in.Refused() && row.Alpha < 0.0f)
        in.Refuse(3, std::string(kNegativeExpansion));
    row.H = in.Number(4);
    if (!in.Refused() && !(row.H > 0.0f))
        in.Refuse(4, std::string(kNonPositiveDepth));
    return row;
}

// The load table's columns of a, b and the intensity at b, by LoadValue.
constexpr int kLoadValueColumns[] = {5, 6, 7};

// The place of a row's load as its cells show it, none refused: whether the
// load names a node depends on its element and, for a couple, on whether a
// is given, cells right of the node's, while the cells are checked left to
// right.
Load TypedPlace(const TableReader& in)
{
    Load place;
    place.LoadType = in.Text(0);
    place.NodeNo = ReadIntegerCell(in.Text(1)).value_or(0);
    place.ElementNo = ReadIntegerCell(in.Text(2)).value_or(0);
    if (!IsBlankText(in.Text(5)))
        place.StartA = 0.0f;
    return place;
}

// A concentrated force and a couple act at a node, or between the nodes of
// the element they name; a distributed load, and a couple that names an
// element, act on an element. Numbers a load type does not use are stored as
// typed, except a, b and the intensity at b, which only the loads placed
// along a member may have (MemberPlaceFault). Blank, those three are absent;
// the intensity at b is signed by the direction, as the magnitude.
Load ReadLoad(TableReader& in, const StructureModel& model)
{
    const Load place = TypedPlace(in);
    Load load;
    load.LoadType = place.LoadType;
    load.NodeNo = LoadNamesNode(place) ? in.NodeNumber(1, model) : in.Integer(1);
    load.ElementNo = in.Integer(2);
    if (LoadNamesElement(place) && !in.Refused())
        load.ElementNo = in.ElementNumber(2, model);
    load.Direction = in.Text(3);
    load.Magnitude = LoadMagnitude(load.LoadType, load.Direction, in.Number(4));
    load.StartA = in.OptionalNumber(5);
    load.EndB = in.OptionalNumber(6);
    if (const std::optional<float> end = in.OptionalNumber(7))
        load.EndMagnitude = LoadMagnitude(load.LoadType, load.Direction, *end);
    if (in.Refused())
        return load;
    if (const std::optional<LoadValueFault> fault = MemberPlaceFault(model, load))
        in.Refuse(kLoadValueColumns[static_cast<std::size_t>(fault->value)], fault->reason);
    return load;
}

// Reads the table aside and, only when every row is valid, replaces `table`
// with it and draws its layer. An empty table is refused when `emptyReason`
// is given.
template <class Record, class ReadRow, class DrawLayer>
std::optional<CellRefusal> ReplaceTable(const TextGrid& grid, OneBasedTable<Record>& table, ReadRow readRow,
                                        std::string_view emptyReason, DrawLayer drawLayer)
{
    TableReader in(grid);
    OneBasedTable<Record> read;
    for (int r = 1; in.HasRow(r) && !in.Refused(); ++r) {
        in.StartRow(r);
        read.Append(readRow(in));
    }
    if (in.Refused())
        return in.Refusal();
    if (read.Empty() && !emptyReason.empty())
        return CellRefusal{1, 0, std::string(emptyReason)};
    table = std::move(read);
    drawLayer();
    return std::nullopt;
}

// The layer of one input table on the picture: the node numbers (on a
// cleared picture), the members with their codes, the supports, the loads.
void DrawTableLayer(std::int16_t kind, const StructureModel& model, Canvas& canvas)
{
    switch (kind) {
        case kNodeTable:
            DrawNodeNumbers(model, canvas);
            break;
        case kElementTable:
            DrawMembers(model, canvas, MemberLabels::Shown);
            break;
        case kSupportTable:
            DrawSupports(model, canvas);
            break;
        case kLoadTable:
            DrawConcentratedLoads(model, canvas);
            DrawDistributedLoads(model, canvas);
            DrawCouples(model, canvas);
            break;
        default:
            break;
    }
}

// Supports, loads, settlements and temperature changes may be committed
// empty: the student may mean to remove them all.
std::optional<CellRefusal> CommitTable(std::int16_t kind, StructureModel& model, const TextGrid& grid, Canvas& canvas)
{
    // A table committed again, its rows brought back and mended, replaces
    // its layer: the old members, supports or loads must not stay in the
    // picture under the new ones. The picture is drawn as "撤消" leaves it,
    // then the new layer on top; the node table's layer clears the picture
    // itself.
    const bool replacing = kind != kNodeTable && !CommittedRows(model, kind).empty();
    switch (kind) {
        case kNodeTable:
            return ReplaceTable(
                grid, model.Nodes, [read = NodePositions()](TableReader& in) mutable { return ReadNode(in, read); },
                kNodeTableEmpty,
                [&] {
                    // The members follow their nodes; what was calculated for the
                    // old positions no longer holds.
                    for (Element& element : model.Elements)
                        SetMemberGeometry(element, model);
                    model.ClearResults();
                    FitModelToPicture(model, canvas);
                    // The node layer clears the picture; the members, supports
                    // and loads stay in the model and are drawn again on the
                    // nodes as they are now.
                    for (std::int16_t k = kNodeTable; k <= kLoadTable; ++k)
                        if (k == kNodeTable || !CommittedRows(model, k).empty())
                            DrawTableLayer(k, model, canvas);
                });
        case kElementTable:
            return ReplaceTable(
                grid, model.Elements, [&](TableReader& in) { return ReadElement(in, model); }, kElementTableEmpty,
                [&] {
                    model.ClearResults();
                    if (replacing)
                        DrawLayersBelow(kind, model, canvas);
                    DrawTableLayer(kind, model, canvas);
                });
        case kSupportTable:
            return ReplaceTable(
                grid, model.Supports, [&](TableReader& in) { return ReadSupport(in, model); }, {},
                [&] {
                    model.ClearResults();
                    if (replacing)
                        DrawLayersBelow(kind, model, canvas);
                    canvas.SetDrawWidth(1);
                    DrawTableLayer(kind, model, canvas);
                    model.SupportConstraintCount = CountSupportConstraints(model.Supports);
                });
        case kLoadTable:
            return ReplaceTable(
                grid, model.Loads, [&](TableReader& in) { return ReadLoad(in, model); }, {},
                [&] {
                    // The table committed is the user's load table from now on,
                    // also while a calculation had unit forces standing in Loads.
                    // End forces of the old loads would otherwise hang under the
                    // new loads' parabolas in the diagrams.
                    model.UnitForcesInLoads = false;
                    model.ClearResults();
                    if (replacing)
                        DrawLayersBelow(kind, model, canvas);
                    DrawTableLayer(kind, model, canvas);
                });
        // Settlements and temperature changes have no layer of their own:
        // the picture stays as it is.
        case kSettlementTable:
            return ReplaceTable(
                grid, model.Settlements,
                [&, read = SettlementRows()](TableReader& in) mutable { return ReadSettlement(in, model, read); }, {},
                [&] { model.ClearResults(); });
        case kTemperatureTable:
            return ReplaceTable(
                grid, model.Temperatures, [&](TableReader& in) { return ReadTemperature(in, model); }, {},
                [&] { model.ClearResults(); });
        default:
            return std::nullopt;
    }
}

std::string IntegerText(std::int16_t n)
{
    return std::to_string(n);
}

// A load's node or element number that its type may leave blank.
std::string OptionalNumberText(std::int16_t n)
{
    return n == 0 ? std::string() : IntegerText(n);
}

// An intensity as typed: the stored value carries the sign of the
// direction, which the typed value does not.
float TypedMagnitude(const Load& load, float stored)
{
    for (const MagnitudeSign& s : kMagnitudeSigns)
        if (s.loadType == load.LoadType && s.direction == load.Direction)
            return s.sign * stored;
    return stored;
}

// A value that may be absent: blank then.
std::string OptionalCellText(std::optional<float> value)
{
    return value ? CellTextOf(*value) : std::string();
}

// The five cells every load has, and a, b and the intensity at b only when
// one of them is given: a table without them is kept as it always was.
std::vector<std::string> LoadCells(const Load& l)
{
    std::vector<std::string> cells{l.LoadType, OptionalNumberText(l.NodeNo), OptionalNumberText(l.ElementNo),
                                   l.Direction, CellTextOf(TypedMagnitude(l, l.Magnitude))};
    if (l.StartA || l.EndB || l.EndMagnitude) {
        cells.push_back(OptionalCellText(l.StartA));
        cells.push_back(OptionalCellText(l.EndB));
        cells.push_back(l.EndMagnitude ? CellTextOf(TypedMagnitude(l, *l.EndMagnitude)) : std::string());
    }
    return cells;
}

std::string RefusalMessage(const InputTableLayout& layout, const CellRefusal& refusal)
{
    std::string_view header;
    if (refusal.col >= 0 && refusal.col < static_cast<int>(layout.columns.size()))
        header = layout.columns[static_cast<std::size_t>(refusal.col)].header;
    return CellPlace(refusal.row, header) + refusal.reason + std::string(kTableNotCommitted);
}

}  // namespace

bool CommitInputTable(StructureModel& model, const TextGrid& grid, Canvas& canvas, MessageSink& messages)
{
    const InputTableLayout* layout = FindInputTableLayout(model.InputTableKind);
    if (!layout)
        return false;
    const std::optional<CellRefusal> refusal = CommitTable(layout->kind, model, grid, canvas);
    if (refusal) {
        messages.Show(RefusalMessage(*layout, *refusal));
        return false;
    }
    return true;
}

bool CommitTableRows(StructureModel& model, Canvas& canvas, MessageSink& messages, int kind, const CellRows& rows)
{
    MemoryGrid grid(kInputGridRows, 1);
    InputFormState form;
    SelectInputTable(kind, model, grid, form);
    TypeRows(grid, rows);
    return CommitInputTable(model, grid, canvas, messages);
}

CellRows CommittedRows(const StructureModel& model, int kind)
{
    CellRows rows;
    switch (kind) {
        case kNodeTable:
            for (const Node& n : model.Nodes)
                rows.push_back({IntegerText(n.Number), CellTextOf(n.X), CellTextOf(n.Y), n.JointType});
            break;
        case kElementTable:
            for (const Element& e : model.Elements)
                rows.push_back({IntegerText(e.Code), CellTextOf(e.EI), IntegerText(e.INode), IntegerText(e.JNode)});
            break;
        case kSupportTable:
            for (const Support& s : model.Supports)
                rows.push_back({IntegerText(s.NodeNo), s.SupportType, s.Direction});
            break;
        case kLoadTable:
            for (const Load& l : model.UserLoads())
                rows.push_back(LoadCells(l));
            break;
        case kSettlementTable:
            for (const SupportSettlement& s : model.Settlements)
                rows.push_back({IntegerText(s.NodeNo), s.Kind, CellTextOf(s.Value)});
            break;
        case kTemperatureTable:
            for (const TemperatureChangeRow& t : model.Temperatures)
                rows.push_back({IntegerText(t.ElementNo), CellTextOf(t.TLeft), CellTextOf(t.TRight),
                                CellTextOf(t.Alpha), CellTextOf(t.H)});
            break;
        default:
            break;
    }
    return rows;
}

void UndoTableDrawing(const StructureModel& model, Canvas& canvas)
{
    DrawLayersBelow(model.InputTableKind, model, canvas);
}

void DrawLayersBelow(std::int16_t kind, const StructureModel& model, Canvas& canvas)
{
    if (!FindInputTableLayout(kind))
        return;
    canvas.Cls();
    for (std::int16_t below = kNodeTable; below < kind; ++below)
        DrawTableLayer(below, model, canvas);
}

std::int16_t CountSupportConstraints(const OneBasedTable<Support>& supports)
{
    int total = 0;
    for (const Support& s : supports)
        total += RestraintCount(s.SupportType);
    return static_cast<std::int16_t>(total);
}

float LoadMagnitude(std::string_view loadType, std::string_view direction, float v)
{
    for (const MagnitudeSign& s : kMagnitudeSigns)
        if (s.loadType == loadType && s.direction == direction)
            return s.sign * v;
    return 0.0f;
}

}  // namespace tavrin
