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

std::optional<PictureFormat> PictureFormatOfName(std::string_view fileName)
{
    for (const PictureFileKind& kind : kPictureFileKinds) {
        const std::string_view extension = kind.extension;
        if (fileName.size() <= extension.size())
            continue;
        const std::string_view end = fileName.substr(fileName.size() - extension.size());
        if (std::equal(end.begin(), end.end(), extension.begin(),
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; }))
            return kind.format;
    }
    return std::nullopt;
}

PictureFile ChoosePictureFile(std::string_view chosenName, PictureFormat filtered)
{
    if (const std::optional<PictureFormat> named = PictureFormatOfName(chosenName))
        return {std::string(chosenName), *named};
    return {std::string(chosenName) + std::string(KindOf(filtered).extension), filtered};
}

}  // namespace tavrin
