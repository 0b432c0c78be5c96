// What the View menu shows besides the preview: try mode with its "Sample
// values" panel, and the problems list below the preview, which leads to
// the item and field a finding names. The window's right column is built
// here: the preview (with the sample values under it while trying) above
// the problems list, in a splitter.
#pragma once

#include "device_state.h"

#include <QObject>

#include <memory>

class QSplitter;
class TPlayerPanel;
class TPlaylistPanel;
class TPreviewPane;
class TProblemsPanel;
class TSampleValuesPanel;
class TTryMode;
struct TSkinFinding;

class TViewPanels : public QObject {
    Q_OBJECT

  public:
    // Builds the column around the host's preview area, whose gestures are
    // already installed; a finding leads to its field on one of the panels.
    TViewPanels(TPreviewPane& host, TPlayerPanel& player, TPlaylistPanel& playlist);
    ~TViewPanels() override;

    QSplitter* Column = nullptr;
    TSampleValuesPanel* Samples = nullptr;
    TProblemsPanel* Problems = nullptr;
    std::unique_ptr<TTryMode> Try;

    // Lays the column out now, as the window does its own layouts before
    // it is first shown (a hidden splitter waits for its resize event).
    void LayOut();

    // The player preview's state and whether it marks the selected row.
    const TDeviceState& DeviceState() const;
    bool Trying() const;

    // The View menu's toggles.
    void SetTrying(bool on);
    void SetProblemsShown(bool shown);

    // Selects the finding's item (or shows the Playlist page) and puts the
    // focus in the field it names.
    void GoTo(const TSkinFinding& finding);

  private:
    // New, Open, reload or restore replaced the document.
    void DocumentReplaced();

    TPreviewPane& Host;
    TPlayerPanel& Player;
    TPlaylistPanel& Playlist;
    bool ProblemsPlaced = false; // the splitter was given its first sizes
};
