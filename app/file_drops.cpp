#include "file_drops.h"

#include "code_page.h"
#include "item_list.h"
#include "item_steps.h"
#include "picture_file.h"
#include "picture_row_drop.h"
#include "presentation.h"
#include "preview_area.h"
#include "preview_pane.h"
#include "skin_file.h"
#include "user_commands.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QToolButton>

TFileDrops::TFileDrops(TPreviewPane& form) : Form(form) {
    Form.Area().window()->setAcceptDrops(true);
    Form.Area().setAcceptDrops(true);
    // Watched application-wide: a skin dropped on a field of the window,
    // which would take the file's name as text, still opens.
    qApp->installEventFilter(this);
}

TFileDrops::~TFileDrops() = default;

bool TFileDrops::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) ||
        !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != Form.Area().window())
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<QString> path = DroppedLocalFile(drop->mimeData());
    if (!path) return false;
    if (IsSkinFileName(*path)) return SkinDrop(drop, *path);
    return watched == &Form.Area() && PictureDrop(drop, *path);
}

bool TFileDrops::SkinDrop(QDropEvent* drop, const QString& path) {
    drop->acceptProposedAction();
    if (drop->type() == QEvent::Drop) Q_EMIT SkinDropped(path);
    return true;
}

bool TFileDrops::PictureDrop(QDropEvent* drop, const QString& path) {
    // Playlist mode takes no picture: the window refuses the drag.
    if (!Form.Skin().View().PlayerMode) return false;
    // The area takes the drag wherever it enters, so that it hears where the
    // pointer goes next; only a pixel of the screen takes the drop.
    const QPoint point = drop->position().toPoint();
    if (drop->type() != QEvent::DragEnter && !OverScreen(point)) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (drop->type() == QEvent::Drop) AddImage(path, point);
    return true;
}

bool TFileDrops::OverScreen(QPoint areaPoint) const {
    const QPoint pixel = ScreenPixelAt(areaPoint, Form.PreviewView());
    return pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < Form.Doc().ScreenWidth &&
           pixel.y() < Form.Doc().ScreenHeight;
}

void TFileDrops::AddImage(const QString& path, QPoint areaPoint) {
    if (!HasRoomForItems(Form.Doc(), 1))
        return Form.Editing().Prompts.ShowError(TooManyItemsText);
    // An image item's picture is drawn opaque: alpha composes over black.
    TBitmapReadResult read = ReadSlotPicture(path, false);
    if (!read.Error.isEmpty()) {
        Form.Editing().Prompts.ShowError(read.Error);
        return;
    }
    const QString refused =
        AddPictureItemCommand(Form.Skin(), EncodeName(QFileInfo(path).completeBaseName()),
                              std::move(read.Image), ScreenPixelAt(areaPoint, Form.PreviewView()));
    if (!refused.isEmpty()) return Form.Editing().Prompts.ShowError(refused);
}
