#include "image_viewer.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("View image"));
    setSizeGripEnabled(true);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setAccessibleName(QStringLiteral("Picture"));

    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setContentsMargins(0, 0, 0, 0);
    Image1->setAccessibleName(QStringLiteral("Picture"));
    ScrollBox1->setWidget(Image1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrollBox1);
    resize(ImageViewerOuterSize);
}

void TForm2::SetPicture(const QImage& picture) {
    // Opaque RGB, so that neither a key nor an alpha channel hides a pixel.
    QPixmap pixmap = QPixmap::fromImage(picture.convertToFormat(QImage::Format_RGB32));
    pixmap.setDevicePixelRatio(1.0);
    Image1->setPixmap(pixmap);
    Image1->resize(pixmap.size());
    const QString size =
        QStringLiteral("%1 by %2 pixels").arg(picture.width()).arg(picture.height());
    Image1->setAccessibleDescription(size);
    ScrollBox1->setAccessibleDescription(size);
}

void TForm2::ShowPicture(const QImage& picture) {
    SetPicture(picture);
    // A dialog shown again is centred over its parent unless it was placed
    // explicitly; a move by the user does not count as that.
    if (LastPosition) move(*LastPosition);
    exec();
}

void TForm2::hideEvent(QHideEvent* event) {
    LastPosition = pos();
    QDialog::hideEvent(event);
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Sized) return;
    Sized = true;
    // The size is the window's outside. The window manager tells this
    // window's frame only after it is mapped; the main window's frame, of
    // the same decoration, stands in until then.
    QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isEmpty() && parentWidget()) {
        const QWidget* main = parentWidget()->window();
        frame = main->frameGeometry().size() - main->geometry().size();
    }
    resize(ImageViewerOuterSize - frame);
}
