#include "batch/BatchOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "app/Utf8Text.h"
#include "forcemethod/ModelSolution.h"
#include "forcemethod/ResultViews.h"
#include "model/DecimalChars.h"
#include "model/Vocabulary.h"

namespace tavrin::batch {

namespace {

using Json = nlohmann::ordered_json;

struct Range {
    char32_t first;
    char32_t last;
};

// East Asian Wide and Fullwidth blocks.
constexpr Range kWide[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},
    {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x20000, 0x3FFFD},
};

int CodePointWidth(char32_t cp)
{
    if ((cp >= 0x0300 && cp <= 0x036F) || cp == 0x200B)
        return 0;
    for (const Range& r : kWide)
        if (cp >= r.first && cp <= r.last)
            return 2;
    return 1;
}

void TrimRight(std::string& line)
{
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
}

void WriteAligned(const Rows& table, std::ostream& out)
{
    const std::size_t used = UsedRows(table);
    std::vector<int> widths;
    for (std::size_t r = 0; r < used; ++r)
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            if (widths.size() <= c)
                widths.resize(c + 1, 0);
            widths[c] = std::max(widths[c], DisplayWidth(table[r][c]));
        }
    for (std::size_t r = 0; r < used; ++r) {
        std::string line;
        for (std::size_t c = 0; c < table[r].size(); ++c) {
            const std::string& cell = table[r][c];
            line += cell;
            line.append(static_cast<std::size_t>(widths[c] - DisplayWidth(cell)) + 2, ' ');
        }
        TrimRight(line);
        out << line << '\n';
    }
}

// The value a 32-bit field holds, written with no more digits than it takes
// to read the same float back; null for a value that is not finite.
Json FloatValue(float value)
{
    if (!std::isfinite(value))
        return nullptr;
    return ShortestDecimal(value);
}

Json DoubleValue(double value)
{
    if (!std::isfinite(value))
        return nullptr;
    return value;
}

Json RgbValue(Rgb c)
{
    return Json::array({c.r, c.g, c.b});
}

Json OptionalAngle(const std::optional<double>& angle)
{
    return angle ? DoubleValue(*angle) : Json(nullptr);
}

Json OpValue(const CanvasOp& op)
{
    switch (op.kind) {
        case CanvasOp::Kind::Cls:
            return Json{{"op", "Cls"}};
        case CanvasOp::Kind::Line:
            return Json{{"op", "Line"},
                        {"x1", DoubleValue(op.x1)},
                        {"y1", DoubleValue(op.y1)},
                        {"x2", DoubleValue(op.x2)},
                        {"y2", DoubleValue(op.y2)},
                        {"color", RgbValue(op.color)},
                        {"width", op.width}};
        case CanvasOp::Kind::Circle:
            return Json{{"op", "Circle"},
                        {"x", DoubleValue(op.x1)},
                        {"y", DoubleValue(op.y1)},
                        {"r", DoubleValue(op.r)},
                        {"start", OptionalAngle(op.start)},
                        {"end", OptionalAngle(op.end)},
                        {"color", RgbValue(op.color)},
                        {"width", op.width},
                        {"fillStyle", op.fillStyle},
                        {"fillColor", RgbValue(op.fillColor)}};
        case CanvasOp::Kind::Print:
            return Json{{"op", "Print"},
                        {"x", DoubleValue(op.x1)},
                        {"y", DoubleValue(op.y1)},
                        {"text", op.text},
                        {"color", RgbValue(op.color)}};
    }
    return nullptr;
}

// Texts come from the case file and the core; a byte that is not UTF-8 is
// replaced rather than failing the whole output.
std::string Dump(const Json& value)
{
    return value.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json SupportsValue(const StructureModel& model)
{
    Json supports = Json::array();
    for (const Support& s : model.Supports)
        supports.push_back({{"node", s.NodeNo},
                            {"type", s.SupportType},
                            {"Fx", FloatValue(s.Fx)},
                            {"Fy", FloatValue(s.Fy)},
                            {"Fm", FloatValue(s.Fm)}});
    return supports;
}

Json ElementsValue(const StructureModel& model)
{
    Json elements = Json::array();
    for (const Element& e : model.Elements)
        elements.push_back({{"Ni", FloatValue(e.Ni)},
                            {"Vi", FloatValue(e.Vi)},
                            {"Mi", FloatValue(e.Mi)},
                            {"Nj", FloatValue(e.Nj)},
                            {"Vj", FloatValue(e.Vj)},
                            {"Mj", FloatValue(e.Mj)}});
    return elements;
}

Json FlexibilityValue(const OneBasedMatrix& matrix)
{
    Json rows = Json::array();
    for (int i = 1; i <= matrix.Size(); ++i) {
        Json row = Json::array();
        for (int j = 1; j <= matrix.Size(); ++j)
            row.push_back(FloatValue(matrix.at(i, j)));
        rows.push_back(std::move(row));
    }
    return rows;
}

// The ledger once the coefficients are formed; the final reactions and the
// checks once the calculation reached its last item.
struct FinalTables {
    std::vector<LedgerEntry> ledger;
    std::vector<ImposedLedgerEntry> imposed;
    std::optional<std::vector<FinalReaction>> reactions;
    std::optional<std::vector<ResultCheck>> checks;
};

FinalTables FinalTablesOf(const RunResult& result)
{
    const StructureModel& model = result.model;
    FinalTables tables;
    const int n = model.IndeterminacyDegree;
    if (n >= 1 && model.FlexibilityMatrix.Size() == n) {
        tables.ledger = LedgerOfModel(model);
        tables.imposed = ImposedLedgerOfModel(model);
    }
    if (result.completed) {
        tables.reactions = FormFinalReactions(model);
        tables.checks = CheckFinalResults(model);
    }
    return tables;
}

void WriteView(std::string_view name, const ResultViewLayout& layout, const std::vector<std::vector<std::string>>& rows,
               std::ostream& out)
{
    out << "\n【" << name << "】\n" << layout.caption << '\n';
    WriteAligned(ViewTable(layout, rows), out);
}

// A case's reactions are the 32-bit values the routines stored, the final
// ones double sums of them. A zero is written without its sign.
Json ReactionsValue(const std::vector<FinalReaction>& reactions, bool stored)
{
    const auto value = [stored](double v) {
        return stored ? FloatValue(static_cast<float>(v) + 0.0f) : DoubleValue(v + 0.0);
    };
    Json rows = Json::array();
    for (const FinalReaction& r : reactions)
        rows.push_back(
            {{"node", r.node}, {"type", r.type}, {"Fx", value(r.Fx)}, {"Fy", value(r.Fy)}, {"Fm", value(r.Fm)}});
    return rows;
}

Json CaseReactionsValue(const StructureModel& model)
{
    Json cases = Json::array();
    for (std::size_t c = 0; c < model.CaseReactions.size(); ++c)
        cases.push_back(model.CaseReactions[c] ? ReactionsValue(CaseReactionRows(model, static_cast<int>(c)), true)
                                               : Json(nullptr));
    return cases;
}

Json TermsValue(const std::vector<LedgerTerm>& ledgerTerms)
{
    Json terms = Json::array();
    for (const LedgerTerm& t : ledgerTerms)
        terms.push_back({{"member", t.member},
                         {"L", DoubleValue(t.L)},
                         {"EI", DoubleValue(t.EI)},
                         {"a1", DoubleValue(t.a1)},
                         {"a2", DoubleValue(t.a2)},
                         {"b1", DoubleValue(t.b1)},
                         {"b2", DoubleValue(t.b2)},
                         {"q", DoubleValue(t.q)},
                         {"parabola", DoubleValue(t.parabola)},
                         {"term", DoubleValue(t.term)}});
    return terms;
}

Json LedgerValue(const std::vector<LedgerEntry>& ledger)
{
    Json entries = Json::array();
    for (const LedgerEntry& entry : ledger) {
        entries.push_back({{"coefficient", CoefficientName(entry.i, entry.j)},
                           {"terms", TermsValue(entry.terms)},
                           {"total", DoubleValue(entry.total)},
                           {"stored", FloatValue(entry.stored)}});
    }
    return entries;
}

// Per Xi the settling supports' shares of Delta_ic and the heated members'
// of Delta_it.
Json ImposedLedgerValue(const std::vector<ImposedLedgerEntry>& ledger)
{
    Json entries = Json::array();
    for (const ImposedLedgerEntry& entry : ledger) {
        const std::string i = std::to_string(entry.i);
        if (!entry.settlements.empty()) {
            Json shares = Json::array();
            for (const SettlementShare& s : entry.settlements)
                shares.push_back({{"node", s.settlement.node},
                                  {"kind", SettlementKindList[static_cast<std::size_t>(s.settlement.kind)]},
                                  {"R", DoubleValue(s.R)},
                                  {"c", DoubleValue(s.settlement.value)},
                                  {"term", DoubleValue(s.term)}});
            entries.push_back({{"coefficient", "Δ" + i + "c"}, {"shares", shares}, {"total", DoubleValue(entry.Dc)}});
        }
        if (!entry.temperatures.empty()) {
            Json shares = Json::array();
            for (const TemperatureShare& t : entry.temperatures)
                shares.push_back({{"element", t.change.element},
                                  {"alpha", DoubleValue(t.change.alpha)},
                                  {"t0", DoubleValue(t.change.t0())},
                                  {"integralN", DoubleValue(t.integralN)},
                                  {"kappa", DoubleValue(t.change.Kappa())},
                                  {"integralM", DoubleValue(t.integralM)},
                                  {"term", DoubleValue(t.term)}});
            entries.push_back({{"coefficient", "Δ" + i + "t"}, {"shares", shares}, {"total", DoubleValue(entry.Dt)}});
        }
    }
    return entries;
}

Json ChecksValue(const std::vector<ResultCheck>& checks)
{
    Json rows = Json::array();
    for (const ResultCheck& check : checks)
        rows.push_back({{"what", check.what},
                        {"where", check.where},
                        {"value", DoubleValue(check.value)},
                        {"tolerance", DoubleValue(check.tolerance)},
                        {"passed", check.Passed()}});
    return rows;
}

// The requested displacements with their ledgers, and every node's x, y
// and rotation (null where a hinge joins several members).
Json DisplacementsValue(const RunResult& result)
{
    Json requested = Json::array();
    for (const Displacement& d : result.displacements)
        requested.push_back({{"node", d.request.node},
                             {"kind", DisplacementKindText(d.request.kind)},
                             {"terms", TermsValue(d.terms)},
                             {"Delta", DoubleValue(d.Delta)},
                             {"sense", SenseText(d.Delta)}});
    Json nodes = Json::array();
    for (std::size_t n = 0; n < result.nodeDisplacements.size(); ++n) {
        const NodeDisplacement& u = result.nodeDisplacements[n];
        nodes.push_back({{"node", n + 1},
                         {"x", DoubleValue(u.dx)},
                         {"y", DoubleValue(u.dy)},
                         {"theta", u.theta ? DoubleValue(*u.theta) : Json(nullptr)}});
    }
    return {{"requested", std::move(requested)}, {"nodes", std::move(nodes)}};
}

const ItemReview* ReviewOf(const RunResult& result, std::string_view item)
{
    for (const ItemReview& review : result.reviews)
        if (review.item == item)
            return &review;
    return nullptr;
}

// "核对：3个数中2个正确", then each answer with 对/错 and the likely cause.
void WriteReview(const ItemReview& review, std::ostream& out)
{
    if (!review.checked) {
        out << "核对：未核对（" << review.reason << "）\n";
        return;
    }
    out << "核对：" << ReviewCount(review.answers) << '\n';
    Rows rows;
    for (const CellAnswer& a : review.answers)
        rows.push_back({"  " + a.name, a.typed, a.right ? "对" : "错", a.cause});
    WriteAligned(rows, out);
}

Json ReviewValue(const std::vector<ItemReview>& reviews)
{
    Json items = Json::array();
    for (const ItemReview& review : reviews) {
        Json answers = Json::array();
        for (const CellAnswer& a : review.answers)
            answers.push_back({{"name", a.name},
                               {"row", a.row},
                               {"col", a.col},
                               {"answer", a.typed},
                               {"right", a.right},
                               {"cause", a.cause}});
        Json item{{"item", review.item}, {"checked", review.checked}};
        if (!review.checked)
            item["reason"] = review.reason;
        item["answers"] = std::move(answers);
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

int DisplayWidth(std::string_view text)
{
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<char32_t> cp = NextCodePoint(text, i);
        width += cp ? CodePointWidth(*cp) : 1;
    }
    return width;
}

void WriteResultText(const RunResult& result, std::ostream& out)
{
    if (result.basicSystem) {
        out << "基本体系：去掉";
        for (std::size_t i = 0; i < result.basicSystem->released.size(); ++i)
            out << (i == 0 ? "" : "、") << RestraintText(result.basicSystem->released[i]) << "（X" << i + 1 << "）";
        out << '\n';
    }
    if (result.analysed)
        out << result.caption << '\n';
    for (const StepRecord& step : result.steps) {
        out << "\n【" << step.item << "】\n" << step.title << '\n';
        WriteAligned(step.table, out);
        if (const ItemReview* review = ReviewOf(result, step.item))
            WriteReview(*review, out);
    }
    // The answers to items that showed no table.
    for (const ItemReview& review : result.reviews) {
        const auto shown = [&](const StepRecord& step) { return step.item == review.item; };
        if (std::none_of(result.steps.begin(), result.steps.end(), shown)) {
            out << "\n【" << review.item << "】\n";
            WriteReview(review, out);
        }
    }
    const FinalTables tables = FinalTablesOf(result);
    if (!tables.ledger.empty())
        WriteView(kLedgerViewName, LedgerTable, LedgerViewRows(result.model), out);
    if (tables.reactions)
        WriteView(kFinalReactionViewName, FinalReactionTable, FinalReactionRows(*tables.reactions), out);
    if (tables.checks)
        WriteView(kCheckViewName, CheckTable, CheckRows(*tables.checks), out);
    for (const Displacement& d : result.displacements)
        WriteView(DisplacementName(d.request), DisplacementTable, DisplacementRows(d), out);
    if (!result.messages.empty()) {
        out << "\n消息：\n";
        for (const ShownMessage& m : result.messages) {
            out << "  ";
            if (!m.title.empty())
                out << '[' << m.title << "] ";
            out << m.text << '\n';
        }
    }
    if (!result.completed)
        out << "\n计算未进行到最后一项。\n";
}

std::string ResultJson(const RunResult& result)
{
    const StructureModel& model = result.model;
    Json root;
    root["calculationModel"] = result.analysed ? Json(static_cast<int>(result.kind)) : Json(nullptr);
    root["caption"] = result.analysed ? Json(result.caption) : Json(nullptr);
    root["items"] = result.items;
    root["completed"] = result.completed;
    if (result.basicSystem) {
        Json released = Json::array();
        for (const Restraint& r : result.basicSystem->released)
            released.push_back(CellsOfRestraint(r));
        root["basicSystem"] = {{"released", released},
                               {"supports", result.basicSystem->supports},
                               {"unitForces", result.basicSystem->unitForces}};
    }
    Json steps = Json::array();
    for (const StepRecord& step : result.steps)
        steps.push_back({{"item", step.item}, {"title", step.title}, {"table", step.table}});
    root["steps"] = std::move(steps);
    Json messages = Json::array();
    for (const ShownMessage& m : result.messages) {
        Json message{{"text", m.text}};
        if (!m.title.empty())
            message["title"] = m.title;
        messages.push_back(std::move(message));
    }
    root["messages"] = std::move(messages);
    root["supports"] = SupportsValue(model);
    root["elements"] = ElementsValue(model);
    Json redundants = Json::array();
    for (const double x : model.RedundantForces)
        redundants.push_back(DoubleValue(x));
    root["redundants"] = std::move(redundants);
    root["flexibility"] = FlexibilityValue(model.FlexibilityMatrix);
    Json freeTerms = Json::array();
    for (const float d : model.FreeTerms)
        freeTerms.push_back(FloatValue(d));
    root["freeTerms"] = std::move(freeTerms);
    // Settlements and heat, under their own keys when the structure has them.
    if (const ImposedTerms imposed = ImposedTermsOf(model); imposed.Any()) {
        const auto values = [](const std::vector<double>& v) {
            Json a = Json::array();
            for (const double x : v)
                a.push_back(DoubleValue(x));
            return a;
        };
        root["settlementTerms"] = values(imposed.Dc);
        root["temperatureTerms"] = values(imposed.Dt);
        root["prescribedDisplacements"] = values(imposed.c);
    }
    const FinalTables tables = FinalTablesOf(result);
    root["caseReactions"] = CaseReactionsValue(model);
    root["finalReactions"] = tables.reactions ? ReactionsValue(*tables.reactions, false) : Json::array();
    root["ledger"] = LedgerValue(tables.ledger);
    if (!tables.imposed.empty())
        root["imposedLedger"] = ImposedLedgerValue(tables.imposed);
    root["checks"] = tables.checks ? ChecksValue(*tables.checks) : Json::array();
    root["review"] = ReviewValue(result.reviews);
    root["displacements"] = DisplacementsValue(result);
    return Dump(root);
}

std::string TraceJson(const std::vector<Picture>& pictures)
{
    Json root = Json::object();
    for (const Picture& picture : pictures) {
        Json ops = Json::array();
        for (const CanvasOp& op : picture.ops)
            ops.push_back(OpValue(op));
        root[picture.name] = std::move(ops);
    }
    return Dump(root);
}

}  // namespace tavrin::batch
