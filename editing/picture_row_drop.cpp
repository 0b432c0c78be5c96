#include "picture_row_drop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QWidget>

namespace {

// Watches one row's drag and drop events; a child of the row.
class TRowDrop : public QObject {
  public:
    TRowDrop(QWidget* row, QPushButton* open, std::function<void(const QString&)> take)
        : QObject(row), Open(open), Take(std::move(take)) {}

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> path = DroppedPictureFile(drop->mimeData());
        // Ignored, the event goes on to the row's parents: a skin reaches the window.
        if (!path || !Open->isEnabled()) return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop) Take(*path);
        return true;
    }

  private:
    QPushButton* Open;
    std::function<void(const QString&)> Take;
};

} // namespace

std::optional<QString> DroppedLocalFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = mime->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir()) return std::nullopt;
    return path;
}

bool IsSkinFileName(const QString& path) {
    return path.endsWith(QLatin1String(".skn"), Qt::CaseInsensitive);
}

std::optional<QString> DroppedPictureFile(const QMimeData* mime) {
    std::optional<QString> path = DroppedLocalFile(mime);
    if (path && IsSkinFileName(*path)) return std::nullopt;
    return path;
}

void TakePictureDrops(QWidget* row, QPushButton* open, std::function<void(const QString&)> take) {
    row->setAcceptDrops(true);
    row->installEventFilter(new TRowDrop(row, open, std::move(take)));
}
