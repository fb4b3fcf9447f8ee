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

// The file dialogs of "打开" and "保存" read and write nothing.
inline constexpr std::string_view kOpenDialogCaption = "打开";
inline constexpr std::string_view kSaveDialogCaption = "保存";

// Help menu: there is no help file and no browser to start. Shown as plain
// notices, without the warning icon of a titled message.
inline constexpr std::string_view kHelpTopicsNotice =
    "本程序暂无帮助文档。\n计算步骤：输入图形数据 → 静定/超静定问题 → 计算类型分析 → 逐项计算 → 显示内力图。";
inline constexpr std::string_view kWebBrowserNotice = "本程序不提供网页浏览功能，请使用系统自带的浏览器。";

// About box frmAbout.
inline constexpr std::string_view kAboutCaption = "关于Tavrin";
inline constexpr std::string_view kAboutDescription = "应用程序描述:本程序正试运行期间,请大家原谅!!";
inline constexpr std::string_view kAboutDisclaimer =
    "警告: 本程序仅供教学使用。计算结果未经全面验证，不得直接用于工程设计；"
    "使用者应自行核对计算模型与结果。";
inline constexpr std::string_view kAboutOkCaption = "确定";
inline constexpr std::string_view kSysInfoCaption = "系统信息(&S)...";

}  // namespace tavrin
