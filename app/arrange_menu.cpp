// The "Arrange" menu: align, distribute, drawing order, lock and hide, each
// on the selected items; and Ctrl+A, which selects every item (a focused
// text field keeps it: its line edit claims the key first).
#include "main_window.h"

#include "arrange_commands.h"
#include "preview_gestures.h"

#include <QAction>
#include <QMenu>

void TForm1::CreateArrangeMenu(QMenu* arrange) {
    arrange->setObjectName(QStringLiteral("Arrange1"));
    // Enabled while at least `needs` items are selected.
    std::vector<std::pair<QAction*, int>> needing;
    const auto item = [&](const QString& caption, const QKeySequence& key, const char* name,
                          int needs, std::function<void()> run) {
        QAction* action = arrange->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
            // A drag under way ends first, as with the Edit menu.
            Gestures->Cancel();
            run();
        });
        needing.emplace_back(action, needs);
    };
    const struct {
        const char* Caption;
        Qt::Key Key;
        const char* Name;
        TAlign How;
    } aligns[] = {
        {"Align left edges", Qt::Key_A, "AlignLeft1", TAlign::Left},
        {"Align horizontal centres", Qt::Key_H, "AlignHCentre1", TAlign::HorizontalCentre},
        {"Align right edges", Qt::Key_D, "AlignRight1", TAlign::Right},
        {"Align top edges", Qt::Key_W, "AlignTop1", TAlign::Top},
        {"Align vertical centres", Qt::Key_V, "AlignVCentre1", TAlign::VerticalCentre},
        {"Align bottom edges", Qt::Key_S, "AlignBottom1", TAlign::Bottom},
    };
    for (const auto& a : aligns)
        item(QString::fromLatin1(a.Caption), QKeySequence(Qt::ALT | a.Key), a.Name, 1,
             [this, how = a.How] { AlignCommand(Skin, how); });
    arrange->addSeparator();
    item(QStringLiteral("Distribute horizontally"), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_H),
         "DistributeH1", 3, [this] { DistributeCommand(Skin, true); });
    item(QStringLiteral("Distribute vertically"), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_V),
         "DistributeV1", 3, [this] { DistributeCommand(Skin, false); });
    arrange->addSeparator();
    item(QStringLiteral("Bring to front"),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight), "BringToFront1", 1,
         [this] { BringToFrontCommand(Skin); });
    item(QStringLiteral("Send to back"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft),
         "SendToBack1", 1, [this] { SendToBackCommand(Skin); });
    arrange->addSeparator();
    item(QStringLiteral("Lock"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), "Lock1", 1,
         [this] { ToggleLockCommand(Skin); });
    item(QStringLiteral("Hide"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H), "Hide1", 1,
         [this] { ToggleHideCommand(Skin); });

    const auto follow = [this, needing] {
        for (auto [action, needs] : needing)
            action->setEnabled(Skin.Selection().size() >= needs);
    };
    connect(&Skin, &TOpenSkin::SelectionChanged, this, follow);
    connect(&Skin, &TOpenSkin::Replaced, this, follow);
    follow();

    auto* all = new QAction(QStringLiteral("Select all"), this);
    all->setObjectName(QStringLiteral("SelectAll1"));
    all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    all->setShortcutContext(Qt::WindowShortcut);
    connect(all, &QAction::triggered, this, [this] { Skin.SelectAll(); });
    addAction(all);
}
