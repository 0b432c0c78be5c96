// The problems list: what the skin check finds in the open skin, in
// skntool check's words and order, kept up to date while it is shown. The
// check runs on a copy of the document in a worker thread, one at a time,
// so that typing and dragging never wait for it: it starts once the edits
// pause for a moment, and an edit made while one runs starts one more when
// it ends. A huge skin's copy is made a slice at a time between the
// window's other events, and an edit in between starts it again. The document itself is only ever
// read and changed on the window's thread.
#pragma once

#include "skin_check.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QListView;
class QModelIndex;
class QStringListModel;
class QThread;
class QTimer;

class TProblemsPanel : public QWidget {
    Q_OBJECT

  public:
    TProblemsPanel(const TSkinDocument& doc, QWidget* parent = nullptr);
    ~TProblemsPanel() override; // waits for a check under way

    // Checks run only while the panel is on; turning it on checks at once.
    void SetActive(bool on);
    // The document changed (an edit, New, Open): checks it again.
    void DocumentChanged();

    // The findings on show, and whether they are those of the document as
    // it is now (no check running or waiting).
    const std::vector<TSkinFinding>& Findings() const { return Shown; }
    bool UpToDate() const { return !Worker && !Copying && !Stale; }

    QLabel* Title = nullptr;
    QListView* List = nullptr;
    // One line per finding, as the list shows them.
    QStringList Lines() const;

  Q_SIGNALS:
    // A check ended and the list shows its findings.
    void Refreshed();
    // A line was double-clicked or Enter pressed on it.
    void FindingActivated(const TSkinFinding& finding);

  private:
    struct TResult;
    struct TCopy;
    void Start();
    void CopySlice();
    void Check(std::shared_ptr<TSkinDocument> snapshot);
    void Finished();
    void LineActivated(const QModelIndex& line);

    const TSkinDocument& Doc;
    bool Active = false;
    bool Stale = true; // the document changed since the running or last check began
    QThread* Worker = nullptr;
    QTimer* Pause = nullptr;  // runs from each edit until the check starts
    QTimer* Slices = nullptr; // the next slice of the copy, after other events
    std::unique_ptr<TCopy> Copying;
    QStringListModel* Model = nullptr;
    std::shared_ptr<TResult> Running;
    std::vector<TSkinFinding> Shown;
};
