#pragma once

#include "batch/BatchTool.h"

namespace tavrin::batch {

// PNG through a QImage and SVG through QSvgGenerator, each painted op by op
// with the picture window's own painting, at the screen resolution the
// picture units were laid out for. Needs a QGuiApplication.
class QtPictureWriter : public PictureWriter {
public:
    bool Write(const std::filesystem::path& file, PictureFormat format, const std::vector<CanvasOp>& ops, double width,
               double height, std::string& error) override;
};

}  // namespace tavrin::batch
