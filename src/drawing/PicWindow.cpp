#include "drawing/PicWindow.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>

#include "qtforms/QtControls.h"

namespace tavrin {

namespace {

PictureUnits ScreenUnits(const QWidget& widget)
{
    return {static_cast<double>(widget.logicalDpiX()), static_cast<double>(widget.logicalDpiY())};
}

}  // namespace

PicWindow::PicWindow(QWidget* parent) : QWidget(parent), m_canvas(QSize(), ScreenUnits(*this))
{
    setObjectName(QStringLiteral("frmPicWindow"));
    setWindowTitle(QString::fromUtf8("结构图显示"));
    QPalette background = palette();
    background.setColor(QPalette::Window, ToQColor(kLightGrey));
    setPalette(background);
    setAutoFillBackground(true);
    resize(sizeHint());
    m_canvas.SetClientSize(size());
    m_canvas.SetChangedCallback([this] { update(); });
    m_canvas.SetCaptionCallback([this](std::string_view caption) { setWindowTitle(FromUtf8(caption)); });
    m_redrawTimer.setSingleShot(true);
    m_redrawTimer.setInterval(0);
    connect(&m_redrawTimer, &QTimer::timeout, this, [this] {
        if (m_redraw)
            m_redraw();
    });
}

QSize PicWindow::sizeHint() const
{
    return m_canvas.Units().PixelsFor(QtCanvas::kDesignedClientUnits, QtCanvas::kDesignedClientUnits);
}

void PicWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_canvas.Image(), event->rect());
}

void PicWindow::resizeEvent(QResizeEvent* event)
{
    m_canvas.SetClientSize(event->size());
    m_redrawTimer.start();
    QWidget::resizeEvent(event);
}

}  // namespace tavrin
