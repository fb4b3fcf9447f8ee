#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// The files the picture is saved as: PNG pixels, or SVG and PDF vectors with
// the labels as text.
enum class PictureFormat { Png, Svg, Pdf };

struct PictureFileKind {
    PictureFormat format;
    std::string_view extension;  // with its dot, lower case
    std::string_view filter;     // the export dialog's line for it
};

inline constexpr PictureFileKind kPictureFileKinds[] = {
    {PictureFormat::Png, ".png", "PNG 图片 (*.png)"},
    {PictureFormat::Svg, ".svg", "SVG 图形 (*.svg)"},
    {PictureFormat::Pdf, ".pdf", "PDF 文档 (*.pdf)"},
};

const PictureFileKind& KindOf(PictureFormat format);

// The cause of a picture file that could not be painted, as opposed to one
// the system would not write.
inline constexpr std::string_view kPictureNotPainted = "无法绘制图形";
// Export or print before anything was drawn.
inline constexpr std::string_view kNoPictureYet = "图形窗口中还没有图形。";
inline constexpr std::string_view kPictureNotPrinted = "无法打印图形。";

// "无法写入图形文件“/tmp/a.png”：Permission denied": the cause in the
// system's words.
inline std::string PictureNotWrittenText(std::string_view fileName, std::string_view cause)
{
    return "无法写入图形文件“" + std::string(fileName) + "”：" + std::string(cause);
}

// True when the name ends with `extension` (lower case, with its dot) in
// any letter case, and has something before it.
bool HasExtension(std::string_view fileName, std::string_view extension);

// The format a file name's extension names, in any letter case; none for
// another extension or none at all.
std::optional<PictureFormat> PictureFormatOfName(std::string_view fileName);

struct PictureFile {
    std::string name;
    PictureFormat format;
};

// The file an export writes for the name the student chose: a picture
// extension decides the format; any other name is written in the format of
// the dialog's chosen filter, with its extension added.
PictureFile ChoosePictureFile(std::string_view chosenName, PictureFormat filtered);

}  // namespace tavrin
