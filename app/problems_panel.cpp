#include "problems_panel.h"

#include "finding_text.h"

#include <QLabel>
#include <QListWidget>
#include <QThread>
#include <QVBoxLayout>

// What a worker hands back: the findings and their lines, both made from
// its own copy of the document, so that names match the rows it saw.
struct TProblemsPanel::TResult {
    std::vector<TSkinFinding> Findings;
    QStringList Lines;
};

TProblemsPanel::TProblemsPanel(const TSkinDocument& doc, QWidget* parent)
    : QWidget(parent), Doc(doc) {
    setObjectName(QStringLiteral("Problems"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    Title = new QLabel(QStringLiteral("Problems"), this);
    Title->setObjectName(QStringLiteral("lbProblemsTitle"));
    Title->setContentsMargins(4, 0, 4, 0);
    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("lbProblems"));
    List->setUniformItemSizes(true); // a 65,535-item skin may have as many lines
    layout->addWidget(Title);
    layout->addWidget(List, 1);
    connect(List, &QListWidget::itemActivated, this, &TProblemsPanel::LineActivated);
}

TProblemsPanel::~TProblemsPanel() {
    if (Worker) {
        Worker->wait();
        delete Worker;
    }
}

void TProblemsPanel::SetActive(bool on) {
    Active = on;
    if (on && !Worker) Start();
}

void TProblemsPanel::DocumentChanged() {
    Stale = true;
    if (Active && !Worker) Start();
}

void TProblemsPanel::Start() {
    Stale = false;
    auto result = std::make_shared<TResult>();
    Running = result;
    // The copy shares every picture with the document; the worker reads it
    // alone while the window goes on changing the original.
    Worker = QThread::create([snapshot = Doc, result] {
        result->Findings = CheckSkin(snapshot);
        result->Lines.reserve(qsizetype(result->Findings.size()));
        for (const TSkinFinding& f : result->Findings)
            result->Lines << FindingLine(snapshot, f);
    });
    connect(Worker, &QThread::finished, this, &TProblemsPanel::Finished);
    Worker->start(QThread::LowPriority);
}

void TProblemsPanel::Finished() {
    Worker->wait();
    delete Worker;
    Worker = nullptr;
    const std::shared_ptr<TResult> result = std::move(Running);

    // A lagging result is still shown: on a large skin it is better than none.
    const int current = List->currentRow();
    List->setUpdatesEnabled(false);
    List->clear();
    List->addItems(result->Lines);
    if (current >= 0 && List->count() > 0)
        List->setCurrentRow(std::min(current, List->count() - 1));
    List->setUpdatesEnabled(true);
    Shown = std::move(result->Findings);
    Title->setText(QStringLiteral("Problems (%1)").arg(Shown.size()));

    if (Stale && Active) Start();
    Q_EMIT Refreshed();
}

void TProblemsPanel::LineActivated(QListWidgetItem* line) {
    const int row = List->row(line);
    if (row >= 0 && std::size_t(row) < Shown.size())
        Q_EMIT FindingActivated(Shown[std::size_t(row)]);
}
