#pragma once

#include <cstddef>
#include <optional>
#include <span>
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

// The files an export dialog offers, rows {format, extension, filter} such
// as kPictureFileKinds: the format a file name's extension names among them,
// in any letter case; none for another extension or none at all.
template <class Kind, std::size_t N>
std::optional<decltype(Kind::format)> FormatOfName(std::string_view fileName, std::span<const Kind, N> kinds)
{
    for (const Kind& kind : kinds)
        if (HasExtension(fileName, kind.extension))
            return kind.format;
    return std::nullopt;
}

// The format of the dialog's filter line `filter`; the first kind's for a
// line that is none of theirs.
template <class Kind, std::size_t N>
decltype(Kind::format) FormatOfFilter(std::string_view filter, std::span<const Kind, N> kinds)
{
    for (const Kind& kind : kinds)
        if (kind.filter == filter)
            return kind.format;
    return kinds.front().format;
}

// The file a name chosen in an export dialog is written to.
template <class Format>
struct ChosenFile {
    std::string name;
    Format format;
};

// The name as chosen when its extension names a format (`named`); any other
// name is written in the format of the dialog's chosen filter, with that
// format's extension added.
template <class Kind, std::size_t N, class Format = decltype(Kind::format)>
ChosenFile<Format> ChooseFile(std::string_view chosenName, std::optional<Format> named, Format filtered,
                              std::span<const Kind, N> kinds)
{
    if (named)
        return {std::string(chosenName), *named};
    for (const Kind& kind : kinds)
        if (kind.format == filtered)
            return {std::string(chosenName) + std::string(kind.extension), filtered};
    return {std::string(chosenName), filtered};
}

std::optional<PictureFormat> PictureFormatOfName(std::string_view fileName);

using PictureFile = ChosenFile<PictureFormat>;
PictureFile ChoosePictureFile(std::string_view chosenName, PictureFormat filtered);

}  // namespace tavrin
