#include "report/Report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <span>
#include <utility>

#include "analysis/ModelType.h"
#include "diagrams/InternalForceDiagrams.h"
#include "drawing/DrawingPasses.h"
#include "drawing/PictureFiles.h"
#include "drawing/PictureLayout.h"
#include "forcemethod/BasicSystemChoice.h"
#include "forcemethod/CaseDiagrams.h"
#include "forcemethod/CoefficientLedger.h"
#include "forcemethod/DeflectedShape.h"
#include "forcemethod/Displacements.h"
#include "forcemethod/FinalReactions.h"
#include "forcemethod/ForceMethodTexts.h"
#include "forcemethod/ModelSolution.h"
#include "forcemethod/ResultChecks.h"
#include "forcemethod/ResultViews.h"
#include "input/InputTables.h"
#include "input/ModelCommit.h"
#include "model/LoadSpan.h"
#include "model/NumberText.h"
#include "report/ReportTexts.h"

namespace tavrin {

namespace {

constexpr std::string_view kSectionNumerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};

// "δ" with "12" lowered; with ten or more unknowns the two indexes are
// parted by a comma, so that δ1,10 is not read as δ11 and 0.
std::string IndexPair(int i, int j, int degree)
{
    return std::to_string(i) + (degree >= 10 ? "," : "") + std::to_string(j);
}

// A coefficient as the coefficient table shows it ("0.###"), without the
// point of a whole number, which would read as a multiplication dot before
// the X beside it.
std::string EquationNumber(double value)
{
    std::string digits = FormatCoefficient(value);
    if (digits.ends_with('.'))
        digits.pop_back();
    return digits;
}

// The first term "8" or "−8", a later one " + 8" or " − 8".
std::string SignedTerm(double value, bool first)
{
    const std::string digits = EquationNumber(std::fabs(value));
    const bool negative = value < 0.0 && digits != "0";
    if (first)
        return negative ? "−" + digits : digits;
    return (negative ? " − " : " + ") + digits;
}

// A number of the report: the table's own precision, no point without a
// digit after it, "−" as the minus sign.
std::string ReportNumber(std::string digits)
{
    if (digits.ends_with('.'))
        digits.pop_back();
    if (digits.starts_with('-'))
        digits.replace(0, 1, "−");
    return digits == "−0" ? "0" : digits;
}

bool IsNumberText(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    text.remove_prefix(first);
    text = text.substr(0, text.find_last_not_of(' ') + 1);
    if (text.starts_with('-'))
        text.remove_prefix(1);
    return !text.empty() && text.find_first_not_of("0123456789.") == std::string_view::npos &&
           std::isdigit(static_cast<unsigned char>(text.front()));
}

// The member forces under one set of names, N V M, in the report.
constexpr std::pair<std::string_view, std::string_view> kForceNames[] = {{"Fni", "Ni"}, {"Fqi", "Vi"}, {"Fmi", "Mi"},
                                                                         {"Fnj", "Nj"}, {"Fqj", "Vj"}, {"Fmj", "Mj"}};

// A text of the form's tables as the report writes it: "48." as 48, "-3"
// as −3, "X 1" as X1, Δ1p as Δ1P, the member forces as N V M.
std::string ReportText(std::string text)
{
    if (IsNumberText(text)) {
        const std::size_t first = text.find_first_not_of(' ');
        return ReportNumber(text.substr(first, text.find_last_not_of(' ') - first + 1));
    }
    for (std::size_t at = text.find("X "); at != std::string::npos; at = text.find("X ", at + 1))
        if (at + 2 < text.size() && std::isdigit(static_cast<unsigned char>(text[at + 2])))
            text.erase(at + 1, 1);
    for (std::size_t at = text.find("Δ"); at != std::string::npos; at = text.find("Δ", at + 1)) {
        std::size_t end = at + std::string_view("Δ").size();
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == 'i'))
            ++end;
        if (end < text.size() && text[end] == 'p')
            text[end] = 'P';
    }
    for (const auto& [form, report] : kForceNames)
        if (const std::size_t at = text.find(form); at != std::string::npos)
            text.replace(at, form.size(), report);
    return text;
}

// A number printed in a picture as the report writes numbers ("16." as
// 16, "-2" as −2), the blanks around it kept where the window put them.
std::string PictureLabel(const std::string& text)
{
    if (!IsNumberText(text))
        return text;
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(0, first) + ReportNumber(text.substr(first, last - first + 1)) + text.substr(last + 1);
}

// A factor of a written-out product: a negative one in brackets.
std::string Factor(double value)
{
    const std::string digits = ReportNumber(FormatCoefficient(value));
    return digits.starts_with("−") ? "(" + digits + ")" : digits;
}

// One member's graph product as written by hand, with a, b the first
// diagram's end moments at ends i, j and c, d the second's:
//   two triangles on one end:      (1/EI)·(½·l·a)·(⅔·c)
//   two triangles on opposite ends: (1/EI)·(½·l·a)·(⅓·d)
//   otherwise the trapezoid rule:  l/(6EI)·(2ac + 2bd + ad + bc)
// the products with a zero factor left out, then the parabola of a uniform
// load q over the first diagram's chord, height f = ql²/8:
//   + (1/EI)·(⅔·l·f)·((c + d)/2)
// or, for loads between the nodes, its exact integral.
std::string ProductText(const LedgerTerm& t)
{
    const std::string l = Factor(t.L);
    // 1/EI written only where EI is not 1.
    const std::string overEI = t.EI == 1.0 ? std::string() : "1/" + Factor(t.EI) + "·";
    const std::string sixEI = t.EI == 1.0 ? std::string("6") : "(6·" + Factor(t.EI) + ")";
    const bool straight = t.a1 != 0.0 || t.a2 != 0.0;
    std::string text;
    if (straight && (t.a1 == 0.0) != (t.a2 == 0.0) && (t.b1 == 0.0) != (t.b2 == 0.0)) {
        const double a = t.a1 != 0.0 ? t.a1 : t.a2;
        const bool sameEnd = (t.a1 != 0.0) == (t.b1 != 0.0);
        const double c = t.b1 != 0.0 ? t.b1 : t.b2;
        text = overEI + "(½·" + l + "·" + Factor(a) + ")·(" + (sameEnd ? "⅔" : "⅓") + "·" + Factor(c) + ")";
    } else if (straight) {
        const std::pair<std::string, std::pair<double, double>> products[] = {
            {"2·", {t.a1, t.b1}}, {"2·", {t.a2, t.b2}}, {"", {t.a1, t.b2}}, {"", {t.a2, t.b1}}};
        std::string sum;
        for (const auto& [two, factors] : products) {
            if (factors.first == 0.0 || factors.second == 0.0)
                continue;
            sum += (sum.empty() ? "" : " + ") + two + Factor(factors.first) + "·" + Factor(factors.second);
        }
        // Where the second diagram is zero on the member there is no product.
        if (!sum.empty())
            text = l + "/" + sixEI + "·(" + sum + ")";
    }
    if (t.parabola == 0.0)
        return text;
    if (!text.empty())
        text += " + ";
    if (t.q == 0.0)
        return text + Factor(t.parabola);
    const double f = static_cast<double>(t.q) * t.L * t.L / 8.0;
    return text + overEI + "(⅔·" + l + "·" + Factor(f) + ")·((" + Factor(t.b1) + " + " + Factor(t.b2) + ")/2)";
}

TextRun Sub(std::string text);

// Appends value·symbol to a sum: "8X1" first, " − 8X1" later, "X1" for a
// 1 before a symbol; nothing for a value that prints as 0. `first` is true
// until a term has been written.
void AddTerm(RichText& line, double value, const RichText& symbol, bool& first)
{
    const std::string digits = EquationNumber(std::fabs(value));
    if (digits == "0")
        return;
    std::string sign = SignedTerm(value, first);
    if (digits == "1" && !symbol.empty())
        sign.resize(sign.size() - 1);
    line.push_back(TextRun{sign, Script::Normal});
    line.insert(line.end(), symbol.begin(), symbol.end());
    first = false;
}

TextRun Sub(std::string text)
{
    return {std::move(text), Script::Sub};
}

TextRun Normal(std::string text)
{
    return {std::move(text), Script::Normal};
}

bool IsCaseStep(StepKind kind)
{
    return kind != StepKind::Coefficients && kind != StepKind::Unknowns && kind != StepKind::Superposition;
}

class Builder {
public:
    explicit Builder(const ReportSource& source) : m_source(source), m_drawn(source.model), m_host(source.scale)
    {
        // The pictures show the user's loads, fitted to the report's
        // picture rather than to the picture window.
        m_drawn.Loads = source.model.UserLoads();
        m_drawn.UnitForcesInLoads = false;
        const RecordingCanvas size(kReportPictureWidth, kReportPictureHeight);
        FitModelToPicture(m_drawn, size);
    }

    Report Build()
    {
        m_report.title = std::string(kReportTitle);
        const auto filled = [](std::string_view text) {
            return text.empty() ? std::string(kBlankToFill) : std::string(text);
        };
        Add(ReportBlock::Kind::Paragraph, std::string(kStudentLabel) + filled(m_source.student) + "　　" +
                                              std::string(kClassLabel) + filled(m_source.className) + "　　" +
                                              std::string(kDateLabel) + m_source.date);
        if (!m_source.description.empty())
            Add(ReportBlock::Kind::Paragraph, m_source.description);
        Add(ReportBlock::Kind::Paragraph, kConventions);
        StructureSection();
        m_report.complete = Calculation();
        return std::move(m_report);
    }

private:
    // True when the calculation reached its last item; otherwise a Stop
    // block ends the report.
    bool Calculation()
    {
        const CalculationState* calc = m_source.calculation;
        if (calc == nullptr || !calc->analysed)
            return Stop(kNotAnalysed);
        if (!StillAsAnalysed(m_source.model, *calc))
            return Stop(kReanalyseMessage);
        ModelSection(*calc);
        m_items = CalculationItems(calc->kind, calc->degree);
        while (m_reached < m_items.size() && ItemStands(*calc, m_reached, m_items[m_reached].step))
            ++m_reached;
        if (!CaseSection(*calc))
            return false;
        if (IsIndeterminate(calc->kind)) {
            if (!EquationSection(*calc) || !SuperpositionSection(*calc))
                return false;
        } else {
            Section(kDiagramSection);
            FinalDiagrams();
            Checks();
        }
        DisplacementSection(*calc);
        return true;
    }

    // The displacements the structure file asks for and those "位移计算"
    // worked out, each by the unit-load method as a teacher writes it: the
    // unit load's reactions and end forces, its M̄ diagram, Δ by graph
    // multiplication member by member, the sentence of its value and sense;
    // then the deflected shape at the automatic scale. A request that
    // cannot be formed is said in its place.
    void DisplacementSection(const CalculationState& calc)
    {
        const CellRows requests = AllDisplacementRequests(m_source.displacements, calc.displacementsShown);
        if (requests.empty())
            return;
        Section(kDisplacementCaption);
        Add(ReportBlock::Kind::Paragraph, kDisplacementLead);
        RecordingMessages refused;
        for (const Displacement& d : ComputeRequestedDisplacements(m_source.model, calc, requests, refused)) {
            const std::string name = DisplacementName(d.request);
            Add(ReportBlock::Kind::Subheading, name);
            Table(kUnitLoadReactionCaption, Headed(kUnitLoadReactionHeader, UnitLoadReactionRows(d)));
            Table(kUnitLoadEndForceCaption, Headed(kUnitLoadEndForceHeader, UnitLoadEndForceRows(d)));
            DiagramPicture(UnitLoadDiagramCaption(name), [&](RecordingCanvas& canvas) {
                return DrawReportUnitLoadMomentDiagram(m_drawn, d.unit.endForces, canvas, m_host);
            });
            double products = 0.0;
            for (const LedgerTerm& t : d.terms)
                products += t.term;
            RichText line{Normal("Δ")};
            line.push_back(Normal(WorkedSum(d.terms, d.Delta - products, d.Delta)));
            Add(ReportBlock::Kind::Derivation, std::move(line));
            Add(ReportBlock::Kind::Paragraph,
                DisplacementSentence(name, SignedTerm(d.Delta, true), SenseText(d.Delta)));
            m_report.blocks.back().keepWithPrevious = true;
        }
        for (const ShownMessage& message : refused.shown)
            Add(ReportBlock::Kind::Paragraph, std::string(kProgramSaid) + message.text);
        std::vector<NodeDisplacement> nodes;
        if (!ComputeNodeDisplacements(m_source.model, calc, nodes, refused))
            return;
        AnsweredScale automatic(std::nullopt);
        Picture(std::string(kDeflectedShapeCaption),
                [&](RecordingCanvas& canvas) { DrawDeflectedShape(m_drawn, nodes, canvas, automatic); });
    }

    void Add(ReportBlock::Kind kind, RichText text, CellRows table = {}, std::vector<CanvasOp> ops = {})
    {
        m_report.blocks.push_back({kind, std::move(text), std::move(table), std::move(ops)});
    }
    void Add(ReportBlock::Kind kind, std::string_view text) { Add(kind, RichText{Normal(std::string(text))}); }

    void Section(std::string_view title)
    {
        const std::size_t n = m_sections++;
        const std::string numeral =
            n < std::size(kSectionNumerals) ? std::string(kSectionNumerals[n]) : std::to_string(n + 1);
        Add(ReportBlock::Kind::Heading, numeral + "、" + std::string(title));
    }

    void Table(std::string_view caption, CellRows rows)
    {
        rows.resize(UsedRows(rows));
        for (std::vector<std::string>& row : rows)
            for (std::string& cell : row)
                cell = ReportText(std::move(cell));
        Add(ReportBlock::Kind::Table, RichText{Normal(ReportText(std::string(caption)))}, std::move(rows));
    }
    void Item(std::size_t m) { Add(ReportBlock::Kind::Subheading, ReportText(m_items[m].text)); }

    template <typename Draw>
    void Picture(std::string caption, Draw draw)
    {
        RecordingCanvas canvas(kReportPictureWidth, kReportPictureHeight);
        draw(canvas);
        AddPicture(std::move(caption), std::move(canvas.ops));
    }

    // A picture on paper: each label once, cut to what it shows.
    void AddPicture(std::string caption, std::vector<CanvasOp> ops)
    {
        DropRepeatedPrints(ops);
        for (CanvasOp& op : ops)
            op.text = PictureLabel(op.text);
        ClearCrossedLabels(ops);
        const PictureSize size = FramePicture(ops, kReportPictureMargin);
        Add(ReportBlock::Kind::Picture, RichText{Normal(std::move(caption))}, {}, std::move(ops));
        m_report.blocks.back().width = size.width;
        m_report.blocks.back().height = size.height;
    }

    // A diagram's picture, or where every value of it is zero the line
    // that says so instead of an empty picture.
    template <typename Draw>
    void DiagramPicture(std::string caption, Draw draw)
    {
        RecordingCanvas canvas(kReportPictureWidth, kReportPictureHeight);
        if (draw(canvas).zero)
            Add(ReportBlock::Kind::Paragraph, ZeroDiagramText(caption));
        else
            AddPicture(std::move(caption), std::move(canvas.ops));
    }

    // Always false: the calculation goes no further.
    bool Stop(std::string_view reason)
    {
        Add(ReportBlock::Kind::Stop, std::string(kUnfinished) + std::string(reason));
        if (!m_source.stopMessage.empty())
            Add(ReportBlock::Kind::Paragraph, std::string(kProgramSaid) + m_source.stopMessage);
        return false;
    }

    // False, after the Stop block, when item m has not been reached.
    bool Reached(std::size_t m)
    {
        if (m < m_reached)
            return true;
        return Stop(NotCalculatedText(m < m_items.size() ? ReportText(m_items[m].text) : std::string()));
    }

    const ItemResult& ResultOf(std::size_t m) const { return *m_source.calculation->itemResults[m]; }

    std::size_t ItemOf(StepKind kind) const
    {
        std::size_t m = 0;
        while (m < m_items.size() && m_items[m].step.kind != kind)
            ++m;
        return m;
    }

    void StructureSection()
    {
        Section(kStructureSection);
        Picture(std::string(kStructurePictureTitle),
                [this](RecordingCanvas& canvas) { DrawStructureWithLoads(m_drawn, canvas); });
        for (const InputTableLayout& layout : kInputTableLayouts)
            InputTable(layout);
        // The settlements and temperature changes only where the structure has them.
        for (const InputTableLayout& layout : kSettlementTemperatureLayouts)
            if (!CommittedRows(m_source.model, layout.kind).empty())
                InputTable(layout);
    }

    void InputTable(const InputTableLayout& layout)
    {
        CellRows rows{{}};
        for (const InputColumn& column : layout.columns)
            rows.front().emplace_back(column.header);
        const CellRows committed = CommittedRows(m_source.model, layout.kind);
        rows.insert(rows.end(), committed.begin(), committed.end());
        Table(layout.panelCaption, std::move(rows));
    }

    void ModelSection(const CalculationState& calc)
    {
        Section(kModelSection);
        Add(ReportBlock::Kind::Paragraph,
            std::string(kCalculationKindLabel) + std::string(CalculationModelCaption(calc.kind)));
        if (!IsIndeterminate(calc.kind)) {
            Add(ReportBlock::Kind::Paragraph, kDeterminateNote);
            return;
        }
        Add(ReportBlock::Kind::Paragraph, DegreeText(calc.degree));
        // The structure the student was given, every restraint in place,
        // then the basic system with the redundants where they were.
        std::string why;
        const std::optional<OriginalStructure> original = OriginalOfCalculation(m_source.model, calc, why);
        if (const std::optional<StructureModel> whole = original ? OriginalModel(*original, why) : std::nullopt) {
            // Drawn as the structure is, at the report's scale.
            StructureModel drawn = m_drawn;
            drawn.Nodes = whole->Nodes;
            drawn.Supports = whole->Supports;
            drawn.SupportConstraintCount = whole->SupportConstraintCount;
            Picture(std::string(kOriginalStructureTitle),
                    [&](RecordingCanvas& canvas) { DrawStructureWithLoads(drawn, canvas); });
        }
        RecordingCanvas canvas(kReportPictureWidth, kReportPictureHeight);
        const std::vector<int> drawn = DrawBasicSystem(calc, canvas);
        AddPicture(BasicSystemCaption(drawn, calc.degree), std::move(canvas.ops));
    }

    // The structure with its loads, then each unit force applied in red,
    // labelled Xk where the window prints its magnitude 1, the labels
    // placed clear of every line and of each other (several unit forces at
    // one node print at one place). An unknown whose force draws nothing
    // (not applied yet, or off its member) gets no label. Returns the k
    // drawn.
    std::vector<int> DrawBasicSystem(const CalculationState& calc, RecordingCanvas& canvas)
    {
        DrawStructureWithLoads(m_drawn, canvas);
        StructureModel unit = m_drawn;
        std::vector<int> drawn;
        std::vector<LabelRequest> labels;
        for (int k = 1; k < static_cast<int>(calc.unitForces.size()); ++k) {
            if (!calc.unitForces[static_cast<std::size_t>(k)])
                continue;
            unit.Loads = *calc.unitForces[static_cast<std::size_t>(k)];
            RecordingCanvas forces(kReportPictureWidth, kReportPictureHeight);
            DrawConcentratedLoads(unit, forces);
            DrawCouples(unit, forces);
            std::vector<CanvasOp> prints;
            std::vector<CanvasOp> strokes;
            for (CanvasOp& op : forces.ops) {
                op.color = kRed;
                (op.kind == CanvasOp::Kind::Print ? prints : strokes).push_back(std::move(op));
            }
            const std::optional<PictureBox> symbol = ContentBox(strokes);
            if (!symbol)
                continue;
            drawn.push_back(k);
            canvas.ops.insert(canvas.ops.end(), strokes.begin(), strokes.end());
            // Wanted where the window prints the 1, off the symbol's middle.
            const double cx = (symbol->left + symbol->right) / 2.0;
            const double cy = (symbol->top + symbol->bottom) / 2.0;
            for (const CanvasOp& print : prints) {
                const std::string text = "X" + std::to_string(k);
                const double x = print.x1 + TextWidth(print.text) / 2.0;
                const double y = print.y1 + kTextHeight / 2.0;
                labels.push_back({text, x, y, x - cx, y - cy, true, kRed});
            }
        }
        PictureObstacles obstacles = ObstaclesOf(canvas.ops);
        const std::vector<PlacedLabel> placed = PlaceLabels(labels, obstacles);
        for (std::size_t n = 0; n < labels.size(); ++n) {
            canvas.SetForeColor(kRed);
            canvas.SetCurrent(placed[n].x, placed[n].y);
            canvas.Print(labels[n].text);
        }
        return drawn;
    }

    bool CaseSection(const CalculationState& calc)
    {
        Section(IsIndeterminate(calc.kind) ? kCaseSection : kDeterminateCaseSection);
        for (std::size_t m = 0; m < m_items.size() && IsCaseStep(m_items[m].step.kind); ++m) {
            if (!Reached(m))
                return false;
            Item(m);
            Table(ResultOf(m).title, ResultOf(m).table);
        }
        return true;
    }

    // Xk of the solution in double; the model's while it cannot be formed.
    double UnknownOf(int k) const
    {
        std::string why;
        const std::optional<ForceMethodSolution> solution = SolutionOfModel(m_source.model, why);
        return solution && static_cast<int>(solution->X.size()) >= k ? solution->X[static_cast<std::size_t>(k - 1)]
                                                                     : m_source.model.RedundantForces.at(k);
    }

    bool EquationSection(const CalculationState& calc)
    {
        const int n = calc.degree;
        const StructureModel& model = m_source.model;
        Section(kEquationSection);
        Add(ReportBlock::Kind::Subheading, kCaseDiagramChoiceTitle);
        for (int c = 0; c <= n; ++c)
            DiagramPicture(CaseDiagramChoices({c}).front(), [&](RecordingCanvas& canvas) {
                return DrawReportCaseMomentDiagram(m_drawn, c, canvas, m_host);
            });

        Add(ReportBlock::Kind::Subheading, kCanonicalEquationTitle);
        Add(ReportBlock::Kind::Paragraph, kCanonicalEquationLead);
        const ImposedTerms imposed = ImposedTermsOf(model);
        if (imposed.Any())
            Add(ReportBlock::Kind::Paragraph, kImposedDeformationRule);
        for (int i = 1; i <= n; ++i) {
            RichText line;
            for (int j = 1; j <= n; ++j) {
                line.push_back(Normal(j == 1 ? "δ" : " + δ"));
                line.push_back(Sub(IndexPair(i, j, n)));
                line.push_back(Normal("X"));
                line.push_back(Sub(std::to_string(j)));
            }
            line.push_back(Normal(" + Δ"));
            line.push_back(Sub(std::to_string(i) + "P"));
            if (imposed.Any()) {
                line.push_back(Normal(" + Δ"));
                line.push_back(Sub(std::to_string(i) + "c"));
                line.push_back(Normal(" + Δ"));
                line.push_back(Sub(std::to_string(i) + "t"));
                line.push_back(Normal(" = c"));
                line.push_back(Sub(std::to_string(i)));
            } else {
                line.push_back(Normal(" = 0"));
            }
            Add(ReportBlock::Kind::Equation, std::move(line));
        }

        const std::size_t coefficients = ItemOf(StepKind::Coefficients);
        if (!Reached(coefficients))
            return false;
        Item(coefficients);
        Add(ReportBlock::Kind::Paragraph, kCoefficientLead);
        if (std::any_of(model.UserLoads().begin(), model.UserLoads().end(), ActsBetweenNodes))
            Add(ReportBlock::Kind::Paragraph, kPiecewiseIntegrationNote);
        GraphMultiplication(LedgerOfModel(model), n);
        Table(kCoefficientCaption, ResultOf(coefficients).table);
        // The settlements' and temperature changes' shares, where there are any.
        if (const std::vector<std::vector<std::string>> imposedRows = ImposedLedgerRows(ImposedLedgerOfModel(model));
            !imposedRows.empty())
            Table(LedgerTable.caption, ViewTable(LedgerTable, imposedRows));
        Add(ReportBlock::Kind::Paragraph, kSubstituteLead);
        // The equations with the coefficients and unknowns of the solution in
        // double (the table above shows them as calculated in 32 bits).
        std::string why;
        const std::optional<ForceMethodSolution> solution = SolutionOfModel(model, why, false);
        const auto delta = [&](int i, int j) {
            return solution ? solution->delta[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)]
                            : static_cast<double>(model.FlexibilityMatrix.at(i, j));
        };
        const auto Delta = [&](int i) {
            return solution ? solution->Delta[static_cast<std::size_t>(i - 1)]
                            : static_cast<double>(model.FreeTerms.at(i));
        };
        for (int i = 1; i <= n; ++i) {
            RichText line;
            bool first = true;
            for (int j = 1; j <= n; ++j)
                AddTerm(line, delta(i, j), {Normal("X"), Sub(std::to_string(j))}, first);
            // The free terms together, the prescribed displacement on the right.
            const auto k = static_cast<std::size_t>(i - 1);
            const double free = imposed.Any() ? Delta(i) + imposed.Dc[k] + imposed.Dt[k] : Delta(i);
            AddTerm(line, free, {}, first);
            if (first)
                line.push_back(Normal("0"));
            line.push_back(Normal(" = " + (imposed.Any() ? SignedTerm(imposed.c[k], true) : std::string("0"))));
            Add(ReportBlock::Kind::Equation, std::move(line));
        }

        const std::size_t unknowns = ItemOf(StepKind::Unknowns);
        if (!Reached(unknowns))
            return false;
        Item(unknowns);
        Add(ReportBlock::Kind::Paragraph, kSolveLead);
        for (int k = 1; k <= n; ++k)
            Add(ReportBlock::Kind::Equation,
                RichText{Normal("X"), Sub(std::to_string(k)), Normal(" = " + SignedTerm(UnknownOf(k), true))});
        return true;
    }

    // Each coefficient as written by hand: the members' products with their
    // numbers, their values, the sum ("δ11 = … + … = 31.5 + 4.5 = 36").
    void GraphMultiplication(const std::vector<LedgerEntry>& ledger, int n)
    {
        for (const LedgerEntry& entry : ledger) {
            RichText line;
            if (entry.j == 0) {
                line = {Normal("Δ"), Sub(std::to_string(entry.i) + "P")};
            } else {
                line = {Normal("δ"), Sub(IndexPair(entry.i, entry.j, n))};
                if (entry.i != entry.j)
                    line.insert(line.end(), {Normal(" = δ"), Sub(IndexPair(entry.j, entry.i, n))});
            }
            line.push_back(Normal(WorkedSum(entry.terms, 0.0, entry.total)));
            Add(ReportBlock::Kind::Derivation, std::move(line));
        }
    }

    // " = products = values = total" of a sum of graph products, the
    // members' products written out (a member whose product is zero left
    // out), with `imposed`, the settlements' and heat's part, as Δc + Δt
    // where it is not zero.
    static std::string WorkedSum(const std::vector<LedgerTerm>& terms, double imposed, double total)
    {
        std::string products;
        std::string values;
        int written = 0;
        for (const LedgerTerm& t : terms) {
            const std::string product = ProductText(t);
            if (product.empty())
                continue;
            products += (written == 0 ? "" : " + ") + product;
            values += SignedTerm(t.term, written == 0);
            ++written;
        }
        if (EquationNumber(std::fabs(imposed)) != "0") {
            products += (written == 0 ? "" : " + ") + std::string("Δc + Δt");
            values += SignedTerm(imposed, written == 0);
            ++written;
        }
        std::string text = " = ";
        if (written > 0)
            text += products + " = ";
        if (written > 1)
            text += values + " = ";
        return text + SignedTerm(total, true);
    }

    // A part of a table under its header.
    template <std::size_t N>
    static CellRows Headed(const std::string_view (&header)[N], CellRows rows)
    {
        rows.insert(rows.begin(), std::vector<std::string>(std::begin(header), std::end(header)));
        return rows;
    }

    bool SuperpositionSection(const CalculationState& calc)
    {
        const int n = calc.degree;
        Section(kSuperpositionSection);
        const std::size_t total = ItemOf(StepKind::Superposition);
        if (!Reached(total))
            return false;
        Item(total);
        Add(ReportBlock::Kind::Paragraph, kSuperpositionLead);
        RichText symbols{Normal("M = ")};
        RichText numbers{Normal("M = ")};
        bool first = true;
        for (int k = 1; k <= n; ++k) {
            symbols.push_back(Normal(k == 1 ? "M\u0304" : " + M\u0304"));
            symbols.push_back(Sub(std::to_string(k)));
            symbols.push_back(Normal("X"));
            symbols.push_back(Sub(std::to_string(k)));
            AddTerm(numbers, UnknownOf(k), {Normal("M\u0304"), Sub(std::to_string(k))}, first);
        }
        for (RichText* line : {&symbols, &numbers}) {
            line->push_back(Normal(line == &numbers && first ? "M" : " + M"));
            line->push_back(Sub("P"));
            Add(ReportBlock::Kind::Equation, std::move(*line));
        }
        Add(ReportBlock::Kind::Paragraph, kTotalForcesLead);
        Table(ResultOf(total).title, ResultOf(total).table);
        if (const std::optional<std::vector<FinalReaction>> reactions = FormFinalReactions(m_source.model))
            Table(FinalReactionTable.caption, ViewTable(FinalReactionTable, FinalReactionRows(*reactions)));
        FinalDiagrams();
        Checks();
        return true;
    }

    void FinalDiagrams()
    {
        const std::pair<std::string_view, ReportDiagram> diagrams[] = {{kMomentDiagramCaption, ReportDiagram::Moment},
                                                                       {kShearDiagramCaption, ReportDiagram::Shear},
                                                                       {kAxialDiagramCaption, ReportDiagram::Axial}};
        Add(ReportBlock::Kind::Subheading, kFinalDiagramTitle);
        for (const auto& [caption, which] : diagrams) {
            // A lambda cannot capture a structured binding before clang 16.
            const ReportDiagram diagram = which;
            DiagramPicture(std::string(caption), [&](RecordingCanvas& canvas) {
                return DrawReportDiagram(m_drawn, diagram, canvas, m_host);
            });
        }
    }

    void Checks()
    {
        const std::optional<std::vector<ResultCheck>> checks = CheckFinalResults(m_source.model);
        if (!checks)
            return;
        // A residual within its tolerance is rounding: written 0.
        std::vector<std::vector<std::string>> rows = CheckRows(*checks);
        for (std::size_t k = 0; k < rows.size(); ++k)
            if ((*checks)[k].Passed())
                rows[k][2] = "0";
        Table(CheckTable.caption, ViewTable(CheckTable, rows));
    }

    const ReportSource& m_source;
    StructureModel m_drawn;
    AnsweredScale m_host;
    Report m_report;
    std::vector<CalculationItem> m_items;
    std::size_t m_reached = 0;
    std::size_t m_sections = 0;
};

}  // namespace

std::string PlainText(const RichText& text)
{
    std::string plain;
    for (const TextRun& run : text)
        plain += run.text;
    return plain;
}

Report BuildReport(const ReportSource& source)
{
    return Builder(source).Build();
}

std::string ReportDate(int year, int month, int day)
{
    return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

std::string ReportDateToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return ReportDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

std::optional<ReportFormat> ReportFormatOfName(std::string_view fileName)
{
    if (HasExtension(fileName, ".htm"))
        return ReportFormat::Html;
    return FormatOfName(fileName, std::span(kReportFileKinds));
}

ReportFile ChooseReportFile(std::string_view chosenName, ReportFormat filtered)
{
    return ChooseFile(chosenName, ReportFormatOfName(chosenName), filtered, std::span(kReportFileKinds));
}

}  // namespace tavrin
