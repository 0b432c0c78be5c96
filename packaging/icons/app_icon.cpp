#include "app_icon.h"

#include <QString>

QIcon LumoraAppIcon() {
    // The resource lives in a static library; naming it here keeps the linker
    // from dropping it.
    Q_INIT_RESOURCE(lumoraskin);
    QIcon icon;
    for (int size : {16, 32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/lumoraskin/lumoraskin-%1.png").arg(size), QSize(size, size));
    return icon;
}
