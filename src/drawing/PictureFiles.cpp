#include "drawing/PictureFiles.h"

#include <algorithm>
#include <cctype>

namespace tavrin {

const PictureFileKind& KindOf(PictureFormat format)
{
    for (const PictureFileKind& kind : kPictureFileKinds)
        if (kind.format == format)
            return kind;
    return kPictureFileKinds[0];
}

bool HasExtension(std::string_view fileName, std::string_view extension)
{
    if (fileName.size() <= extension.size())
        return false;
    const std::string_view end = fileName.substr(fileName.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::optional<PictureFormat> PictureFormatOfName(std::string_view fileName)
{
    return FormatOfName(fileName, std::span(kPictureFileKinds));
}

PictureFile ChoosePictureFile(std::string_view chosenName, PictureFormat filtered)
{
    return ChooseFile(chosenName, PictureFormatOfName(chosenName), filtered, std::span(kPictureFileKinds));
}

}  // namespace tavrin
