#include "app/QtProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

// The resources live in a static library: naming the initializer keeps the
// linker from dropping them. It has to be called outside any namespace.
static void InitialiseAppResources()
{
    Q_INIT_RESOURCE(app);
}

namespace tavrin {

QIcon ProgramIcon()
{
    InitialiseAppResources();
    QSvgRenderer renderer(QStringLiteral(":/tavrin/TavrinIcon.svg"));
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace tavrin
