#include "file_drops.h"

#include "code_page.h"
#include "item_list.h"
#include "item_steps.h"
#include "main_window.h"
#include "picture_file.h"
#include "picture_row_drop.h"
#include "presentation.h"
#include "preview_area.h"
#include "skin_file.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QToolButton>

TFileDrops::TFileDrops(TForm1& form) : Form(form) {
    Form.setAcceptDrops(true);
    Form.imArea->setAcceptDrops(true);
    // Watched application-wide: a skin dropped on a field of the window,
    // which would take the file's name as text, still opens.
    qApp->installEventFilter(this);
}

TFileDrops::~TFileDrops() = default;

bool TFileDrops::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) ||
        !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &Form)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<QString> path = DroppedLocalFile(drop->mimeData());
    if (!path) return false;
    if (IsSkinFileName(*path)) return SkinDrop(drop, *path);
    return watched == Form.imArea && PictureDrop(drop, *path);
}

bool TFileDrops::SkinDrop(QDropEvent* drop, const QString& path) {
    drop->acceptProposedAction();
    if (drop->type() == QEvent::Drop && Form.SaveChangesFirst()) Form.OpenSkinFile(path);
    return true;
}

bool TFileDrops::PictureDrop(QDropEvent* drop, const QString& path) {
    // Playlist mode takes no picture: the window refuses the drag.
    if (!Form.Skin.View().PlayerMode) return false;
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
    return pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < Form.Doc.ScreenWidth &&
           pixel.y() < Form.Doc.ScreenHeight;
}

void TFileDrops::AddImage(const QString& path, QPoint areaPoint) {
    if (!HasRoomForItems(Form.Doc, 1)) return Form.Context.Prompts.ShowError(TooManyItemsText);
    // The new image as Add makes it, then its picture and place: one step.
    TSkinDocument made;
    if (AddItem(made, ikImage, EncodeName(QFileInfo(path).completeBaseName())) < 0) return;
    TiImage& image = made.Images.front();
    TBitmapReadResult read = ReadSlotPicture(path, image.Picture.Transparent);
    if (!read.Error.isEmpty()) {
        Form.Context.Prompts.ShowError(read.Error);
        return;
    }
    image.Picture.Image = std::move(read.Image);
    const QPoint pixel = ScreenPixelAt(areaPoint, Form.PreviewView());
    image.X = pixel.x();
    image.Y = pixel.y();
    Form.Context.Edits.Push(std::make_unique<TAddItemStep>(Form.Doc, *LooseItemAt(made, 0),
                                                           AddStepName(ikImage) + QLatin1Char(' ') +
                                                               QuotedItemName(made, 0)));
    // The door's change has selected and shown the new item.
    Form.DoRedraw();
}
