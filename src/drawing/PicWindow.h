#pragma once

#include <QWidget>

#include "drawing/QtCanvas.h"

namespace tavrin {

// "结构图显示": the structure picture. The drawing passes paint into its
// canvas; the window shows the canvas's image and keeps it when covered.
// Resizing the window changes the client size the canvas reports (in picture
// units) and grows the image, but never refits or redraws the structure.
class PicWindow : public QWidget {
    Q_OBJECT

public:
    explicit PicWindow(QWidget* parent = nullptr);

    Canvas& canvas() { return m_canvas; }
    const QtCanvas& qtCanvas() const { return m_canvas; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QtCanvas m_canvas;
};

}  // namespace tavrin
