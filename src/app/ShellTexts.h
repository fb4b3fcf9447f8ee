#pragma once

#include <string_view>

namespace tavrin {

// Welcome form frmMainPage.
inline constexpr std::string_view kMainPageCaption = "欢迎使用";
inline constexpr std::string_view kWelcomeText = "欢迎使用";
inline constexpr std::string_view kProgramTitle = "Tavrin";
inline constexpr std::string_view kCreditAuthors = "编写：结构力学课程组";
inline constexpr std::string_view kCreditPurpose = "平面刚架力法计算教学程序，供课堂教学与课后练习使用";
inline constexpr std::string_view kEnterCaption = "进入";

// Main window MDIForm1; the picture window it holds is captioned by what it
// shows (kStructurePictureCaption or the diagram's name).
inline constexpr std::string_view kMainWindowCaption = "Tavrin";

// The file dialogs of "打开" and "保存": structure files only, ".json"
// added to a name typed without it.
inline constexpr std::string_view kOpenDialogCaption = "打开";
inline constexpr std::string_view kSaveDialogCaption = "保存";
inline constexpr std::string_view kStructureFileFilter = "Tavrin 结构文件 (*.json)";
inline constexpr std::string_view kStructureFileSuffix = "json";

// Submenu "示例" of "文件": the shipped examples, each titled by its
// description up to kTitleEnd. An example opened is named in the window
// title by that title and kExampleMark; it has no file of its own.
inline constexpr std::string_view kExamplesMenuName = "shili";
inline constexpr std::string_view kExamplesMenuCaption = "示例";
inline constexpr std::string_view kTitleEnd = "：";
inline constexpr std::string_view kExampleMark = "（示例）";
// Why a case that reads well did not go in, when the commit said nothing.
inline constexpr std::string_view kCaseNotPlayed = "文件中的结构未能输入";
// The file dialog of "导出图形...".
inline constexpr std::string_view kExportDialogCaption = "导出图形";
// The file dialog of "导出计算书...".
inline constexpr std::string_view kReportDialogCaption = "导出计算书";
inline constexpr std::string_view kReportProgress = "正在排版计算书……";
// The names the export dialogs propose, in the folder of the file worked on:
// its name, for a picture followed by the picture's title
// ("刚架-弯矩图"); without a file, the picture's title and kReportName.
inline constexpr std::string_view kReportName = "计算书";
inline constexpr std::string_view kPictureNameJoint = "-";

// Help menu: there is no help file and no browser to start. Shown as plain
// notices, without the warning icon of a titled message. Their lines break
// between words and are short enough (kNoticeLineColumns) that the message
// box never breaks one inside a word.
inline constexpr std::string_view kHelpTopicsNotice =
    "本程序暂无帮助文档。\n"
    "计算步骤：\n"
    "输入图形数据 → 静定/超静定问题 →\n"
    "计算类型分析 → 逐项计算 → 显示内力图。";
inline constexpr std::string_view kWebBrowserNotice =
    "本程序不提供网页浏览功能，\n"
    "请使用系统自带的浏览器。";
// Widest line of a notice, in columns of a Latin letter (a Chinese character
// takes two): some 300 pixels of the usual dialog font, well within the
// width at which a message box starts to wrap its text.
inline constexpr int kNoticeLineColumns = 40;

// About box frmAbout.
inline constexpr std::string_view kAboutCaption = "关于Tavrin";
inline constexpr std::string_view kAboutDescription = "应用程序描述:本程序正试运行期间,请大家原谅!!";
// The about box shows its texts unwrapped, line by line as written here.
inline constexpr std::string_view kAboutDisclaimer =
    "警告: 本程序仅供教学使用。\n"
    "计算结果未经全面验证，不得直接用于工程设计；\n"
    "使用者应自行核对计算模型与结果。";
inline constexpr std::string_view kAboutOkCaption = "确定";
inline constexpr std::string_view kSysInfoCaption = "系统信息(&S)...";

}  // namespace tavrin
