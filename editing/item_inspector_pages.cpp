// The controls of the five item pages, each from top to bottom in the order
// the inspector documents them, wired to their page's write-back handler.
#include "item_inspector.h"

#include "number_field.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// A wheel turned over a list or a number field that the user has not
// focused scrolls the page instead of changing the value: scrolling through
// the Wheel page must not rewrite the commands it passes over.
class TWheelNeedsFocus : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::Wheel || !widget || widget->hasFocus()) return false;
        event->ignore(); // goes on to the scroll area
        return true;
    }
};

const QStringList CommandNames = {
    "Volume up",         "Volume down",    "Enter settings", "Enter playlist browser",
    "Previous song",     "Next song",      "Play/pause",     "Close player",
    "Blank screen",      "Toggle shuffle", "Toggle repeat",  "Go to current song",
    "Enter sleep dialog"};
constexpr int NumberFieldMinimumWidth = 44;

const QStringList WheelActionNames = {"Change music", "Change volume", "Seek time"};

// One page's column of controls.
class TPageColumn {
  public:
    // source is told which control changed before changed runs.
    TPageColumn(const char* name, QObject* owner, QObject** source, std::function<void()> changed)
        : Page(new QWidget), Layout(new QVBoxLayout(Page)), Owner(owner), Source(source),
          Changed(std::move(changed)), WheelGuard(new TWheelNeedsFocus(Page)) {
        Page->setObjectName(QString::fromLatin1(name));
        Layout->setContentsMargins(4, 4, 4, 6);
        Layout->setSpacing(3);
    }

    void Heading(const QString& text) {
        auto* label = new QLabel(text, Page);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        Layout->addSpacing(4);
        Layout->addWidget(label);
        LastHeading = text;
    }

    TNumberField* Number(const char* name) {
        auto* field = new TNumberField(Page);
        field->setObjectName(QString::fromLatin1(name));
        // Two fields share a line of the 185-pixel panel; they may be
        // narrower than the widest number they could show.
        field->setMinimumWidth(NumberFieldMinimumWidth);
        field->setFocusPolicy(Qt::StrongFocus);
        field->installEventFilter(WheelGuard);
        QObject::connect(field, &TNumberField::Changed, Owner, From(field));
        return field;
    }

    // "X=" [field]  "Y=" [field] on one line.
    void Pair(TNumberField*& x, const char* xName, TNumberField*& y, const char* yName) {
        auto* line = new QHBoxLayout;
        line->setSpacing(3);
        x = Number(xName);
        y = Number(yName);
        line->addWidget(Caption(QStringLiteral("X="), x));
        line->addWidget(x, 1);
        line->addSpacing(4);
        line->addWidget(Caption(QStringLiteral("Y="), y));
        line->addWidget(y, 1);
        Layout->addLayout(line);
        // "X" alone does not say whether it is a place or a size.
        const bool size = LastHeading == QLatin1String("Size");
        x->setAccessibleDescription(size ? QStringLiteral("Width in pixels")
                                         : QStringLiteral("Left edge on the screen, in pixels"));
        y->setAccessibleDescription(size ? QStringLiteral("Height in pixels")
                                         : QStringLiteral("Top edge on the screen, in pixels"));
    }

    // A label and its number field on one line.
    TNumberField* LabeledNumber(const QString& label, const char* name) {
        auto* line = new QHBoxLayout;
        TNumberField* field = Number(name);
        line->addWidget(Caption(label, field), 1);
        line->addWidget(field);
        Layout->addLayout(line);
        return field;
    }

    // A choice list under its label; only a user's choice is a change.
    QComboBox* Choice(const QString& label, const char* name, const QStringList& entries) {
        auto* box = new QComboBox(Page);
        if (!label.isEmpty()) Layout->addWidget(Caption(label, box));
        box->setObjectName(QString::fromLatin1(name));
        box->addItems(entries);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(WheelGuard);
        QObject::connect(box, &QComboBox::activated, Owner, From(box));
        Layout->addWidget(box);
        return box;
    }

    QCheckBox* Check(const QString& text, const char* name) {
        auto* box = new QCheckBox(text, Page);
        box->setObjectName(QString::fromLatin1(name));
        QObject::connect(box, &QCheckBox::toggled, Owner, From(box));
        Layout->addWidget(box);
        return box;
    }

    TPictureRow Row(const TPictureRowNames& names, TPictureRowStyle style,
                    const std::function<void(int)>& handler, TPictureSlots& pictures) {
        TPictureRow row = MakePictureRow(names, style, handler, Page, &pictures);
        Layout->addWidget(row.Row);
        return row;
    }

    QWidget* Finish() {
        Layout->addStretch(1);
        return Page;
    }

    QWidget* Page;
    QVBoxLayout* Layout;

  private:
    // A label that names its control for a screen reader too: its text
    // without the "=" that only the eye needs.
    QLabel* Caption(const QString& text, QWidget* control) const {
        auto* label = new QLabel(text, Page);
        label->setBuddy(control);
        QString name = text;
        if (name.endsWith(QLatin1Char('='))) name.chop(1);
        control->setAccessibleName(name);
        return label;
    }

    std::function<void()> From(QObject* control) const {
        return [source = Source, changed = Changed, control] {
            *source = control;
            changed();
        };
    }

    QObject* Owner;
    QObject** Source;
    std::function<void()> Changed;
    QObject* WheelGuard;
    QString LastHeading; // the heading the controls below belong to
};

// The Button and Wheel pages are taller than the panel.
QWidget* Scrollable(QWidget* page) {
    auto* area = new QScrollArea;
    area->setObjectName(page->objectName());
    page->setObjectName(page->objectName() + QStringLiteral("Contents"));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(page);
    area->setAccessibleName(area->objectName() + QStringLiteral(" properties"));
    return area;
}

} // namespace

QWidget* TItemInspector::BuildImagePage() {
    TPageColumn c("SImage", this, &ChangedBy, [this] { SpinEdit1Change(); });
    ImageRow = c.Row(
        {QStringLiteral("Image"), "BitBtn1", 0, "BitBtn2", 1, "BitBtn32", 2},
        TPictureRowStyle::Captioned, [this](int n) { Slots.OnImgPic(n); }, Slots);
    c.Heading(QStringLiteral("Position"));
    c.Pair(SpinEdit1, "SpinEdit1", SpinEdit2, "SpinEdit2");
    ComboBox7 = c.Choice(QStringLiteral("Repaint when"), "ComboBox7",
                         {"(none)", "Song changes", "Volume changes", "Playback time changes",
                          "System time changes"});
    return c.Finish();
}

QWidget* TItemInspector::BuildTextPage() {
    TPageColumn c("Text", this, &ChangedBy, [this] { SpinEdit3Change(); });
    c.Heading(QStringLiteral("Position"));
    c.Pair(SpinEdit3, "SpinEdit3", SpinEdit4, "SpinEdit4");
    c.Heading(QStringLiteral("Size"));
    c.Pair(SpinEdit5, "SpinEdit5", SpinEdit6, "SpinEdit6");
    c.Heading(QStringLiteral("Alignment"));
    ComboBox2 = c.Choice(QStringLiteral("Horizontal"), "ComboBox2", {"Left", "Center", "Right"});
    ComboBox3 = c.Choice(QStringLiteral("Vertical"), "ComboBox3", {"Top", "Center", "Bottom"});
    c.Heading(QStringLiteral("Font/color"));
    SpinEdit7 = c.LabeledNumber(QStringLiteral("Font size"), "SpinEdit7");
    CheckBox1 = c.Check(QStringLiteral("Bold"), "CheckBox1");
    BitBtn3 = new QPushButton(QStringLiteral("Font color"), c.Page);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    c.Layout->addWidget(BitBtn3);
    ComboBox4 = c.Choice(
        QStringLiteral("Text type"), "ComboBox4",
        {"Song title", "Song artist", "Volume", "Elapsed time", "Remaining time", "System time"});
    return c.Finish();
}

QWidget* TItemInspector::BuildButtonPage() {
    TPageColumn c("Button", this, &ChangedBy, [this] { SpinEdit9Change(); });
    const TPictureRowNames rows[4] = {
        {QStringLiteral("Image (1) normal"), "BitBtn4", 0, "BitBtn5", 10, "BitBtn41", 20},
        {QStringLiteral("Image (1) pressed"), "BitBtn7", 1, "BitBtn6", 11, "BitBtn42", 21},
        {QStringLiteral("Image (2) normal"), "BitBtn64", 2, "BitBtn63", 12, "BitBtn62", 22},
        {QStringLiteral("Image (2) pressed"), "BitBtn61", 3, "BitBtn60", 13, "BitBtn59", 23},
    };
    for (int i = 0; i < 4; ++i)
        ButtonRows[std::size_t(i)] = c.Row(
            rows[i], TPictureRowStyle::Captioned, [this](int n) { Slots.BitBtn4Click(n); }, Slots);
    c.Heading(QStringLiteral("Position"));
    c.Pair(SpinEdit8, "SpinEdit8", SpinEdit9, "SpinEdit9");
    ComboBox5 = c.Choice(QStringLiteral("Command"), "ComboBox5", CommandNames);
    return Scrollable(c.Finish());
}

QWidget* TItemInspector::BuildWheelPage() {
    TPageColumn c("Wheel", this, &ChangedBy, [this] { SpinEdit10Change(); });
    const TPictureRowNames rows[8] = {
        {QStringLiteral("Image normal"), "BitBtn8", 0, "BitBtn9", 10, "BitBtn10", 20},
        {QStringLiteral("Image wheel pressed"), "BitBtn11", 1, "BitBtn12", 11, "BitBtn13", 21},
        {QStringLiteral("Image center pressed"), "BitBtn14", 2, "BitBtn15", 12, "BitBtn16", 22},
        {QStringLiteral("Image button icon"), "BitBtn17", 3, "BitBtn18", 13, "BitBtn19", 23},
        {QStringLiteral("Image button (1) icon"), "BitBtn20", 4, "BitBtn21", 14, "BitBtn22", 24},
        {QStringLiteral("Image button left"), "BitBtn23", 5, "BitBtn33", 15, "BitBtn34", 25},
        {QStringLiteral("Image button right"), "BitBtn35", 6, "BitBtn36", 16, "BitBtn37", 26},
        {QStringLiteral("Image ball"), "BitBtn38", 7, "BitBtn39", 17, "BitBtn40", 27},
    };
    for (int i = 0; i < 8; ++i)
        WheelRows[std::size_t(i)] = c.Row(
            rows[i], TPictureRowStyle::Icons, [this](int n) { Slots.BitBtn8Click(n); }, Slots);
    c.Heading(QStringLiteral("Position"));
    c.Pair(SpinEdit10, "SpinEdit10", SpinEdit11, "SpinEdit11");
    c.Heading(QStringLiteral("Other"));
    SpinEdit12 = c.LabeledNumber(QStringLiteral("Ball dist"), "SpinEdit12");
    SpinEdit13 = c.LabeledNumber(QStringLiteral("Ball count"), "SpinEdit13");
    SpinEdit13->SetRange(2, 10);
    ComboBox8 = c.Choice(QStringLiteral("Center button command"), "ComboBox8", CommandNames);
    ComboBox9 = c.Choice(QStringLiteral("Left button command"), "ComboBox9", CommandNames);
    ComboBox10 = c.Choice(QStringLiteral("Right button command"), "ComboBox10", CommandNames);
    ComboBox11 = c.Choice(QStringLiteral("Wheel action top half"), "ComboBox11", WheelActionNames);
    ComboBox12 =
        c.Choice(QStringLiteral("Wheel action bottom half"), "ComboBox12", WheelActionNames);
    return Scrollable(c.Finish());
}

QWidget* TItemInspector::BuildTrackbarPage() {
    TPageColumn c("Trackbar", this, &ChangedBy, [this] { SpinEdit17Change(); });
    const TPictureRowNames rows[2] = {
        {QStringLiteral("Image progress"), "BitBtn47", 0, "BitBtn48", 10, "BitBtn49", 20},
        {QStringLiteral("Image scroller"), "BitBtn50", 1, "BitBtn51", 11, "BitBtn52", 21},
    };
    for (int i = 0; i < 2; ++i)
        TrackbarRows[std::size_t(i)] = c.Row(
            rows[i], TPictureRowStyle::Icons, [this](int n) { Slots.BitBtn47Click(n); }, Slots);
    c.Heading(QStringLiteral("Position"));
    c.Pair(SpinEdit17, "SpinEdit17", SpinEdit18, "SpinEdit18");
    SpinEdit16 = c.LabeledNumber(QStringLiteral("Width"), "SpinEdit16");
    SpinEdit14 = c.LabeledNumber(QStringLiteral("Height"), "SpinEdit14");
    CheckBox4 = c.Check(QStringLiteral("Progress stretch"), "CheckBox4");
    CheckBox5 = c.Check(QStringLiteral("Show scroller"), "CheckBox5");
    ComboBox6 = c.Choice(QStringLiteral("Type"), "ComboBox6", {"Playback position", "Volume"});
    return c.Finish();
}
