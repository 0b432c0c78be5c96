#include "accessible_names.h"

#include "code_page.h"
#include "main_window.h"
#include "marker_box.h"
#include "player_panel.h"
#include "playlist_panel.h"
#include "preview_area.h"
#include "problems_panel.h"
#include "view_panels.h"

#include <QAccessible>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

const char* const KindWords[ItemKindCount] = {"image", "text", "button", "wheel", "trackbar"};

// The preview's description follows the open skin: another current item,
// an edit of it, another document or another mode.
void DescribePreview(TForm1& form) {
    QWidget* area = form.imArea;
    const bool player = form.Skin.View().PlayerMode;
    const QString text =
        player ? CurrentItemText(form.Doc, form.Skin.Current()) : QStringLiteral("Playlist screen");
    if (area->accessibleDescription() == text) return;
    area->setAccessibleDescription(text);
    // Said aloud by a screen reader that follows the focused widget.
    QAccessibleEvent changed(area, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace

QString CurrentItemText(const TSkinDocument& doc, int row) {
    if (row < 0 || row >= doc.Items.size()) return QStringLiteral("No item selected");
    const TDocItem& item = doc.Items[row];
    const QString kind =
        item.Kind < ItemKindCount ? QLatin1String(KindWords[item.Kind]) : QStringLiteral("item");
    QString text = QStringLiteral("%1, %2").arg(DecodeName(item.Name), kind);
    if (const std::optional<TBox> box = MarkerBoxOf(doc, item))
        text += QStringLiteral(", X %1, Y %2, width %3, height %4")
                    .arg(box->Left)
                    .arg(box->Top)
                    .arg(box->Right - box->Left)
                    .arg(box->Bottom - box->Top);
    return text;
}

void NameWindowControls(TForm1& form) {
    form.menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
    if (auto* more =
            form.menuBar()->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QStringLiteral("More menus"));
    form.ToolBar1->setAccessibleName(QStringLiteral("Toolbar"));
    // Shown when the window is narrower than the toolbar.
    if (auto* more =
            form.ToolBar1->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More toolbar buttons"));
    form.PlayerPanel->lbItems->setAccessibleName(QStringLiteral("Items"));
    form.PlayerPanel->lbItems->setAccessibleDescription(
        QStringLiteral("The player screen's items; the last is drawn on top"));
    form.imArea->setAccessibleName(QStringLiteral("Preview"));
    TProblemsPanel* problems = form.ViewPanels().Problems;
    problems->List->setAccessibleName(QStringLiteral("Problems"));
    problems->Title->setBuddy(problems->List);

    TForm1* window = &form;
    const auto describe = [window] { DescribePreview(*window); };
    QObject::connect(&form.Skin, &TOpenSkin::SelectionChanged, form.imArea, describe);
    QObject::connect(&form.Skin, &TOpenSkin::Replaced, form.imArea, describe);
    QObject::connect(&form.Skin, &TOpenSkin::ViewChanged, form.imArea, describe);
    QObject::connect(&form.Skin.Edits(), &TSkinEdits::Changed, form.imArea, describe);
    DescribePreview(form);
}
