#include "problems_panel.h"

#include "finding_text.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace {
// How long the edits must pause before a check starts: short beside the
// 200 ms within which the list follows an edit of an ordinary skin.
constexpr int PauseMs = 40;
// The longest the copy keeps the window's thread in one go.
constexpr qint64 SliceMs = 4;
constexpr std::size_t RecordsPerLook = 512; // between looks at the clock

// Appends from's records beyond to's end until both are as long or the
// slice is used up; true when done.
template <class T>
bool CopyRecords(const std::vector<T>& from, std::vector<T>& to, const QElapsedTimer& clock) {
    to.reserve(from.size());
    while (to.size() < from.size()) {
        const std::size_t end = std::min(from.size(), to.size() + RecordsPerLook);
        to.insert(to.end(), from.begin() + std::ptrdiff_t(to.size()),
                  from.begin() + std::ptrdiff_t(end));
        if (clock.elapsed() >= SliceMs) return to.size() == from.size();
    }
    return true;
}
} // namespace

// A copy of the document under way: everything but the record arrays at
// once (the item list is shared until written), the arrays a slice at a time.
struct TProblemsPanel::TCopy {
    std::shared_ptr<TSkinDocument> Doc = std::make_shared<TSkinDocument>();
};

// What a worker hands back: the findings and their lines, both made from
// its own copy of the document, so that names match the rows it saw.
struct TProblemsPanel::TResult {
    std::vector<TSkinFinding> Findings;
    QStringList Lines;
    bool OutOfMemory = false;
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
    Model = new QStringListModel(this);
    List = new QListView(this);
    List->setObjectName(QStringLiteral("lbProblems"));
    List->setModel(Model);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A 65,535-item skin may have several lines each: laid out a batch at a
    // time between other events.
    List->setUniformItemSizes(true);
    List->setLayoutMode(QListView::Batched);
    List->setBatchSize(2000);
    layout->addWidget(Title);
    layout->addWidget(List, 1);
    connect(List, &QListView::activated, this, &TProblemsPanel::LineActivated);
    Pause = new QTimer(this);
    Pause->setSingleShot(true);
    Pause->setInterval(PauseMs);
    connect(Pause, &QTimer::timeout, this, [this] {
        if (Active && !Worker) Start();
    });
    Slices = new QTimer(this);
    Slices->setSingleShot(true);
    Slices->setInterval(0);
    connect(Slices, &QTimer::timeout, this, &TProblemsPanel::CopySlice);
}

TProblemsPanel::~TProblemsPanel() {
    if (Worker) {
        Worker->wait();
        delete Worker;
    }
}

QStringList TProblemsPanel::Lines() const {
    return Model->stringList();
}

void TProblemsPanel::SetActive(bool on) {
    Active = on;
    if (!on && Copying) {
        Copying.reset();
        Stale = true;
    }
    if (on && !Worker) Start();
}

void TProblemsPanel::DocumentChanged() {
    Stale = true;
    Copying.reset(); // of a document that is no more
    if (Active) Pause->start();
}

void TProblemsPanel::Start() {
    Stale = false;
    Copying = std::make_unique<TCopy>();
    TSkinDocument& copy = *Copying->Doc;
    copy.ScreenWidth = Doc.ScreenWidth;
    copy.ScreenHeight = Doc.ScreenHeight;
    copy.Items = Doc.Items;
    copy.Playlist = Doc.Playlist;
    copy.FileName = Doc.FileName;
    copy.Untitled = Doc.Untitled;
    CopySlice();
}

void TProblemsPanel::CopySlice() {
    if (!Copying) return;
    QElapsedTimer clock;
    clock.start();
    TSkinDocument& copy = *Copying->Doc;
    const bool done = CopyRecords(Doc.Images, copy.Images, clock) &&
                      CopyRecords(Doc.Texts, copy.Texts, clock) &&
                      CopyRecords(Doc.Buttons, copy.Buttons, clock) &&
                      CopyRecords(Doc.Wheels, copy.Wheels, clock) &&
                      CopyRecords(Doc.Trackbars, copy.Trackbars, clock);
    if (!done) {
        Slices->start();
        return;
    }
    std::shared_ptr<TSkinDocument> snapshot = std::move(Copying->Doc);
    Copying.reset();
    Check(std::move(snapshot));
}

void TProblemsPanel::Check(std::shared_ptr<TSkinDocument> snapshot) {
    auto result = std::make_shared<TResult>();
    Running = result;
    // The copy shares every picture with the document; the worker reads it
    // alone while the window goes on changing the original, and drops it
    // itself, so that a huge skin's copy is not freed on the window's thread.
    Worker = QThread::create([snapshot = std::move(snapshot), result]() mutable {
        try {
            result->Findings = CheckSkin(*snapshot);
            result->Lines.reserve(qsizetype(result->Findings.size()));
            for (const TSkinFinding& f : result->Findings)
                result->Lines << FindingLine(*snapshot, f);
        } catch (const std::bad_alloc&) {
            *result = TResult();
            result->OutOfMemory = true;
        }
        snapshot.reset();
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
    const int current = List->currentIndex().row();
    auto old = std::make_shared<std::pair<QStringList, std::vector<TSkinFinding>>>(
        Model->stringList(), std::move(Shown));
    Model->setStringList(result->Lines);
    if (current >= 0 && Model->rowCount() > 0)
        List->setCurrentIndex(Model->index(std::min(current, Model->rowCount() - 1)));
    Shown = std::move(result->Findings);
    // A quarter of a million lines take a while to free: not on this thread.
    QThreadPool::globalInstance()->start([old = std::move(old)]() mutable { old.reset(); });
    Title->setText(result->OutOfMemory
                       ? QStringLiteral("Problems (not enough memory to check the skin)")
                       : QStringLiteral("Problems (%1)").arg(Shown.size()));

    // Edits made meanwhile: once they pause.
    if (Stale && Active && !Pause->isActive()) Start();
    Q_EMIT Refreshed();
}

void TProblemsPanel::LineActivated(const QModelIndex& line) {
    const int row = line.row();
    if (row >= 0 && std::size_t(row) < Shown.size())
        Q_EMIT FindingActivated(Shown[std::size_t(row)]);
}
