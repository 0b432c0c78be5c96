#include "view_panels.h"

#include "finding_field.h"
#include "player_panel.h"
#include "playlist_panel.h"
#include "preview_area.h"
#include "preview_pane.h"
#include "problems_panel.h"
#include "sample_values_panel.h"
#include "try_mode.h"

#include <QLayout>
#include <QListWidget>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

TViewPanels::TViewPanels(TPreviewPane& host, TPlayerPanel& player, TPlaylistPanel& playlist)
    : Host(host), Player(player), Playlist(playlist) {
    Column = new QSplitter(Qt::Vertical);
    Column->setObjectName(QStringLiteral("PreviewColumn"));
    Column->setChildrenCollapsible(false);
    auto* top = new QWidget(Column);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    topLayout->addWidget(&Host.Area(), 1);
    Samples = new TSampleValuesPanel(top);
    Samples->hide();
    topLayout->addWidget(Samples);
    Problems = new TProblemsPanel(Host.Doc(), Column);
    Problems->hide();
    Column->addWidget(top);
    Column->addWidget(Problems);
    Column->setStretchFactor(0, 1);
    Column->setStretchFactor(1, 0);

    Try = std::make_unique<TTryMode>(Host, *Samples);
    connect(&Host.Editing().Edits, &TSkinEdits::Changed, Problems,
            &TProblemsPanel::DocumentChanged);
    connect(&Host.Skin(), &TOpenSkin::Replaced, this, &TViewPanels::DocumentReplaced);
    connect(Problems, &TProblemsPanel::FindingActivated, this, &TViewPanels::GoTo);
}

TViewPanels::~TViewPanels() = default;

void TViewPanels::LayOut() {
    Column->refresh();
    for (QWidget* part : Column->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (part->layout()) part->layout()->activate();
}

const TDeviceState& TViewPanels::DeviceState() const {
    return Try->State();
}

bool TViewPanels::Trying() const {
    return Try->On();
}

void TViewPanels::SetTrying(bool on) {
    Samples->setVisible(on);
    Try->SetOn(on);
    TViewState view = Host.Skin().View();
    view.Trying = on;
    Host.Skin().SetView(view);
}

void TViewPanels::SetProblemsShown(bool shown) {
    Problems->setVisible(shown);
    Problems->SetActive(shown);
    // The first time, a quarter of the column: the preview stays the larger.
    if (shown && !ProblemsPlaced && Column->height() > 0) {
        ProblemsPlaced = true;
        const int height = Column->height() - Column->handleWidth();
        Column->setSizes({height - height / 4, height / 4});
    }
}

void TViewPanels::DocumentReplaced() {
    Try->ForgetRows();
    Problems->DocumentChanged();
}

void TViewPanels::GoTo(const TSkinFinding& finding) {
    const QString field = FindingFieldName(Host.Doc(), finding);
    const bool playerMode = Host.Skin().View().PlayerMode;
    QWidget* page = nullptr;
    if (finding.Item < 0) {
        if (playerMode) Host.ShowMode(false);
        page = &Playlist;
    } else {
        // The list may have changed since the check.
        if (finding.Item >= Host.Doc().Items.size()) return;
        if (!playerMode) Host.ShowMode(true);
        Host.ShowItem(finding.Item);
        page = Player.nbInspector->currentWidget();
    }
    QWidget* target = field == QLatin1String("lbItems") ? Player.lbItems
                      : field.isEmpty()                 ? nullptr
                                                        : page->findChild<QWidget*>(field);
    if (!target) return;
    for (QWidget* up = target->parentWidget(); up; up = up->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(target);
            break;
        }
    // As a shortcut to the field: its focus shows, and a number's text is
    // selected so that what is typed replaces it.
    target->setFocus(Qt::ShortcutFocusReason);
}
