#pragma once

#include <functional>

#include <QTimer>
#include <QWidget>

#include "drawing/QtCanvas.h"

namespace tavrin {

// "结构图显示": the structure picture. The drawing passes paint into its
// canvas; the window shows the canvas's image and keeps it when covered.
// Resizing the window changes the client size the canvas reports (in picture
// units) and grows the image; once the resizing has settled, the redraw
// given draws the picture again at the new size.
class PicWindow : public QWidget {
    Q_OBJECT

public:
    explicit PicWindow(QWidget* parent = nullptr);

    Canvas& canvas() { return m_canvas; }
    const QtCanvas& qtCanvas() const { return m_canvas; }

    QSize sizeHint() const override;

    // Called after a change of the client size, once per burst of resize
    // events (a maximised window resizes more than once as it settles).
    void SetRedraw(std::function<void()> redraw) { m_redraw = std::move(redraw); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QtCanvas m_canvas;
    std::function<void()> m_redraw;
    QTimer m_redrawTimer;
};

}  // namespace tavrin
