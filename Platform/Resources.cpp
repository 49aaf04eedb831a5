#include "Platform/Resources.h"

#include <QFileInfo>
#include <QImageReader>
#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initCompiledResources() {
    Q_INIT_RESOURCE(skin);
    Q_INIT_RESOURCE(about);
}

namespace Resources {
void init() {
    static const bool done = (initCompiledResources(), true);
    (void)done;
}

QImage image(const QString& path) {
    init();
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QPixmap picture(const QString& path) { return QPixmap::fromImage(image(path)); }

QPixmap skin(const char* name) { return picture(QStringLiteral(":/skin/") + QLatin1String(name)); }
} // namespace Resources
