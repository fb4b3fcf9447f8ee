#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

inline constexpr std::string_view kReportTitle = "计算书";
inline constexpr std::string_view kDateLabel = "日期：";
inline constexpr std::string_view kStudentLabel = "姓名：";
inline constexpr std::string_view kClassLabel = "班级：";
// Where the student writes by hand what the report was not given.
inline constexpr std::string_view kBlankToFill = "＿＿＿＿＿＿";
// The signs and units of every table and diagram of the report, said once.
inline constexpr std::string_view kConventions =
    "符号规定：轴力N以受拉为正；剪力V以使杆段顺时针转动为正；杆端弯矩M以使杆件左侧受拉为正"
    "（左侧指从i端看向j端时的左侧，由左向右的水平杆即上侧）。弯矩图画在杆件受拉一侧；剪力图、轴力图的正值画在杆件左侧。"
    "支座反力Fx向右、Fy向上、Fm顺时针为正。长度、力等的单位即输入数据所用的单位，全书一致，不另注明。";

// Section titles, numbered 一、二、… in order.
inline constexpr std::string_view kStructureSection = "结构和荷载";
inline constexpr std::string_view kModelSection = "计算模型";
inline constexpr std::string_view kCaseSection = "各工况支座反力和杆端内力";
inline constexpr std::string_view kDeterminateCaseSection = "支座反力和杆件内力";
inline constexpr std::string_view kEquationSection = "力法典型方程";
inline constexpr std::string_view kSuperpositionSection = "内力叠加和校核";
inline constexpr std::string_view kDiagramSection = "内力图和校核";

inline constexpr std::string_view kStructurePictureTitle = "计算简图";
inline constexpr std::string_view kCalculationKindLabel = "计算类型：";
inline std::string DegreeText(int degree)
{
    return "超静定次数：n = " + std::to_string(degree);
}
inline constexpr std::string_view kOriginalStructureTitle = "原结构";
// The unknowns the basic system's picture shows (`drawn`, in order) named
// in its caption: "基本体系：基本结构上作用荷载和未知力X1～X3" for all of
// them, "…未知力X1、X3" for some, and none where none is drawn yet.
inline std::string BasicSystemCaption(const std::vector<int>& drawn, int degree)
{
    const std::string lead = "基本体系：基本结构上作用荷载";
    if (drawn.empty())
        return lead + "（未知力尚未施加）";
    if (static_cast<int>(drawn.size()) == degree && degree > 1)
        return lead + "和未知力X1～X" + std::to_string(degree);
    std::string named;
    for (const int k : drawn)
        named += (named.empty() ? "X" : "、X") + std::to_string(k);
    return lead + "和未知力" + named;
}
// Said in place of a diagram whose every value is zero: "轴力图：各杆均为零，图略。"
inline std::string ZeroDiagramText(std::string_view caption)
{
    return std::string(caption) + "：各杆均为零，图略。";
}

// Said of a determinate structure, which needs no redundant.
inline constexpr std::string_view kDeterminateNote =
    "静定结构：由平衡条件即可求出全部支座反力和内力，不需要建立力法典型方程。";
inline constexpr std::string_view kCanonicalEquationTitle = "力法典型方程";
inline constexpr std::string_view kCanonicalEquationLead = "基本体系在各未知力方向的位移与原结构相同，即等于零：";
inline constexpr std::string_view kCoefficientLead =
    "由基本结构的弯矩图用图乘法求系数和自由项（δij = Σ∫M̄iM̄j ds/EI，ΔiP = Σ∫M̄iMP ds/EI）：";
// Said after kCoefficientLead when loads act between the nodes.
inline constexpr std::string_view kPiecewiseIntegrationNote =
    "杆件上有结点之间的荷载（集中力、力偶、局部或线性分布荷载）时，荷载弯矩图在荷载作用点处转折或突变，"
    "线性分布荷载下为三次曲线，不能直接套用图乘法的面积与形心公式；各杆的图乘项按弯矩图分段多项式精确积分"
    "∫M̄iMP ds/EI 求得（图乘明细中的“抛物线项”为荷载弯矩超出端弯矩连线部分的积分）。";
// Said before the canonical equations of a structure whose supports settle
// or whose members are heated.
inline constexpr std::string_view kImposedDeformationRule =
    "支座位移和温度改变引起的自由项：Δic = "
    "−ΣR̄i·c（R̄i为单位力Xi作用下基本结构发生位移的支座的反力，与支座位移c同向为正），"
    "Δit = Σα·t0·∫N̄i ds + Σα·(t左 − t右)/h·∫M̄i ds（t0为杆件两侧温度改变的平均值，左、右从i端看向j端）；"
    "ci为原结构在Xi方向的给定位移（无则为0）。";
inline constexpr std::string_view kCoefficientCaption = "系数和自由项：";
inline constexpr std::string_view kSubstituteLead = "代入力法典型方程：";
inline constexpr std::string_view kSolveLead = "解得：";
inline constexpr std::string_view kSuperpositionLead = "按叠加原理求最终弯矩：";
inline constexpr std::string_view kTotalForcesLead = "剪力和轴力同样叠加，得各杆件总内力：";
inline constexpr std::string_view kFinalDiagramTitle = "最终内力图";
inline constexpr std::string_view kDisplacementLead =
    "沿所求位移方向加单位荷载（超静定结构加在基本结构上），求其支座反力、杆端力和M̄图，"
    "与最终弯矩图图乘求位移（Δ = Σ∫MM̄ ds/EI，只计弯曲变形）：";
inline constexpr std::string_view kUnitLoadReactionCaption = "单位荷载作用下的支座反力：";
inline constexpr std::string_view kUnitLoadEndForceCaption = "单位荷载作用下的杆端力：";
// "M̄图（结点2竖向位移的单位荷载）".
inline std::string UnitLoadDiagramCaption(std::string_view name)
{
    return "M\u0304图（" + std::string(name) + "的单位荷载）";
}
// "结点2竖向位移 Δ = −31.5，与单位力方向相反。"
inline std::string DisplacementSentence(std::string_view name, std::string_view value, std::string_view sense)
{
    // A displacement the restraints hold has no sense.
    if (sense.empty())
        return std::string(name) + " Δ = " + std::string(value) + "。";
    return std::string(name) + " Δ = " + std::string(value) + "，" + std::string(sense) + "。";
}

// The Stop block: kUnfinished, then why.
inline constexpr std::string_view kUnfinished = "计算未完成：";
inline constexpr std::string_view kNotAnalysed = "尚未进行“计算类型分析”。";
inline std::string NotCalculatedText(std::string_view item)
{
    return "“" + std::string(item) + "”一项尚未计算。";
}
inline constexpr std::string_view kProgramSaid = "程序提示：";

}  // namespace tavrin
