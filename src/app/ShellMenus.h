#pragma once

#include <span>
#include <string_view>

namespace tavrin {

// What a menu entry of the main window does.
enum class ShellCommand {
    Separator,
    New,               // an empty structure in place of the model, after asking about unsaved work
    Open,              // a structure file in place of the model
    Save,              // the model into its structure file
    Exit,              // ends the program, after asking about unsaved work
    ModelType,         // model type dialog
    InputFigure,       // input form
    AnalyseModelType,  // model type analysis, then the calculation form
    MomentDiagram,
    AxialDiagram,
    ShearDiagram,
    CaseMomentDiagram,  // asks for a load case of the basic system, draws its MP or M̄k
    Displacement,       // the calculation form, to ask for a displacement by the unit-load method
    DeflectedShape,     // the displacements of every node and the deflected members
    HelpTopics,
    WebBrowser,
    About,
    ExportPicture,        // the picture showing as a PNG, SVG or PDF file
    PrintPicture,         // the picture showing on one page, through the print dialog
    ExportReport,         // the calculation written out ("计算书") as a PDF or HTML file
    CompareBasicSystems,  // the calculation's basic system beside another the student picks
    OriginalStructure,    // the structure with every restraint, the redundant ones too
};

// One entry: its control name, caption with access key ("-" a separator line)
// and shortcut in the portable key-sequence form ("" none).
struct MenuEntry {
    std::string_view name;
    std::string_view caption;
    std::string_view shortcut;
    ShellCommand command;
};

struct MenuDefinition {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuEntry> entries;
};

inline constexpr std::string_view kSeparatorCaption = "-";

inline constexpr MenuEntry kFileEntries[] = {
    {"xinjian", "新建(&N)", "Ctrl+N", ShellCommand::New},
    {"dakai", "打开(&D)", "Ctrl+D", ShellCommand::Open},
    {"baocun", "保存(&B)", "Ctrl+S", ShellCommand::Save},
    {"daochu", "导出图形...", "", ShellCommand::ExportPicture},
    {"dayin", "打印...", "", ShellCommand::PrintPicture},
    {"jisuanshu", "导出计算书...", "", ShellCommand::ExportReport},
    {"heng5", kSeparatorCaption, "", ShellCommand::Separator},
    {"exit", "退出(&E)", "Ctrl+E", ShellCommand::Exit},
};
inline constexpr MenuEntry kModelEntries[] = {
    {"mnuModel", "静定/超静定问题", "", ShellCommand::ModelType},
    {"were", kSeparatorCaption, "", ShellCommand::Separator},
    {"mnuFig", "输入图形数据", "", ShellCommand::InputFigure},
    {"hy", kSeparatorCaption, "", ShellCommand::Separator},
};
inline constexpr MenuEntry kSolveEntries[] = {
    {"mnuModelType", "计算类型分析", "", ShellCommand::AnalyseModelType},
    {"b", kSeparatorCaption, "", ShellCommand::Separator},
    {"huanjiben", "换一个基本体系...", "", ShellCommand::CompareBasicSystems},
};
inline constexpr MenuEntry kDiagramEntries[] = {
    {"wanju", "弯矩图&W", "Ctrl+W", ShellCommand::MomentDiagram},
    {"zhouli", "轴力图&Z", "Ctrl+Z", ShellCommand::AxialDiagram},
    {"jianli", "剪力图&J", "Ctrl+J", ShellCommand::ShearDiagram},
    {"heng6", kSeparatorCaption, "", ShellCommand::Separator},
    {"jibenwanju", "基本结构弯矩图&B", "", ShellCommand::CaseMomentDiagram},
    {"weiyi", "位移计算...", "", ShellCommand::Displacement},
    {"weiyitu", "位移图", "", ShellCommand::DeflectedShape},
    {"yuanjiegou", "原结构", "", ShellCommand::OriginalStructure},
};
inline constexpr MenuEntry kHelpEntries[] = {
    {"zhuti", "帮助主题(&Z)", "", ShellCommand::HelpTopics},
    {"web", "Web浏览器...", "", ShellCommand::WebBrowser},
    {"guanyu", "关于Tavrin...", "", ShellCommand::About},
};

// The menu bar, left to right.
inline constexpr MenuDefinition kMenuBar[] = {
    {"wenjian", "文件(&F)", kFileEntries}, {"huatu", "建立计算模型(&M)", kModelEntries},
    {"qiujie", "求解(&Q)", kSolveEntries}, {"xianshi", "显示内力图(&T)", kDiagramEntries},
    {"help", "帮助(&H)", kHelpEntries},
};

}  // namespace tavrin
