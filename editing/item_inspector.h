// The item pages of the property inspector nbInspector (0 "SImage", 1 "Text",
// 2 "Button", 3 "Wheel", 4 "Trackbar"): filling a page from the current
// record, the write-back handlers that store a whole page at every change,
// the enabling of the picture rows that only a two-state command or a shown
// scroller uses, and the text colour button. Every change is a step pushed
// through the door: typing in one number field is one step until the field
// or the item is left; a choice, a tick or a colour is a step of its own.
#pragma once

#include "editor_context.h"
#include "picture_rows.h"

#include <QObject>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QStackedWidget;
class QWidget;
class TNumberField;

class TItemInspector : public QObject {
    Q_OBJECT

  public:
    // Puts pages 0..4 in front of what nbInspector holds (its empty page).
    // selectedRow gives the current item's row, -1 for none.
    TItemInspector(TEditorContext& context, QStackedWidget* nbInspector,
                   std::function<int()> selectedRow);

    // The steps of lbItemsClick: with InspectorLoading raised, show the
    // current item's page, repaint the player screen (marking the item),
    // then fill the page and enable its dependent picture row.
    void ShowCurrentItem();

    // Write-back handlers, each storing every value of its page.
    void SpinEdit1Change();  // "SImage"
    void SpinEdit3Change();  // "Text"
    void SpinEdit9Change();  // "Button"
    void SpinEdit10Change(); // "Wheel"
    void SpinEdit17Change(); // "Trackbar"
    // "Font color": the colour dialog on the text's colour.
    void BitBtn3Click();

    TPictureSlots Slots;
    QStackedWidget* nbInspector;

    // "SImage"
    TPictureRow ImageRow;
    TNumberField *SpinEdit1 = nullptr, *SpinEdit2 = nullptr;
    QComboBox* ComboBox7 = nullptr;
    // "Text"
    TNumberField *SpinEdit3 = nullptr, *SpinEdit4 = nullptr, *SpinEdit5 = nullptr,
                 *SpinEdit6 = nullptr, *SpinEdit7 = nullptr;
    QComboBox *ComboBox2 = nullptr, *ComboBox3 = nullptr, *ComboBox4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    // "Button"
    std::array<TPictureRow, 4> ButtonRows;
    TNumberField *SpinEdit8 = nullptr, *SpinEdit9 = nullptr;
    QComboBox* ComboBox5 = nullptr;
    // "Wheel"
    std::array<TPictureRow, 8> WheelRows;
    TNumberField *SpinEdit10 = nullptr, *SpinEdit11 = nullptr, *SpinEdit12 = nullptr,
                 *SpinEdit13 = nullptr;
    QComboBox *ComboBox8 = nullptr, *ComboBox9 = nullptr, *ComboBox10 = nullptr,
              *ComboBox11 = nullptr, *ComboBox12 = nullptr;
    // "Trackbar"
    std::array<TPictureRow, 2> TrackbarRows;
    TNumberField *SpinEdit17 = nullptr, *SpinEdit18 = nullptr, *SpinEdit16 = nullptr,
                 *SpinEdit14 = nullptr;
    QCheckBox *CheckBox4 = nullptr, *CheckBox5 = nullptr;
    QComboBox* ComboBox6 = nullptr;

  private:
    // Built in item_inspector_pages.cpp.
    QWidget* BuildImagePage();
    QWidget* BuildTextPage();
    QWidget* BuildButtonPage();
    QWidget* BuildWheelPage();
    QWidget* BuildTrackbarPage();

    void FillPage(const TDocItem& item);
    // The current item's X and Y alone, as a drag moves it.
    void ShowPosition();
    void EnableButtonRows(int command);
    void EnableWheelRow(int centerCommand);
    void EnableTrackbarRow(bool showScroller);
    template <class T> T* CurrentRecord();
    // Pushes the current record's change from before to after, named after
    // the item, merging while the control that changed is the same field.
    template <class T> void PushRecord(const T& before, const T& after, const QString& what);

    // The control whose change runs the write-back now (nullptr when a
    // handler is called directly): number fields merge their keystrokes.
    QObject* ChangedBy = nullptr;

    TEditorContext& Context;
    std::function<int()> RowShown;
};
