// The "Edit" menu: Undo and Redo of the history, named after their step,
// and Cut, Copy, Paste and Duplicate of items through the system clipboard.
// While a text or number field has the focus, the field takes Ctrl+Z, X, C
// and V itself (its line edit claims them before any shortcut).
#include "main_window.h"

#include "code_page.h"
#include "item_clipboard.h"
#include "player_panel.h"
#include "preview_gestures.h"
#include "selection_commands.h"
#include "skin_file.h"
#include "skin_json.h"
#include "user_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

namespace {
// The line edit that has the focus, of a text field or inside a number field.
QLineEdit* FocusedLineEdit() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) return edit;
    return focus ? focus->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
} // namespace

void TForm1::CreateEditMenu(QMenu* edit) {
    QUndoStack& history = Context.Edits.History();
    // The stack's own actions keep their names and enabled state; running
    // them goes through the window, which ends a gesture and paints once.
    Undo1 = history.createUndoAction(this);
    Redo1 = history.createRedoAction(this);
    disconnect(Undo1, &QAction::triggered, &history, &QUndoStack::undo);
    disconnect(Redo1, &QAction::triggered, &history, &QUndoStack::redo);
    connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
    connect(Redo1, &QAction::triggered, this, &TForm1::Redo1Click);
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addAction(Undo1);
    edit->addAction(Redo1);
    edit->addSeparator();
    auto item = [&](const QString& caption, Qt::Key key, void (TForm1::*handler)()) {
        QAction* action = edit->addAction(caption);
        action->setShortcut(QKeySequence(Qt::CTRL | key));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    Cut1 = item(QStringLiteral("Cut"), Qt::Key_X, &TForm1::Cut1Click);
    Copy1 = item(QStringLiteral("Copy"), Qt::Key_C, &TForm1::Copy1Click);
    Paste1 = item(QStringLiteral("Paste"), Qt::Key_V, &TForm1::Paste1Click);
    Duplicate1 = item(QStringLiteral("Duplicate"), Qt::Key_D, &TForm1::Duplicate1Click);
    for (QAction* action : {Undo1, Redo1, Cut1, Copy1, Paste1, Duplicate1})
        action->setShortcutContext(Qt::WindowShortcut);
    const std::pair<QObject*, const char*> named[] = {
        {edit, "Edit1"},  {Undo1, "Undo1"},   {Redo1, "Redo1"},          {Cut1, "Cut1"},
        {Copy1, "Copy1"}, {Paste1, "Paste1"}, {Duplicate1, "Duplicate1"}};
    for (auto [entry, name] : named)
        entry->setObjectName(QString::fromLatin1(name));

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TForm1::UpdatePasteAction);
    UpdatePasteAction();
    // What acts on the selection waits for one.
    const auto follow = [this] {
        for (QAction* action : {Cut1, Copy1, Duplicate1})
            action->setEnabled(Skin.Current() >= 0);
    };
    connect(&Skin, &TOpenSkin::SelectionChanged, this, follow);
    connect(&Skin, &TOpenSkin::Replaced, this, follow);
    follow();
}

void TForm1::UpdatePasteAction() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    Paste1->setEnabled(mime && mime->hasFormat(SkinMimeType));
}

bool TForm1::CopyCurrentItem() {
    const QByteArray skin = SelectionSkin(Skin);
    if (skin.isEmpty()) return false;
    auto* mime = new QMimeData;
    mime->setData(SkinMimeType, skin);
    // As text, what "skntool info" prints of that one-item skin: the values
    // as the file holds them, for a text editor or a bug report.
    if (const TSkinReadResult read = DecodeSkin(skin); read.Document) {
        QByteArray text;
        WriteSkinInfo(*read.Document, [&text](QByteArrayView piece) { text += piece; });
        mime->setText(QString::fromUtf8(text));
    }
    QApplication::clipboard()->setMimeData(mime);
    return true;
}

void TForm1::PasteSkin(const QByteArray& skin, const QString& verb) {
    if (const QString refused = PasteItemsCommand(Skin, skin, verb); !refused.isEmpty())
        return Context.Prompts.ShowError(refused);
}

void TForm1::Cut1Click() {
    if (QLineEdit* edit = FocusedLineEdit()) return edit->cut();
    Gestures->Cancel();
    if (!CopyCurrentItem()) return;
    DeleteSelectionCommand(Skin, QStringLiteral("Cut"));
}

void TForm1::Copy1Click() {
    if (QLineEdit* edit = FocusedLineEdit()) return edit->copy();
    CopyCurrentItem();
}

void TForm1::Paste1Click() {
    if (QLineEdit* edit = FocusedLineEdit()) return edit->paste();
    Gestures->Cancel();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(SkinMimeType)) {
        Context.Prompts.ShowError(QStringLiteral("The clipboard holds no item of a skin."));
        return;
    }
    PasteSkin(mime->data(SkinMimeType), QStringLiteral("Paste"));
}

void TForm1::Duplicate1Click() {
    Gestures->Cancel();
    if (const QString refused = DuplicateSelectionCommand(Skin); !refused.isEmpty())
        Context.Prompts.ShowError(refused);
}
