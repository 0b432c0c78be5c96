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
class TForm1;
class TProblemsPanel;
class TSampleValuesPanel;
class TTryMode;
struct TSkinFinding;

class TViewPanels : public QObject {
    Q_OBJECT

  public:
    // Builds the column around the form's preview area, whose gestures
    // are already installed.
    explicit TViewPanels(TForm1& form);
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

    // New or Open replaced the document.
    void DocumentReplaced();

    // Selects the finding's item (or shows the Playlist page) and puts the
    // focus in the field it names.
    void GoTo(const TSkinFinding& finding);

  private:
    TForm1& Form;
    bool ProblemsPlaced = false; // the splitter was given its first sizes
};
