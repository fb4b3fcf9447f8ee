#pragma once

#include <vector>

#include <QFont>
#include <QString>

#include "drawing/Canvas.h"
#include "drawing/PictureFiles.h"
#include "drawing/QtCanvas.h"

class QIODevice;
class QPainter;
class QPrinter;
class QRectF;

namespace tavrin {

// A picture as recorded: its operations from its Cls on, drawn for a client
// area of width x height picture units on a device laid out in `units`.
struct RecordedPicture {
    const std::vector<CanvasOp>& ops;
    double width = 0.0;
    double height = 0.0;
    PictureUnits units;
    // Printed above the picture in files and on paper ("弯矩图"); nothing
    // above it when empty.
    QString title;
    // The labels' face and size, as a point size; the application's unless
    // given.
    QFont font;
    PixelGrid grid = PixelGrid::Snapped;

    // Nothing drawn but, at most, the cleared background.
    bool Blank() const
    {
        for (const CanvasOp& op : ops)
            if (op.kind != CanvasOp::Kind::Cls)
                return false;
        return true;
    }
};

// Writes the picture painted op by op as the picture window paints it, but
// on white instead of the window's grey and with its title in a band above
// it: PNG in the device pixels of `units`, SVG and PDF as vectors with the
// labels as text (the PDF embeds the font), the document titled by the
// picture's title or else the file's name. The file is replaced whole or
// not at all; false, with the system's words for the cause in `cause`, when
// it cannot be written. Needs a QGuiApplication.
bool WritePictureFile(const QString& file, PictureFormat format, const RecordedPicture& picture, QString& cause);

// The picture as an SVG document on white, without the title band, the
// document titled `title`.
bool PaintPictureSvg(QIODevice& out, const QString& title, const RecordedPicture& picture);

// Paints the picture on white scaled into `target` (in the painter's
// coordinates, under whatever transform it has), clipped to it, the labels
// as large against the picture as on the screen; the painter's state is
// restored.
void PaintPictureInto(QPainter& painter, const QRectF& target, const RecordedPicture& picture);

// Paints the picture on one page of `printer` as WritePictureFile paints it
// (white, the title above), as large as the printable area allows with its
// proportions kept, the labels as large against the picture as on the
// screen. False when the printer cannot be painted on.
bool PrintPicture(QPrinter& printer, const RecordedPicture& picture);

}  // namespace tavrin
